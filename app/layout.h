#pragma once

#include "formbuilder.h"

namespace oxa {

// The window's controls, in creation (and so keyboard) order.
std::vector<Item> windowLayout();

// Pieces of the layout, one per region.
void addMainRegions(std::vector<Item> &items);
void addButtonPages(std::vector<Item> &items);
void addModulePages(std::vector<Item> &items);
void addCodePages(std::vector<Item> &items);
void addSettingPages(std::vector<Item> &items);
void addListPages(std::vector<Item> &items);
void addDeviceColumn(std::vector<Item> &items);

} // namespace oxa
