// Measures how fast the simulated unit's throttled line really runs, both ways, against the
// 11,520 bytes/s of 115200 bit/s 8N1. Prints figures; asserts nothing.

#include "unithost.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

using namespace oxa::sim;

namespace {

constexpr double LineBytesPerSecond = 115200.0 / 10.0;

void report(const char *what, qint64 bytes, qint64 ns) {
    const double seconds = double(ns) / 1e9;
    const double rate = double(bytes) / seconds;
    std::printf("%-34s %7lld bytes in %6.3f s = %8.1f bytes/s (line %.0f bytes/s, deviation %+.2f %%)\n",
                what, static_cast<long long>(bytes), seconds, rate, LineBytesPerSecond,
                100.0 * (rate - LineBytesPerSecond) / LineBytesPerSecond);
    // The row ./benchmarks collects: the simulator must run at the line rate for the floors to hold.
    const double ratio = rate / LineBytesPerSecond;
    std::printf("ROW|simulated line, %s|%.1f bytes/s|line %.0f bytes/s|%.3f|within 2 %%|%s\n", what, rate,
                LineBytesPerSecond, ratio, ratio >= 0.98 && ratio <= 1.02 ? "yes" : "NO");
    std::fflush(stdout);
}

// Runs the event loop until `done` or ten seconds have passed.
template <typename Done> bool spin(Done done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return done();
}

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);

    UnitOptions options;
    options.startRunning = false;
    options.timing = Timing::realistic();
    // Only the line itself is measured.
    options.timing.simReadLatencyUs = 0;
    options.timing.fileWriteBytesPerSecond = 0;
    QList<IndexedEntry> content;
    for (int i = 1; i <= 250; ++i)
        content.append(
            {i,
             {"+4206030" + QByteArray::number(10000 + i), "Phone book row " + QByteArray::number(i), 145}});
    options.simContent = content;
    UnitHost host(options);

    QByteArray received;
    QElapsedTimer clock;
    clock.start();
    qint64 firstAt = -1;
    qint64 firstSize = 0;
    qint64 lastAt = 0;
    QObject::connect(&host, &UnitHost::output, [&](const QByteArray &bytes) {
        if (firstAt < 0) {
            firstAt = clock.nsecsElapsed();
            firstSize = bytes.size();
        }
        lastAt = clock.nsecsElapsed();
        received += bytes;
    });

    host.send("ATE0\r\n");
    if (!spin([&] { return received.endsWith("OK\r\n"); })) {
        std::puts("no answer to ATE0");
        return 1;
    }

    // Unit to program: the whole phone book, about 12 KB.
    received.clear();
    firstAt = -1;
    host.send("AT+CPBR=1,250\r\n");
    if (!spin([&] { return received.endsWith("\r\nOK\r\n"); })) {
        std::puts("the phone book read did not finish");
        return 1;
    }
    // From the end of the first delivery to the last: the bytes in between crossed in that time.
    report("unit -> program (phone book read)", received.size() - firstSize, lastAt - firstAt);

    // Program to unit: a file of 8 KB after the prompt.
    received.clear();
    const QByteArray file(8192, 'x');
    host.send("AT#WSCRIPT=bench.py," + QByteArray::number(file.size()) + "\r\n");
    if (!spin([&] { return received.endsWith(">>>"); })) {
        std::puts("no prompt");
        return 1;
    }
    qint64 consumed = 0;
    qint64 firstConsumedAt = -1;
    qint64 firstConsumed = 0;
    qint64 lastConsumedAt = 0;
    QObject::connect(&host, &UnitHost::consumed, [&](qint64 count) {
        if (firstConsumedAt < 0) {
            firstConsumedAt = clock.nsecsElapsed();
            firstConsumed = count;
        }
        lastConsumedAt = clock.nsecsElapsed();
        consumed += count;
    });
    host.send(file);
    if (!spin([&] { return consumed == file.size() && received.endsWith("OK\r\n"); })) {
        std::puts("the file did not arrive");
        return 1;
    }
    report("program -> unit (file upload)", consumed - firstConsumed, lastConsumedAt - firstConsumedAt);
    return 0;
}
