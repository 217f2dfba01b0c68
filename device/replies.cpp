#include "replies.h"

#include <limits>

namespace oxa {

namespace {

bool contains(QByteArrayView line, const char *what) {
    return line.contains(QByteArrayView(what));
}

bool equals(QByteArrayView line, const char *what) {
    return line == QByteArrayView(what);
}

// The text after the first `open` up to (not including) the next `close`; nullopt when either is
// missing.
std::optional<QByteArrayView> between(QByteArrayView line, char open, char close) {
    const qsizetype start = line.indexOf(open);
    if (start < 0)
        return std::nullopt;
    const qsizetype end = line.indexOf(close, start + 1);
    if (end < 0)
        return std::nullopt;
    return line.sliced(start + 1, end - start - 1);
}

} // namespace

ReplyKind classifyReply(QByteArrayView line, bool asendPending) {
    if (equals(line, "OK"))
        return ReplyKind::Ok;
    if (equals(line, "STOP") || contains(line, "#APLAYEV:"))
        return ReplyKind::StopReport;
    if (equals(line, "Telit"))
        return ReplyKind::Telit;
    if (equals(line, "[AT#SLED=1]="))
        return ReplyKind::SledReport;
    if (asendPending && contains(line, "#ASENDEV:"))
        return ReplyKind::AsendDone;
    if (equals(line, "+CREG: 0,1") || equals(line, "+CREG: 0,5"))
        return ReplyKind::Creg;
    if (contains(line, "#CBC:"))
        return ReplyKind::Battery;
    if (contains(line, "+CSQ:"))
        return ReplyKind::Signal;
    if (contains(line, "+CPBR: (1-"))
        return ReplyKind::SimSize;
    if (contains(line, "+CPBR"))
        return ReplyKind::Entry;
    if (contains(line, "#SPN"))
        return ReplyKind::Operator;
    if (contains(line, "COPS"))
        return ReplyKind::Cops;
    return ReplyKind::Other;
}

bool isLoggedLine(QByteArrayView line) {
    return !contains(line, "#SMSATWL");
}

bool showsRunTone(QByteArrayView line) {
    return contains(line, "AT#tone=i,4]");
}

bool reportsLteModule(QByteArrayView line) {
    return contains(line, "#APLAYEV:");
}

bool isErrorReply(QByteArrayView line) {
    return equals(line, "ERROR") || line.startsWith(QByteArrayView("+CME ERROR")) ||
           line.startsWith(QByteArrayView("+CMS ERROR"));
}

std::optional<int> parseDecimal(QByteArrayView text) {
    text = text.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text = text.sliced(1);
        if (text.isEmpty())
            return std::nullopt;
    }
    long long value = 0;
    const long long limit =
        negative ? -static_cast<long long>(std::numeric_limits<int>::min()) : std::numeric_limits<int>::max();
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > limit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

std::optional<BatteryReading> parseBattery(QByteArrayView line) {
    const qsizetype comma = line.indexOf(',');
    if (comma < 0)
        return std::nullopt;
    const QByteArrayView field = line.sliced(comma + 1);
    const auto value = parseDecimal(field);
    if (!value)
        return std::nullopt;
    return BatteryReading{field.toByteArray(), *value};
}

QString batteryPanelText(const BatteryReading &reading) {
    return QStringLiteral(" board voltage: ") + voltageCaption(reading);
}

QString voltageCaption(const BatteryReading &reading) {
    return QString::fromLatin1(reading.field) + QStringLiteral("0 mV");
}

std::optional<int> parseSignalLevel(QByteArrayView line) {
    const auto field = between(line, ':', ',');
    return field ? parseDecimal(*field) : std::nullopt;
}

SignalColour signalColour(int level) {
    if (level >= 15 && level <= 21)
        return SignalColour::Cyan;
    if (level >= 22 && level <= 31)
        return SignalColour::Lime;
    return SignalColour::Red;
}

quint32 signalRgb(int level) {
    switch (signalColour(level)) {
    case SignalColour::Cyan:
        return 0x00ffff;
    case SignalColour::Lime:
        return 0x00ff00;
    case SignalColour::Red:
        break;
    }
    return 0xff0000;
}

int signalMeterValue(int level) {
    return qBound(0, level, 31);
}

std::optional<int> parseSimSize(QByteArrayView line) {
    const auto field = between(line, '-', ')');
    return field ? parseDecimal(*field) : std::nullopt;
}

QString simPanelText(int simSize) {
    return QStringLiteral(" SIM: ") + QString::number(simSize);
}

QByteArray operatorText(QByteArrayView line) {
    return line.sliced(line.indexOf(':') + 1).toByteArray();
}

QString operatorPanelText(const QString &operatorName) {
    return QStringLiteral("Operator: ") + operatorName;
}

std::optional<ReadEntry> parseEntryLine(QByteArrayView line) {
    const auto indexField = between(line, ':', ',');
    if (!indexField)
        return std::nullopt;
    const QByteArrayView indexText = indexField->trimmed();
    const auto index = parseDecimal(indexText);
    // Digits only: a sign would reach node texts and later "AT+CPBW=" lines.
    if (!index || indexText.front() < '0' || indexText.front() > '9')
        return std::nullopt;

    const qsizetype numberOpen = line.indexOf('"');
    if (numberOpen < 0)
        return std::nullopt;
    const qsizetype numberClose = line.indexOf('"', numberOpen + 1);
    if (numberClose < 0)
        return std::nullopt;
    const qsizetype comma = line.indexOf(',', numberClose + 1);
    if (comma < 0)
        return std::nullopt;
    const qsizetype nameOpen = line.indexOf('"', comma + 1);
    if (nameOpen < 0)
        return std::nullopt;
    const qsizetype nameClose = line.indexOf('"', nameOpen + 1);
    if (nameClose < 0)
        return std::nullopt;

    ReadEntry entry;
    entry.index = *index;
    entry.indexText = indexText.toByteArray();
    entry.number = line.sliced(numberOpen + 1, numberClose - numberOpen - 1).toByteArray();
    entry.name = line.sliced(nameOpen + 1, nameClose - nameOpen - 1).toByteArray();
    // The type between the number and the name; not used by the window, but a change-only write must
    // know whether an entry already stands as the write would leave it.
    if (numberClose + 1 < comma && line[numberClose + 1] == ',')
        entry.type = parseDecimal(line.sliced(numberClose + 2, comma - numberClose - 2)).value_or(0);
    return entry;
}

bool versionDisablesTones(QByteArrayView number) {
    return number.contains('#');
}

QString versionPanelText(const QString &currentPanelText, const QString &version) {
    const QString prefix = currentPanelText.contains(QLatin1String("OXA")) ? QStringLiteral(" OXA Ver: ")
                                                                           : QStringLiteral(" GSM-QU Ver: ");
    return prefix + version;
}

} // namespace oxa
