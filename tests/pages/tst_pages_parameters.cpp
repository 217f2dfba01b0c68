// The four parameter strings decoded into the window's controls and encoded back from them.
#include "pageswindow.h"

#include "parameterstrings.h"

#include <QDir>
#include <QTabWidget>
#include <QTest>

using namespace oxa;
using namespace oxa::test;

class TestParameterStrings : public QObject {
    Q_OBJECT
private slots:
    void decodeThenEncode_data();
    void decodeThenEncode();
    void unreadableCharactersKeepEarlierChoices();
    void userChangesReachTheStringsOnlyByEncoding();
    void oddBoxTextsGiveStringsThatDecodingReplaces();
    void grabDecodedPages();
};

namespace {

// settingsValues() of the non-button controls, in their fixed order.
QStringList values(int volMic, int volSpk, const QString &waiting, const QString &waitBuf,
                   const QString &code1, const QString &time1, const QString &code2, const QString &time2) {
    return {"VolMic=" + QString::number(volMic),
            "VolSpk=" + QString::number(volSpk),
            "waiting=" + waiting,
            "WaitBUF=" + waitBuf,
            "RelCode1=" + code1,
            "RelTime1=" + time1,
            "RelCode2=" + code2,
            "RelTime2=" + time2};
}

// The checked settings buttons, in the window's fixed order.
QStringList inOrder(const QStringList &checked) {
    QStringList ordered;
    for (const QString &name : settingsControlNames())
        if (checked.contains(name))
            ordered << name;
    return ordered;
}

} // namespace

