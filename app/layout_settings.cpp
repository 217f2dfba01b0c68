#include "layout.h"

namespace oxa {

namespace {

// One relay's column: its five modes, the ringing boxes and the code and time boxes.
void addRelay(std::vector<Item> &items, int relay, int x) {
    const QString r = QString::number(relay);
    const QString group = "Relay" + r;
    items.insert(items.end(), {
        {Kind::GroupBox, group, "Relays", {x, 6, 232, 244}, "Relay " + r},
        {Kind::Radio, "RelCam" + r, group, {10, 24, 200, 20}, "camera"},
        {Kind::Radio, "RelLi" + r, group, {10, 48, 200, 20}, "light"},
        {Kind::Radio, "RelBut" + r, group, {10, 72, 200, 20}, "button"},
        {Kind::Radio, "RelSMS" + r, group, {10, 96, 200, 20}, "SMS switch"},
        {Kind::Radio, "RelSW" + r, group, {10, 120, 76, 20}, "switch"},
        {Kind::Check, "RelRing" + r, group, {86, 120, 142, 20}, "switch SIM ringing"},
        {Kind::Check, "RelRingAll" + r, group, {86, 144, 142, 20}, "switch all ringing"},
        {Kind::Edit, "RelCode" + r, group, {10, 176, 22, 23}, relay == 1 ? "5" : "6"},
        {Kind::Label, relay == 1 ? "Label31" : "Label32", group, {38, 178, 150, 20}, "switching code", "RelCode" + r},
        {Kind::Edit, "RelTime" + r, group, {10, 206, 30, 23}, "03"},
        {Kind::Label, relay == 1 ? "Label33" : "Label34", group, {46, 208, 150, 20}, "switching time", "RelTime" + r},
    });
}

} // namespace

void addSettingPages(std::vector<Item> &items) {
    items.insert(items.end(), {
        {Kind::PageControl, "PageControl2", "seting", {2, 2, 485, 366}},
        {Kind::Page, "Calls", "PageControl2", {}, "Calls"},
        {Kind::Page, "Relays", "PageControl2", {}, "Relays"},
        {Kind::Page, "SMSs", "PageControl2", {}, "SMSs"},
        {Kind::Page, "Admin", "PageControl2", {}, "Admin"},

        {Kind::GroupBox, "GroupBox1", "Calls", {6, 6, 92, 210}, "Volume Spk"},
        {Kind::TrackBar, "VolSpk", "GroupBox1", {26, 24, 40, 176}},
        {Kind::GroupBox, "GroupBox2", "Calls", {104, 6, 92, 210}, "Volume Mic"},
        {Kind::TrackBar, "VolMic", "GroupBox2", {26, 24, 40, 176}},
        {Kind::GroupBox, "GroupBox3", "Calls", {204, 6, 268, 98}, "Incomming Call Pick Up"},
        {Kind::Radio, "NoCall", "GroupBox3", {10, 22, 250, 20}, "No - ringing switch"},
        {Kind::Radio, "SIMCall", "GroupBox3", {10, 46, 250, 20}, "only from SIM"},
        {Kind::Radio, "AllCall", "GroupBox3", {10, 70, 250, 20}, "All"},
        {Kind::GroupBox, "InfoTones", "Calls", {204, 110, 268, 98}, "Info Tones"},
        {Kind::Check, "TonBeep", "InfoTones", {10, 22, 250, 20}, "Beeps"},
        {Kind::Check, "TonRing", "InfoTones", {10, 46, 250, 20}, "Ring Tones"},
        {Kind::Check, "TonVoice", "InfoTones", {10, 70, 250, 20}, "Voice Messages"},
        {Kind::GroupBox, "WaitingCall", "Calls", {204, 214, 150, 58}, "Waiting Call"},
        {Kind::DropDown, "waiting", "WaitingCall", {10, 24, 62, 24}, {}, "waiting"},
        {Kind::Label, "Label36", "WaitingCall", {78, 27, 60, 20}, "sec.", "waiting"},
    });

    addRelay(items, 1, 6);
    addRelay(items, 2, 244);

    items.insert(items.end(), {
        {Kind::Label, "Label22", "SMSs", {10, 14, 120, 20}, "SMS ALARM ON", "ALARMON"},
        {Kind::Edit, "ALARMON", "SMSs", {134, 12, 220, 23}},
        {Kind::Label, "Label23", "SMSs", {10, 46, 120, 20}, "SMS ALARM OFF", "ALARMOFF"},
        {Kind::Edit, "ALARMOFF", "SMSs", {134, 44, 220, 23}},
        {Kind::Check, "SendSMS", "SMSs", {10, 82, 340, 20}, "SMSs with opening numbers"},
        {Kind::Check, "ClockGSM", "SMSs", {10, 108, 340, 20}, "Clock from GSM"},
        {Kind::GroupBox, "Port", "SMSs", {10, 138, 200, 98}, "Port"},
        {Kind::Radio, "PortDis", "Port", {10, 22, 180, 20}, "disable"},
        {Kind::Radio, "PortEtons", "Port", {10, 46, 180, 20}, "enable tons"},
        {Kind::Radio, "PortESMS", "Port", {10, 70, 180, 20}, "enable SMSs"},
    });

    for (int i = 1; i <= 7; ++i) {
        const QString key = "ADMIN" + QString::number(i);
        items.push_back({Kind::Label, "AdminLabel" + QString::number(i), "Admin", {10, 12 + (i - 1) * 30, 64, 20}, key, key});
        items.push_back({Kind::Edit, key, "Admin", {78, 10 + (i - 1) * 30, 172, 23}});
    }
    items.push_back({Kind::Label, "Label35", "Admin", {260, 8, 214, 40}, "Phone number for SMSs with opening numbers"});
}

} // namespace oxa
