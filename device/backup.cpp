#include "backup.h"

#include "configurationfile.h"
#include "keyentries.h"
#include "regularfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <utility>

namespace oxa {

QByteArray configurationFileOf(const UnitEntries &entries) {
    ConfigurationContent content;
    content.strings = {};
    std::array<bool, 23> seen{};
    std::array<bool, 4> seenString{};
    // A key the unit holds twice keeps its second entry as a row, so that loading and writing the
    // backup puts back what the unit held.
    for (const auto &[name, number] : entries) {
        switch (keyKind(name)) {
        case KeyKind::EditBox: {
            const auto key = size_t(editBoxKeyIndex(name));
            if (std::exchange(seen[key], true))
                content.rows.append(PhoneBookRow{name, number});
            else
                content.editBoxValues[key] = number;
            break;
        }
        case KeyKind::Parameter: {
            const ParameterString which = *parameterStringForKey(name);
            // The file has no line of its own for PARKEY; as a row under its SIM name, loading the
            // backup still takes it as the keypad's string.
            if (std::exchange(seenString[size_t(which)], true) || which == ParameterString::Key)
                content.rows.append(PhoneBookRow{name, number});
            else
                content.strings[which] = number;
            break;
        }
        case KeyKind::Version:
            break; // read-only: the unit keeps its own
        case KeyKind::None:
            content.rows.append(PhoneBookRow{name, number});
            break;
        }
    }
    return buildConfigurationFile(content);
}

QString writeBackup(const QString &folder, const UnitEntries &entries, const QDateTime &when, int keep,
                    QString *error) {
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QObject::tr("the folder %1 cannot be made").arg(folder);
        return {};
    }
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QString path = dir.filePath(stamp + QStringLiteral(".oxa"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stamp + QStringLiteral("_%1.oxa").arg(n));
    const QByteArray bytes = configurationFileOf(entries);
    const QString failure = writeConfigurationFile(path, bytes);
    if (!failure.isEmpty()) {
        *error = failure;
        return {};
    }
    // A backup is trusted only once it reads back as written.
    const RegularFileContent check = readRegularFile(path, bytes.size());
    if (!check.ok() || check.bytes != bytes) {
        *error = QObject::tr("the backup %1 does not read back as written").arg(path);
        QFile::remove(path);
        return {};
    }
    removeOldBackups(dir, path, keep);
    return path;
}

void removeOldBackups(const QDir &dir, const QString &keptPath, int keep) {
    // Newest first by the time each file was made, whatever its name says (a clock set wrong once).
    QFileInfoList backups = dir.entryInfoList({QStringLiteral("*.oxa")}, QDir::Files);
    const auto madeAt = [](const QFileInfo &file) {
        const QDateTime birth = file.birthTime();
        return birth.isValid() ? birth : file.lastModified();
    };
    // Files made within the clock's resolution keep the order of their dated names.
    std::sort(backups.begin(), backups.end(), [&](const QFileInfo &a, const QFileInfo &b) {
        const QDateTime madeA = madeAt(a), madeB = madeAt(b);
        return madeA != madeB ? madeA > madeB : a.fileName() > b.fileName();
    });
    const QString kept = QFileInfo(keptPath).absoluteFilePath();
    int remaining = 1; // the new one always stays
    for (const QFileInfo &backup : std::as_const(backups)) {
        if (backup.absoluteFilePath() == kept)
            continue;
        if (remaining < keep)
            ++remaining;
        else
            QFile::remove(backup.absoluteFilePath());
    }
}

} // namespace oxa
