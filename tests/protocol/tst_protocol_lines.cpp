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
    void longLineWithoutCr();
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

void TestLines::longLineWithoutCr() {
    LineReader reader;
    const QByteArray line(64 * 1024, 'A');
    QVERIFY(oxa::feedLines(reader, line).isEmpty());
    QCOMPARE(reader.partial().size(), line.size());
    QVERIFY(!reader.partialIsPrompt());

    // Far beyond a line that any reply needs: still linear, still one line at the CR.
    const QByteArray more(4 * 1024 * 1024, '\xff');
    QVERIFY(oxa::feedLines(reader, more).isEmpty());
    const QByteArrayList lines = oxa::feedLines(reader, "\rOK\r");
    QCOMPARE(lines.size(), 2);
    QCOMPARE(lines[0], line + more);
    QCOMPARE(lines[1], QByteArray("OK"));
    QVERIFY(reader.partial().isEmpty());
}

QTEST_APPLESS_MAIN(TestLines)
#include "tst_protocol_lines.moc"
