#include "program_runner.h"

#include "win32/dialogs.h"
#include "win32/processes.h"

ProgramRun RunProgram(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder,
                      DWORD timeoutMs) {
  // Any process: the boxes may come from a program that this one starts.
  qxtest::DialogWatcher watcher(qxtest::Scope::AnyProcess(), qxtest::DialogWatcher::MessageBoxesTitled(L"QxUpdate"));
  ProgramRun run;
  run.exitCode = static_cast<DWORD>(qxtest::ChildProcess(exe, arguments, folder).Wait(timeoutMs));
  watcher.Stop();
  for (const qxtest::SeenDialog& seen : watcher.Seen())
    if (seen.messageBox && seen.caption == L"QxUpdate") run.messages.push_back(seen.text);
  return run;
}
