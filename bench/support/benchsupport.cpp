#include "benchsupport.h"

#include <QFile>
#include <algorithm>

namespace oxa::bench {

void PrintedErrors::report(const QString &message) {
    std::fprintf(stderr, "error: %s\n", qPrintable(message));
    ++count;
}

std::optional<QString> FixedPortDialogs::choosePort(const QList<PortEntry> &, const QString &) {
    if (m_port.isEmpty())
        return std::nullopt;
    return m_port;
}

double median(QList<double> values) {
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

double residentMB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() * 1024.0 / 1e6;
    }
    return 0;
}

void printRow(const QString &what, const QString &median, const QString &against, double ratio,
              const QString &target, const char *met) {
    std::printf("ROW|%s|%s|%s|%.3f|%s|%s\n", qPrintable(what), qPrintable(median), qPrintable(against), ratio,
                qPrintable(target), met);
    std::fflush(stdout);
}

void printNote(const QString &text) {
    std::printf("NOTE|%s\n", qPrintable(text));
    std::fflush(stdout);
}

QString seconds(double s) {
    return QString::number(s, 'f', 3) + QStringLiteral(" s");
}

QString millis(double ms) {
    return QString::number(ms, 'f', 3) + QStringLiteral(" ms");
}

} // namespace oxa::bench
