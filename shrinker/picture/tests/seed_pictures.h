// Small valid files of every format: seeds for the mutation tests and the
// fuzzers' starting corpus.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "picture/load_picture.h"

namespace vantilo::test {

struct Seed {
  std::string name;  // file name with the format's extension
  std::vector<std::uint8_t> bytes;
};

std::vector<Seed> SeedsFor(PictureKind kind);

using Decoder = bool (*)(const std::uint8_t*, std::size_t, WorkPicture&);
Decoder DecoderFor(PictureKind kind);
const char* FolderFor(PictureKind kind);  // "jpeg", "gif", "png", "bmp"

}  // namespace vantilo::test
