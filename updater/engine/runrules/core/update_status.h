// One-byte outcome of the downloader's operations and of the per-file steps.
#pragma once
#include <cstdint>

namespace qxu {

enum UpdateStatus : std::uint8_t {
  kStatusDone = 0,          // up to date, or downloaded and stored
  kStatusNewer = 1,         // server copy newer; or network failure during a download
  kStatusNotAttempted = 2,  // keep going was already 0
  kStatusNoDownload = 3,    // check-then-download found nothing newer
  kStatusLocalFailure = 126,
  kStatusCheckFailed = 127  // also: proxy password dialog cancelled
};

}  // namespace qxu
