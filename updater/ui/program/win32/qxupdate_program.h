#pragma once
// QxUpdate as shipped: the start-up and engine with the windows, the dialogs
// and the about box.
namespace qxu {

// Runs the whole process; the result is the process's exit code.
int RunQxUpdate(const wchar_t* commandLine, const wchar_t* selfUpdateServer);

}  // namespace qxu
