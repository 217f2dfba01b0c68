#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace oxa::test {

// The ways a file from outside goes wrong. Root reads and writes past any permission: a folder in the
// file's place, a path under a regular file (ENOTDIR) and a link to a /proc file that opens but fails on
// read make unreadable files for anyone; ReadOnly and NoReadPermission hold only while file access is
// checked as an ordinary user's (UnprivilegedFileAccess). A pipe without a writer blocks whoever opens
// it for reading, and a terminal whoever reads it: neither may ever be opened or read by the program.
enum class BadFile {
    Missing,
    Folder,
    UnderAFile,
    Unreadable,
    Binary,
    Huge,
    Truncated,
    ReadOnly,
    NoReadPermission,
    Pipe,
    LinkToTerminal,
};

inline const char *badFileName(BadFile kind) {
    constexpr const char *names[] = {
        "missing",           "folder",    "under a file", "unreadable",         "binary",
        "huge 100 MB",       "truncated", "read-only",    "no read permission", "pipe",
        "link to a terminal"};
    return names[int(kind)];
}

inline constexpr qint64 HugeSize = 100 * 1024 * 1024;

// Bytes of every value, NUL and controls among them, as an image or a program has.
inline QByteArray binaryBytes() {
    QByteArray bytes;
    for (int round = 0; round < 8; ++round)
        for (int byte = 0; byte < 256; ++byte)
            bytes.append(char(byte));
    return bytes;
}

#ifdef Q_OS_UNIX
// A pseudo-terminal that nobody writes to: its far end stays open until the test program ends, so that
// a read of it would wait for good.
inline QString idleTerminalPath() {
    static const int master = [] {
        const int fd = posix_openpt(O_RDWR | O_NOCTTY);
        if (fd >= 0 && (grantpt(fd) != 0 || unlockpt(fd) != 0)) {
            ::close(fd);
            return -1;
        }
        return fd;
    }();
    const char *slave = master >= 0 ? ptsname(master) : nullptr;
    return slave ? QString::fromLocal8Bit(slave) : QString();
}
#endif

// Makes the bad file of this kind from a good one's content; returns the path to hand to the program
// (under `folder`).
inline QString makeBadFile(BadFile kind, const QString &folder, const QString &name, const QByteArray &good) {
    const QString path = QDir(folder).filePath(name);
    auto write = [](const QString &to, const QByteArray &bytes) {
        QFile file(to);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    switch (kind) {
    case BadFile::Missing:
        break;
    case BadFile::Folder:
        QDir().mkpath(path);
        break;
    case BadFile::UnderAFile:
        write(path, good);
        return path + QStringLiteral("/inner");
    case BadFile::Unreadable:
        // Opens, and every read fails (EIO).
        QFile::link(QStringLiteral("/proc/self/mem"), path);
        break;
    case BadFile::Binary:
        write(path, binaryBytes());
        break;
    case BadFile::Huge: {
        // A good beginning, then 100 MB of a hole: sparse, made at test time, never kept.
        write(path, good);
        QFile file(path);
        if (file.open(QIODevice::ReadWrite))
            file.resize(HugeSize);
        break;
    }
    case BadFile::ReadOnly:
    case BadFile::NoReadPermission: {
        write(path, good);
        const auto everyone = QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        const auto enter = QFileDevice::ExeOwner | QFileDevice::ExeGroup | QFileDevice::ExeOther;
        QFile::setPermissions(folder, everyone | enter | QFileDevice::WriteOwner);
        QFile::setPermissions(path, kind == BadFile::ReadOnly ? everyone : QFileDevice::Permissions{});
        break;
    }
    case BadFile::Truncated:
        // Cut in the middle of a line, as a copy that broke off.
        write(path, good.left(good.size() * 2 / 3));
        break;
    case BadFile::Pipe:
#ifdef Q_OS_UNIX
        ::mkfifo(QFile::encodeName(path).constData(), 0644);
#endif
        break;
    case BadFile::LinkToTerminal:
#ifdef Q_OS_UNIX
        QFile::link(idleTerminalPath(), path);
#endif
        break;
    }
    return path;
}

// The file as it lies: kind and bytes (a folder, a link or a huge file by its description).
inline QByteArray stateOf(const QString &path) {
    const QFileInfo info(path);
    if (info.isSymLink())
        return "link to " + info.symLinkTarget().toUtf8();
    if (info.isDir())
        return "folder";
    if (!info.exists())
        return "nothing";
    // Opening it to look could block for good.
    if (!info.isFile())
        return "special file";
    if (info.size() > 1024 * 1024)
        return "file of " + QByteArray::number(info.size()) + " bytes";
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "unreadable file";
    return "file: " + file.readAll();
}

} // namespace oxa::test
