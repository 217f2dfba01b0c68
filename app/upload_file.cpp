#include "upload_file.h"

#include "uploadlist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace oxa {

namespace {

QString tr(const char *text) {
    return QCoreApplication::translate("Upload", text);
}

// The whole file, or why not; never more than maxSize + 1 bytes are read.
UploadFile readAtMost(const QString &path, qint64 maxSize) {
    if (path.isEmpty())
        return {{}, tr("no file name was given")};
    const QFileInfo info(path);
    if (info.isDir())
        return {{}, tr("it is a folder")};
    // A device or a pipe could block the window for good, or never end.
    if (info.exists() && !info.isFile())
        return {{}, tr("it is not a regular file")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    UploadFile result{file.read(maxSize + 1), {}};
    // A file that opened but could not be read to its end must not be taken cut short.
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    if (result.data.size() > maxSize)
        return {{}, tr("it is larger than %1 MB").arg(maxSize / (1024 * 1024.0), 0, 'g', 3)};
    return result;
}

// Bytes no text line holds: a NUL or a control other than tab, CR, LF and the DOS end-of-file mark.
bool holdsBinary(const QByteArray &bytes) {
    return std::any_of(bytes.cbegin(), bytes.cend(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\r' && byte != '\n' && byte != 0x1a;
    });
}

} // namespace

UploadFile readUploadFile(const QString &path) {
    UploadFile result = readAtMost(path, MaxUploadFileSize);
    if (result.ok() && result.data.isEmpty())
        result.error = tr("the file is empty");
    return result;
}

UploadFile readUploadList(const QString &path) {
    UploadFile result = readAtMost(path, MaxUploadListSize);
    if (result.ok() && holdsBinary(result.data))
        return {{}, tr("it holds binary data, not lines of upload steps")};
    return result;
}

QString uploadFilePath(const QString &listName, const QString &listFolder) {
    const QString name = QFile::decodeName(listName.toLatin1());
    if (name.isEmpty() || listFolder.isEmpty() || QFileInfo(name).isAbsolute())
        return name;
    return QDir(listFolder).filePath(name);
}

QString uploadFileProblem(const QString &path) {
    if (path.isEmpty())
        return tr("no file name was given");
    const QFileInfo info(path);
    if (!info.exists())
        return tr("there is no file %1").arg(QDir::toNativeSeparators(info.absoluteFilePath()));
    if (info.isDir())
        return tr("%1 is a folder").arg(QDir::toNativeSeparators(info.absoluteFilePath()));
    if (!info.isFile())
        return tr("%1 is not a regular file").arg(QDir::toNativeSeparators(info.absoluteFilePath()));
    if (info.size() == 0)
        return tr("the file %1 is empty").arg(QDir::toNativeSeparators(info.absoluteFilePath()));
    if (info.size() > MaxUploadFileSize)
        return tr("the file %1 is larger than %2 MB")
            .arg(QDir::toNativeSeparators(info.absoluteFilePath()))
            .arg(MaxUploadFileSize / (1024 * 1024));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return tr("the file %1 cannot be read: %2")
            .arg(QDir::toNativeSeparators(info.absoluteFilePath()), file.errorString());
    return {};
}

QList<UploadLineProblem> checkUploadList(const QStringList &lines, const QString &listFolder) {
    QList<UploadLineProblem> problems;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const UploadStep step = classifyUploadLine(lines[i]);
        QString why;
        if (step.sendsFile())
            why = uploadFileProblem(uploadFilePath(step.argument, listFolder));
        if (why.isEmpty()) {
            const Command command = uploadCommand(step, 1);
            if (!command.ok())
                why = tr("its %1 holds a line break").arg(commandFieldName(command.refused));
        }
        if (!why.isEmpty())
            problems.append({int(i + 1), lines[i], why});
    }
    return problems;
}

QString appendListText(const QString &memoText, const QByteArray &fileBytes) {
    const QStringList lines = uploadListLines(QString::fromLatin1(fileBytes));
    if (lines.isEmpty())
        return memoText;
    QString text = memoText;
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
        text += QLatin1Char('\n');
    return text + lines.join(QLatin1Char('\n'));
}

} // namespace oxa
