// JPEG output of the working picture, entirely in memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "picture/work_picture.h"

namespace vantilo {

struct JpegOptions {
  int quality = 92;          // 1..100
  bool gray = false;         // one-component gray file
  bool progressive = false;  // the library's simple progression
};

// Encodes a Bgr24 picture into a complete JPEG file image. False on any
// encoder error; never ends the process.
bool EncodeJpeg(const WorkPicture& picture, const JpegOptions& options, std::vector<std::uint8_t>& out);

struct SizedJpeg {
  int quality = 0;                 // the chosen quality, 1..100
  std::vector<std::uint8_t> bytes;  // exactly the file to write
};

// Highest quality from 100 down whose file is at most targetBytes; quality 1
// when none fits. options.quality is ignored. Same result as trying 100, 99,
// ... one after another, but candidates are encoded in parallel.
bool EncodeJpegWithinSize(const WorkPicture& picture, const JpegOptions& options,
                          std::int64_t targetBytes, SizedJpeg& result);

// Writes the bytes to path, replacing an existing file. On failure no
// partial file is left behind.
bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace vantilo
