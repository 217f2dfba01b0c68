// End to end over a pseudo-terminal: the program on the real Qt SerialPort layer, the simulated unit
// as its own process. Stop, read, write, read back.
#include "fakeseams.h"
#include "monitor.h"
#include "serialline.h"
#include "tform1.h"

#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace oxa;

class TestDevicePty : public QObject {
    Q_OBJECT
private slots:
    void stopReadWriteReadBack();
};

void TestDevicePty::stopReadWriteReadBack() {
#ifndef Q_OS_UNIX
    QSKIP("the simulator serves pseudo-terminals on POSIX systems only");
#else
    QProcess simulator;
    simulator.start(QCoreApplication::applicationDirPath() + "/oxasim", {"--instant", "--size", "40"});
    QVERIFY(simulator.waitForStarted());
    QVERIFY(simulator.waitForReadyRead(5000));
    const QByteArray first = simulator.readLine().trimmed();
    QVERIFY2(first.startsWith("PTY "), first.constData());
    const QString slave = QString::fromLocal8Bit(first.mid(4));

    QTemporaryDir folder;
    test::RecordingPause pause;
    test::RecordingErrors errors;
    test::ScriptedDialogs dialogs;
    dialogs.portAnswers.enqueue(slave);
    SerialLine line([&dialogs](const QList<PortEntry> &ports, const QString &preselect) {
        return dialogs.choosePort(ports, preselect);
    });
    TForm1 form({&line, &pause, &errors, &dialogs}, folder.filePath("OXAset"));
    form.start();
    QVERIFY2(errors.messages.isEmpty(), qPrintable(errors.messages.join('\n')));

    // A pseudo-terminal carries no DTR: the simulator is told on its control input instead.
    form.StopOXAClick();
    simulator.write("dtr 1\n");
    QTRY_VERIFY_WITH_TIMEOUT(!form.ctl<QLineEdit>("ADMIN1")->text().isEmpty(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(form.session().simSize(), 40, 10000);

    form.ctl<QLineEdit>("ADMIN2")->setText("+420600999888");
    form.SaveOXAClick();
    QVERIFY(form.session().writing());
    QTRY_VERIFY_WITH_TIMEOUT(!form.session().writing(), 20000);
    QVERIFY2(errors.messages.isEmpty(), qPrintable(errors.messages.join('\n')));
    // The read-back shows what the unit now holds.
    QTRY_COMPARE_WITH_TIMEOUT(form.ctl<QLineEdit>("ADMIN2")->text(), QString("+420600999888"), 10000);

    simulator.readAllStandardOutput();
    simulator.write("dump\n");
    QByteArray dump;
    QTRY_VERIFY_WITH_TIMEOUT((dump += simulator.readAllStandardOutput()).contains("\nend"), 5000);
    QVERIFY2(dump.contains(",+420600999888,ADMIN2"), dump.constData());
    QVERIFY(dump.startsWith("1,"));

    form.close();
    simulator.write("quit\n");
    QVERIFY(simulator.waitForFinished(5000));
#endif
}

QTEST_MAIN(TestDevicePty)
#include "tst_device_pty.moc"
