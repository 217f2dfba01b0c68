#include "upload_file.h"

#include "uploadlist.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace oxa {

UploadFile readUploadFile(const QString &path) {
    auto tr = [](const char *text) { return QCoreApplication::translate("Upload", text); };
    if (path.isEmpty())
        return {{}, tr("no file name was given")};
    if (QFileInfo(path).isDir())
        return {{}, tr("it is a folder")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, file.errorString()};
    UploadFile result{file.readAll(), {}};
    // A file that opened but could not be read to its end must not go out cut short.
    if (file.error() != QFileDevice::NoError)
        return {{}, file.errorString()};
    if (result.data.isEmpty())
        result.error = tr("the file is empty");
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
