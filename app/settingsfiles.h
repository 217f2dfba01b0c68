#pragma once

#include <QString>

namespace oxa {

// Where the settings are read from and saved to. The file is named after the executable (a copy or
// link under another name has its own) and lies beside it. Where it cannot be saved there (the folder
// of an installed program, a read-only file), the saving goes to the user's configuration folder
// under the same name, and a start reads that file first if it exists, then the one beside the
// executable: the texts and service keys put beside the program are read all the same, and carried
// into the user's file at its first saving.
struct SettingsFiles {
    QString read;
    QString save;
};

// `userFolder` is the user's configuration folder (~/.config); empty keeps everything beside the
// executable.
SettingsFiles settingsFilesFor(const QString &executablePath, const QString &userFolder);

// The same with the user's configuration folder of this machine.
SettingsFiles settingsFilesFor(const QString &executablePath);

} // namespace oxa
