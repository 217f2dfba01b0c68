#include "phonebookrows.h"

#include <QTest>

using namespace oxa;

class TestPhoneBook : public QObject {
    Q_OBJECT
private slots:
    void splitLine_data();
    void splitLine();
    void find_data();
    void find();
    void insertLine_data();
    void insertLine();
    void deleteLine_data();
    void deleteLine();
    void appendLine_data();
    void appendLine();
};

void TestPhoneBook::splitLine_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QByteArray>("phone");
    QTest::addColumn<bool>("separator");
    QTest::addColumn<QByteArray>("joined");
    QTest::newRow("plain") << QByteArray("Gate=123") << QByteArray("Gate") << QByteArray("123") << true
                           << QByteArray("Gate=123");
    QTest::newRow("split at first =")
        << QByteArray("a=b=c") << QByteArray("a") << QByteArray("b=c") << true << QByteArray("a=b=c");
    QTest::newRow("no =") << QByteArray("just text") << QByteArray() << QByteArray("just text") << false
                          << QByteArray("=just text");
    QTest::newRow("only =") << QByteArray("=") << QByteArray() << QByteArray() << true << QByteArray("=");
    QTest::newRow("empty line") << QByteArray() << QByteArray() << QByteArray() << false << QByteArray("=");
    QTest::newRow("bytes kept") << QByteArray("\x00\xff=\x80\x01", 5) << QByteArray("\x00\xff", 2)
                                << QByteArray("\x80\x01") << true << QByteArray("\x00\xff=\x80\x01", 5);
}

void TestPhoneBook::splitLine() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, name);
    QFETCH(QByteArray, phone);
    QFETCH(bool, separator);
    QFETCH(QByteArray, joined);
    const PhoneBookRow row = splitPhoneBookLine(line);
    QCOMPARE(row.name, name);
    QCOMPARE(row.phone, phone);
    QCOMPARE(row.separator, separator);
    QCOMPARE(phoneBookLine(row), joined);
}

void TestPhoneBook::find_data() {
    QTest::addColumn<QByteArrayList>("lines");
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<int>("row");
    const QByteArrayList book = {"Office=1",
                                 "no separator",
                                 "Gate=2",
                                 "=3",
                                 "gate=4",
                                 "\xc9"
                                 "cole=5"};
    QTest::newRow("case ignored") << book << "gate" << 2;
    QTest::newRow("upper case") << book << "GATE" << 2;
    QTest::newRow("whole names only") << book << "Gat" << -1;
    QTest::newRow("no trailing match") << book << "Gate " << -1;
    QTest::newRow("empty finds the empty name") << book << "" << 3;
    QTest::newRow("Latin-1 letters") << book
                                     << QString::fromLatin1("\xe9"
                                                            "COLE")
                                     << 5;
    QTest::newRow("line without = never found") << QByteArrayList{"no separator", "x=1"} << "" << -1;
    QTest::newRow("empty book") << QByteArrayList{} << "Gate" << -1;
}

void TestPhoneBook::find() {
    QFETCH(QByteArrayList, lines);
    QFETCH(QString, wanted);
    QFETCH(int, row);
    QList<PhoneBookRow> rows;
    for (const QByteArray &l : lines)
        rows << splitPhoneBookLine(l);
    QCOMPARE(findPhoneBookRow(rows, wanted), row);
}

void TestPhoneBook::insertLine_data() {
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("currentEmpty");
    QTest::addColumn<int>("insertAt"); // -1: nothing changes
    QTest::newRow("empty grid") << 0 << -1 << false << 0;
    QTest::newRow("before current") << 5 << 2 << false << 2;
    QTest::newRow("before last") << 5 << 4 << false << 4;
    QTest::newRow("current already empty") << 5 << 3 << true << -1;
    QTest::newRow("no current row") << 3 << -1 << false << 0;
}

void TestPhoneBook::insertLine() {
    QFETCH(int, rowCount);
    QFETCH(int, current);
    QFETCH(bool, currentEmpty);
    QFETCH(int, insertAt);
    QCOMPARE(insertLineIndex(rowCount, current, currentEmpty).value_or(-1), insertAt);
}

void TestPhoneBook::deleteLine_data() {
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("deleted"); // -1: nothing to delete
    QTest::addColumn<int>("currentAfter");
    QTest::newRow("empty grid") << 0 << -1 << -1 << -1;
    QTest::newRow("empty grid, stale current") << 0 << 0 << -1 << -1;
    QTest::newRow("middle row") << 4 << 1 << 1 << 1;
    QTest::newRow("first row") << 4 << 0 << 0 << 0;
    QTest::newRow("last of several") << 4 << 3 << 3 << 2;
    QTest::newRow("only row") << 1 << 0 << 0 << -1;
    QTest::newRow("no current row") << 3 << -1 << -1 << -1;
}

void TestPhoneBook::deleteLine() {
    QFETCH(int, rowCount);
    QFETCH(int, current);
    QFETCH(int, deleted);
    QFETCH(int, currentAfter);
    const auto d = oxa::deleteLine(rowCount, current);
    QCOMPARE(d.has_value(), deleted >= 0);
    if (d) {
        QCOMPARE(d->row, deleted);
        QCOMPARE(d->currentAfter, currentAfter);
    }
}

void TestPhoneBook::appendLine_data() {
    QTest::addColumn<int>("rowCount");
    QTest::addColumn<int>("current");
    QTest::addColumn<bool>("currentEmpty");
    QTest::addColumn<int>("appendAt"); // -1: nothing changes
    QTest::newRow("last row") << 5 << 4 << false << 5;
    QTest::newRow("only row") << 1 << 0 << false << 1;
    QTest::newRow("last row empty") << 5 << 4 << true << -1;
    QTest::newRow("not the last row") << 5 << 3 << false << -1;
    QTest::newRow("no current row") << 5 << -1 << false << -1;
    QTest::newRow("no rows") << 0 << -1 << false << -1;
}

void TestPhoneBook::appendLine() {
    QFETCH(int, rowCount);
    QFETCH(int, current);
    QFETCH(bool, currentEmpty);
    QFETCH(int, appendAt);
    QCOMPARE(appendLineIndex(rowCount, current, currentEmpty).value_or(-1), appendAt);
}

QTEST_APPLESS_MAIN(TestPhoneBook)
#include "tst_params_phonebook.moc"
