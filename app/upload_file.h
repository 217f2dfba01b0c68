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
UploadFile readUploadFile(const QString &path);

// The path on this computer of a file the list names: the name's bytes as the file system spells
// them, a relative name taken from the current folder.
QString uploadFilePath(const QString &listName);

// The memo's text after the lines of a loaded list file were appended to it. A line end that closes
// the memo's last line does not leave an empty step between the two.
QString appendListText(const QString &memoText, const QByteArray &fileBytes);

} // namespace oxa
