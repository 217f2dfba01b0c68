#include "inifile.h"

#include "regularfile.h"
#include "safesave.h"

#define SI_NO_CONVERSION
#include <SimpleIni.h>

#include <QCoreApplication>
#include <QList>
#include <QStringConverter>

namespace oxa {

struct IniFile::Store {
    // Multi-key, so that a key's later lines are kept.
    CSimpleIniA ini{false, true, false};
};

namespace {

bool isValidUtf8(const QByteArray &bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    // decode() is lazy: only the conversion to a string runs the decoder and sets its error.
    const QString decoded = decoder.decode(bytes);
    return !decoder.hasError();
}

// Two repairs SimpleIni does not make, both of hand-edited files:
// - a "[Language" without its "]" would make it read on into the following lines for the section name,
//   and every save would then write a header broken over several lines, growing on each run: such a
//   header ends at its line end, as the user meant;
// - a UTF-8 signature at the start of a line (files joined into one) would hide the section header or
//   key behind it: it is a file's mark, never text, and is dropped.
QByteArray withLinesRepaired(const QByteArray &text) {
    static constexpr QByteArrayView signature("\xEF\xBB\xBF");
    QByteArray out;
    out.reserve(text.size() + 16);
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != '\r' && text[end] != '\n')
            ++end;
        QByteArrayView line = QByteArrayView(text).sliced(start, end - start);
        // Blanks before it and repeated signatures go too, so that no key is saved starting with one.
        for (QByteArrayView rest = line;;) {
            qsizetype blanks = 0;
            while (blanks < rest.size() && (rest[blanks] == ' ' || rest[blanks] == '\t'))
                ++blanks;
            if (!rest.sliced(blanks).startsWith(signature))
                break;
            rest = rest.sliced(blanks + signature.size());
            line = rest;
        }
        out += line;
        if (line.trimmed().startsWith('[') && !line.contains(']'))
            out += ']';
        while (end < text.size() && (text[end] == '\r' || text[end] == '\n'))
            out += text[end++];
        start = end;
    }
    return out;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isQuote(QChar c) {
    return c == QLatin1Char('"') || c == QLatin1Char('\'');
}

// A value in matching quotes reads without them; the quotes keep blanks at its ends, which would
// otherwise be trimmed.
QString unquoted(const QString &stored) {
    if (stored.size() >= 2 && isQuote(stored.front()) && stored.back() == stored.front())
        return stored.mid(1, stored.size() - 2);
    return stored;
}

QString storedForm(const QString &value) {
    const bool readsDifferently =
        !value.isEmpty() && (isBlank(value.front()) || isBlank(value.back()) || unquoted(value) != value);
    return readsDifferently ? QLatin1Char('"') + value + QLatin1Char('"') : value;
}

// One line of a key: a hand-edited file may hold a key twice, also spelt differently.
struct KeyLine {
    QByteArray key;
    QByteArray value;
    QByteArray comment; // null: none
};

// The lines of a key in file order (lines of one key stay in the order they were added).
QList<KeyLine> keyLines(const CSimpleIniA &ini, const QByteArray &section, const QByteArray &key) {
    QList<KeyLine> lines;
    const CSimpleIniA::TKeyVal *keys = ini.GetSection(section.constData());
    if (!keys)
        return lines;
    const auto [first, last] = keys->equal_range(CSimpleIniA::Entry(key.constData()));
    for (auto line = first; line != last; ++line)
        lines.append({line->first.pItem, line->second,
                      line->first.pComment ? QByteArray(line->first.pComment) : QByteArray()});
    return lines;
}

} // namespace

IniFile::IniFile() : m_store(std::make_unique<Store>()) {
    m_store->ini.SetSpaces(false);
}

IniFile::~IniFile() = default;

QByteArray IniFile::encode(const QString &text) const {
    return m_utf8 ? text.toUtf8() : text.toLatin1();
}

QString IniFile::decode(const char *bytes) const {
    if (!m_utf8)
        return QString::fromLatin1(bytes);
    // Keep a byte-order mark that starts a key (two files joined into one): fromUtf8() would drop it,
    // and the name listed would then not find its own key.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder.decode(QByteArrayView(bytes));
}

