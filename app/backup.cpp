#include "backup.h"

#include "configurationfile.h"
#include "keyentries.h"

#include <QDir>
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
    QString path = dir.filePath(when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral(".oxa"));
    for (int n = 2; QFile::exists(path); ++n)
        path = dir.filePath(when.toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss")) + QStringLiteral("_%1.oxa").arg(n));
    const QString failure = writeConfigurationFile(path, configurationFileOf(entries));
    if (!failure.isEmpty()) {
        *error = failure;
        return {};
    }
    // Dated names sort in time order; the oldest go.
    const QStringList backups = dir.entryList({QStringLiteral("*.oxa")}, QDir::Files, QDir::Name);
    for (qsizetype i = 0; i + keep < backups.size(); ++i)
        dir.remove(backups.at(i));
    return path;
}

} // namespace oxa
