#include "uploadlist.h"

namespace oxa {

UploadStep classifyUploadLine(const QString &line) {
    static const std::pair<QLatin1String, UploadStepKind> tags[] = {
        {QLatin1String("RUN:"), UploadStepKind::Run},
        {QLatin1String("ASEND:"), UploadStepKind::Asend},
        {QLatin1String("SET:"), UploadStepKind::Set},
        {QLatin1String("DEL:"), UploadStepKind::Delete},
    };
    for (const auto &[tag, kind] : tags) {
        if (line.contains(tag))
            return UploadStep{kind, line.mid(line.indexOf(QLatin1Char(':')) + 1)};
    }
    return UploadStep{UploadStepKind::WriteFile, line};
}

QStringList uploadListLines(const QString &text) {
    QStringList lines;
    QString current;
    bool open = false; // a line has begun that no line end has closed yet
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
            lines.append(current);
            current.clear();
            open = false;
        } else {
            current.append(c);
            open = true;
        }
    }
    if (open)
        lines.append(current);
    return lines;
}

Command uploadCommand(const UploadStep &step, qint64 fileSize) {
    const QByteArray argument = step.argument.toLatin1();
    switch (step.kind) {
    case UploadStepKind::Run:
        return at::selectScript(argument);
    case UploadStepKind::Asend:
        return at::sendFile(argument, fileSize);
    case UploadStepKind::Set:
        return at::freeCommand(argument);
    case UploadStepKind::Delete:
        return at::deleteScript(argument);
    case UploadStepKind::WriteFile:
        break;
    }
    return at::writeScript(argument, fileSize);
}

QList<UploadExchange> uploadExchanges(UploadStepKind kind) {
    switch (kind) {
    case UploadStepKind::WriteFile:
        return {{UploadReply::Prompt, UploadResponse::SendData}, {UploadReply::Ok, UploadResponse::NextLine}};
    case UploadStepKind::Asend:
        return {{UploadReply::Prompt, UploadResponse::SendData},
                {UploadReply::AsendEvent, UploadResponse::SendAttention},
                {UploadReply::Ok, UploadResponse::NextLine}};
    case UploadStepKind::Run:
    case UploadStepKind::Set:
    case UploadStepKind::Delete:
        break;
    }
    return {{UploadReply::Ok, UploadResponse::NextLine}};
}

QList<QByteArray> uploadPieces(const QByteArray &data, qsizetype pieceSize) {
    QList<QByteArray> pieces;
    if (pieceSize <= 0)
        return pieces;
    pieces.reserve((data.size() + pieceSize - 1) / pieceSize);
    for (qsizetype offset = 0; offset < data.size(); offset += pieceSize)
        pieces.append(data.mid(offset, pieceSize));
    return pieces;
}

} // namespace oxa
