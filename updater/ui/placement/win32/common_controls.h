#pragma once

namespace qxu {

// Registers the common control classes the updater's windows use: list view,
// bars and tooltips, tabs, up-down, progress bar and date classes (0x13D).
void InitUpdaterCommonControls();

}  // namespace qxu
