#pragma once
// The run windows as the engine reaches them, and the binding of the
// windows to the process's engine.
#include <windows.h>

namespace qxu {

struct UpdateEngine;
struct UpdaterSettings;

struct EngineWindowsSetup {
  HMODULE resources = nullptr;
  UpdaterSettings* settings = nullptr;
  const wchar_t* const* commandLine = nullptr;  // the kept command line
  void (*beginRun)() = nullptr;
  INT_PTR (*showOptionsDialog)() = nullptr;
};

// Loads the run icons, points the windows at the engine's options, items and
// run state, and gives the engine its window port. Call after the settings
// are loaded and before the main window is created.
void BindEngineWindows(UpdateEngine& engine, const EngineWindowsSetup& setup);

}  // namespace qxu
