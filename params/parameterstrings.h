#pragma once

#include "codepagecodec.h"
#include "keyentries.h"
#include "settingscontrols.h"

#include <QByteArray>
#include <QList>
#include <optional>

namespace oxa {

// The four parameter strings, held by the window for the whole run apart from the controls.
//   PAROXA  "v#v#p#s#c#t#o#w" (15): mic volume, speaker volume, pick-up, opening SMSs, clock from GSM,
//           info tones (1 beeps + 2 ring tones + 4 voice), port, waiting item index
//   PARRLn  "c#m#tt#r" (8): switching code, relay mode (5 = switch + all ringing), switching time, ringing
//   PARKEY  "w#d" (3): waiting to number, direct call
struct ParameterStrings {
    QByteArray paroxa;
    QByteArray parrl1;
    QByteArray parrl2;
    QByteArray parkey;

    QByteArray &operator[](ParameterString which);
    const QByteArray &operator[](ParameterString which) const;
    friend bool operator==(const ParameterStrings &, const ParameterStrings &) = default;
};

// What start-up sets: the relay texts are 9 characters on purpose, so the first decoding replaces them.
ParameterStrings startupParameterStrings();
// What decoding stores in place of a string it cannot read.
QByteArray parameterFallback(ParameterString which);
// The string as decoding keeps it: itself when its length is right and every character read as a number
// is a digit, otherwise the fallback. Relay strings need the length only (their code and time go through
// the box filters).
QByteArray validatedParameterString(ParameterString which, const QByteArray &text);

struct DecodedRelay {
    QString code;                  // RelCodeN text, already filtered ("" when the field is blank)
    std::optional<RelayMode> mode; // nullopt: keep the previous choice (characters other than "0".."4")
    QString time;                  // RelTimeN text, already filtered
    bool ring = false;             // check RelRingN
    bool ringAll = false;          // then check RelRingAllN (mode "5" with ringing "1")
    friend bool operator==(const DecodedRelay &, const DecodedRelay &) = default;
};

// Everything decoding sets, field by field, before the selection rules act on it.
struct DecodedParameters {
    ParameterStrings strings; // the strings as held afterwards, fallbacks substituted
    int volMicPosition = 4;   // 8 - value, clamped to 1..7
    int volSpkPosition = 4;
    std::optional<PickUp> pickUp; // nullopt: keep the previous choice
    bool sendSMS = false;
    bool clockGSM = false;
    bool tonBeep = false;
    bool tonRing = false;
    bool tonVoice = false;
    Port port = Port::None; // None: none of the three selected
    int waitingIndex = 0;   // 0..9
    DecodedRelay relay1;
    DecodedRelay relay2;
    int waitBufIndex = 1; // -1..8; -1 leaves WaitBUF with no item and an empty text
    bool directCall = false;
    friend bool operator==(const DecodedParameters &, const DecodedParameters &) = default;
};

DecodedParameters decodeParameters(const ParameterStrings &strings);

// The setter calls that put decoded values into the controls, in the order that makes the selection
// rules give the right result (a relay's ringing switch overrides the pick-up choice and its own mode):
//  1. reset: uncheck TonBeep, TonRing, TonVoice, SendSMS, ClockGSM; clear PortDis, PortEtons, PortESMS;
//     uncheck RelRing1, RelRingAll1, RelRing2, RelRingAll2, DirectCall; WaitBUF index 1
//  2. VolMic, VolSpk positions; select the pick-up button; check SendSMS, ClockGSM, the tones; select the
//     port button; waiting index
//  3. relay 1: RelCode1 text; select the mode button; RelTime1 text; check RelRing1; check RelRingAll1
//  4. relay 2 likewise
//  5. WaitBUF index; check DirectCall
// Only "check" and "select" steps whose value is set appear; the window applies them one after the other
// through the controls' setters with its rule and filter handlers connected.
QList<ControlOp> decodeOperations(const DecodedParameters &decoded);

// The controls after decoding, starting from `before`: the operations applied to the model.
SettingsControls decodeIntoControls(const SettingsControls &before, const ParameterStrings &strings);

// Rebuilds all four strings from the controls. Box texts go in as they stand, so an emptied relay box
// gives a short string that the next decoding replaces by its fallback. WaitBUF's text (which takes any
// text) goes in as its bytes in `codec`; one the code page cannot hold goes in as nothing, never as "?".
ParameterStrings encodeParameters(const SettingsControls &controls, const CodePageCodec &codec);

} // namespace oxa
