// Sessions of a technician, a flaky line and a unit whose script changes its SIM, three bytes an
// operation, run against the window and the in-process simulated unit with the program's promises
// checked after every step (tests/support/sessionrun.h). A broken promise prints the shortest sequence
// found that still breaks it, then aborts so that the fuzzer keeps the input.
#include "sessionrun.h"

#include <QApplication>
#include <QByteArrayView>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

// Longer sessions find nothing that shorter ones miss, and cost time per input.
constexpr qsizetype kMaxOperations = 48;

void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_session";
    static char *argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    ensureApplication();
    QList<oxa::test::SessionOp> ops =
        oxa::test::sessionFromBytes(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));
    if (ops.size() > kMaxOperations)
        ops.resize(kMaxOperations);
    const QString failure = oxa::test::runSession(ops);
    if (failure.isEmpty())
        return 0;
    const QList<oxa::test::SessionOp> shortest = oxa::test::shrinkSession(ops);
    std::fprintf(stderr, "promise broken: %s\nshortest sequence (%lld steps): %s\n", qPrintable(failure),
                 static_cast<long long>(shortest.size()), qPrintable(oxa::test::describeSession(shortest)));
    std::abort();
}
