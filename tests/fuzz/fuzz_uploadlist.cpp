// An upload list as the service page takes it: a list file appended to the memo, the memo cut into
// steps, each step classified and turned into its command. Whatever the list holds, a step sends
// exactly one command line, and a name reaches the module byte for byte.
#include "fuzzcheck.h"

#include "devicecommands.h"
#include "upload_file.h"
#include "uploadlist.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

using namespace oxa;

void checkStep(const QString &line, qint64 fileSize) {
    FUZZ_CHECK(!line.contains(QLatin1Char('\r')) && !line.contains(QLatin1Char('\n')));
    const UploadStep step = classifyUploadLine(line);
    FUZZ_CHECK(line.endsWith(step.argument));
    const Command command = uploadCommand(step, fileSize);
    if (command.ok()) {
        FUZZ_CHECK(command.line.endsWith("\r\n"));
        FUZZ_CHECK(command.line.count('\r') == 1 && command.line.count('\n') == 1);
        if (step.kind != UploadStepKind::Set)
            FUZZ_CHECK(command.logText().contains(step.argument.toLatin1()));
    } else {
        FUZZ_CHECK(command.line.isEmpty());
    }
    if (step.sendsFile())
        (void)uploadFilePath(step.argument);
    const QList<UploadExchange> exchanges = uploadExchanges(step.kind);
    FUZZ_CHECK(!exchanges.isEmpty() && exchanges.last().response == UploadResponse::NextLine);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    const QStringList fileLines = uploadListLines(QString::fromLatin1(bytes));
    for (const QString &memo : {QString(), QStringLiteral("RUN:oxa.pyo"), QStringLiteral("DEL:old.pyo\n")}) {
        const QStringList lines = uploadListLines(appendListText(memo, bytes));
        // The memo's steps, then the file's: none lost, none merged (a trailing empty line is no step).
        const QStringList expected = uploadListLines(memo) + fileLines;
        FUZZ_CHECK(lines == expected || (!expected.isEmpty() && expected.last().isEmpty() &&
                                         lines == expected.first(expected.size() - 1)));
    }
    // Each step the file adds is checked once: its lines are the same whichever memo they follow.
    for (const QString &line : fileLines)
        checkStep(line, qint64(size));
    // The data of a file goes out in pieces that together are the file.
    const qsizetype pieceSize = size == 0 ? 1 : qsizetype(data[0]) + 1;
    const QList<QByteArray> pieces = uploadPieces(bytes, pieceSize);
    FUZZ_CHECK(pieces.join() == bytes);
    for (const QByteArray &piece : pieces)
        FUZZ_CHECK(!piece.isEmpty() && piece.size() <= pieceSize);
    return 0;
}
