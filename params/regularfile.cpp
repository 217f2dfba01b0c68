#include "regularfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace oxa {

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("RegularFile", text);
}

FileRefusal refuse(FileRefusal why, const QString &clause, QString *error) {
    if (error)
        *error = clause;
    return why;
}

#ifdef Q_OS_UNIX
QString systemError(int code) {
    return QString::fromLocal8Bit(std::strerror(code));
}

// What a file of this type is, for one that is no regular file.
FileRefusal refuseType(mode_t mode, QString *error) {
    if (S_ISDIR(mode))
        return refuse(FileRefusal::Folder, tr("it is a folder"), error);
    if (S_ISFIFO(mode))
        return refuse(FileRefusal::NotRegular, tr("it is a pipe, not a file"), error);
    if (S_ISSOCK(mode))
        return refuse(FileRefusal::NotRegular, tr("it is a socket, not a file"), error);
    return refuse(FileRefusal::NotRegular, tr("it is a device, not a file"), error);
}
#endif

} // namespace

FileRefusal openRegularFile(QFile &file, const QString &path, QString *error) {
    if (path.isEmpty())
        return refuse(FileRefusal::Missing, tr("no file name was given"), error);
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    // Looked at before it is opened: opening a serial port alone changes its modem lines.
    struct stat info = {};
    if (::stat(native.constData(), &info) != 0) {
        const int code = errno;
        if (code == ENOENT || code == ENOTDIR)
            return refuse(FileRefusal::Missing, tr("there is no such file"), error);
        return refuse(FileRefusal::Unreadable, systemError(code), error);
    }
    if (!S_ISREG(info.st_mode))
        return refuseType(info.st_mode, error);
    // O_NONBLOCK: a pipe swapped in meanwhile cannot hold the open; O_NOCTTY: a terminal never becomes
    // the program's own.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return refuse(FileRefusal::Unreadable, systemError(errno), error);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const FileRefusal why = refuseType(info.st_mode, error);
        ::close(fd);
        return why;
    }
    // Reads of the regular file block as usual again (they never wait on a regular file anyway).
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return refuse(FileRefusal::Unreadable, file.errorString(), error);
    }
    return FileRefusal::None;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return refuse(FileRefusal::Missing, tr("there is no such file"), error);
    if (info.isDir())
        return refuse(FileRefusal::Folder, tr("it is a folder"), error);
    if (!info.isFile())
        return refuse(FileRefusal::NotRegular, tr("it is a device, not a file"), error);
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(FileRefusal::Unreadable, file.errorString(), error);
    return FileRefusal::None;
#endif
}

RegularFileContent readRegularFile(const QString &path, qint64 maxSize) {
    RegularFileContent content;
    QFile file;
    content.refusal = openRegularFile(file, path, &content.error);
    if (!content.ok())
        return content;
    // One byte beyond the limit tells a larger file from one of the limit's size without reading it all.
    content.bytes = file.read(maxSize + 1);
    if (file.error() != QFileDevice::NoError) {
        // A file that opened but could not be read to its end is never taken cut short.
        content.refusal = FileRefusal::Unreadable;
        content.error = file.errorString();
        content.bytes.clear();
    } else if (content.bytes.size() > maxSize) {
        content.refusal = FileRefusal::TooLarge;
        content.error = tr("it is larger than %1 bytes").arg(maxSize);
        content.bytes.clear();
    }
    return content;
}

} // namespace oxa
