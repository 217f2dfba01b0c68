#include "parameterstrings.h"

#include <QTest>

using namespace oxa;

namespace oxa {
char *toString(const ParameterStrings &s) {
    return QTest::toString(QByteArray(s.paroxa + " | " + s.parrl1 + " | " + s.parrl2 + " | " + s.parkey));
}
char *toString(const RelayControls &r) {
    return QTest::toString(QStringLiteral("code %1 mode %2 time %3 ring %4 ringAll %5")
                               .arg(r.code)
                               .arg(int(r.mode))
                               .arg(r.time)
                               .arg(r.ring)
                               .arg(r.ringAll));
}
} // namespace oxa

namespace {

ParameterStrings strings(const char *oxa, const char *rl1, const char *rl2, const char *key) {
    return {QByteArray(oxa), QByteArray(rl1), QByteArray(rl2), QByteArray(key)};
}

// Well-formed relay and keyboard strings with their ringing switches off.
const char *kRelay1 = "5#1#03#0";
const char *kRelay2 = "6#1#03#0";
const char *kKey = "2#0";

} // namespace

class TestParameterStrings : public QObject {
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void decodesStartupOxaString();
    void decodesVolumeNineToTopPosition();
    void fallbackReplacesUnreadableString_data();
    void fallbackReplacesUnreadableString();
    void keepsPreviousChoiceForUnknownCharacters();
    void resetClearsEveryCheckBox();
    void decodingTwiceChangesNothing();
    void startupStringsDecodeToFallbackRelays();
    void shortStringsFromEditedBoxesComeBackAsFallbacks_data();
    void shortStringsFromEditedBoxesComeBackAsFallbacks();
    void waitBufTextInTheCodePage_data();
    void waitBufTextInTheCodePage();
    void encodesControls();
};

// Decoding into freshly created controls, then encoding.
void TestParameterStrings::roundTrip_data() {
    QTest::addColumn<ParameterStrings>("in");
    QTest::addColumn<ParameterStrings>("out");
    auto same = [](const char *name, ParameterStrings s) { QTest::newRow(name) << s << s; };
    same("well-formed", strings("3#5#1#1#0#3#1#5", "1#0#05#0", "9#4#99#0", "9#1"));
    same("all modes and ports", strings("7#1#2#0#1#6#0#9", "0#2#12#0", "3#3#01#0", "1#0"));
    same("mode 5 ringing", strings("4#4#0#0#1#7#2#3", "5#5#03#1", "6#1#03#0", "2#1"));
    same("fallback texts", strings("4#4#0#0#1#5#0#2", "5#1#03#1", "6#1#03#1", "2#0"));
    QTest::newRow("waiting 0 comes back as 2") << strings("4#4#0#0#1#7#2#0", kRelay1, kRelay2, kKey)
                                               << strings("4#4#0#0#1#7#2#2", kRelay1, kRelay2, kKey);
    QTest::newRow("volumes 0, 8, 9 clamp") << strings("0#8#0#0#1#7#2#1", kRelay1, kRelay2, kKey)
                                           << strings("1#7#0#0#1#7#2#1", kRelay1, kRelay2, kKey);
    QTest::newRow("volume 9") << strings("9#4#0#0#1#7#2#1", kRelay1, kRelay2, kKey)
                              << strings("7#4#0#0#1#7#2#1", kRelay1, kRelay2, kKey);
    QTest::newRow("relay time 00") << strings("4#4#0#0#1#7#2#1", "5#1#00#0", kRelay2, kKey)
                                   << strings("4#4#0#0#1#7#2#1", "5#1#01#0", kRelay2, kKey);
    QTest::newRow("relay code X") << strings("4#4#0#0#1#7#2#1", "X#1#03#0", kRelay2, kKey)
                                  << strings("4#4#0#0#1#7#2#1", "0#1#03#0", kRelay2, kKey);
    QTest::newRow("port outside values") << strings("4#4#0#0#1#7#9#1", kRelay1, kRelay2, kKey)
                                         << strings("4#4#0#0#1#7#0#1", kRelay1, kRelay2, kKey);
    QTest::newRow("pick-up outside values, nothing before")
        << strings("4#4#7#0#1#7#2#1", kRelay1, kRelay2, kKey)
        << strings("4#4#0#0#1#7#2#1", kRelay1, kRelay2, kKey);
    QTest::newRow("mode 2 with ringing is switch") << strings("4#4#1#0#1#7#2#1", "5#2#03#1", kRelay2, kKey)
                                                   << strings("4#4#0#0#1#7#2#1", "5#1#03#1", kRelay2, kKey);
    QTest::newRow("relay 2 ringing overrides pick-up 2")
        << strings("4#4#2#0#1#7#2#1", kRelay1, "6#1#03#1", kKey)
        << strings("4#4#0#0#1#7#2#1", kRelay1, "6#1#03#1", kKey);
    QTest::newRow("mode 5 without ringing leaves the mode")
        << strings("4#4#2#0#1#7#2#1", "5#5#03#0", kRelay2, kKey)
        << strings("4#4#2#0#1#7#2#1", "5#0#03#0", kRelay2, kKey);
    QTest::newRow("separators not checked") << strings("4x4x0x0x1x7x2x1", "5-1-03-0", kRelay2, "2 1")
                                            << strings("4#4#0#0#1#7#2#1", kRelay1, kRelay2, "2#1");
    QTest::newRow("PAROXA 14 chars") << strings("4#4#0#0#1#7#2#", kRelay1, kRelay2, kKey)
                                     << strings("4#4#0#0#1#5#0#2", kRelay1, kRelay2, kKey);
    QTest::newRow("PAROXA 16 chars") << strings("4#4#0#0#1#7#2#00", kRelay1, kRelay2, kKey)
                                     << strings("4#4#0#0#1#5#0#2", kRelay1, kRelay2, kKey);
    QTest::newRow("PARKEY 0#1: no WaitBUF item, 2 characters")
        << strings("4#4#0#0#1#7#2#1", kRelay1, kRelay2, "0#1")
        << strings("4#4#0#0#1#7#2#1", kRelay1, kRelay2, "#1");
    QTest::newRow("everything empty")
        << strings("", "", "", "") << strings("4#4#0#0#1#5#0#2", "5#1#03#1", "6#1#03#1", "2#0");
}

