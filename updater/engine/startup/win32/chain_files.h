// Files of the self-update chain: waits that retry while another process of
// the chain still holds a file, the replacement of the program by its new
// copy, and the comparison that tells whether the replacement took place.
#pragma once
#include <functional>
#include <string>

namespace qxu {

// Cycles of one second; the action runs in cycles 0, 4 and 8; the loop ends
// at its goal or after cycle 10.
void WaitLoop(const std::function<void()>& action, const std::function<bool()>& goal);

// Deletes the file, waiting as WaitLoop does until it is gone.
void DeleteLoop(const std::wstring& path);

// Puts a copy of newCopy in place of target in one step, retrying in the
// cycles of WaitLoop while the old program still holds target. The copy is
// made beside target first, so that target is never missing; when no
// attempt succeeds, that copy is removed and target stays as it was.
bool ReplaceProgram(const std::wstring& newCopy, const std::wstring& target);

// The path names an existing file or folder.
bool FileExists(const std::wstring& path);

// Both files exist and hold the same bytes.
bool SameFileContent(const std::wstring& a, const std::wstring& b);

}  // namespace qxu
