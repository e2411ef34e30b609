// Runs a QxUpdate.exe copy and answers its message boxes, recording the texts.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct ProgramRun {
  DWORD exitCode = STILL_ACTIVE;
  std::vector<std::wstring> messages;  // texts of the "QxUpdate" message boxes, in order
};

// Starts exe with the arguments in folder, answers every message box titled
// "QxUpdate" with its default button and starts the run of a confirm window
// once its check has ended, until the process ends.
ProgramRun RunProgram(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder,
                      DWORD timeoutMs = 120000);
