#pragma once
// The tooltips of the options dialog, one per button and check box, kept
// by the open dialog in a table of eight slots.
#include <windows.h>

namespace qxu {

inline constexpr int kOptionTooltipSlots = 8;

class OptionTooltips {
 public:
  OptionTooltips() = default;
  ~OptionTooltips() { Rebuild(nullptr, false); }
  OptionTooltips(const OptionTooltips&) = delete;
  OptionTooltips& operator=(const OptionTooltips&) = delete;

  // Destroys every tooltip of the table; with create attaches them again to
  // the dialog's controls. Tooltips that cannot be made take no slot.
  void Rebuild(HWND dialog, bool create);
  // The tooltip window in a slot, or none.
  HWND Slot(int slot) const;

 private:
  HWND slots_[kOptionTooltipSlots] = {};
};

}  // namespace qxu
