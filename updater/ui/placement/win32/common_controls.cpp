#include "ui/placement/win32/common_controls.h"

#include <windows.h>

#include <commctrl.h>

namespace qxu {

void InitUpdaterCommonControls() {
  InitCommonControls();
  INITCOMMONCONTROLSEX classes{};
  classes.dwSize = sizeof classes;
  classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                  ICC_PROGRESS_CLASS | ICC_DATE_CLASSES;
  static_assert(sizeof classes == 8, "record of 8 bytes");
  InitCommonControlsEx(&classes);
}

}  // namespace qxu
