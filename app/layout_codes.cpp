#include "layout.h"

namespace oxa {

namespace {

// What every mode page holds: title, code box with its "C", the two relays and the write button.
void addModeBasics(std::vector<Item> &items, int mode, const char *titleLabel, const char *title,
                   const char *codeLabel) {
    const QString m = QString::number(mode);
    const QString page = "M" + m;
    items.insert(items.end(), {
        {Kind::Label, titleLabel, page, {6, 4, 270, 18}, title},
        {Kind::Label, codeLabel, page, {6, 30, 40, 20}, "Code", "CodeM" + m},
        {Kind::Edit, "CodeM" + m, page, {48, 28, 64, 23}},
        // Wide enough for the preview of a whole code, "(C12345678C)".
        {Kind::Label, "LabelCodeM" + m, page, {115, 30, 90, 20}, "C"},
        {Kind::Radio, "M" + m + "Rel1", page, {206, 22, 76, 20}, "Relay 1"},
        {Kind::Radio, "M" + m + "Rel2", page, {206, 42, 76, 20}, "Relay 2"},
    });
}

void addWriteButton(std::vector<Item> &items, int mode) {
    const QString m = QString::number(mode);
    items.push_back({Kind::Button, "WriteCode" + m, "M" + m, {178, 170, 98, 28}, "Write Code"});
}

// A group of one month box and one day box under their labels.
void addDateGroup(std::vector<Item> &items, const QString &group, const QString &page, int x, const char *title,
                  const char *monthLabel, const char *month, const char *dayLabel, const char *day) {
    items.insert(items.end(), {
        {Kind::GroupBox, group, page, {x, 62, 128, 70}, title},
        {Kind::Label, monthLabel, group, {8, 18, 54, 18}, "month", month},
        {Kind::Combo, month, group, {8, 38, 54, 24}, "01", "month"},
        {Kind::Label, dayLabel, group, {68, 18, 54, 18}, "day", day},
        {Kind::Combo, day, group, {68, 38, 54, 24}, "01", "day"},
    });
}

void addHourGroup(std::vector<Item> &items, const QString &group, int x, const char *title, const char *label,
                  const char *combo) {
    items.insert(items.end(), {
        {Kind::GroupBox, group, "M4", {x, 62, 88, 70}, title},
        {Kind::Label, label, group, {8, 18, 72, 18}, "hours", combo},
        {Kind::Combo, combo, group, {8, 38, 60, 24}, "01", "hour"},
    });
}

void addAccess(std::vector<Item> &items, const QString &page, const char *combo, const char *label, int x, int y) {
    items.insert(items.end(), {
        {Kind::Combo, combo, page, {x, y + 20, 60, 24}, "**", "access"},
        {Kind::Label, label, page, {x, y, 100, 18}, "Access Number", combo},
    });
}

void addSms(std::vector<Item> &items, int mode) {
    const QString m = QString::number(mode);
    items.push_back({Kind::Check, "M" + m + "SMS", "M" + m, {6, 142, 270, 20}, "Send SMS to ADMIN1"});
}

} // namespace

void addCodePages(std::vector<Item> &items) {
    items.insert(items.end(), {
                                  {Kind::Tree, "TreeCode", "KeyBoardCode", {4, 4, 168, 198}},
                                  {Kind::Button, "DelCode", "KeyBoardCode", {4, 206, 82, 28}, "Del Code"},
                                  {Kind::Button, "AddCode", "KeyBoardCode", {90, 206, 82, 28}, "Add Code"},
                                  {Kind::RowsPageControl, "ModeCode", "KeyBoardCode", {176, 0, 290, 238}},
                              });
    for (int mode = 0; mode <= 4; ++mode)
        items.push_back({Kind::Page, "M" + QString::number(mode), "ModeCode", {}, "M" + QString::number(mode)});

    addModeBasics(items, 0, "Label37", "Normal", "Label44");
    addWriteButton(items, 0);

    addModeBasics(items, 1, "Label38", "Weekly", "Label42");
    items.push_back({Kind::Label, "week", "M1", {6, 58, 270, 16}, "Mo  Tu    We  Th     Fr    Sa    Su"});
    for (int day = 0; day < 7; ++day) {
        static const char *const days[] = {"Po", "Ut", "St", "Ct", "Pa", "So", "Ne"};
        items.push_back({Kind::Check, days[day], "M1", {8 + day * 28, 76, 18, 18}});
    }
    addAccess(items, "M1", "M1Acces", "Label43", 6, 98);
    addSms(items, 1);
    addWriteButton(items, 1);

    addModeBasics(items, 2, "Label39", "From date to date", "Label45");
    addDateGroup(items, "GroupBox8", "M2", 6, "from Date", "Label46", "FromM2", "Label48", "FromD2");
    addDateGroup(items, "GroupBox9", "M2", 142, "to Date", "Label50", "ToM2", "Label51", "ToD2");
    addSms(items, 2);
    addWriteButton(items, 2);

    addModeBasics(items, 3, "Label40", "From date and month", "Label47");
    addDateGroup(items, "GroupBox10", "M3", 6, "from Date", "Label52", "FromM3", "Label53", "FromD3");
    addAccess(items, "M3", "M3Acces", "Label54", 142, 70);
    addSms(items, 3);
    addWriteButton(items, 3);

    addModeBasics(items, 4, "Label41", "From hour to hour", "Label49");
    addHourGroup(items, "GroupBox11", 6, "from Hours", "Label55", "FromHours");
    addHourGroup(items, "GroupBox12", 98, "to Hours", "Label57", "ToHours");
    addAccess(items, "M4", "M4Acces", "Label59", 192, 70);
    addSms(items, 4);
    addWriteButton(items, 4);
}

} // namespace oxa
