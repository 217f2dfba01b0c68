#include "safesave.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

namespace oxa {

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("SafeSave", text);
}

// Forces the file's bytes onto the disk; a full or failing disk may only say so here.
bool syncToDisk(QFile &file, QString *error) {
    if (!file.flush()) {
        *error = file.errorString();
        return false;
    }
#ifdef Q_OS_WIN
    const int result = _commit(file.handle());
#else
    const int result = ::fsync(file.handle());
#endif
    if (result != 0) {
        *error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}

// A new, exclusively created file beside `target`.
bool openTemporaryBeside(const QFileInfo &target, QFile &file) {
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString name = QStringLiteral(".%1.%2.tmp")
                                 .arg(target.fileName())
                                 .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
        file.setFileName(target.absoluteDir().filePath(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
            return true;
        if (QFileInfo::exists(file.fileName()))
            continue; // taken by chance: another name
        return false;
    }
    return false;
}

std::filesystem::path nativePath(const QString &path) {
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdWString());
#else
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

QString saveFileSafely(const QString &path, const QByteArray &bytes) {
    return saveFileSafely(path, [&bytes](const ByteSink &sink) {
        sink(bytes);
        return QString();
    });
}

QString saveFileSafely(const QString &requestedPath,
                       const std::function<QString(const ByteSink &sink)> &produce) {
    // A link stays a link: the file it points to is the one replaced.
    const QFileInfo requested(requestedPath);
    const QString path = requested.isSymLink() ? requested.symLinkTarget() : requestedPath;
    const QFileInfo target(path);
    if (target.isDir())
        return tr("%1 is a folder").arg(path);
    QFile file;
    if (!openTemporaryBeside(target, file))
        return tr("no new file can be made in the folder %1 (%2)")
            .arg(target.absolutePath(), file.errorString());
    QString error;
    bool written = true;
    // Unbuffered: each write reaches the system at once and its failure is seen here.
    const ByteSink sink = [&](QByteArrayView piece) {
        for (qsizetype done = 0; written && done < piece.size();) {
            const qint64 count = file.write(piece.constData() + done, piece.size() - done);
            if (count <= 0) {
                error = file.errorString();
                written = false;
                break;
            }
            done += count;
        }
        return written;
    };
    if (const QString notProduced = produce(sink); !notProduced.isEmpty() && written) {
        error = notProduced;
        written = false;
    }
    if (written)
        written = syncToDisk(file, &error);
    file.close();
    if (written && file.error() != QFileDevice::NoError) {
        error = file.errorString();
        written = false;
    }
    if (written) {
        if (target.exists())
            file.setPermissions(QFile::permissions(path));
        else
            file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
                                QFileDevice::ReadOther);
        std::error_code renameError;
        std::filesystem::rename(nativePath(file.fileName()), nativePath(target.absoluteFilePath()),
                                renameError);
        if (!renameError)
            return {};
        error = QString::fromStdString(renameError.message());
    }
    QFile::remove(file.fileName());
    return error.isEmpty() ? tr("the file could not be written") : error;
}

} // namespace oxa