void IniFile::loadFromBytes(const QByteArray &bytes) {
    m_store->ini.Reset();
    m_utf8 = isValidUtf8(bytes);
    if (const qsizetype lf = bytes.indexOf('\n'); lf >= 0)
        m_crlf = lf > 0 && bytes[lf - 1] == '\r';
    // SimpleIni stops at a NUL byte; a settings file never holds one legitimately.
    const QByteArray text = bytes.left(bytes.indexOf('\0') < 0 ? bytes.size() : bytes.indexOf('\0'));
    const QByteArray closed = withLinesRepaired(text);
    m_store->ini.LoadData(closed.constData(), size_t(closed.size()));
}

bool IniFile::load(const QString &path, QString *error) {
    // A device or a pipe in the file's place is refused unread: it would hold start-up for good.
    const RegularFileContent file = readRegularFile(path, MaxFileSize);
    if (file.refusal == FileRefusal::Missing) {
        loadFromBytes({});
        return true;
    }
    auto refuse = [&](const QString &why) {
        if (error)
            *error = why;
        loadFromBytes({});
        return false;
    };
    if (!file.ok())
        return refuse(file.error);
    // A NUL byte: UTF-16 text or some other file; read as 8-bit text and written back, it would lose
    // everything past the first NUL.
    if (file.bytes.contains('\0'))
        return refuse(QCoreApplication::translate("IniFile", "it holds binary data"));
    loadFromBytes(file.bytes);
    return true;
}

QByteArray IniFile::toBytes() const {
    std::string out;
    m_store->ini.Save(out, false);
    // Values never hold a line end, so every LF here ends a line.
    QByteArray bytes = QByteArray::fromStdString(out).replace("\r\n", "\n");
    return m_crlf ? bytes.replace("\n", "\r\n") : bytes;
}

bool IniFile::save(const QString &path, QString *error) const {
    const QString failure = saveFileSafely(path, toBytes());
    if (error)
        *error = failure;
    return failure.isEmpty();
}

bool IniFile::hasKey(const QString &section, const QString &key) const {
    return !keyLines(m_store->ini, encode(section), encode(key)).isEmpty();
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const {
    const QList<KeyLine> lines = keyLines(m_store->ini, encode(section), encode(key));
    return lines.isEmpty() ? defaultValue : unquoted(decode(lines.first().value.constData()));
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const {
    if (!hasKey(section, key))
        return defaultValue;
    const QString text = readString(section, key, {}).trimmed();
    bool ok = false;
    int value = text.toInt(&ok, 10);
    if (!ok && text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toInt(&ok, 16);
    return ok ? value : defaultValue;
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const {
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) {
    const QByteArray sectionName = encode(section);
    CSimpleIniA &ini = m_store->ini;
    const QList<KeyLine> lines = keyLines(ini, sectionName, encode(key));
    if (!lines.isEmpty() && unquoted(decode(lines.first().value.constData())) == value)
        return;
    // Setting a value replaces every line of the key, keeping the first one's place and comment: the
    // key keeps the spelling it had, and the later lines, read by nobody, go back as they were.
    const QByteArray keyName = lines.isEmpty() ? encode(key) : lines.first().key;
    ini.SetValue(sectionName.constData(), keyName.constData(), encode(storedForm(value)).constData(), nullptr,
                 true);
    for (qsizetype i = 1; i < lines.size(); ++i)
        ini.SetValue(sectionName.constData(), lines[i].key.constData(), lines[i].value.constData(),
                     lines[i].comment.isNull() ? nullptr : lines[i].comment.constData(), false);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) {
    writeString(section, key, QString::number(value));
}

QStringList IniFile::keys(const QString &section) const {
    CSimpleIniA::TNamesDepend names;
    m_store->ini.GetAllKeys(encode(section).constData(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto &entry : names)
        result << decode(entry.pItem);
    return result;
}

QStringList IniFile::sections() const {
    CSimpleIniA::TNamesDepend names;
    m_store->ini.GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList result;
    for (const auto &entry : names)
        result << decode(entry.pItem);
    return result;
}

} // namespace oxa
