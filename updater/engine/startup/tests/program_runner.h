// Runs QxUpdate.exe copies in a scratch install folder and answers their
// message boxes, recording the texts.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// Folder of the test builds beside this test program.
std::wstring TestBuildFolder();

struct ProgramRun {
  DWORD exitCode = STILL_ACTIVE;
  std::vector<std::wstring> messages;  // texts of the "QxUpdate" message boxes, in order
};

// Starts exe with the arguments in folder, answers every message box titled
// "QxUpdate" with its default button until the process ends.
ProgramRun RunProgram(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder,
                      DWORD timeoutMs = 120000);

// Answers message boxes of any process for waitMs (for processes the chain starts).
std::vector<std::wstring> AnswerMessagesFor(DWORD waitMs);

std::wstring FileVersionOf(const std::wstring& path);
std::wstring UserName();
