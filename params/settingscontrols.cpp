#include "settingscontrols.h"

#include "inputfilters.h"

#include <algorithm>

namespace oxa {

namespace {

const QString kModeNames[] = {QStringLiteral("RelSMS"), QStringLiteral("RelSW"), QStringLiteral("RelCam"),
                              QStringLiteral("RelLi"), QStringLiteral("RelBut")};
const RelayMode kModes[] = {RelayMode::SMSSwitch, RelayMode::Switch, RelayMode::Camera, RelayMode::Light,
                            RelayMode::Button};

// "RelRing2" -> ("RelRing", 2); 0 when the name does not end in the relay number 1 or 2.
std::pair<QString, int> splitRelayNumber(const QString &name) {
    if (name.size() < 2 || (name.back() != u'1' && name.back() != u'2'))
        return {name, 0};
    return {name.chopped(1), name.back() == u'1' ? 1 : 2};
}

RelayControls *relayOf(SettingsControls &c, int relay) {
    return relay == 1 ? &c.relay1 : relay == 2 ? &c.relay2 : nullptr;
}

bool *checkBoxOf(SettingsControls &c, const QString &name) {
    if (name == u"SendSMS")
        return &c.sendSMS;
    if (name == u"ClockGSM")
        return &c.clockGSM;
    if (name == u"TonBeep")
        return &c.tonBeep;
    if (name == u"TonRing")
        return &c.tonRing;
    if (name == u"TonVoice")
        return &c.tonVoice;
    if (name == u"DirectCall")
        return &c.directCall;
    const auto [base, relay] = splitRelayNumber(name);
    if (RelayControls *r = relayOf(c, relay)) {
        if (base == u"RelRing")
            return &r->ring;
        if (base == u"RelRingAll")
            return &r->ringAll;
    }
    return nullptr;
}

// A radio group of the model: where its selection is held and which value this button stands for.
template <typename T> struct RadioButton {
    T *group = nullptr;
    T value{};
};

RadioButton<PickUp> pickUpButton(SettingsControls &c, const QString &name) {
    if (name == u"NoCall")
        return {&c.pickUp, PickUp::NoCall};
    if (name == u"SIMCall")
        return {&c.pickUp, PickUp::SIMCall};
    if (name == u"AllCall")
        return {&c.pickUp, PickUp::AllCall};
    return {};
}

RadioButton<Port> portButton(SettingsControls &c, const QString &name) {
    if (name == u"PortDis")
        return {&c.port, Port::Disable};
    if (name == u"PortEtons")
        return {&c.port, Port::EnableTones};
    if (name == u"PortESMS")
        return {&c.port, Port::EnableSMS};
    return {};
}

RadioButton<RelayMode> relayModeButton(SettingsControls &c, const QString &name) {
    const auto [base, relay] = splitRelayNumber(name);
    RelayControls *r = relayOf(c, relay);
    if (!r)
        return {};
    for (int i = 0; i < 5; ++i) {
        if (base == kModeNames[i])
            return {&r->mode, kModes[i]};
    }
    return {};
}

// Returns whether the button's state changed; the caller raises the event.
template <typename T> bool setRadio(RadioButton<T> b, T none, bool checked) {
    if (checked) {
        if (*b.group == b.value)
            return false;
        *b.group = b.value;
        return true;
    }
    if (*b.group != b.value)
        return false;
    *b.group = none;
    return true;
}

void raiseRules(SettingsControls &c, const QString &name, bool checked) {
    const QList<ControlOp> next = selectionRuleOps(name, checked, c.pickUp == PickUp::NoCall);
    for (const ControlOp &op : next)
        applyControlOp(c, op);
}

bool applyChecked(SettingsControls &c, const QString &name, bool checked) {
    bool changed = false;
    if (bool *box = checkBoxOf(c, name)) {
        changed = *box != checked;
        *box = checked;
    } else if (auto b = pickUpButton(c, name); b.group) {
        changed = setRadio(b, PickUp::None, checked);
    } else if (auto p = portButton(c, name); p.group) {
        changed = setRadio(p, Port::None, checked);
    } else if (auto m = relayModeButton(c, name); m.group) {
        changed = setRadio(m, RelayMode::None, checked);
    } else {
        return false;
    }
    if (changed)
        raiseRules(c, name, checked);
    return true;
}

bool applyText(SettingsControls &c, const QString &name, const QString &text) {
    if (name == u"WaitBUF") {
        c.waitBuf = text;
        return true;
    }
    const auto [base, relay] = splitRelayNumber(name);
    RelayControls *r = relayOf(c, relay);
    if (!r)
        return false;
    QString *box = base == u"RelCode" ? &r->code : base == u"RelTime" ? &r->time : nullptr;
    if (!box)
        return false;
    // Setting the text a box already holds raises no change, so its filter does not run.
    if (*box != text)
        *box = applyBoxFilter(boxFilter(name), text);
    return true;
}

} // namespace

QList<ControlOp> selectionRuleOps(const QString &control, bool checked, bool noCallSelected) {
    if (!checked)
        return {};
    if (control == u"SIMCall" || control == u"AllCall") {
        if (noCallSelected)
            return {};
        return {ControlOp::check(QStringLiteral("RelRing1"), false),
                ControlOp::check(QStringLiteral("RelRing2"), false)};
    }
    const auto [base, relay] = splitRelayNumber(control);
    if (relay == 0)
        return {};
    const QString n = QString::number(relay);
    if (base == u"RelRing" || base == u"RelRingAll") {
        const QString other = base == u"RelRing" ? QStringLiteral("RelRingAll") : QStringLiteral("RelRing");
        return {ControlOp::check(QStringLiteral("NoCall"), true),
                ControlOp::check(QStringLiteral("RelSW") + n, true), ControlOp::check(other + n, false)};
    }
    if (base == u"RelCam" || base == u"RelLi" || base == u"RelBut" || base == u"RelSMS")
        return {ControlOp::check(QStringLiteral("RelRing") + n, false),
                ControlOp::check(QStringLiteral("RelRingAll") + n, false)};
    return {};
}

QStringList selectionRuleControls() {
    QStringList names = {QStringLiteral("SIMCall"), QStringLiteral("AllCall")};
    for (const char *n : {"1", "2"}) {
        for (const char *base : {"RelRing", "RelRingAll", "RelCam", "RelLi", "RelBut", "RelSMS"})
            names << QLatin1String(base) + QLatin1String(n);
    }
    return names;
}

bool applyControlOp(SettingsControls &c, const ControlOp &op) {
    switch (op.kind) {
    case ControlOp::Kind::Checked:
        return applyChecked(c, op.control, op.checked);
    case ControlOp::Kind::Text:
        return applyText(c, op.control, op.text);
    case ControlOp::Kind::Position:
        if (op.control == u"VolMic")
            c.volMic = std::clamp(op.value, 1, 7);
        else if (op.control == u"VolSpk")
            c.volSpk = std::clamp(op.value, 1, 7);
        else
            return false;
        return true;
    case ControlOp::Kind::Index:
        if (op.control == u"waiting") {
            c.waiting = (op.value >= 0 && op.value < 10) ? op.value : -1;
        } else if (op.control == u"WaitBUF") {
            const bool valid = op.value >= 0 && op.value < kWaitBufItemCount;
            c.waitBuf = valid ? QString::number(op.value + 1) : QString();
        } else {
            return false;
        }
        return true;
    }
    return false;
}

SettingsControls applyControlOps(SettingsControls controls, const QList<ControlOp> &ops) {
    for (const ControlOp &op : ops)
        applyControlOp(controls, op);
    return controls;
}

namespace {

RelayControls readRelay(const ControlReader &r, const QString &n) {
    RelayControls relay;
    relay.code = r.text(QStringLiteral("RelCode") + n);
    relay.time = r.text(QStringLiteral("RelTime") + n);
    for (int i = 0; i < 5; ++i) {
        if (r.checked(kModeNames[i] + n))
            relay.mode = kModes[i];
    }
    relay.ring = r.checked(QStringLiteral("RelRing") + n);
    relay.ringAll = r.checked(QStringLiteral("RelRingAll") + n);
    return relay;
}

} // namespace

SettingsControls readSettingsControls(const ControlReader &r) {
    SettingsControls c;
    c.volMic = r.value(QStringLiteral("VolMic"));
    c.volSpk = r.value(QStringLiteral("VolSpk"));
    if (r.checked(QStringLiteral("NoCall")))
        c.pickUp = PickUp::NoCall;
    if (r.checked(QStringLiteral("SIMCall")))
        c.pickUp = PickUp::SIMCall;
    if (r.checked(QStringLiteral("AllCall")))
        c.pickUp = PickUp::AllCall;
    c.sendSMS = r.checked(QStringLiteral("SendSMS"));
    c.clockGSM = r.checked(QStringLiteral("ClockGSM"));
    c.tonBeep = r.checked(QStringLiteral("TonBeep"));
    c.tonRing = r.checked(QStringLiteral("TonRing"));
    c.tonVoice = r.checked(QStringLiteral("TonVoice"));
    if (r.checked(QStringLiteral("PortDis")))
        c.port = Port::Disable;
    if (r.checked(QStringLiteral("PortEtons")))
        c.port = Port::EnableTones;
    if (r.checked(QStringLiteral("PortESMS")))
        c.port = Port::EnableSMS;
    c.waiting = r.value(QStringLiteral("waiting"));
    c.relay1 = readRelay(r, QStringLiteral("1"));
    c.relay2 = readRelay(r, QStringLiteral("2"));
    c.waitBuf = r.text(QStringLiteral("WaitBUF"));
    c.directCall = r.checked(QStringLiteral("DirectCall"));
    return c;
}

QStringList settingsControlNames() {
    QStringList names = {QStringLiteral("VolMic"),    QStringLiteral("VolSpk"),  QStringLiteral("NoCall"),
                         QStringLiteral("SIMCall"),   QStringLiteral("AllCall"), QStringLiteral("SendSMS"),
                         QStringLiteral("ClockGSM"),  QStringLiteral("TonBeep"), QStringLiteral("TonRing"),
                         QStringLiteral("TonVoice"),  QStringLiteral("PortDis"), QStringLiteral("PortEtons"),
                         QStringLiteral("PortESMS"),  QStringLiteral("waiting"), QStringLiteral("WaitBUF"),
                         QStringLiteral("DirectCall")};
    for (const QString &n : {QStringLiteral("1"), QStringLiteral("2")}) {
        for (const QString &base : kModeNames)
            names << base + n;
        for (const char *base : {"RelRing", "RelRingAll", "RelCode", "RelTime"})
            names << QLatin1String(base) + n;
    }
    return names;
}

} // namespace oxa
