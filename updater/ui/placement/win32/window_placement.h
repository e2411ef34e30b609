#pragma once
// Window placement helpers shared by the updater's dialogs. No state is kept
// between calls.
#include <windows.h>

#include "ui/placement/core/placement_math.h"

namespace qxu {

// Centres the window on the mouse pointer inside the work area, margin
// pixels from an edge it would cross. showFlag 1 also shows it. Returns 1.
int PlaceNearPointer(HWND window, int margin, int showFlag);

// Centres the window by mode (low byte: 1 across, 2 down, 3 left of the
// middle, 4 right of it, else both) in the reference window, or without one
// in the box from 0, 0 to the work area's right and bottom edge. Returns 1.
int CentreWindow(HWND window, int mode, HWND reference);

// Moves the window to the stored rectangle, first shifted by whole screen
// sizes onto the primary screen (written back into rect); sizeFlag 1 also
// sizes it. 0 when window or rect is missing.
int PlaceAtStoredRect(HWND window, RectRecord* rect, int sizeFlag);

// The window's normal rectangle and show state (1 normal, 2 minimised, 3
// maximised); either output may be none. 0 when no window is given.
int ReadWindowRect(HWND window, RectRecord* rect, int* showState);

}  // namespace qxu
