// Line assembly of the receive handler: bytes in, reply lines out, upload prompts noticed.
#include "linereader.h"

#include <QTest>

using oxa::LineReader;

class TestLines : public QObject {
    Q_OBJECT

private slots:
    void assembly_data();
    void assembly();
    void everyByteValue();
    void prompt_data();
    void prompt();
    void promptNotEmptied();
    void longLines_data();
    void longLines();
};

void TestLines::assembly_data() {
    QTest::addColumn<QByteArrayList>("chunks");
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QByteArray>("partial");

    QTest::newRow("CR LF gives one line") << QByteArrayList{"OK\r\n"} << QByteArrayList{"OK"} << QByteArray();
    QTest::newRow("two CRs give an empty line")
        << QByteArrayList{"OK\r\r\n"} << QByteArrayList{"OK", ""} << QByteArray();
    QTest::newRow("reply split over notifications")
        << QByteArrayList{"\r\n+CS", "Q: 1", "5,0", "\r", "\nOK\r\n"}
        << QByteArrayList{"", "+CSQ: 15,0", "OK"} << QByteArray();
    QTest::newRow("LF only never ends a line")
        << QByteArrayList{"\n\nOK\n"} << QByteArrayList{} << QByteArray("OK");
    // TAB, SOH, SO, US and NUL go; DEL (127) is not a control byte here and stays.
    QTest::newRow("control bytes dropped, DEL kept")
        << QByteArrayList{QByteArray::fromHex("09 01 41 0e 42 1f 7f 00 43 0d")}
        << QByteArrayList{QByteArray::fromHex("41 42 7f 43")} << QByteArray();
    QTest::newRow("high bytes kept") << QByteArrayList{"\x80\xe9\xff\r"} << QByteArrayList{"\x80\xe9\xff"}
                                     << QByteArray();
    QTest::newRow("several lines in one chunk, rest waits")
        << QByteArrayList{"+CPBR: 1,\"1\",129,\"A\"\r\n+CPBR: 2,\"2\",129,\"B\"\r\nOK\r\n+CRE"}
        << QByteArrayList{"+CPBR: 1,\"1\",129,\"A\"", "+CPBR: 2,\"2\",129,\"B\"", "OK"} << QByteArray("+CRE");
}

void TestLines::assembly() {
    QFETCH(QByteArrayList, chunks);
    QFETCH(QByteArrayList, lines);
    QFETCH(QByteArray, partial);

    LineReader reader;
    QByteArrayList got;
    for (const QByteArray &chunk : chunks)
        got += oxa::feedLines(reader, chunk);
    QCOMPARE(got, lines);
    QCOMPARE(reader.partial(), partial);
}

void TestLines::everyByteValue() {
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    QByteArray kept;
    for (int b = 32; b < 256; ++b)
        kept.append(char(b));

    LineReader reader;
    // 0..12 dropped, 13 ends an empty line, 14..31 dropped, 32..255 wait for the next CR.
    QCOMPARE(oxa::feedLines(reader, all), QByteArrayList{""});
    QCOMPARE(reader.partial(), kept);
    QCOMPARE(oxa::feedLines(reader, "\r"), QByteArrayList{kept});
}

void TestLines::prompt_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("prompts");
    QTest::addColumn<bool>("promptNow");

    QTest::newRow(">>>") << QByteArray(">>>") << 1 << true;
    QTest::newRow("CONNECT") << QByteArray("CONNECT") << 1 << true;
    QTest::newRow("after a complete line") << QByteArray("OK\r\n>>>") << 1 << true;
    QTest::newRow("dropped bytes inside") << QByteArray(">\n>\x01>") << 1 << true;
    QTest::newRow(">>>> seen once, at its third byte") << QByteArray(">>>>") << 1 << false;
    QTest::newRow("CONNECT 115200") << QByteArray("CONNECT 115200") << 1 << false;
    QTest::newRow("text before") << QByteArray("x>>>") << 0 << false;
    QTest::newRow(">>") << QByteArray(">>") << 0 << false;
    QTest::newRow("connect") << QByteArray("connect") << 0 << false;
    QTest::newRow("two prompts") << QByteArray(">>>\rCONNECT") << 2 << true;
}

void TestLines::prompt() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, prompts);
    QFETCH(bool, promptNow);

    LineReader reader;
    int seen = 0;
    for (const char b : bytes)
        seen += reader.feed(b) == LineReader::Event::Prompt;
    QCOMPARE(seen, prompts);
    QCOMPARE(reader.partialIsPrompt(), promptNow);
}

void TestLines::promptNotEmptied() {
    // The prompt needs no line end; it stays in the line, which is logged when its CR comes.
    LineReader reader;
    oxa::feedLines(reader, ">>");
    QCOMPARE(reader.feed('>'), LineReader::Event::Prompt);
    QCOMPARE(reader.partial(), QByteArray(">>>"));
    QCOMPARE(reader.feed('\r'), LineReader::Event::LineEnded);
    QCOMPARE(reader.takeLine(), QByteArray(">>>"));
    QCOMPARE(reader.takeLine(), QByteArray());
    QCOMPARE(reader.feed('\n'), LineReader::Event::Dropped);
    QCOMPARE(reader.feed('O'), LineReader::Event::Appended);
}

// A line longer than any reply is cut at MaxLineLength bytes, once, and what follows it up to its CR is
// dropped: however long the unit sends without a CR, the line holds no more. The next line is whole.
void TestLines::longLines_data() {
    QTest::addColumn<qsizetype>("length");
    QTest::addColumn<bool>("cut");
    const qsizetype max = LineReader::MaxLineLength;
    QTest::newRow("one byte short of the limit") << max - 1 << false;
    QTest::newRow("at the limit") << max << false;
    QTest::newRow("one byte beyond") << max + 1 << true;
    QTest::newRow("4 MB without a CR") << qsizetype(4 * 1024 * 1024) << true;
}

void TestLines::longLines() {
    QFETCH(qsizetype, length);
    QFETCH(bool, cut);
    LineReader reader;
    QByteArray sent(length, '\xff');
    sent[0] = 'A';
    int cuts = 0;
    for (const char byte : sent)
        cuts += reader.feed(byte) == LineReader::Event::Cut;
    QCOMPARE(cuts, cut ? 1 : 0);
    QCOMPARE(reader.partial().size(), std::min(length, LineReader::MaxLineLength));

    QCOMPARE(reader.feed('\r'), LineReader::Event::LineEnded);
    QCOMPARE(reader.completeLineWasCut(), cut);
    QCOMPARE(reader.takeLine(), sent.left(LineReader::MaxLineLength));
    QCOMPARE(oxa::feedLines(reader, "OK\r"), QByteArrayList{"OK"});
    QVERIFY(!reader.completeLineWasCut());
}

QTEST_APPLESS_MAIN(TestLines)
#include "tst_protocol_lines.moc"
