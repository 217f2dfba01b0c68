// The service page's list buttons: Load List appends a list file's lines, Clear List empties the memo.
#include "upload_file.h"
#include "uploadfixture.h"

#include <QTest>

using namespace oxa;

class TestUploadList : public QObject {
    Q_OBJECT
private slots:
    void appendListText_data();
    void appendListText();
    void loadingTwiceAppendsTheSecondCopy();
    void cancelledOrUnreadableListChangesNothing();
    void clearListEmptiesTheMemo();
};

void TestUploadList::appendListText_data() {
    QTest::addColumn<QString>("memo");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("result");

    QTest::newRow("empty memo") << "" << QByteArray("a.pyo\r\nRUN:a.pyo\r\n") << "a.pyo\nRUN:a.pyo";
    QTest::newRow("after a last line without end") << "DEL:x" << QByteArray("SET:AT") << "DEL:x\nSET:AT";
    QTest::newRow("a closed last line adds no empty step") << "DEL:x\n"
                                                           << QByteArray("SET:AT\n") << "DEL:x\nSET:AT";
    QTest::newRow("empty line inside the file kept") << "" << QByteArray("a\n\nb\n") << "a\n\nb";
    QTest::newRow("CR-only and LF-only ends") << "" << QByteArray("a\rb\nc") << "a\nb\nc";
    QTest::newRow("empty file leaves the memo") << "DEL:x\n" << QByteArray() << "DEL:x\n";
    QTest::newRow("bytes above 127 one to one")
        << "" << QByteArray("ASEND:hl\xe1s.amr\r\n") << QString::fromLatin1("ASEND:hl\xe1s.amr");
}

void TestUploadList::appendListText() {
    QFETCH(QString, memo);
    QFETCH(QByteArray, file);
    QFETCH(QString, result);
    QCOMPARE(oxa::appendListText(memo, file), result);
}

void TestUploadList::loadingTwiceAppendsTheSecondCopy() {
    test::UploadWindow w;
    w.writeFile("steps.ifo", "DEL:old.pyo\r\noxa.pyo\r\nRUN:oxa.pyo\r\n");
    const QString path = w.folder.filePath("steps.ifo");
    w.dialogs.openAnswers << path << path;
    w.click("LoadList");
    w.click("LoadList");
    QCOMPARE(w.dialogs.filters, QStringList({"info for download (*.ifo)", "info for download (*.ifo)"}));
    QCOMPARE(w.form->ctl<QPlainTextEdit>("List")->toPlainText(),
             QString("DEL:old.pyo\noxa.pyo\nRUN:oxa.pyo\nDEL:old.pyo\noxa.pyo\nRUN:oxa.pyo"));
    QVERIFY(w.errors.messages.isEmpty());
    QVERIFY(w.port.sent.isEmpty()); // loading sends nothing
}

void TestUploadList::cancelledOrUnreadableListChangesNothing() {
    test::UploadWindow w;
    w.setList("RUN:oxa.pyo");
    w.click("LoadList"); // no answer queued: cancelled
    QVERIFY(w.errors.messages.isEmpty());
    w.dialogs.openAnswers << w.folder.filePath("gone.ifo");
    w.click("LoadList");
    QCOMPARE(w.errors.messages.size(), 1);
    QVERIFY2(w.errors.messages[0].contains("gone.ifo"), qPrintable(w.errors.messages[0]));
    QCOMPARE(w.form->ctl<QPlainTextEdit>("List")->toPlainText(), QString("RUN:oxa.pyo"));
}

void TestUploadList::clearListEmptiesTheMemo() {
    test::UploadWindow w;
    w.setList("RUN:oxa.pyo\nDEL:a\n");
    w.click("ClrList");
    QCOMPARE(w.form->ctl<QPlainTextEdit>("List")->toPlainText(), QString());
    w.upgrade(); // an empty list is over at once
    QVERIFY(!w.uploading());
    QVERIFY(!w.progress()->isHidden());
    QCOMPARE(w.progress()->value(), 1);
    QCOMPARE(w.progress()->maximum(), 1);
    QVERIFY(w.port.sent.isEmpty());
}

QTEST_MAIN(TestUploadList)
#include "tst_uploadui_list.moc"
