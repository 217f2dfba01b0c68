// The upload list: kinds of steps, their commands, the replies each waits for, file pieces.
#include "uploadlist.h"

#include <QTest>

using oxa::UploadExchange;
using oxa::UploadReply;
using oxa::UploadResponse;
using oxa::UploadStepKind;

Q_DECLARE_METATYPE(UploadStepKind)

class TestUpload : public QObject {
    Q_OBJECT

private slots:
    void classify_data();
    void classify();
    void listLines_data();
    void listLines();
    void commands_data();
    void commands();
    void exchanges();
    void pieces_data();
    void pieces();
};

void TestUpload::classify_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<UploadStepKind>("kind");
    QTest::addColumn<QString>("argument");

    const auto row = [](const char *tag, const QString &line, UploadStepKind kind, const QString &argument) {
        QTest::newRow(tag) << line << kind << argument;
    };
    row("run", "RUN:oxa.pyo", UploadStepKind::Run, "oxa.pyo");
    row("run with nothing after the colon", "RUN:", UploadStepKind::Run, "");
    row("asend", "ASEND:msg1.amr", UploadStepKind::Asend, "msg1.amr");
    row("set", "SET:AT#SLED=1", UploadStepKind::Set, "AT#SLED=1");
    row("set keeps later colons", "SET:AT#DSCRIPT=a:b", UploadStepKind::Set, "AT#DSCRIPT=a:b");
    row("del", "DEL:old.pyo", UploadStepKind::Delete, "old.pyo");
    row("plain file", "oxa.pyo", UploadStepKind::WriteFile, "oxa.pyo");
    row("plain file with path", "scripts/oxa.pyo", UploadStepKind::WriteFile, "scripts/oxa.pyo");
    row("empty line inside the list", "", UploadStepKind::WriteFile, "");
    row("tags are case-sensitive", "run:oxa.pyo", UploadStepKind::WriteFile, "run:oxa.pyo");
    row("RUN before ASEND", "ASEND:RUN:x", UploadStepKind::Run, "RUN:x");
    row("ASEND before SET", "SET:ASEND:x", UploadStepKind::Asend, "ASEND:x");
    row("SET before DEL", "DEL:SET:x", UploadStepKind::Set, "SET:x");
    row("tag anywhere, rest after first colon", "x:DEL:y", UploadStepKind::Delete, "DEL:y");
    row("RUN inside ASEND's name", "ASEND:TRUN:x", UploadStepKind::Run, "TRUN:x");
}

void TestUpload::classify() {
    QFETCH(QString, line);
    QFETCH(UploadStepKind, kind);
    QFETCH(QString, argument);
    const oxa::UploadStep step = oxa::classifyUploadLine(line);
    QCOMPARE(step.kind, kind);
    QCOMPARE(step.argument, argument);
    QCOMPARE(step.sendsFile(), kind == UploadStepKind::Asend || kind == UploadStepKind::WriteFile);
}

void TestUpload::listLines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty memo") << "" << QStringList{};
    QTest::newRow("no line end") << "a\nb" << QStringList{"a", "b"};
    QTest::newRow("trailing empty line is not a step") << "a\nb\n" << QStringList{"a", "b"};
    QTest::newRow("only one trailing line dropped") << "a\nb\n\n" << QStringList{"a", "b", ""};
    QTest::newRow("empty line inside") << "a\n\nb" << QStringList{"a", "", "b"};
    QTest::newRow("CR LF") << "RUN:a\r\nDEL:b\r\n" << QStringList{"RUN:a", "DEL:b"};
    QTest::newRow("CR") << "a\rb" << QStringList{"a", "b"};
    QTest::newRow("a single line end") << "\n" << QStringList{""};
    QTest::newRow("loaded twice") << "a\nb\na\nb" << QStringList{"a", "b", "a", "b"};
}

void TestUpload::listLines() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(oxa::uploadListLines(text), lines);
}

