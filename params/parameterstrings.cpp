#include "parameterstrings.h"

#include "inputfilters.h"

#include <algorithm>

namespace oxa {

namespace {

constexpr qsizetype kParoxaLength = 15;
constexpr qsizetype kRelayLength = 8;
constexpr qsizetype kParkeyLength = 3;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int digit(const QByteArray &s, qsizetype i) {
    return s[i] - '0';
}
QString latin1(const QByteArray &bytes) {
    return QString::fromLatin1(bytes);
}

qsizetype expectedLength(ParameterString which) {
    switch (which) {
    case ParameterString::Oxa:
        return kParoxaLength;
    case ParameterString::Relay1:
    case ParameterString::Relay2:
        return kRelayLength;
    case ParameterString::Key:
        return kParkeyLength;
    }
    return 0;
}

// 0-based positions read as numbers; a non-digit there makes the string unreadable.
QList<qsizetype> numberPositions(ParameterString which) {
    switch (which) {
    case ParameterString::Oxa:
        return {0, 2, 10, 14};
    case ParameterString::Key:
        return {0};
    case ParameterString::Relay1:
    case ParameterString::Relay2:
        break;
    }
    return {};
}

DecodedRelay decodeRelay(const QByteArray &s) {
    DecodedRelay r;
    r.code = relayCodeFilter(latin1(s.mid(0, 1)));
    switch (s[2]) {
    case '0':
        r.mode = RelayMode::SMSSwitch;
        break;
    case '1':
        r.mode = RelayMode::Switch;
        break;
    case '2':
        r.mode = RelayMode::Camera;
        break;
    case '3':
        r.mode = RelayMode::Light;
        break;
    case '4':
        r.mode = RelayMode::Button;
        break;
    default:
        break;
    }
    r.time = relayTimeFilter(latin1(s.mid(4, 2)));
    r.ring = s[7] == '1';
    r.ringAll = r.ring && s[2] == '5';
    return r;
}

QString pickUpControl(PickUp p) {
    switch (p) {
    case PickUp::NoCall:
        return QStringLiteral("NoCall");
    case PickUp::SIMCall:
        return QStringLiteral("SIMCall");
    case PickUp::AllCall:
        return QStringLiteral("AllCall");
    case PickUp::None:
        break;
    }
    return {};
}

QString portControl(Port p) {
    switch (p) {
    case Port::Disable:
        return QStringLiteral("PortDis");
    case Port::EnableTones:
        return QStringLiteral("PortEtons");
    case Port::EnableSMS:
        return QStringLiteral("PortESMS");
    case Port::None:
        break;
    }
    return {};
}

QString modeControl(RelayMode m, const QString &n) {
    switch (m) {
    case RelayMode::SMSSwitch:
        return QStringLiteral("RelSMS") + n;
    case RelayMode::Switch:
        return QStringLiteral("RelSW") + n;
    case RelayMode::Camera:
        return QStringLiteral("RelCam") + n;
    case RelayMode::Light:
        return QStringLiteral("RelLi") + n;
    case RelayMode::Button:
        return QStringLiteral("RelBut") + n;
    case RelayMode::None:
        break;
    }
    return {};
}

void appendRelayOps(QList<ControlOp> &ops, const DecodedRelay &r, const QString &n) {
    ops << ControlOp::setText(QStringLiteral("RelCode") + n, r.code);
    if (r.mode)
        ops << ControlOp::check(modeControl(*r.mode, n), true);
    ops << ControlOp::setText(QStringLiteral("RelTime") + n, r.time);
    if (r.ring)
        ops << ControlOp::check(QStringLiteral("RelRing") + n, true);
    if (r.ringAll)
        ops << ControlOp::check(QStringLiteral("RelRingAll") + n, true);
}

QByteArray bit(bool on) {
    return on ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

QByteArray encodeRelay(const RelayControls &r) {
    int mode = 0;
    switch (r.mode) {
    case RelayMode::Switch:
        mode = 1;
        break;
    case RelayMode::Camera:
        mode = 2;
        break;
    case RelayMode::Light:
        mode = 3;
        break;
    case RelayMode::Button:
        mode = 4;
        break;
    case RelayMode::SMSSwitch:
    case RelayMode::None:
        break;
    }
    mode += 4 * int(r.ringAll);
    const int ringing = int(r.ring) + int(r.ringAll);
    return QList<QByteArray>{r.code.toLatin1(), QByteArray::number(mode), r.time.toLatin1(),
                             QByteArray::number(ringing)}
        .join('#');
}

} // namespace

QByteArray &ParameterStrings::operator[](ParameterString which) {
    switch (which) {
    case ParameterString::Oxa:
        return paroxa;
    case ParameterString::Relay1:
        return parrl1;
    case ParameterString::Relay2:
        return parrl2;
    case ParameterString::Key:
        break;
    }
    return parkey;
}

const QByteArray &ParameterStrings::operator[](ParameterString which) const {
    return const_cast<ParameterStrings &>(*this)[which];
}

ParameterStrings startupParameterStrings() {
    return {QByteArrayLiteral("4#4#0#0#1#7#2#0"), QByteArrayLiteral("55#1#03#1"),
            QByteArrayLiteral("66#1#03#1"), QByteArrayLiteral("2#0")};
}

QByteArray parameterFallback(ParameterString which) {
    switch (which) {
    case ParameterString::Oxa:
        return QByteArrayLiteral("4#4#0#0#1#5#0#2");
    case ParameterString::Relay1:
        return QByteArrayLiteral("5#1#03#1");
    case ParameterString::Relay2:
        return QByteArrayLiteral("6#1#03#1");
    case ParameterString::Key:
        break;
    }
    return QByteArrayLiteral("2#0");
}

QByteArray validatedParameterString(ParameterString which, const QByteArray &text) {
    if (text.size() != expectedLength(which))
        return parameterFallback(which);
    for (qsizetype i : numberPositions(which)) {
        if (!isDigit(text[i]))
            return parameterFallback(which);
    }
    return text;
}

DecodedParameters decodeParameters(const ParameterStrings &strings) {
    DecodedParameters d;
    for (ParameterString which : kParameterStrings)
        d.strings[which] = validatedParameterString(which, strings[which]);

    const QByteArray &oxa = d.strings.paroxa;
    d.volMicPosition = std::clamp(8 - digit(oxa, 0), 1, 7);
    d.volSpkPosition = std::clamp(8 - digit(oxa, 2), 1, 7);
    switch (oxa[4]) {
    case '0':
        d.pickUp = PickUp::NoCall;
        break;
    case '1':
        d.pickUp = PickUp::SIMCall;
        break;
    case '2':
        d.pickUp = PickUp::AllCall;
        break;
    default:
        break;
    }
    d.sendSMS = oxa[6] == '1';
    d.clockGSM = oxa[8] == '1';
    const int tones = digit(oxa, 10);
    d.tonBeep = tones & 1;
    d.tonRing = tones & 2;
    d.tonVoice = tones & 4;
    switch (oxa[12]) {
    case '0':
        d.port = Port::Disable;
        break;
    case '1':
        d.port = Port::EnableTones;
        break;
    case '2':
        d.port = Port::EnableSMS;
        break;
    default:
        d.port = Port::None;
        break;
    }
    d.waitingIndex = digit(oxa, 14);

    d.relay1 = decodeRelay(d.strings.parrl1);
    d.relay2 = decodeRelay(d.strings.parrl2);

    d.waitBufIndex = digit(d.strings.parkey, 0) - 1;
    d.directCall = d.strings.parkey[2] == '1';
    return d;
}

QList<ControlOp> decodeOperations(const DecodedParameters &d) {
    QList<ControlOp> ops;
    for (const char *name : {"TonBeep", "TonRing", "TonVoice", "SendSMS", "ClockGSM", "PortDis", "PortEtons",
                             "PortESMS", "RelRing1", "RelRingAll1", "RelRing2", "RelRingAll2", "DirectCall"})
        ops << ControlOp::check(QLatin1String(name), false);
    ops << ControlOp::index(QStringLiteral("WaitBUF"), 1);

    ops << ControlOp::position(QStringLiteral("VolMic"), d.volMicPosition)
        << ControlOp::position(QStringLiteral("VolSpk"), d.volSpkPosition);
    if (d.pickUp)
        ops << ControlOp::check(pickUpControl(*d.pickUp), true);
    if (d.sendSMS)
        ops << ControlOp::check(QStringLiteral("SendSMS"), true);
    if (d.clockGSM)
        ops << ControlOp::check(QStringLiteral("ClockGSM"), true);
    if (d.tonBeep)
        ops << ControlOp::check(QStringLiteral("TonBeep"), true);
    if (d.tonRing)
        ops << ControlOp::check(QStringLiteral("TonRing"), true);
    if (d.tonVoice)
        ops << ControlOp::check(QStringLiteral("TonVoice"), true);
    if (d.port != Port::None)
        ops << ControlOp::check(portControl(d.port), true);
    ops << ControlOp::index(QStringLiteral("waiting"), d.waitingIndex);

    appendRelayOps(ops, d.relay1, QStringLiteral("1"));
    appendRelayOps(ops, d.relay2, QStringLiteral("2"));

    ops << ControlOp::index(QStringLiteral("WaitBUF"), d.waitBufIndex);
    if (d.directCall)
        ops << ControlOp::check(QStringLiteral("DirectCall"), true);
    return ops;
}

SettingsControls decodeIntoControls(const SettingsControls &before, const ParameterStrings &strings) {
    return applyControlOps(before, decodeOperations(decodeParameters(strings)));
}

ParameterStrings encodeParameters(const SettingsControls &c, const CodePageCodec &codec) {
    ParameterStrings s;
    const int pickUp = c.pickUp == PickUp::SIMCall ? 1 : c.pickUp == PickUp::AllCall ? 2 : 0;
    const int tones = int(c.tonBeep) + 2 * int(c.tonRing) + 4 * int(c.tonVoice);
    const int port = c.port == Port::EnableTones ? 1 : c.port == Port::EnableSMS ? 2 : 0;
    // The waiting field is the first character of the item's text, so item 0 ("20") writes "2".
    const QByteArray waiting =
        (c.waiting >= 0 && c.waiting < 10) ? QByteArray(kWaitingItems[c.waiting]).left(1) : QByteArray();
    s.paroxa = QList<QByteArray>{QByteArray::number(8 - c.volMic),
                                 QByteArray::number(8 - c.volSpk),
                                 QByteArray::number(pickUp),
                                 bit(c.sendSMS),
                                 bit(c.clockGSM),
                                 QByteArray::number(tones),
                                 QByteArray::number(port),
                                 waiting}
                   .join('#');
    s.parrl1 = encodeRelay(c.relay1);
    s.parrl2 = encodeRelay(c.relay2);
    s.parkey = codec.encode(c.waitBuf).value_or(QByteArray()) + '#' + bit(c.directCall);
    return s;
}

} // namespace oxa
