#include "texts.h"

#include "inifile.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

namespace oxa {

namespace {

const QString LanguageSection = QStringLiteral("Language");
const QString HelpSection = QStringLiteral("Help");

QStringList numberedNames(const QString &prefix, int count) {
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names << prefix + QString::number(i);
    return names;
}

QStringList modeNames(const QString &prefix, const QString &suffix) {
    QStringList names;
    for (int mode = 0; mode <= 4; ++mode)
        names << prefix + QString::number(mode) + suffix;
    return names;
}

// A tab page shows its caption on its page control's tab.
QTabWidget *tabsOf(const QObject *page, int *index) {
    const auto *widget = qobject_cast<const QWidget *>(page);
    if (!widget || !widget->parentWidget())
        return nullptr;
    auto *tabs = qobject_cast<QTabWidget *>(widget->parentWidget()->parentWidget());
    if (!tabs)
        return nullptr;
    *index = tabs->indexOf(const_cast<QWidget *>(widget));
    return *index >= 0 ? tabs : nullptr;
}

} // namespace

std::vector<TextRow> captionRows(const QString &deviceName) {
    auto row = [](const char *key, QStringList controls) {
        return TextRow{QString::fromLatin1(key), QString::fromLatin1(key), std::move(controls)};
    };
    return {
        row("Buttons", {"Buttons"}),
        row("Phone Book", {"PhoneBook"}),
        row("Setting", {"seting"}),
        row("Monitor", {"TabSheet2"}),
        row("Service", {"service"}),
        row("1 button", {"OXAtyp1"}),
        row("2 buttons", {"OXAtyp2"}),
        row("Buttons Module", {"ModuleButtons"}),
        row("Position", {"Label61", "Label60"}),
        row("Memo", {"Label62", "Label56"}),
        row("Phone Number", {"Label64", "Label58"}),
        row("Add Button", {"AddButton"}),
        row("Write Button", {"WriteButton"}),
        row("Del Button", {"DelButtonSel", "DelButton"}),
        row("Buttons Detect", {"DetBut"}),
        row("Keyboard Module", {"ModuleKeyboard"}),
        row("Keyboard Memo", {"KeyBoardMemo"}),
        row("Add Memo", {"AddMemo"}),
        row("Write Memo", {"WriteMemo"}),
        row("Del Memo", {"DelMemoSel", "DelMemo"}),
        TextRow{"Keyboard Parameters", "Keyboard parameters", {"KeyBoardParams"}},
        row("Waiting to number", {"Label63"}),
        row("Direct Call Number", {"DirectCall"}),
        row("Keyboard Code", {"KeyBoardCode"}),
        row("Add Code", {"AddCode"}),
        row("Del Code", {"DelCode"}),
        row("Normal", {"Label37"}),
        row("Weekly", {"Label38"}),
        row("From date to date", {"Label39"}),
        row("From date and month", {"Label40"}),
        row("From hour to hour", {"Label41"}),
        row("Code", {"Label44", "Label42", "Label45", "Label47", "Label49"}),
        row("Write Code", modeNames("WriteCode", "")),
        row("Mo  Tu    We  Th     Fr    Sa    Su", {"week"}),
        row("Access Number", {"Label43", "Label54", "Label59"}),
        row("Send SMS to ADMIN1", {"M1SMS", "M2SMS", "M3SMS", "M4SMS"}),
        row("from Date", {"GroupBox8", "GroupBox10"}),
        row("to Date", {"GroupBox9"}),
        row("month", {"Label46", "Label50", "Label52"}),
        row("day", {"Label51", "Label53"}),
        row("from Hours", {"GroupBox11"}),
        row("to Hours", {"GroupBox12"}),
        row("hours", {"Label55", "Label57"}),
        row("Insert Line", {"LineIn"}),
        row("Delete Line", {"LineDel"}),
        row("Find Name", {"GroupBox6"}),
        row("Find", {"Find"}),
        row("Calls", {"Calls"}),
        row("Relays", {"Relays"}),
        row("SMSs", {"SMSs"}),
        row("Admin", {"Admin"}),
        row("Volume Spk", {"GroupBox1"}),
        row("Volume Mic", {"GroupBox2"}),
        row("Incomming Call Pick Up", {"GroupBox3"}),
        row("Info Tones", {"InfoTones"}),
        row("No - ringing switch", {"NoCall"}),
        row("All", {"AllCall"}),
        row("only from SIM", {"SIMCall"}),
        row("Beeps", {"TonBeep"}),
        row("Ring Tones", {"TonRing"}),
        row("Voice Messages", {"TonVoice"}),
        row("Waiting Call", {"WaitingCall"}),
        row("Relay 1", {"Relay1", "M0Rel1", "M1Rel1", "M2Rel1", "M3Rel1", "M4Rel1"}),
        row("Relay 2", {"Relay2", "M0Rel2", "M1Rel2", "M2Rel2", "M3Rel2", "M4Rel2"}),
        row("camera", {"RelCam1", "RelCam2"}),
        row("light", {"RelLi1", "RelLi2"}),
        row("button", {"RelBut1", "RelBut2"}),
        row("SMS switch", {"RelSMS1", "RelSMS2"}),
        row("switch", {"RelSW1", "RelSW2"}),
        row("switch SIM ringing", {"RelRing1", "RelRing2"}),
        row("switch all ringing", {"RelRingAll1", "RelRingAll2"}),
        row("switching code", {"Label31", "Label32"}),
        row("switching time", {"Label33", "Label34"}),
        row("SMSs with opening numbers", {"SendSMS"}),
        row("Clock from GSM", {"ClockGSM"}),
        row("SMS ALARM ON", {"Label22"}),
        row("SMS ALARM OFF", {"Label23"}),
        row("Port", {"Port"}),
        row("disable", {"PortDis"}),
        row("enable SMSs", {"PortESMS"}),
        row("enable tons", {"PortEtons"}),
        row("Run", {"RunOXA"}),
        row("Stop", {"StopOXA"}),
        row("Save", {"SaveOXA", "Save"}),
        row("Load", {"LoadOXA", "Load"}),
        row("Battery", {"Battery"}),
        row("signal", {"signal"}),
        row("Save Log", {"SaveMonitor"}),
        row("Load List", {"LoadList"}),
        row("Clear List", {"ClrList"}),
        row("Upgrade", {"Upgrade"}),
        // The device group box is read under the device name and written under "OXA".
        TextRow{deviceName, deviceName, {"GroupBox4"}, QStringLiteral("OXA")},
        row("Phone number for SMSs with opening numbers", {"Label35"}),
    };
}

std::vector<TextRow> hintRows(const QString &deviceName) {
    const QString &d = deviceName;
    auto row = [](const char *key, QStringList controls, const QString &text) {
        return TextRow{QString::fromLatin1(key), text, std::move(controls)};
    };
    QStringList telephoneBoxes = numberedNames("ABUTTON", 7) + numberedNames("AABUTTON", 7) +
                                 numberedNames("BBUTTON", 7) + numberedNames("ADMIN", 7);
    std::vector<TextRow> rows{
        row("Buttons", {"Buttons"}, "Programming telephone numbers into buttons."),
        row("PhoneBook", {"PhoneBook", "PhoneBook1"}, "Telephone book in " + d),
        row("Setting", {"seting"}, "Setting parameters."),
        row("Service", {"service"}, "Upgrading fw of " + d + ", loading Voice Messages."),
        row("Number of buttons", {"OXAtyp"}, "Number of buttons."),
        row("Telephone number", telephoneBoxes, "Telephone number"),
        row("LineIn", {"LineIn"}, "Insert a row into a phone book."),
        row("LineDel", {"LineDel"}, "Delete a row from a phone book."),
        row("Find Name", {"GroupBox6"}, "Find the line in the phone book by name."),
        row("VolumeSpk", {"GroupBox1"}, "Adjusting the volume for the speaker."),
        row("VolumeMic", {"GroupBox2"}, "Adjusting the volume of the microphone."),
        row("NoCall", {"NoCall"}, "No Pick Up any calls - relay switching by ringing."),
        row("AllCall", {"AllCall"}, "Pick Up all calls."),
        row("SIMCall", {"SIMCall"}, "Pick up a call only numbers stored on the SIM."),
        row("TonBeep", {"TonBeep"}, "Service tones (indicated by pressing the button, sending SMS, etc.)."),
        row("TonRing", {"TonRing"}, "Ringing for incoming calls and SMS."),
        row("TonVoice", {"TonVoice"}, "Voice Messages for individual functions and statuses " + d),
        row("WaitingCall", {"WaitingCall"}, "Time before dial next phone number from list of buttons."),
        row("RelCAM", {"RelCam1", "RelCam2"}, "Relay switches pick up a call, hang up the call relay opens."),
        row("RelSW", {"RelSW1", "RelSW2"}, "Relay switches by ringing or DTMF code during a call."),
        row("RelLight", {"RelLi1", "RelLi2"},
            "Relay switches pick up the call and will remain switched still  the switching time after hanging call."),
        row("RelButton", {"RelBut1", "RelBut2"},
            "Relay is switched by pressing the button, it will remain switched by switching time."),
        row("RelSMS", {"RelSMS1", "RelSMS2"}, "The relay is on / off remotely using SMS."),
        row("Monitor", {"Monitor", "TabSheet2"}, "Monitoring serial communication."),
        row("SaveMonitor", {"SaveMonitor"}, "Save monitored serial communication."),
        row("LoadList", {"LoadList"}, "Uploading a list of files to be transferred into " + d),
        row("ClrList", {"ClrList"}, "Deleting a file list."),
        row("List", {"List"}, "List of files to be transferred into " + d),
        row("Upgrade", {"Upgrade"}, "Upgrade (transfer) all files from the list to " + d),
        row("LoadOXA", {"LoadOXA"}, "Loading parameters from " + d),
        row("SaveOXA", {"SaveOXA"}, "Saving parameters to " + d),
        row("RunOXA", {"RunOXA"}, "Running operation " + d),
        row("StopOXA", {"StopOXA"}, "Stoping operation " + d),
        row("RXDled", {"RXDled"}, "Indication of operation on the serial line " + d),
        row("Battery", {"Battery"}, "Battery voltage (on-board network) " + d),
        row("Load", {"Load"}, "Loading parameters from PC."),
        row("Save", {"Save"}, "Saving parameters to PC."),
        row("signal", {"signal"}, "Finding the signal strength (only when stopped " + d + ")."),
        row("SMeter", {"Smeter"}, "Signal is good, when color is green or blue."),
        row("Tree Buttons", {"TreeButtons"}, "A list of all the buttons and assigned telephone numbers."),
        row("Tree Sel.Button", {"TreeButtonsSel"}, "All phone numbers (memories) assigned to the selected button."),
        row("Pos.Button", {"PosButton"}, "The order of dial number after pushing button."),
        row("Name of memory", {"Button"}, "Name of memory."),
        row("Phone number in memory", {"ButtonPNumber"}, "Phone number in memory."),
        row("Add Button", {"AddButton"}, "Adding position for the selected button (name of memory)."),
        row("Write Button", {"WriteButton"}, "Writing memory of button."),
        row("Del Button", {"DelButtonSel", "DelButton"}, "Deleting the selected memory."),
        row("Tree Memo", {"TreeMemo"}, "A list of all the memos and assigned telephone numbers."),
        row("Tree Sel.Memo", {"TreeMemoSel"}, "All phone numbers (memories) assigned to the selected memo."),
        row("Pos.Memo", {"PosMemo"}, "The order of dial number after activation number of memory."),
        row("Name of memory", {"Memo"}, "Name of memory."),
        row("Phone number in memory", {"MemoPNumber"}, "Phone number in memory."),
        row("Add Memo", {"AddMemo"}, "Adding position for the selected memory (name of memory)."),
        row("Write Memo", {"WriteMemo"}, "Writing memory of memory."),
        row("Del Memo", {"DelMemoSel", "DelMemo"}, "Deleting the selected memory."),
        row("Tree Codes", {"TreeCode"}, "A list of all the codes for relays."),
        row("M0", {"M0"}, "Simple (unconditional) relay closing by code."),
        row("M1", {"M1"}, "Relay closing by code, by day of the week and number of access."),
        row("M2", {"M2"}, "Relay closing by code and by date."),
        row("M3", {"M3"}, "Relay closing by code, date and number of access."),
        row("M4", {"M4"}, "Relay closing by code, hours and number of access."),
        row("Code", modeNames("CodeM", ""), "Code - name of memory."),
        row("Write Code", modeNames("WriteCode", ""), "Writing memory of code."),
        row("Access", {"M1Acces", "M3Acces", "M4Acces"}, "The number of permitted relay closing."),
        row("Send SMS to ADMIN1", {"M1SMS", "M2SMS", "M3SMS", "M4SMS"},
            "When relay closing, send SMS with the code number on the phone number ADMIN1."),
        row("Status", {"DeviceNic", "DeviceRun", "DeviceStop"},
            d + " Status (Programming Mode / Stand By - Run mode)."),
    };
    // The keypad editor's two rows share their keys with the button editor's, and the status row is
    // read only: none of the three is written back.
    rows[50].written = false;
    rows[51].written = false;
    rows[65].written = false;
    return rows;
}

QString captionOf(const QObject *control) {
    int index = -1;
    if (const auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (const auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (const auto *group = qobject_cast<const QGroupBox *>(control))
        return group->title();
    if (QTabWidget *tabs = tabsOf(control, &index))
        return tabs->tabText(index);
    return {};
}

void setCaption(QObject *control, const QString &text) {
    int index = -1;
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        button->setText(text);
    else if (auto *label = qobject_cast<QLabel *>(control))
        label->setText(text);
    else if (auto *group = qobject_cast<QGroupBox *>(control))
        group->setTitle(text);
    else if (QTabWidget *tabs = tabsOf(control, &index))
        tabs->setTabText(index, text);
}

QString hintOf(const QObject *control) {
    const auto *widget = qobject_cast<const QWidget *>(control);
    return widget ? widget->toolTip() : QString();
}

void setHint(QObject *control, const QString &text) {
    auto *widget = qobject_cast<QWidget *>(control);
    if (!widget)
        return;
    widget->setToolTip(text);
    int index = -1;
    if (QTabWidget *tabs = tabsOf(control, &index))
        tabs->setTabToolTip(index, text);
}

void applyTexts(const IniFile &ini, const QString &deviceName, const ControlLookup &lookup) {
    auto apply = [&](const std::vector<TextRow> &rows, const QString &section, auto set, auto get) {
        for (const TextRow &row : rows) {
            QObject *first = lookup(row.controls.first());
            if (!first)
                continue;
            set(first, ini.readString(section, row.key, row.defaultText));
            const QString shown = get(first);
            for (qsizetype i = 1; i < row.controls.size(); ++i)
                if (QObject *other = lookup(row.controls.at(i)))
                    set(other, shown);
        }
    };
    apply(captionRows(deviceName), LanguageSection, setCaption, captionOf);
    apply(hintRows(deviceName), HelpSection, setHint, hintOf);
}

void writeTexts(IniFile &ini, const QString &deviceName, const ControlLookup &lookup) {
    for (const TextRow &row : captionRows(deviceName))
        if (QObject *first = lookup(row.controls.first()))
            ini.writeString(LanguageSection, row.writeKey.isEmpty() ? row.key : row.writeKey, captionOf(first));
    for (const TextRow &row : hintRows(deviceName))
        if (row.written)
            if (QObject *first = lookup(row.controls.first()))
                ini.writeString(HelpSection, row.key, hintOf(first));
}

} // namespace oxa
