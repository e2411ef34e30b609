// Figures for the batch benchmark, taken inside Windows.
//   vantilo_batch_bench decode FILE...     decodes each file as the shrinker
//                                          does, one after another; prints ms
//   vantilo_batch_bench shrink FILE...     the batch's engine alone, no window
//   vantilo_batch_bench run EXE [ARGS...]  runs a program and waits; prints
//                                          ms and its peak working set in KB
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "picture/load_picture.h"
#include "picture/shrink_engine.h"

namespace {

double Now() {
  LARGE_INTEGER f, t;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&t);
  return 1000.0 * static_cast<double>(t.QuadPart) / static_cast<double>(f.QuadPart);
}

std::wstring Quoted(const wchar_t* arg) { return std::wstring(L"\"") + arg + L"\""; }

int Decode(int argc, char** argv) {
  const double t0 = Now();
  for (int i = 2; i < argc; ++i) {
    vantilo::WorkPicture picture;
    if (!vantilo::LoadPicture(argv[i], picture) || !picture.ConvertTo24Bits()) {
      std::fprintf(stderr, "cannot decode %s\n", argv[i]);
      return 1;
    }
  }
  std::printf("%.1f\n", Now() - t0);
  return 0;
}

// The batch without the window: each file handed in once the one before it
// is decoded, as the window does.
int Shrink(int argc, char** argv) {
  const double t0 = Now();
  vantilo::ShrinkEngine engine;
  vantilo::ShrinkOptions options;
  options.previewWidth = 200;
  options.previewHeight = 150;
  std::vector<vantilo::ShrinkEngine::Ticket> tickets;
  tickets.push_back(engine.Submit(argv[2], options));
  for (int i = 2; i < argc; ++i) {
    vantilo::WorkPicture preview;
    engine.WaitLoaded(tickets[i - 2], preview);
    if (i + 1 < argc) tickets.push_back(engine.Submit(argv[i + 1], options));
    vantilo::ShrinkResult result;
    if (!engine.WaitDone(tickets[i - 2], result)) {
      std::fprintf(stderr, "cannot shrink %s\n", argv[i]);
      return 1;
    }
  }
  std::printf("%.1f\n", Now() - t0);
  return 0;
}

int Run() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  if (!argv || argc < 3) return 2;
  std::wstring line = Quoted(argv[2]);
  for (int i = 3; i < argc; ++i) line += L" " + Quoted(argv[i]);
  STARTUPINFOW si{sizeof si};
  PROCESS_INFORMATION pi{};
  const double t0 = Now();
  if (!CreateProcessW(argv[2], &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start the program (%lu)\n", GetLastError());
    return 1;
  }
  // The counters of a process that has ended may be gone: they are read
  // while it runs, and the largest is kept.
  SIZE_T peak = 0;
  for (;;) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters))
      peak = std::max({peak, counters.PeakWorkingSetSize, counters.WorkingSetSize});
    if (WaitForSingleObject(pi.hProcess, 5) != WAIT_TIMEOUT) break;
  }
  const double ms = Now() - t0;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::printf("%.1f %lu\n", ms, static_cast<unsigned long>(peak / 1024));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "decode") return Decode(argc, argv);
  if (mode == "run") return Run();
  if (mode == "shrink" && argc > 2) return Shrink(argc, argv);
  std::fprintf(stderr, "usage: vantilo_batch_bench decode FILE... | run EXE [ARGS...]\n");
  return 2;
}
