#include "ui/program/tests/program_runner.h"

#include "win32/dialogs.h"
#include "win32/processes.h"

namespace {

// A user who goes along: message boxes titled "QxUpdate" get their default
// button, and a confirm window its run button once the check has ended.
int GoAlong(const qxtest::SeenDialog& seen) {
  if (seen.messageBox) return seen.caption == L"QxUpdate" ? IDOK : 0;
  HWND run = GetDlgItem(seen.window, IDOK);
  return run && IsWindowVisible(run) && IsWindowEnabled(run) && qxtest::WindowText(run) == L"実行" ? IDOK : 0;
}

}  // namespace

ProgramRun RunProgram(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder,
                      DWORD timeoutMs) {
  // Any process: the boxes may come from a program that this one starts.
  qxtest::DialogWatcher watcher(qxtest::Scope::AnyProcess(), GoAlong);
  ProgramRun run;
  run.exitCode = static_cast<DWORD>(qxtest::ChildProcess(exe, arguments, folder).Wait(timeoutMs));
  watcher.Stop();
  for (const qxtest::SeenDialog& seen : watcher.Seen())
    if (seen.messageBox && seen.caption == L"QxUpdate") run.messages.push_back(seen.text);
  return run;
}
