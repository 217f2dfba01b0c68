#pragma once

#include <QByteArray>
#include <QString>

class QFile;

namespace oxa {

// Files from outside are read only when they are regular files (or links to one). A device, a pipe or
// a socket chosen by mistake would block the window in open() or read() for good, or never end; it is
// refused before anything is read from it. On POSIX systems the file is opened without blocking and
// checked on the open descriptor, so that one swapped in after the check is refused all the same.

enum class FileRefusal {
    None,
    Missing,    // nothing at the path
    Folder,     // a folder
    NotRegular, // a device, a pipe or a socket
    Unreadable, // it could not be opened or read (permissions, I/O errors)
    TooLarge,   // more than the reader's limit
};

// Opens `path` for reading into `file` when it is a regular file. Otherwise `file` stays closed and the
// result says why; `error` (when given) then holds a short clause such as "it is a pipe, not a file".
FileRefusal openRegularFile(QFile &file, const QString &path, QString *error = nullptr);

struct RegularFileContent {
    QByteArray bytes;
    FileRefusal refusal = FileRefusal::None;
    QString error; // the clause that says why, empty when `bytes` holds the whole file

    bool ok() const { return refusal == FileRefusal::None; }
};

// The whole regular file at `path` when it holds at most `maxSize` bytes; never more than maxSize + 1
// bytes are read.
RegularFileContent readRegularFile(const QString &path, qint64 maxSize);

} // namespace oxa
