#pragma once

#include <QByteArray>
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
// them, a relative name taken from the current folder.
QString uploadFilePath(const QString &listName);

// The memo's text after the lines of a loaded list file were appended to it. A line end that closes
// the memo's last line does not leave an empty step between the two.
QString appendListText(const QString &memoText, const QByteArray &fileBytes);

} // namespace oxa
