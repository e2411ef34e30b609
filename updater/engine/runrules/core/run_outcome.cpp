#include "engine/runrules/core/run_outcome.h"

#include "engine/runrules/core/update_status.h"

namespace qxu {

const wchar_t kAbortedText[] = L"中断しました";

bool CountUpdatedFile(RunState& run) {
  int count = run.updatedCount;
  // The window thread may store -1 at any moment; never write over it.
  while (count >= 0 && !run.updatedCount.compare_exchange_weak(count, count + 1)) {
  }
  return count >= 0;
}

bool AccountOutcome(std::uint8_t outcome, RunState& run) {
  switch (outcome) {
    case kStatusDone:
      CountUpdatedFile(run);
      return false;
    case kStatusNewer:
    case kStatusLocalFailure:
      run.allSucceeded = 0;
      return false;
    case kStatusCheckFailed:
      run.updatedCount = -1;
      run.keepGoing = 0;
      return true;
    default:
      return false;
  }
}

ResultMessage ResultMessageFor(int updatedCount, int allSucceeded, int information, int confirm) {
  ResultMessage m;
  if (updatedCount > 0) {
    if (information != 1) return m;
    m.icon = MessageIcon::Information;
    m.text = std::to_wstring(updatedCount) + L"個のファイルをアップデートしました";
    if (allSucceeded != 1) m.text += L"\r\nアップデートに失敗したものがあるようです";
  } else if (updatedCount == 0 && confirm == 0) {
    if (allSucceeded == 1) {
      if (information != 1) return m;
      m.icon = MessageIcon::Information;
      m.text = L"アップデートの必要はありません";
    } else {
      m.icon = MessageIcon::Warning;
      m.text = L"アップデートに失敗しました";
    }
  }
  return m;
}

}  // namespace qxu
