// Progress figure reported after every chunk of a download.
#pragma once
#include <cstdint>

namespace qxu {

// Percentage of `received` out of `total`. Without a known total the figure
// climbs 0..100 over every 100 KiB and starts again. Computed in 64 bits so
// files beyond 42 MB do not wrap (received * 100 overflowed 32 bits there).
double DownloadPercent(std::uint64_t received, std::uint64_t total);

}  // namespace qxu
