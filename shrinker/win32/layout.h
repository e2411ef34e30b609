// Layout facts of Form1 shared by the window code.
#pragma once

namespace vantilo {

// Check boxes, radio buttons, the combo box and the two buttons.
bool UsesHandCursor(int controlId);

}  // namespace vantilo