void TestParameterStrings::roundTrip() {
    QFETCH(ParameterStrings, in);
    QFETCH(ParameterStrings, out);
    QCOMPARE(encodeParameters(decodeIntoControls(SettingsControls{}, in), CodePageCodec()), out);
}

void TestParameterStrings::decodesStartupOxaString() {
    const SettingsControls c =
        decodeIntoControls(SettingsControls{}, strings("4#4#0#0#1#7#2#0", kRelay1, kRelay2, kKey));
    QCOMPARE(c.volMic, 4);
    QCOMPARE(c.volSpk, 4);
    QCOMPARE(c.pickUp, PickUp::NoCall);
    QVERIFY(!c.sendSMS);
    QVERIFY(c.clockGSM);
    QVERIFY(c.tonBeep && c.tonRing && c.tonVoice);
    QCOMPARE(c.port, Port::EnableSMS);
    QCOMPARE(c.waiting, 0);
    QCOMPARE(c.relay1, (RelayControls{"5", RelayMode::Switch, "03", false, false}));
    QCOMPARE(c.waitBuf, QStringLiteral("2"));
    QVERIFY(!c.directCall);
}

void TestParameterStrings::decodesVolumeNineToTopPosition() {
    const DecodedParameters d = decodeParameters(strings("9#1#0#0#1#7#2#0", kRelay1, kRelay2, kKey));
    QCOMPARE(d.volMicPosition, 1);
    QCOMPARE(d.volSpkPosition, 7);
}

