// Times the picture pipeline on one JPEG: prints the median of several runs
// in milliseconds for one mode.
//   pipeline_bench MODE INPUT.jpg OUTPUT.jpg [RUNS]
// MODE: decode | default | saturation | size
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "picture/filters.h"
#include "picture/jpeg_writer.h"
#include "picture/load_picture.h"
#include "picture/shrink_engine.h"

using namespace vantilo;

namespace {

bool RunOnce(const std::string& mode, const std::string& in, const std::string& out, int& quality) {
  if (mode == "decode") {
    WorkPicture pic;
    return LoadPicture(in, pic) && pic.ConvertTo24Bits();
  }
  ShrinkOptions options;
  options.saturation = mode == "saturation";
  options.jpeg.quality = 92;
  if (mode == "size") options.targetBytes = 150 * 1024;
  ShrinkResult result;
  if (!ShrinkFile(in, options, result)) return false;
  quality = result.quality;
  return WriteFileBytes(out, result.jpeg);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s decode|default|saturation|size in.jpg out.jpg [runs]\n", argv[0]);
    return 2;
  }
  const std::string mode = argv[1];
  const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  std::vector<double> ms;
  int quality = 0;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = std::chrono::steady_clock::now();
    if (!RunOnce(mode, argv[2], argv[3], quality)) {
      std::fprintf(stderr, "%s failed\n", mode.c_str());
      return 1;
    }
    const auto t1 = std::chrono::steady_clock::now();
    ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
  }
  std::sort(ms.begin(), ms.end());
  std::printf("%.1f %d\n", ms[ms.size() / 2], quality);
  return 0;
}
