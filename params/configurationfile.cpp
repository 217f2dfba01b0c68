#include "configurationfile.h"

#include "regularfile.h"
#include "safesave.h"

#include <QCoreApplication>
#include <QDir>

namespace oxa {

namespace {

constexpr int kNoRow = -1;

QString displayName(const QString &path) {
    return QDir::toNativeSeparators(path);
}

// Bytes that text never holds outside its line ends. Values read from a SIM may carry them, but a file
// that has them and not a single key line is some other file, chosen by mistake: loading it would fill
// the phone book with garbage.
bool hasControlBytes(const QByteArray &bytes) {
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n')
            return true;
    }
    return false;
}

QString tooLargeMessage(const QString &what) {
    return QCoreApplication::translate("ConfigurationFile",
                                       "%1 is not a configuration file: it is larger than %2 bytes or has "
                                       "more than %3 lines.")
        .arg(what)
        .arg(kMaxConfigurationFileSize)
        .arg(kMaxConfigurationLines);
}

} // namespace

QByteArray buildConfigurationFile(const ConfigurationContent &content) {
    QByteArray out;
    auto line = [&out](const QByteArray &name, const QByteArray &value) {
        out += name;
        out += '=';
        out += value;
        out += "\r\n";
    };
    for (std::size_t i = 0; i < kEditBoxKeys.size(); ++i)
        line(kEditBoxKeys[i], content.editBoxValues[i]);
    for (ParameterString which : {ParameterString::Oxa, ParameterString::Relay1, ParameterString::Relay2})
        line(savedFileName(which), content.strings[which]);
    for (const PhoneBookRow &row : content.rows)
        line(row.name, row.phone);
    return out;
}

bool splitConfigurationLines(const QByteArray &bytes, QList<QByteArray> &lines, int maxLines) {
    lines.clear();
    const qsizetype n = bytes.size();
    // A UTF-8 signature (an editor's mark, never text) would otherwise join the first line's name.
    qsizetype start = bytes.startsWith(kUtf8Signature) ? kUtf8Signature.size() : 0;
    while (start < n) {
        if (lines.size() >= maxLines)
            return false;
        qsizetype end = start;
        while (end < n && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        lines.append(bytes.mid(start, end - start));
        if (end < n && bytes[end] == '\r' && end + 1 < n && bytes[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return true;
}

ConfigurationLoad parseConfiguration(const QByteArray &bytes) {
    ConfigurationLoad result;
    QList<QByteArray> lines;
    if (bytes.size() > kMaxConfigurationFileSize || !splitConfigurationLines(bytes, lines)) {
        result.error = tooLargeMessage(QCoreApplication::translate("ConfigurationFile", "The file"));
        return result;
    }
    QList<PhoneBookRow> rows;
    rows.reserve(lines.size());
    for (const QByteArray &l : lines)
        rows.append(splitPhoneBookLine(l));

    // One pass records the first row of every key; a row is taken by at most one key. A later row of a
    // key that is taken already stays a phone-book row, and is named.
    std::array<int, kEditBoxKeys.size()> boxRow;
    boxRow.fill(kNoRow);
    std::array<int, kParameterStrings.size()> paramRow;
    paramRow.fill(kNoRow);
    constexpr qsizetype kLongestKey = 8;
    const auto take = [&](int &keyRow, qsizetype r) {
        if (keyRow == kNoRow)
            keyRow = int(r);
        else
            result.repeatedKeys.append({rows[r].name, keyRow + 1, int(r + 1)});
    };
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const PhoneBookRow &row = rows[r];
        if (!row.separator || row.name.size() > kLongestKey)
            continue;
        bool isKey = false;
        for (std::size_t k = 0; k < kEditBoxKeys.size() && !isKey; ++k) {
            if (sameNameIgnoringCase(row.name, kEditBoxKeys[k])) {
                take(boxRow[k], r);
                isKey = true;
            }
        }
        for (std::size_t p = 0; p < kParameterStrings.size() && !isKey; ++p) {
            const ParameterString which = kParameterStrings[p];
            const char *saved = savedFileName(which);
            if (sameNameIgnoringCase(row.name, simKeyName(which)) ||
                (saved && sameNameIgnoringCase(row.name, saved))) {
                take(paramRow[p], r);
                isKey = true;
            }
        }
    }

    QList<bool> removed(rows.size(), false);
    for (std::size_t k = 0; k < kEditBoxKeys.size(); ++k) {
        if (boxRow[k] != kNoRow) {
            result.editBoxValues.append({QByteArray(kEditBoxKeys[k]), rows[boxRow[k]].phone});
            removed[boxRow[k]] = true;
        }
    }
    for (std::size_t p = 0; p < kParameterStrings.size(); ++p) {
        if (paramRow[p] != kNoRow) {
            result.parameters.append({kParameterStrings[p], rows[paramRow[p]].phone});
            removed[paramRow[p]] = true;
        }
    }
    result.rows.reserve(rows.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        if (!removed[r])
            result.rows.append(std::move(rows[r]));
    }
    return result;
}

ConfigurationLoad readConfigurationFile(const QString &path) {
    // One byte beyond the limit is read, so that a huge file is told from a large one without reading it.
    const RegularFileContent file = readRegularFile(path, kMaxConfigurationFileSize);
    if (file.refusal == FileRefusal::TooLarge) {
        ConfigurationLoad failed;
        failed.error = tooLargeMessage(QLatin1Char('"') + displayName(path) + QLatin1Char('"'));
        return failed;
    }
    if (!file.ok()) {
        ConfigurationLoad failed;
        failed.error = QCoreApplication::translate("ConfigurationFile", "Cannot read \"%1\": %2")
                           .arg(displayName(path), file.error);
        return failed;
    }
    const QByteArray &bytes = file.bytes;
    ConfigurationLoad result = parseConfiguration(bytes);
    if (!result.error.isEmpty()) {
        result.error = tooLargeMessage(QLatin1Char('"') + displayName(path) + QLatin1Char('"'));
    } else if (result.editBoxValues.isEmpty() && result.parameters.isEmpty() && hasControlBytes(bytes)) {
        ConfigurationLoad refused;
        refused.error = QCoreApplication::translate(
                            "ConfigurationFile", "\"%1\" is not a configuration file: it holds no key line "
                                                 "(such as ADMIN1=) and contains binary data.")
                            .arg(displayName(path));
        return refused;
    }
    return result;
}

QString writeConfigurationFile(const QString &path, const QByteArray &bytes) {
    // Always through a temporary file beside the target: where none can be made, or the disk is full,
    // the save fails with a message and the earlier file stays as it was.
    const QString error = saveFileSafely(path, bytes);
    if (!error.isEmpty())
        return QCoreApplication::translate("ConfigurationFile", "Cannot write \"%1\": %2. The file there "
                                                                "before, if any, is unchanged.")
            .arg(displayName(path), error);
    return {};
}

} // namespace oxa