// A string of the wrong length, or with a non-digit where a number is read, is replaced by the fallback,
// which decoding stores and uses; nothing is reported.
void TestParameterStrings::fallbackReplacesUnreadableString_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("held");
    const int oxa = int(ParameterString::Oxa);
    const int rl1 = int(ParameterString::Relay1);
    const int rl2 = int(ParameterString::Relay2);
    const int key = int(ParameterString::Key);
    QTest::newRow("oxa ok") << oxa << QByteArray("1#2#1#1#0#0#1#9") << QByteArray("1#2#1#1#0#0#1#9");
    QTest::newRow("oxa 14") << oxa << QByteArray("1#2#1#1#0#0#1#") << QByteArray("4#4#0#0#1#5#0#2");
    QTest::newRow("oxa 16") << oxa << QByteArray("1#2#1#1#0#0#1#90") << QByteArray("4#4#0#0#1#5#0#2");
    QTest::newRow("oxa mic A") << oxa << QByteArray("A#2#1#1#0#0#1#9") << QByteArray("4#4#0#0#1#5#0#2");
    QTest::newRow("oxa speaker blank")
        << oxa << QByteArray("1# #1#1#0#0#1#9") << QByteArray("4#4#0#0#1#5#0#2");
    QTest::newRow("oxa tones -") << oxa << QByteArray("1#2#1#1#0#-#1#9") << QByteArray("4#4#0#0#1#5#0#2");
    QTest::newRow("oxa waiting #") << oxa << QByteArray("1#2#1#1#0#0#1##") << QByteArray("4#4#0#0#1#5#0#2");
    QTest::newRow("oxa pick-up letter is readable")
        << oxa << QByteArray("1#2#x#y#z#0#w#9") << QByteArray("1#2#x#y#z#0#w#9");
    QTest::newRow("relay 9 startup") << rl1 << QByteArray("55#1#03#1") << QByteArray("5#1#03#1");
    QTest::newRow("relay 2 9 startup") << rl2 << QByteArray("66#1#03#1") << QByteArray("6#1#03#1");
    QTest::newRow("relay letters are readable") << rl1 << QByteArray("X#Y#ab#c") << QByteArray("X#Y#ab#c");
    QTest::newRow("relay 7") << rl2 << QByteArray("#1#03#0") << QByteArray("6#1#03#1");
    QTest::newRow("key ok") << key << QByteArray("0#1") << QByteArray("0#1");
    QTest::newRow("key letter") << key << QByteArray("x#1") << QByteArray("2#0");
    QTest::newRow("key 4") << key << QByteArray("12#1") << QByteArray("2#0");
    QTest::newRow("key 2") << key << QByteArray("#1") << QByteArray("2#0");
}

void TestParameterStrings::fallbackReplacesUnreadableString() {
    QFETCH(int, which);
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, held);
    const auto w = ParameterString(which);
    QCOMPARE(validatedParameterString(w, text), held);
    ParameterStrings in = startupParameterStrings();
    in[w] = text;
    QCOMPARE(decodeParameters(in).strings[w], held);
}

void TestParameterStrings::keepsPreviousChoiceForUnknownCharacters() {
    SettingsControls before;
    before.pickUp = PickUp::SIMCall;
    before.relay1.mode = RelayMode::Camera;
    before.relay2.mode = RelayMode::Light;
    before.port = Port::EnableTones;
    const ParameterStrings in = strings("4#4#?#0#1#7#?#1", "5#9#03#0", "6#5#03#0", kKey);
    const SettingsControls c = decodeIntoControls(before, in);
    QCOMPARE(c.pickUp, PickUp::SIMCall);
    QCOMPARE(c.relay1.mode, RelayMode::Camera);
    QCOMPARE(c.relay2.mode, RelayMode::Light);
    QCOMPARE(c.port, Port::None);
    QCOMPARE(encodeParameters(c, CodePageCodec()), strings("4#4#1#0#1#7#0#1", "5#2#03#0", "6#3#03#0", kKey));
}

void TestParameterStrings::resetClearsEveryCheckBox() {
    SettingsControls dirty;
    dirty.sendSMS = dirty.clockGSM = dirty.tonBeep = dirty.tonRing = dirty.tonVoice = dirty.directCall = true;
    dirty.port = Port::EnableSMS;
    dirty.relay1.ring = true;
    dirty.relay2.ringAll = true;
    dirty.waitBuf = QStringLiteral("77");
    const ParameterStrings in = strings("4#4#1#0#0#0#?#1", "5#1#03#0", "6#1#03#0", "3#0");
    const SettingsControls c = decodeIntoControls(dirty, in);
    QVERIFY(!c.sendSMS && !c.clockGSM && !c.tonBeep && !c.tonRing && !c.tonVoice && !c.directCall);
    QCOMPARE(c.port, Port::None);
    QVERIFY(!c.relay1.ring && !c.relay1.ringAll && !c.relay2.ring && !c.relay2.ringAll);
    QCOMPARE(c.waitBuf, QStringLiteral("3"));
    QCOMPARE(c.pickUp, PickUp::SIMCall);
}

void TestParameterStrings::decodingTwiceChangesNothing() {
    for (const ParameterStrings &in :
         {startupParameterStrings(), strings("4#4#x#0#1#7#2#1", "5#5#03#1", "6#9#03#0", "0#1"),
          strings("1#1#2#1#1#1#1#1", "5#4#10#0", "6#5#03#1", "9#1")}) {
        const SettingsControls once = decodeIntoControls(SettingsControls{}, in);
        QCOMPARE(decodeIntoControls(once, in), once);
    }
}

