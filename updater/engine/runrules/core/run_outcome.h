// Accounting of per-file outcomes and the result message of a finished run.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

namespace qxu {

// Shared between the window thread and one worker; atomics so that the
// polled flags are seen across threads without further locking.
struct RunState {
  std::atomic<int> updatedCount{0};  // -1 once the run was aborted or cancelled
  std::atomic<int> allSucceeded{0};
  std::atomic<int> keepGoing{1};
  std::atomic<int> busy{0};
};

// One more file updated, unless the run was cancelled or aborted already
// (count -1), which a file finished afterwards must not undo. False then.
bool CountUpdatedFile(RunState& run);

// Counts one outcome. Returns true when it aborts the run (127): the
// updated count becomes -1 and keep going 0; the caller shows the message.
bool AccountOutcome(std::uint8_t outcome, RunState& run);

enum class MessageIcon { None, Information, Warning };

struct ResultMessage {
  MessageIcon icon = MessageIcon::None;  // None: no message at all
  std::wstring text;
};

ResultMessage ResultMessageFor(int updatedCount, int allSucceeded, int information, int confirm);

extern const wchar_t kAbortedText[];  // "中断しました"

}  // namespace qxu
