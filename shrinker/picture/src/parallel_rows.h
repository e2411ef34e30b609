// Shares independent rows out between the cores. Each part computes the
// same bytes it would compute alone, so results never depend on the split.
#pragma once

#include <algorithm>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

namespace vantilo {

// An exception must not leave a helper thread (that would end the process).
template <class Part>
char Guarded(Part& part, int begin, int end) {
  try {
    return part(begin, end) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

// Calls part(begin, end) for consecutive ranges covering [0, count), one on
// this thread and the others on helper threads; rows below minRows per part
// are not worth a thread. True when every part returned true.
template <class Part>
bool ForRowRanges(int count, int minRows, Part part) {
  const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  const int parts = static_cast<int>(std::max<std::int64_t>(
      1, std::min<std::int64_t>(cores, count / std::max(1, minRows))));
  std::vector<std::thread> helpers;
  std::vector<char> results(static_cast<std::size_t>(parts), 1);
  int begin = 0;
  for (int i = 1; i < parts; ++i) {
    const int end = static_cast<int>(std::int64_t{count} * i / parts);
    try {
      helpers.emplace_back([&part, &results, i, begin, end] { results[i] = Guarded(part, begin, end); });
    } catch (const std::system_error&) {
      results[i] = Guarded(part, begin, end);  // no thread to spare: do it here
    }
    begin = end;
  }
  results[0] = Guarded(part, begin, count);
  for (std::thread& t : helpers) t.join();
  return std::all_of(results.begin(), results.end(), [](char ok) { return ok != 0; });
}

}  // namespace vantilo
