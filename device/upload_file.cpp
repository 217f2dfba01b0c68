#include "upload_file.h"

#include "regularfile.h"
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

// The whole file, or why not; never more than maxSize + 1 bytes are read. A device or a pipe could
// block the window for good, or never end: only a regular file is opened.
UploadFile readAtMost(const QString &path, qint64 maxSize) {
    RegularFileContent file = readRegularFile(path, maxSize);
    if (file.refusal == FileRefusal::TooLarge)
        return {{}, tr("it is larger than %1 MB").arg(maxSize / (1024 * 1024.0), 0, 'g', 3)};
    if (!file.ok())
        return {{}, file.error};
    return {std::move(file.bytes), {}};
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
    const QString shown = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
    QFile file;
    QString why;
    switch (openRegularFile(file, path, &why)) {
    case FileRefusal::None:
        break;
    case FileRefusal::Missing:
        return tr("there is no file %1").arg(shown);
    case FileRefusal::Folder:
        return tr("%1 is a folder").arg(shown);
    case FileRefusal::NotRegular:
        return tr("%1 is not a regular file (%2)").arg(shown, why);
    case FileRefusal::Unreadable:
    case FileRefusal::TooLarge:
        return tr("the file %1 cannot be read: %2").arg(shown, why);
    }
    if (file.size() == 0)
        return tr("the file %1 is empty").arg(shown);
    if (file.size() > MaxUploadFileSize)
        return tr("the file %1 is larger than %2 MB").arg(shown).arg(MaxUploadFileSize / (1024 * 1024));
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
