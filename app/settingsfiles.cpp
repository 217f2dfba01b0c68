#include "settingsfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace oxa {

namespace {

// Whether a save as `path` would succeed: the save writes a temporary file in the folder and renames it
// over the file, and a file that is there but read-only is the owner's word that it stays as it is.
// Tried rather than looked up in the permission bits, so that what decides is what the save would meet
// (an administrator's folder, a read-only mount, access control lists).
bool canSaveAs(const QString &path) {
    const QFileInfo file(path);
    // Something that is no file (a folder, a device) is refused by the reading with a message and left
    // alone at closing; where the settings would go instead does not arise.
    if (file.exists() && !file.isFile())
        return true;
    QTemporaryFile probe(file.absoluteDir().filePath(QStringLiteral(".%1.XXXXXX").arg(file.fileName())));
    if (!probe.open())
        return false;
    probe.close();
    if (!file.exists())
        return true;
    // Opened for appending and closed at once: nothing in it changes.
    QFile existing(path);
    return existing.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly);
}

} // namespace

SettingsFiles settingsFilesFor(const QString &executablePath, const QString &userFolder) {
    const QFileInfo exe(executablePath);
    const QString fileName = exe.completeBaseName() + QStringLiteral(".ini");
    const QString beside = exe.absoluteDir().filePath(fileName);
    if (userFolder.isEmpty() || canSaveAs(beside))
        return {beside, beside};
    const QString own = QDir(userFolder).filePath(QStringLiteral("OXAset/") + fileName);
    return {QFileInfo::exists(own) ? own : beside, own};
}

SettingsFiles settingsFilesFor(const QString &executablePath) {
    return settingsFilesFor(executablePath,
                            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

} // namespace oxa
