#include "engine/runrules/core/download_progress.h"

namespace qxu {

double DownloadPercent(std::uint64_t received, std::uint64_t total) {
  if (total == 0) return static_cast<double>(received % 102400) / 1024.0;
  if (received >= total) return 100.0;
  return static_cast<double>(received) * 100.0 / static_cast<double>(total);
}

}  // namespace qxu
