#include "layout.h"

namespace oxa {

std::vector<Item> windowLayout() {
    std::vector<Item> items;
    addMainRegions(items);
    addButtonPages(items);
    addModulePages(items);
    addCodePages(items);
    addListPages(items);
    addSettingPages(items);
    addDeviceColumn(items);
    return items;
}

void addMainRegions(std::vector<Item> &items) {
    items.insert(items.end(), {
        {Kind::IconPageControl, "PageControl1", "Central", {0, 0, 497, 449}},
        {Kind::Page, "Buttons", "PageControl1", {}, "Buttons", "tab_buttons"},
        {Kind::Page, "PhoneBook", "PageControl1", {}, "Phone Book", "tab_phonebook"},
        {Kind::Page, "seting", "PageControl1", {}, "Setting", "tab_setting"},
        {Kind::Page, "TabSheet2", "PageControl1", {}, "Monitor", "tab_monitor"},
        {Kind::Page, "service", "PageControl1", {}, "Service", "tab_service"},
    });
}

void addListPages(std::vector<Item> &items) {
    items.insert(
        items.end(),
        {
            {Kind::Grid, "PhoneBook1", "PhoneBook", {4, 4, 289, 385}, "Name|Phone"},
            {Kind::Button, "LineIn", "PhoneBook", {302, 8, 130, 30}, "Insert Line", "glyph_insert_row"},
            {Kind::Button, "LineDel", "PhoneBook", {302, 44, 130, 30}, "Delete Line", "glyph_delete_row"},
            {Kind::GroupBox, "GroupBox6", "PhoneBook", {302, 90, 180, 92}, "Find Name"},
            {Kind::Edit, "FindN", "GroupBox6", {10, 24, 160, 24}},
            {Kind::Button, "Find", "GroupBox6", {10, 56, 80, 28}, "Find"},

            {Kind::Memo, "Monitor", "TabSheet2", {4, 4, 481, 349}, {}, {}, ReadOnly | Greyed},
            {Kind::Button, "SaveMonitor", "TabSheet2", {4, 359, 110, 28}, "Save Log", "glyph_save_log"},
            {Kind::Button, "IMEI", "TabSheet2", {283, 359, 96, 28}, "IMEI"},
            {Kind::Button, "Inicializace", "TabSheet2", {385, 359, 100, 28}, "Inicializace"},

            {Kind::Memo, "List", "service", {4, 4, 481, 345}, {}, {}, Greyed},
            {Kind::Button, "LoadList", "service", {4, 355, 112, 28}, "Load List", "glyph_load_list"},
            {Kind::Button, "ClrList", "service", {122, 355, 112, 28}, "Clear List", "glyph_clear_list"},
            {Kind::Button, "Upgrade", "service", {240, 355, 112, 28}, "Upgrade", "glyph_upgrade"},
        });
}

void addDeviceColumn(std::vector<Item> &items) {
    items.insert(items.end(),
                 {
                     {Kind::GroupBox, "GroupBox4", "Central", {496, 16, 113, 329}, "OXA"},
                     {Kind::Button, "RunOXA", "GroupBox4", {8, 20, 97, 49}, "Run", "glyph_run"},
                     {Kind::Button, "StopOXA", "GroupBox4", {8, 72, 97, 49}, "Stop", "glyph_stop"},
                     {Kind::Button, "SaveOXA", "GroupBox4", {8, 124, 97, 41}, "Save", "glyph_save_device"},
                     {Kind::Button, "LoadOXA", "GroupBox4", {8, 168, 97, 41}, "Load", "glyph_load_device"},
                     {Kind::GroupBox, "Battery", "GroupBox4", {4, 212, 57, 113}, "Battery"},
                     {Kind::Progress, "BVoltage", "Battery", {18, 20, 20, 68}},
                     {Kind::Label, "Voltage", "Battery", {1, 92, 55, 16}, "Voltage"},
                     {Kind::Led, "RXDled", "GroupBox4", {80, 222, 11, 9}, {}, {}, Hidden},
                     {Kind::Picture, "DeviceRun", "GroupBox4", {73, 240, 25, 41}, {}, "status_run"},
                     {Kind::Picture, "DeviceStop", "GroupBox4", {73, 240, 25, 41}, {}, "status_stop", Hidden},
                     {Kind::Picture, "DeviceNic", "GroupBox4", {73, 240, 25, 41}, {}, "status_busy", Hidden},
                     {Kind::Label, "Label65", "GroupBox4", {66, 286, 42, 16}, "Status"},

                     {Kind::GroupBox, "GroupBox5", "Central", {496, 352, 113, 97}, "PC"},
                     {Kind::Button, "Save", "GroupBox5", {8, 22, 97, 32}, "Save", "glyph_save_file"},
                     {Kind::Button, "Load", "GroupBox5", {8, 58, 97, 32}, "Load", "glyph_load_file"},

                     {Kind::Bevel, "Bevel1", "Central", {0, 456, 609, 25}},
                     {Kind::Button, "signal", "Central", {3, 458, 76, 21}, "signal"},
                     {Kind::Gauge, "Smeter", "Central", {84, 464, 521, 9}},
                     {Kind::ProgressStrip, "Prubeh", "Central", {44, 460, 561, 17}, {}, {}, Hidden},
                     // Shown only while a long operation runs; the progress strip makes room for it.
                     {Kind::Button, "CancelOperation", "Central", {531, 458, 76, 21}, "Cancel", {}, Hidden},
                 });
}

} // namespace oxa
