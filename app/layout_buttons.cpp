#include "layout.h"

namespace oxa {

namespace {

// A column of key rows: a label naming the key and its edit box, the label being the box's buddy.
void addKeyRows(std::vector<Item> &items, const QString &parent, const QString &key, const QString &editPrefix,
                int top, int pitch, int labelWidth, int editWidth) {
    for (int i = 1; i <= 7; ++i) {
        const int y = top + (i - 1) * pitch;
        const QString label = key + QString::number(i);
        const QString edit = editPrefix + QString::number(i);
        items.push_back({Kind::Label, parent + "Label" + QString::number(i), parent,
                         {8, y + 2, labelWidth, 20}, label, edit});
        items.push_back({Kind::Edit, edit, parent, {12 + labelWidth, y, editWidth, 23}});
    }
}

// The four front pictures of one page; branding shows one of them.
void addFronts(std::vector<Item> &items, const QString &page, int buttons) {
    const QString n = QString::number(buttons);
    for (const char *front : {"OXA", "OXAF", "OXAL", "OXAPanel"})
        items.push_back({Kind::Picture, QString::fromLatin1(front) + n, page, {6, 8, 150, 300},
                         {}, QString::fromLatin1(front).toLower() + n, Hidden});
}

} // namespace

void addButtonPages(std::vector<Item> &items) {
    items.insert(items.end(), {
                                  {Kind::RowsPageControl, "OXAtyp", "Buttons", {2, 2, 485, 386}},
                                  {Kind::Page, "OXAtyp1", "OXAtyp", {}, "1 button"},
                                  {Kind::Page, "OXAtyp2", "OXAtyp", {}, "2 buttons"},
                                  {Kind::Page, "ModuleButtons", "OXAtyp", {}, "Buttons Module", {}, Hidden},
                                  {Kind::Page, "ModuleKeyboard", "OXAtyp", {}, "Keyboard Module", {}, Hidden},
                              });

    // One call button: the front, an arrow at its button, the seven numbers it dials.
    addFronts(items, "OXAtyp1", 1);
    items.insert(items.end(), {
        {Kind::Backdrop, "Image6", "OXAtyp1", {158, 8, 84, 300}},
        {Kind::Picture, "Sipka1", "OXAtyp1", {162, 120, 57, 41}, {}, "arrow_left", Hidden},
        {Kind::Picture, "Sipkaf1", "OXAtyp1", {162, 120, 57, 41}, {}, "arrow_left", Hidden},
        {Kind::Picture, "SipkaPA1", "OXAtyp1", {162, 150, 57, 41}, {}, "arrow_left_b", Hidden},
        {Kind::Panel, "Panel3", "OXAtyp1", {246, 8, 230, 220}},
    });
    addKeyRows(items, "Panel3", "ABUTTON", "AABUTTON", 8, 29, 72, 140);

    // Two call buttons: both lists of numbers.
    addFronts(items, "OXAtyp2", 2);
    items.insert(items.end(), {
        {Kind::Backdrop, "Image7", "OXAtyp2", {158, 8, 84, 300}},
        {Kind::Picture, "Image5", "OXAtyp2", {162, 96, 57, 41}, {}, "arrow_left"},
        {Kind::Picture, "SipkaPA2", "OXAtyp2", {162, 140, 57, 41}, {}, "arrow_left_b", Hidden},
        {Kind::Picture, "SipkaPB2", "OXAtyp2", {162, 190, 57, 41}, {}, "arrow_left_b", Hidden},
        {Kind::Picture, "Image3", "OXAtyp2", {162, 140, 57, 41}, {}, "arrow_left_b", Hidden},
        {Kind::Panel, "Panel1", "OXAtyp2", {246, 4, 230, 163}},
    });
    addKeyRows(items, "Panel1", "ABUTTON", "ABUTTON", 4, 22, 72, 140);
    items.push_back({Kind::Panel, "Panel2", "OXAtyp2", {246, 170, 230, 163}});
    addKeyRows(items, "Panel2", "BBUTTON", "BBUTTON", 4, 22, 72, 140);
}

void addModulePages(std::vector<Item> &items) {
    items.insert(items.end(), {
        // Extension button module.
        {Kind::Tree, "TreeButtons", "ModuleButtons", {4, 4, 230, 330}},
        {Kind::Panel, "Panel5", "ModuleButtons", {240, 4, 236, 290}},
        {Kind::Tree, "TreeButtonsSel", "Panel5", {6, 6, 224, 104}},
        {Kind::Label, "Label61", "Panel5", {6, 118, 96, 20}, "Position", "PosButton"},
        {Kind::Combo, "PosButton", "Panel5", {106, 116, 60, 24}, "1", "pos"},
        {Kind::Label, "Label62", "Panel5", {6, 148, 96, 20}, "Memo", "Button"},
        {Kind::Edit, "Button", "Panel5", {106, 146, 56, 23}},
        {Kind::Label, "LabelButton", "Panel5", {166, 148, 66, 20}, "B"},
        {Kind::Label, "Label64", "Panel5", {6, 178, 96, 20}, "Phone Number", "ButtonPNumber"},
        {Kind::Edit, "ButtonPNumber", "Panel5", {106, 176, 124, 23}},
        {Kind::Button, "AddButton", "Panel5", {6, 214, 110, 28}, "Add Button"},
        {Kind::Button, "WriteButton", "Panel5", {120, 214, 110, 28}, "Write Button"},
        {Kind::Button, "DelButtonSel", "Panel5", {6, 250, 110, 28}, "Del Button"},
        {Kind::Button, "DelButton", "ModuleButtons", {240, 302, 110, 28}, "Del Button"},
        {Kind::Check, "DetBut", "ModuleButtons", {358, 306, 118, 22}, "Buttons Detect"},

        // Keyboard module: memories and access codes, and its parameters.
        {Kind::PageControl, "PageControl3", "ModuleKeyboard", {2, 2, 475, 272}},
        {Kind::Page, "KeyBoardMemo", "PageControl3", {}, "Keyboard Memo"},
        {Kind::Page, "KeyBoardCode", "PageControl3", {}, "Keyboard Code"},
        {Kind::Tree, "TreeMemo", "KeyBoardMemo", {4, 4, 220, 232}},
        {Kind::Panel, "Panel4", "KeyBoardMemo", {228, 4, 237, 196}},
        {Kind::Tree, "TreeMemoSel", "Panel4", {6, 6, 225, 58}},
        {Kind::Label, "Label60", "Panel4", {6, 72, 96, 20}, "Position", "PosMemo"},
        {Kind::Combo, "PosMemo", "Panel4", {106, 70, 60, 24}, "1", "pos"},
        {Kind::Label, "Label56", "Panel4", {6, 101, 96, 20}, "Memo", "Memo"},
        {Kind::Edit, "Memo", "Panel4", {106, 99, 56, 23}},
        {Kind::Label, "LabelMemo", "Panel4", {166, 101, 66, 20}, "M"},
        {Kind::Label, "Label58", "Panel4", {6, 130, 96, 20}, "Phone Number", "MemoPNumber"},
        {Kind::Edit, "MemoPNumber", "Panel4", {106, 128, 125, 23}},
        {Kind::Button, "AddMemo", "Panel4", {6, 160, 72, 28}, "Add Memo"},
        {Kind::Button, "WriteMemo", "Panel4", {82, 160, 76, 28}, "Write Memo"},
        {Kind::Button, "DelMemoSel", "Panel4", {162, 160, 69, 28}, "Del Memo"},
        {Kind::Button, "DelMemo", "KeyBoardMemo", {228, 206, 100, 28}, "Del Memo"},

        {Kind::GroupBox, "KeyBoardParams", "ModuleKeyboard", {2, 276, 475, 60}, "Keyboard parameters"},
        {Kind::Combo, "WaitBUF", "KeyBoardParams", {10, 26, 50, 24}, "2", "waitbuf"},
        {Kind::Label, "Label63", "KeyBoardParams", {66, 28, 150, 20}, "Waiting to number", "WaitBUF"},
        {Kind::Check, "DirectCall", "KeyBoardParams", {230, 28, 230, 20}, "Direct Call Number"},
    });
}

} // namespace oxa
