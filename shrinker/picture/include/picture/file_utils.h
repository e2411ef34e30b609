// Small file and time helpers of the shrinker.
#pragma once

#include <cstdint>
#include <string>

namespace vantilo {

// Local date and time as "yyyymmddhhnnss" followed by the milliseconds
// without leading zeros, e.g. "200212312359597".
std::string TimeStamp();
std::string FormatTimeStamp(int year, int month, int day, int hour, int minute, int second,
                            int millisecond);

// Length of the file in bytes, or -1 when no file can be opened at path.
std::int64_t FileSizeOf(const std::string& path);

}  // namespace vantilo