void TestUpload::commands_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QByteArray>("command");

    QTest::newRow("run") << "RUN:oxa.pyo" << qint64(0) << QByteArray("AT#ESCRIPT=oxa.pyo\r\n");
    QTest::newRow("run, empty name") << "RUN:" << qint64(0) << QByteArray("AT#ESCRIPT=\r\n");
    QTest::newRow("asend") << "ASEND:msg1.amr" << qint64(300000)
                           << QByteArray("AT#ASEND=msg1.amr,300000\r\n");
    QTest::newRow("set") << "SET:AT+CSQ" << qint64(0) << QByteArray("AT+CSQ\r\n");
    QTest::newRow("del") << "DEL:old.pyo" << qint64(0) << QByteArray("AT#DSCRIPT=old.pyo\r\n");
    QTest::newRow("plain file") << "oxa.pyo" << qint64(64001) << QByteArray("AT#WSCRIPT=oxa.pyo,64001\r\n");
    QTest::newRow("Latin-1 name") << QString::fromLatin1("zpr\xe1va.amr") << qint64(5)
                                  << QByteArray("AT#WSCRIPT=zpr\xe1va.amr,5\r\n");
}

void TestUpload::commands() {
    QFETCH(QString, line);
    QFETCH(qint64, size);
    QFETCH(QByteArray, command);
    const oxa::Command built = oxa::uploadCommand(oxa::classifyUploadLine(line), size);
    QVERIFY(built.ok());
    QCOMPARE(built.line, command);
    // The monitor shows the command without its line end ("SET:" shows the bare command).
    QCOMPARE(built.logText(), command.chopped(2));
}

void TestUpload::exchanges() {
    const QList<UploadExchange> simple{{UploadReply::Ok, UploadResponse::NextLine}};
    for (const auto kind : {UploadStepKind::Run, UploadStepKind::Set, UploadStepKind::Delete}) {
        const auto got = oxa::uploadExchanges(kind);
        QCOMPARE(got.size(), 1);
        QCOMPARE(got[0].reply, UploadReply::Ok);
        QCOMPARE(got[0].response, UploadResponse::NextLine);
    }

    const auto file = oxa::uploadExchanges(UploadStepKind::WriteFile);
    QCOMPARE(file.size(), 2);
    QCOMPARE(file[0].reply, UploadReply::Prompt);
    QCOMPARE(file[0].response, UploadResponse::SendData);
    QCOMPARE(file[1].reply, UploadReply::Ok);
    QCOMPARE(file[1].response, UploadResponse::NextLine);

    const auto asend = oxa::uploadExchanges(UploadStepKind::Asend);
    QCOMPARE(asend.size(), 3);
    QCOMPARE(asend[0].reply, UploadReply::Prompt);
    QCOMPARE(asend[0].response, UploadResponse::SendData);
    QCOMPARE(asend[1].reply, UploadReply::AsendEvent);
    QCOMPARE(asend[1].response, UploadResponse::SendAttention);
    QCOMPARE(asend[2].reply, UploadReply::Ok);
    QCOMPARE(asend[2].response, UploadResponse::NextLine);
}

void TestUpload::pieces_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<int>>("pieceSizes");

    QTest::newRow("empty") << 0 << QList<int>{};
    QTest::newRow("1") << 1 << QList<int>{1};
    QTest::newRow("64000 in one piece") << 64000 << QList<int>{64000};
    QTest::newRow("64001 in two") << 64001 << QList<int>{64000, 1};
    QTest::newRow("128000") << 128000 << QList<int>{64000, 64000};
    QTest::newRow("128001 beyond the old limit") << 128001 << QList<int>{64000, 64000, 1};
    QTest::newRow("300000") << 300000 << QList<int>{64000, 64000, 64000, 64000, 44000};
}

void TestUpload::pieces() {
    QFETCH(int, size);
    QFETCH(QList<int>, pieceSizes);

    QByteArray data(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        data[i] = char((i * 7 + i / 256) & 0xff); // every byte value, not a repeating period of 256
    const QByteArrayList pieces = oxa::uploadPieces(data);
    QList<int> sizes;
    QByteArray joined;
    for (const QByteArray &piece : pieces) {
        sizes.append(int(piece.size()));
        joined += piece;
    }
    QCOMPARE(sizes, pieceSizes);
    QCOMPARE(joined, data);
}

QTEST_APPLESS_MAIN(TestUpload)
#include "tst_protocol_upload.moc"
