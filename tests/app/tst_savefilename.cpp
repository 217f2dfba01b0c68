// The name a save dialog's answer becomes: the filter's extension added when the name has none.
#include "savefilename.h"

#include <QTest>

using namespace oxa;

class TestSaveFileName : public QObject {
    Q_OBJECT
private slots:
    void extensionOfTheFilter_data();
    void extensionOfTheFilter();
};

void TestSaveFileName::extensionOfTheFilter_data() {
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("saved");
    const QString oxa = QStringLiteral("OXA files (*.oxa)");
    QTest::newRow("no extension") << "/home/jan/gate" << oxa << "/home/jan/gate.oxa";
    QTest::newRow("the filter's") << "/home/jan/gate.oxa" << oxa << "/home/jan/gate.oxa";
    QTest::newRow("another one, as typed") << "/home/jan/gate.txt" << oxa << "/home/jan/gate.txt";
    QTest::newRow("capitals, as typed") << "/home/jan/GATE.OXA" << oxa << "/home/jan/GATE.OXA";
    QTest::newRow("dot in a folder only") << "/home/jan.novak/gate" << oxa << "/home/jan.novak/gate.oxa";
    QTest::newRow("ending in a dot") << "/home/jan/gate." << oxa << "/home/jan/gate.oxa";
    QTest::newRow("leading dot") << "/home/jan/.gate" << oxa << "/home/jan/.gate.oxa";
    QTest::newRow("Windows folder") << "C:\\Users\\jan.novak\\gate" << oxa
                                    << "C:\\Users\\jan.novak\\gate.oxa";
    QTest::newRow("monitor") << "/tmp/traffic"
                             << "Monitor files (*.mon)"
                             << "/tmp/traffic.mon";
    QTest::newRow("cancelled") << "" << oxa << "";
    QTest::newRow("filter without extension") << "/tmp/traffic"
                                              << "All files (*)"
                                              << "/tmp/traffic";
}

void TestSaveFileName::extensionOfTheFilter() {
    QFETCH(QString, chosen);
    QFETCH(QString, filter);
    QFETCH(QString, saved);
    QCOMPARE(withFilterExtension(chosen, filter), saved);
}

QTEST_APPLESS_MAIN(TestSaveFileName)
#include "tst_savefilename.moc"
