// How many bytes a second the receive handler takes through a full read (operator, SIM size, 250
// entries into the key boxes, the settings, the trees and the grid), every line logged on the
// monitor. The bytes come in pieces as a serial port announces them and the event loop turns after
// each, so repaints and deferred work count too. Pauses are recorded, not waited: only the program's
// own work is timed. Compared with the line's 11,520 bytes a second; asserts nothing.
#include "benchsupport.h"
#include "replayport.h"
#include "simcontent.h"
#include "tform1.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTableWidget>

using namespace oxa;
using namespace oxa::bench;

namespace {

constexpr double LineBytesPerSecond = 11520.0;
constexpr int PieceBytes = 64;
constexpr int Runs = 9;

} // namespace

int main(int argc, char *argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ReplayWindow window;
    TForm1 &form = window.form;
    ReplayPort &port = window.port;
    const PrintedErrors &errors = window.errors;
    QCoreApplication::processEvents();

    // Into programming mode as the user gets there: Stop, the stop report, echo off.
    form.ctl<QPushButton>("StopOXA")->click();
    port.deliver("\r\nSTOP\r\n");
    port.deliver("\r\nOK\r\n\r\n[AT#SLED=1]=\r\n");
    QCoreApplication::processEvents();

    // The unit answers each command of the read chain once it has it: the operator, the size, the entries.
    const QList<QByteArray> answers = {"\r\n#SPN: T-Mobile CZ\r\n\r\nOK\r\n",
                                       "\r\n+CPBR: (1-250),40,18\r\n\r\nOK\r\n", fullListing()};
    const qsizetype streamSize = answers.join().size();
    auto *grid = form.ctl<QTableWidget>("PhoneBook1");
    QList<double> rates;
    bool complete = true;
    for (int run = 0; run < Runs; ++run) {
        form.ctl<QPushButton>("LoadOXA")->click(); // "AT#SPN"
        QCoreApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        for (const QByteArray &answer : answers) {
            for (qsizetype at = 0; at < answer.size(); at += PieceBytes) {
                port.deliver(answer.mid(at, PieceBytes));
                QCoreApplication::processEvents();
            }
        }
        rates << double(streamSize) / (double(timer.nsecsElapsed()) / 1e9);
        complete = complete && grid->rowCount() == GridRows && errors.count == 0;
    }
    const double rate = median(rates);
    printRow(QStringLiteral("receive path, %1 bytes of a full read in %2-byte pieces")
                 .arg(streamSize)
                 .arg(PieceBytes),
             QString::number(rate / 1e6, 'f', 3) + QStringLiteral(" MB/s"),
             QStringLiteral("line 0.01152 MB/s"), rate / LineBytesPerSecond, QStringLiteral(">= 100 x line"),
             complete && rate >= 100 * LineBytesPerSecond ? "yes" : "NO");
    if (!complete)
        printNote(QStringLiteral("receive path: the read did not fill the grid with %1 rows").arg(GridRows));
    return 0;
}
