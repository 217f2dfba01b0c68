#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

namespace oxa {

// The controls of the Calls, Relays, SMSs and keyboard-parameter groups that the parameter strings
// carry, as plain values, and the selection rules between them. The window holds the real controls;
// this model lets the string codec and its tests run without one, and tells the window's handlers
// what to change.

enum class PickUp { None, NoCall, SIMCall, AllCall };      // NoCall, SIMCall, AllCall
enum class Port { None, Disable, EnableTones, EnableSMS }; // PortDis, PortEtons, PortESMS
enum class RelayMode {
    None,
    SMSSwitch,
    Switch,
    Camera,
    Light,
    Button
}; // RelSMSn, RelSWn, RelCamn, RelLin, RelButn

struct RelayControls {
    QString code; // RelCodeN
    RelayMode mode = RelayMode::None;
    QString time;         // RelTimeN
    bool ring = false;    // RelRingN, "switch SIM ringing"
    bool ringAll = false; // RelRingAllN, "switch all ringing"
    friend bool operator==(const RelayControls &, const RelayControls &) = default;
};

// Defaults are the controls as the window creates them.
struct SettingsControls {
    int volMic = 7; // track bar positions, 1..7; the value is 8 - position
    int volSpk = 7;
    PickUp pickUp = PickUp::None;
    bool sendSMS = false;
    bool clockGSM = false;
    bool tonBeep = false;
    bool tonRing = false;
    bool tonVoice = false;
    Port port = Port::None;
    int waiting = 2; // item index of `waiting`, -1 when none
    RelayControls relay1{QStringLiteral("5"), RelayMode::None, QStringLiteral("03")};
    RelayControls relay2{QStringLiteral("6"), RelayMode::None, QStringLiteral("03")};
    QString waitBuf = QStringLiteral("2"); // text of the editable combo box WaitBUF
    bool directCall = false;
    friend bool operator==(const SettingsControls &, const SettingsControls &) = default;
};

// Items of the drop-down list `waiting`; the first is "20", not "0".
inline constexpr const char *kWaitingItems[10] = {"20", "10", "20", "30", "40", "50", "60", "70", "80", "90"};
// WaitBUF items are "1" ... "9".
inline constexpr int kWaitBufItemCount = 9;

// One change made through a control's setter, naming the control by its object name.
//  Checked:  QAbstractButton::setChecked(checked). On a radio button false clears it (the window must
//            allow a group with none selected: the port group is cleared that way).
//  Text:     QLineEdit::setText(text); the box's change handler then filters it.
//  Position: QSlider::setValue(value).
//  Index:    QComboBox::setCurrentIndex(value); -1 leaves no item selected and, for WaitBUF, an empty text.
struct ControlOp {
    enum class Kind { Checked, Text, Position, Index };
    Kind kind = Kind::Checked;
    QString control;
    bool checked = false;
    QString text;
    int value = 0;

    static ControlOp check(const QString &control, bool checked) {
        return {Kind::Checked, control, checked, {}, 0};
    }
    static ControlOp setText(const QString &control, const QString &text) {
        return {Kind::Text, control, false, text, 0};
    }
    static ControlOp position(const QString &control, int value) {
        return {Kind::Position, control, false, {}, value};
    }
    static ControlOp index(const QString &control, int value) {
        return {Kind::Index, control, false, {}, value};
    }
    friend bool operator==(const ControlOp &, const ControlOp &) = default;
};

// The selection rules. `control` changed to `checked` (a radio button: became selected or cleared; a check
// box: its new state); `noCallSelected` is the state of NoCall at that moment. Returns what to change next,
// in order; empty when the change triggers no rule.
//  1. SIMCall or AllCall selected, NoCall not selected: uncheck RelRing1 and RelRing2.
//  2. RelRingN checked: select NoCall, select RelSWN, uncheck RelRingAllN.
//  3. RelRingAllN checked: select NoCall, select RelSWN, uncheck RelRingN.
//  4. RelCamN, RelLiN, RelButN or RelSMSN selected: uncheck RelRingN and RelRingAllN.
// The window connects `toggled` of every control in selectionRuleControls() to a handler that applies these.
QList<ControlOp> selectionRuleOps(const QString &control, bool checked, bool noCallSelected);
// The 14 controls whose change can trigger a rule.
QStringList selectionRuleControls();

// Applies one op to the model as the window's setter would, with radio-group exclusivity, change events
// only on a real change, the relay filters on the relay boxes, track-bar clamping, and the selection
// rules raised by each change. Returns false for a control the model does not hold (nothing changes).
bool applyControlOp(SettingsControls &controls, const ControlOp &op);
SettingsControls applyControlOps(SettingsControls controls, const QList<ControlOp> &ops);

// Reading the window's controls into the model, for encoding. The window supplies three accessors by
// object name: a button's check state, an edit or combo box's text, and an int (a track bar's position,
// a drop-down list's current index).
struct ControlReader {
    std::function<bool(const QString &)> checked;
    std::function<QString(const QString &)> text;
    std::function<int(const QString &)> value;
};
SettingsControls readSettingsControls(const ControlReader &reader);

// Object names of every control the model holds, for checking that a window provides them all.
QStringList settingsControlNames();

} // namespace oxa