void TestParameterStrings::startupStringsDecodeToFallbackRelays() {
    const DecodedParameters d = decodeParameters(startupParameterStrings());
    QCOMPARE(d.strings, strings("4#4#0#0#1#7#2#0", "5#1#03#1", "6#1#03#1", "2#0"));
    const SettingsControls c = applyControlOps(SettingsControls{}, decodeOperations(d));
    QCOMPARE(c.pickUp, PickUp::NoCall);
    QCOMPARE(c.relay1, (RelayControls{"5", RelayMode::Switch, "03", true, false}));
    QCOMPARE(c.relay2, (RelayControls{"6", RelayMode::Switch, "03", true, false}));
}

// Boxes the user may leave in odd states give strings that the unit gets as they are and that the next
// decoding replaces by the fallbacks.
void TestParameterStrings::shortStringsFromEditedBoxesComeBackAsFallbacks_data() {
    QTest::addColumn<int>("which");
    QTest::addColumn<QByteArray>("encoded");
    SettingsControls emptyCode = decodeIntoControls(SettingsControls{}, startupParameterStrings());
    emptyCode.relay1.code.clear();
    QTest::newRow("emptied code box")
        << int(ParameterString::Relay1) << encodeParameters(emptyCode, CodePageCodec()).parrl1;
    SettingsControls emptyTime = emptyCode;
    emptyTime.relay2.time.clear();
    QTest::newRow("emptied time box")
        << int(ParameterString::Relay2) << encodeParameters(emptyTime, CodePageCodec()).parrl2;
    SettingsControls longWait = emptyCode;
    longWait.waitBuf = QStringLiteral("12");
    QTest::newRow("two-character WaitBUF")
        << int(ParameterString::Key) << encodeParameters(longWait, CodePageCodec()).parkey;
    const CodePageCodec czech = *CodePageCodec::forName("windows-1250");
    SettingsControls letterWait = emptyCode;
    letterWait.waitBuf = QStringLiteral("ř");
    QTest::newRow("WaitBUF letter") << int(ParameterString::Key)
                                    << encodeParameters(letterWait, czech).parkey;
    letterWait.waitBuf = QStringLiteral("Ω");
    QTest::newRow("WaitBUF outside the code page")
        << int(ParameterString::Key) << encodeParameters(letterWait, czech).parkey;
}

// WaitBUF takes any text: a letter goes in as its byte in the code page, one the code page cannot hold
// as nothing (never as "?").
void TestParameterStrings::waitBufTextInTheCodePage_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("parkey");
    QTest::newRow("item") << "2" << QByteArray("2#0");
    QTest::newRow("letter of the code page") << "ř" << QByteArray("\xf8#0");
    QTest::newRow("outside the code page") << "Ω" << QByteArray("#0");
}

void TestParameterStrings::waitBufTextInTheCodePage() {
    QFETCH(QString, text);
    QFETCH(QByteArray, parkey);
    SettingsControls c = decodeIntoControls(SettingsControls{}, startupParameterStrings());
    c.waitBuf = text;
    QCOMPARE(encodeParameters(c, *CodePageCodec::forName("windows-1250")).parkey, parkey);
}

void TestParameterStrings::shortStringsFromEditedBoxesComeBackAsFallbacks() {
    QFETCH(int, which);
    QFETCH(QByteArray, encoded);
    const auto w = ParameterString(which);
    QVERIFY(encoded.size() != startupParameterStrings()[w].size() || w == ParameterString::Key);
    ParameterStrings in = decodeParameters(startupParameterStrings()).strings;
    in[w] = encoded;
    QCOMPARE(decodeParameters(in).strings[w], parameterFallback(w));
}

void TestParameterStrings::encodesControls() {
    SettingsControls c;
    c.volMic = 1;
    c.volSpk = 7;
    c.pickUp = PickUp::AllCall;
    c.sendSMS = true;
    c.tonRing = true;
    c.port = Port::EnableTones;
    c.waiting = 1;
    c.relay1 = {"0", RelayMode::Button, "99", false, false};
    c.relay2 = {"6", RelayMode::Switch, "03", false, true};
    c.waitBuf = QStringLiteral("9");
    c.directCall = true;
    QCOMPARE(encodeParameters(c, CodePageCodec()), strings("7#1#2#1#0#2#1#1", "0#4#99#0", "6#5#03#1", "9#1"));
    c.pickUp = PickUp::None;
    c.port = Port::None;
    c.relay1.mode = RelayMode::None;
    c.waiting = 0;
    QCOMPARE(encodeParameters(c, CodePageCodec()).paroxa, QByteArray("7#1#0#1#0#2#0#2"));
    QCOMPARE(encodeParameters(c, CodePageCodec()).parrl1, QByteArray("0#0#99#0"));
}

QTEST_APPLESS_MAIN(TestParameterStrings)
#include "tst_params_strings.moc"