void TestParameterStrings::decodeThenEncode_data() {
    QTest::addColumn<QByteArrayList>("strings"); // PAROXA, PARRL1, PARRL2, PARKEY as held before decoding
    QTest::addColumn<QStringList>("checked");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QByteArrayList>("held");    // after decoding
    QTest::addColumn<QByteArrayList>("encoded"); // encoding right after decoding

    const QByteArray oxaFallback = "4#4#0#0#1#5#0#2";
    const QStringList fallbackChecked = {"NoCall",  "ClockGSM", "TonBeep", "TonVoice",
                                         "PortDis", "RelSW1",   "RelSW2"};

    QTest::newRow("all tones, port SMSs, waiting item 0")
        << QByteArrayList{"4#4#0#0#1#7#2#0", "5#1#03#0", "6#1#03#0", "2#0"}
        << QStringList{"NoCall", "ClockGSM", "TonBeep", "TonRing", "TonVoice", "PortESMS", "RelSW1", "RelSW2"}
        << values(4, 4, "0:20", "1:2", "5", "03", "6", "03")
        << QByteArrayList{"4#4#0#0#1#7#2#0", "5#1#03#0", "6#1#03#0", "2#0"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#0", "6#1#03#0", "2#0"};
    QTest::newRow("start-up strings")
        << QByteArrayList{"4#4#0#0#1#7#2#0", "55#1#03#1", "66#1#03#1", "2#0"}
        << QStringList{"NoCall",   "ClockGSM", "TonBeep",  "TonRing", "TonVoice",
                       "PortESMS", "RelSW1",   "RelRing1", "RelSW2",  "RelRing2"}
        << values(4, 4, "0:20", "1:2", "5", "03", "6", "03")
        << QByteArrayList{"4#4#0#0#1#7#2#0", "5#1#03#1", "6#1#03#1", "2#0"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#1", "6#1#03#1", "2#0"};
    QTest::newRow("separators are not read")
        << QByteArrayList{"4-4-0-0-1-7-2-0", "5x1x03x0", "6 1 03 0", "2;0"}
        << QStringList{"NoCall", "ClockGSM", "TonBeep", "TonRing", "TonVoice", "PortESMS", "RelSW1", "RelSW2"}
        << values(4, 4, "0:20", "1:2", "5", "03", "6", "03")
        << QByteArrayList{"4-4-0-0-1-7-2-0", "5x1x03x0", "6 1 03 0", "2;0"}
        << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#0", "6#1#03#0", "2#0"};
    QTest::newRow("PAROXA of 14") << QByteArrayList{"7#7#2#1#1#7#2#", "5#1#03#0", "6#1#03#0", "2#0"}
                                  << fallbackChecked << values(4, 4, "2:20", "1:2", "5", "03", "6", "03")
                                  << QByteArrayList{oxaFallback, "5#1#03#0", "6#1#03#0", "2#0"}
                                  << QByteArrayList{oxaFallback, "5#1#03#0", "6#1#03#0", "2#0"};
    QTest::newRow("PAROXA of 16") << QByteArrayList{"7#7#2#1#1#7#2#00", "5#1#03#0", "6#1#03#0", "2#0"}
                                  << fallbackChecked << values(4, 4, "2:20", "1:2", "5", "03", "6", "03")
                                  << QByteArrayList{oxaFallback, "5#1#03#0", "6#1#03#0", "2#0"}
                                  << QByteArrayList{oxaFallback, "5#1#03#0", "6#1#03#0", "2#0"};
    QTest::newRow("letter for a volume")
        << QByteArrayList{"x#4#2#1#1#7#2#0", "5#1#03#0", "6#1#03#0", "2#0"} << fallbackChecked
        << values(4, 4, "2:20", "1:2", "5", "03", "6", "03")
        << QByteArrayList{oxaFallback, "5#1#03#0", "6#1#03#0", "2#0"}
        << QByteArrayList{oxaFallback, "5#1#03#0", "6#1#03#0", "2#0"};
    QTest::newRow("letter for the tones")
        << QByteArrayList{"4#4#2#1#1#t#2#0", "5#1#03#0", "6#1#03#0", "x#1"} << fallbackChecked
        << values(4, 4, "2:20", "1:2", "5", "03", "6", "03")
        << QByteArrayList{oxaFallback, "5#1#03#0", "6#1#03#0", "2#0"}
        << QByteArrayList{oxaFallback, "5#1#03#0", "6#1#03#0", "2#0"};
    QTest::newRow("nothing held yet") << QByteArrayList{"", "", "", ""}
                                      << QStringList{"NoCall", "ClockGSM", "TonBeep", "TonVoice", "PortDis",
                                                     "RelSW1", "RelRing1", "RelSW2",  "RelRing2"}
                                      << values(4, 4, "2:20", "1:2", "5", "03", "6", "03")
                                      << QByteArrayList{oxaFallback, "5#1#03#1", "6#1#03#1", "2#0"}
                                      << QByteArrayList{oxaFallback, "5#1#03#1", "6#1#03#1", "2#0"};
    QTest::newRow("mode 5 with ringing overrides pick-up")
        << QByteArrayList{"1#7#2#1#0#0#1#5", "5#5#03#1", "6#2#10#0", "2#0"}
        << QStringList{"NoCall", "SendSMS", "PortEtons", "RelSW1", "RelRingAll1", "RelCam2"}
        << values(7, 1, "5:50", "1:2", "5", "03", "6", "10")
        << QByteArrayList{"1#7#2#1#0#0#1#5", "5#5#03#1", "6#2#10#0", "2#0"}
        << QByteArrayList{"1#7#0#1#0#0#1#5", "5#5#03#1", "6#2#10#0", "2#0"};
    QTest::newRow("ringing overrides camera")
        << QByteArrayList{"4#4#1#0#0#0#1#1", "5#2#03#1", "6#1#03#0", "2#0"}
        << QStringList{"NoCall", "PortEtons", "RelSW1", "RelRing1", "RelSW2"}
        << values(4, 4, "1:10", "1:2", "5", "03", "6", "03")
        << QByteArrayList{"4#4#1#0#0#0#1#1", "5#2#03#1", "6#1#03#0", "2#0"}
        << QByteArrayList{"4#4#0#0#0#0#1#1", "5#1#03#1", "6#1#03#0", "2#0"};
    QTest::newRow("relay 2 ringing overrides All")
        << QByteArrayList{"4#4#2#0#0#0#0#0", "5#3#20#0", "6#1#03#1", "2#0"}
        << QStringList{"NoCall", "PortDis", "RelLi1", "RelSW2", "RelRing2"}
        << values(4, 4, "0:20", "1:2", "5", "20", "6", "03")
        << QByteArrayList{"4#4#2#0#0#0#0#0", "5#3#20#0", "6#1#03#1", "2#0"}
        << QByteArrayList{"4#4#0#0#0#0#0#2", "5#3#20#0", "6#1#03#1", "2#0"};
    QTest::newRow("SIM pick-up stays without ringing")
        << QByteArrayList{"3#5#1#0#0#6#1#3", "9#4#99#0", "0#0#01#0", "9#0"}
        << QStringList{"SIMCall", "TonRing", "TonVoice", "PortEtons", "RelBut1", "RelSMS2"}
        << values(5, 3, "3:30", "8:9", "9", "99", "0", "01")
        << QByteArrayList{"3#5#1#0#0#6#1#3", "9#4#99#0", "0#0#01#0", "9#0"}
        << QByteArrayList{"3#5#1#0#0#6#1#3", "9#4#99#0", "0#0#01#0", "9#0"};
    QTest::newRow("time 00, code X") << QByteArrayList{"4#4#0#0#1#7#2#0", "5#1#00#0", "X#1#03#0", "2#0"}
                                     << QStringList{"NoCall",   "ClockGSM", "TonBeep", "TonRing",
                                                    "TonVoice", "PortESMS", "RelSW1",  "RelSW2"}
                                     << values(4, 4, "0:20", "1:2", "5", "01", "0", "03")
                                     << QByteArrayList{"4#4#0#0#1#7#2#0", "5#1#00#0", "X#1#03#0", "2#0"}
                                     << QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#01#0", "0#1#03#0", "2#0"};
    QTest::newRow("PARKEY 0#1") << QByteArrayList{"4#4#0#0#0#0#0#2", "5#1#03#0", "6#1#03#0", "0#1"}
                                << QStringList{"NoCall", "PortDis", "DirectCall", "RelSW1", "RelSW2"}
                                << values(4, 4, "2:20", "-1:", "5", "03", "6", "03")
                                << QByteArrayList{"4#4#0#0#0#0#0#2", "5#1#03#0", "6#1#03#0", "0#1"}
                                << QByteArrayList{"4#4#0#0#0#0#0#2", "5#1#03#0", "6#1#03#0", "#1"};
    QTest::newRow("volumes 9 and 0") << QByteArrayList{"9#0#0#0#0#0#0#9", "5#1#03#0", "6#1#03#0", "5x1"}
                                     << QStringList{"NoCall", "PortDis", "DirectCall", "RelSW1", "RelSW2"}
                                     << values(1, 7, "9:90", "4:5", "5", "03", "6", "03")
                                     << QByteArrayList{"9#0#0#0#0#0#0#9", "5#1#03#0", "6#1#03#0", "5x1"}
                                     << QByteArrayList{"7#1#0#0#0#0#0#9", "5#1#03#0", "6#1#03#0", "5#1"};
    // Nothing was chosen before in a fresh window, so out-of-range choices leave none selected.
    QTest::newRow("choices out of range")
        << QByteArrayList{"4#4#9#0#0#0#7#0", "5#5#03#0", "6#9#03#0", "2#0"} << QStringList{}
        << values(4, 4, "0:20", "1:2", "5", "03", "6", "03")
        << QByteArrayList{"4#4#9#0#0#0#7#0", "5#5#03#0", "6#9#03#0", "2#0"}
        << QByteArrayList{"4#4#0#0#0#0#0#2", "5#0#03#0", "6#0#03#0", "2#0"};
}

void TestParameterStrings::decodeThenEncode() {
    QFETCH(QByteArrayList, strings);
    QFETCH(QStringList, checked);
    QFETCH(QStringList, values);
    QFETCH(QByteArrayList, held);
    QFETCH(QByteArrayList, encoded);
    PagesWindow w;
    w.setStrings(strings[0], strings[1], strings[2], strings[3]);
    w.form->DecodeParameters();
    QCOMPARE(w.checkedButtons(), inOrder(checked));
    QCOMPARE(w.settingsValues(), values);
    QCOMPARE(w.strings(), held);
    w.form->EncodeParameters();
    QCOMPARE(w.strings(), encoded);
    QCOMPARE(w.fakes.errors.messages, QStringList());

    // What encoding gives is a fixed point: decoded and encoded again, it comes back unchanged, unless
    // it was too short to be read and decoding put the fallback in its place.
    w.form->DecodeParameters();
    const QByteArrayList reread = w.strings();
    const QList<qsizetype> lengths = {15, 8, 8, 3};
    for (int i = 0; i < 4; ++i)
        QCOMPARE(reread[i],
                 encoded[i].size() == lengths[i] ? encoded[i] : parameterFallback(kParameterStrings[i]));
    w.form->EncodeParameters();
    QCOMPARE(w.strings(), reread);
}

void TestParameterStrings::unreadableCharactersKeepEarlierChoices() {
    PagesWindow w;
    w.setStrings("4#4#1#0#0#0#2#0", "5#2#03#0", "6#4#03#0", "2#0");
    w.form->DecodeParameters();
    QCOMPARE(w.checkedButtons(), inOrder({"SIMCall", "PortESMS", "RelCam1", "RelBut2"}));

    // Pick-up and relay modes keep their choice; the port is left with none selected.
    w.setStrings("4#4#?#0#0#0#?#0", "5#?#03#0", "6#5#03#0", "2#0");
    w.form->DecodeParameters();
    QCOMPARE(w.checkedButtons(), inOrder({"SIMCall", "RelCam1", "RelBut2"}));
    for (const char *port : {"PortDis", "PortEtons", "PortESMS"})
        QVERIFY(w.button(QLatin1String(port))->autoExclusive());
    // The cleared group still works as one group for the user.
    w.button("PortDis")->click();
    w.button("PortEtons")->click();
    QCOMPARE(w.checkedButtons(), inOrder({"SIMCall", "PortEtons", "RelCam1", "RelBut2"}));
}

void TestParameterStrings::userChangesReachTheStringsOnlyByEncoding() {
    PagesWindow w;
    w.setStrings("4#4#0#0#1#7#2#0", "5#1#03#0", "6#1#03#0", "2#0");
    w.form->DecodeParameters();
    const QByteArrayList decoded = w.strings();

    w.form->ctl<QSlider>("VolMic")->setValue(2);
    w.form->ctl<QSlider>("VolSpk")->setValue(6);
    w.button("AllCall")->click();
    w.button("SendSMS")->click();
    w.button("TonRing")->click();
    w.button("PortEtons")->click();
    w.form->ctl<QComboBox>("waiting")->setCurrentIndex(9);
    w.button("RelLi1")->click();
    QTest::keyClicks(w.edit("RelCode1"), "7");
    QTest::keyClicks(w.edit("RelTime1"), "9");
    w.button("RelRingAll2")->click();
    QTest::keyClicks(w.edit("RelTime2"), "12");
    w.form->ctl<QComboBox>("WaitBUF")->setCurrentIndex(6);
    w.button("DirectCall")->click();
    // A disabled box still counts.
    w.button("TonBeep")->setEnabled(false);
    QCOMPARE(w.strings(), decoded);

    w.form->EncodeParameters();
    QCOMPARE(w.strings(), (QByteArrayList{"6#2#0#1#1#5#1#9", "7#3#39#0", "6#5#12#1", "7#1"}));
}

void TestParameterStrings::oddBoxTextsGiveStringsThatDecodingReplaces() {
    PagesWindow w;
    w.setStrings("4#4#0#0#1#7#2#0", "5#1#03#0", "6#1#03#0", "2#0");
    w.form->DecodeParameters();
    w.edit("RelCode1")->clear();
    auto *waitBuf = w.form->ctl<QComboBox>("WaitBUF");
    waitBuf->lineEdit()->selectAll();
    QTest::keyClicks(waitBuf->lineEdit(), "12");
    w.form->EncodeParameters();
    QCOMPARE(w.strings(), (QByteArrayList{"4#4#0#0#1#7#2#2", "#1#03#0", "6#1#03#0", "12#0"}));

    w.form->DecodeParameters();
    QCOMPARE(w.strings(), (QByteArrayList{"4#4#0#0#1#7#2#2", "5#1#03#1", "6#1#03#0", "2#0"}));
    QCOMPARE(w.edit("RelCode1")->text(), QStringLiteral("5"));
    QCOMPARE(waitBuf->currentText(), QStringLiteral("2"));
    QCOMPARE(w.fakes.errors.messages, QStringList());
}

// With OXA_GRAB_DIR set, pictures of the settings pages after decoding, for a person to look at.
void TestParameterStrings::grabDecodedPages() {
    const QString folder = qEnvironmentVariable("OXA_GRAB_DIR");
    if (folder.isEmpty())
        QSKIP("OXA_GRAB_DIR not set");
    PagesWindow w;
    w.setStrings("3#5#1#1#1#7#1#9", "7#5#45#1", "0#3#99#0", "0#1");
    w.form->DecodeParameters();
    for (int n = 1; n <= 7; ++n) {
        w.edit("ADMIN" + QString::number(n))->setText("+4206001112223334445" + QString::number(n));
        w.edit("ABUTTON" + QString::number(n))->setText("+4206001112223334445" + QString::number(n));
        w.edit("BBUTTON" + QString::number(n))->setText("*#1234567890123456789");
    }
    w.edit("ALARMON")->setText("Alarm on: the door has been opened by force");
    w.form->appendPhoneBookRow("A rather long name of a row", "+420600111222333444");
    w.form->show();
    QDir().mkpath(folder);
    const auto pages = w.form->findChildren<QTabWidget *>();
    for (QTabWidget *tabs : pages) {
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            QWidget *page = tabs->widget(i);
            if (!page->findChild<QLineEdit *>() && !page->findChild<QAbstractButton *>() &&
                !page->findChild<QTableWidget *>())
                continue;
            page->grab().save(QDir(folder).filePath("decoded_" + page->objectName() + ".png"));
        }
    }
}

QTEST_MAIN(TestParameterStrings)
#include "tst_pages_parameters.moc"
