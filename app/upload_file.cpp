#include "upload_file.h"

#include "uploadlist.h"

#include <QCoreApplication>
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
    if (QFileInfo(path).isDir())
        return {{}, tr("it is a folder")};
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

QString uploadFilePath(const QString &listName) {
    return QFile::decodeName(listName.toLatin1());
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
