// Times one run of a program, answering its message boxes.
// usage: updater_bench_runner.exe EXE FOLDER ARGUMENTS
#include <windows.h>

#include <cstdio>
#include <string>

#include "ui/program/tests/program_runner.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: updater_bench_runner EXE FOLDER ARGUMENTS\n");
    return 2;
  }
  LARGE_INTEGER f, a, b;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&a);
  const ProgramRun run = RunProgram(argv[1], argv[3], argv[2], 3600000);
  QueryPerformanceCounter(&b);
  std::printf("elapsed_ms=%.1f exit=%lu messages=%u\n", (b.QuadPart - a.QuadPart) * 1000.0 / f.QuadPart,
              run.exitCode, static_cast<unsigned>(run.messages.size()));
  return 0;
}
