// Reading picture files into the working picture.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "picture/work_picture.h"

namespace vantilo {

enum class PictureKind { None, Jpeg, Gif, Png, Bmp };

// By extension only (".jpg", ".jpeg", ".gif", ".png", ".bmp", any letter
// case); the content is never sniffed. Narrow path: the ANSI code page on
// Windows, UTF-8 elsewhere.
PictureKind PictureKindOf(const std::string& path);

// Replaces the picture with the file's first image. On any failure (missing
// file, unknown extension, decoder error, truncated or hostile data) returns
// false and leaves the picture empty. Never ends the process. With upright,
// a JPEG is turned by its EXIF orientation.
bool LoadPicture(const std::string& path, WorkPicture& picture, bool upright = false);

// The whole file, or false.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes);

// The decoders on bytes already in memory, used by LoadPicture and by the
// robustness tests. Same contract as LoadPicture.
bool DecodeJpeg(const std::uint8_t* data, std::size_t size, WorkPicture& picture);
bool DecodeGif(const std::uint8_t* data, std::size_t size, WorkPicture& picture);
bool DecodePng(const std::uint8_t* data, std::size_t size, WorkPicture& picture);
bool DecodeBmp(const std::uint8_t* data, std::size_t size, WorkPicture& picture);

}  // namespace vantilo
