#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace oxa {

// A file named by the upload list, read whole; `error` says why it cannot be sent (missing,
// unreadable, empty), empty when `data` holds the file.
struct UploadFile {
    QByteArray data;
    QString error;

    bool ok() const { return error.isEmpty(); }
};
// A module stores a few megabytes at most; a larger file is refused before it is read whole (a device
// or an endless file would never end).
inline constexpr qint64 MaxUploadFileSize = 16 * 1024 * 1024;
UploadFile readUploadFile(const QString &path);

// An upload list file, read whole; `error` says why it is refused (unreadable, larger than a list of
// steps ever is, or binary: some other file chosen by mistake). Empty files are fine: they add nothing.
inline constexpr qint64 MaxUploadListSize = 256 * 1024;
UploadFile readUploadList(const QString &path);

// The path on this computer of a file the list names: the name's bytes as the file system spells
// them, a relative name taken from `listFolder` (the folder of the list last loaded, so that a list
// names the files beside it), or from the current folder when that is empty (a list typed in).
QString uploadFilePath(const QString &listName, const QString &listFolder = {});

// Why the file at `path` cannot be sent by an upload step: missing, not a regular file (a folder, a
// device, a pipe), unreadable, empty or too large. Empty when it can be sent.
QString uploadFileProblem(const QString &path);

// A line of the upload list that cannot run, and why.
struct UploadLineProblem {
    int line = 0; // counted from 1
    QString text;
    QString why;
};
// Checks every step before the first command goes out: each file a step sends, and each command's
// text. An upload that cannot finish does not start: a "DEL:" of the running script followed by a
// missing file would leave the unit without one.
QList<UploadLineProblem> checkUploadList(const QStringList &lines, const QString &listFolder);

// The memo's text after the lines of a loaded list file were appended to it. A line end that closes
// the memo's last line does not leave an empty step between the two.
QString appendListText(const QString &memoText, const QByteArray &fileBytes);

} // namespace oxa
