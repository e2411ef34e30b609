// Writes a few sample pictures for a command-line run of Vantilo.
// Usage: vantilo_samples.exe FOLDER
#include <cstdio>
#include <exception>
#include <string>

#include "app_test_support.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: vantilo_samples FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  using namespace vantilo::test;
  try {
    WriteJpeg(folder + "\\landscape.jpg", MakePicture(1600, 1200, 1));
    WritePng(folder + "\\portrait.png", MakePicture(900, 1400, 3));
    WriteBmp(folder + "\\scan.bmp", MakePicture(640, 480, 5));
    WriteText(folder + "\\notes.txt", "not a picture: skipped\r\n");
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
