#pragma once
// Decisions of the end-of-run command, apart from the result message.

namespace qxu {

// The restart program is opened after every run unless "--no-restart" was
// given and nothing was updated (an aborted run counts as nothing updated).
bool ShouldOpenRestart(const wchar_t* restartProgram, int noRestart, int updatedCount);

// The first description file is deleted only with "--delete-setting" and
// when it still exists.
bool ShouldDeleteDescription(const wchar_t* settingFile, int deleteSetting, bool fileExists);

}  // namespace qxu
