// The main window's controls and menus as data, in creation order.
#pragma once

#include <vector>

#include "ui/layout_win.h"

namespace vh {

constexpr int kMainClientWidth = 556;
constexpr int kMainClientHeight = 392;

const std::vector<ControlDef>& MainWindowControls();
const std::vector<MenuDef>& MainWindowMenus();

}  // namespace vh
