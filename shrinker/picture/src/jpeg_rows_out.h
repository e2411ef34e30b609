// libjpeg's encoder fed a few rows at a time, into memory of its own, with
// the shrinker's parameters: the library's defaults and nothing else but
// quality, gray and progression.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "jpeg_trap.h"
#include "picture/jpeg_writer.h"

namespace vantilo {

class JpegRowWriter {
 public:
  JpegRowWriter();
  ~JpegRowWriter();
  JpegRowWriter(const JpegRowWriter&) = delete;
  JpegRowWriter& operator=(const JpegRowWriter&) = delete;

  bool Start(int width, int height, const JpegOptions& options);
  // The next rows of blue-green-red pixels, top to bottom.
  bool Write(const std::uint8_t* const* rows, int count);
  bool Finish();
  // What the file holds so far; it never shrinks, so a file already larger
  // than a target will be larger at the end.
  std::size_t BytesSoFar() const;
  // The whole file, after Finish.
  std::vector<std::uint8_t> Take();
  int RowsWritten() const { return rows_; }

  // The growing output buffer, reached from libjpeg's callbacks.
  struct Destination {
    jpeg_destination_mgr manager;
    unsigned char* data;
    std::size_t size;
  };

 private:
  jpeg_compress_struct cinfo_;
  JpegTrap trap_;
  Destination dest_{};
  bool started_ = false, finished_ = false;
  int rows_ = 0;
};

}  // namespace vantilo
