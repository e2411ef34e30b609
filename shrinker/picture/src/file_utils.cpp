#include "picture/file_utils.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace vantilo {

std::string FormatTimeStamp(int year, int month, int day, int hour, int minute, int second,
                            int millisecond) {
  char text[64];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d%d", year, month, day, hour, minute,
                second, millisecond);
  return text;
}

std::string TimeStamp() {
  using namespace std::chrono;
  const auto now = system_clock::now();
  const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
  const std::time_t seconds = system_clock::to_time_t(now);
  std::tm local{};
#ifdef _WIN32
  localtime_s(&local, &seconds);
#else
  localtime_r(&seconds, &local);
#endif
  return FormatTimeStamp(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                         local.tm_min, local.tm_sec, static_cast<int>(ms));
}

std::int64_t FileSizeOf(const std::string& path) {
  // Read access is enough to measure; asking for write access would make
  // every read-only file look unmeasurable.
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return -1;
  std::int64_t size = -1;
#ifdef _WIN32
  if (_fseeki64(f, 0, SEEK_END) == 0) size = _ftelli64(f);
#else
  if (fseeko(f, 0, SEEK_END) == 0) size = ftello(f);
#endif
  std::fclose(f);
  return size < 0 ? -1 : size;
}

}  // namespace vantilo
