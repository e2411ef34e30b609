// Pictures shrunk one after another on two threads: one decodes, the other
// runs saturation, the two resampling passes, sharpening and the encoders
// on the rows already decoded, so that no full-size picture is kept and
// the next picture is read while the last one is finished. The results are
// byte for byte those of the whole-picture functions in filters.h and
// jpeg_writer.h, in the same order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "picture/jpeg_writer.h"
#include "picture/work_picture.h"

namespace vantilo {

// What to do with one picture: a value, fixed when the picture is handed in.
struct ShrinkOptions {
  bool upright = true;         // turn JPEG files by their EXIF orientation
  bool saturation = false;     // RaiseSaturation with amount 140 first
  int boxWidth = 1280, boxHeight = 1280;  // ShrinkFit into this box
  bool sharpen = true;         // then Sharpen with this strength
  int strength = 80;
  JpegOptions jpeg;            // quality (quality mode), gray, progressive
  std::int64_t targetBytes = -1;  // 0 or more: the size search instead
  int previewWidth = 0, previewHeight = 0;  // the preview's size, 0: none
};

struct ShrinkResult {
  int quality = 0;                  // the quality the file was made at
  std::vector<std::uint8_t> jpeg;   // the whole file
};

class ShrinkEngine {
 public:
  ShrinkEngine();
  ~ShrinkEngine();  // waits for the pictures in hand
  ShrinkEngine(const ShrinkEngine&) = delete;
  ShrinkEngine& operator=(const ShrinkEngine&) = delete;

  using Ticket = int;
  // Queues a picture file (narrow path, the kind by its extension); pictures
  // are read in the order they were handed in.
  Ticket Submit(const std::string& path, const ShrinkOptions& options);
  // Waits until the file is decoded: true with its preview (empty when
  // none was asked for), false when it could not be loaded.
  bool WaitLoaded(Ticket ticket, WorkPicture& preview);
  // Waits for the end of the picture: true with its file, false when it
  // failed anywhere. The ticket is spent afterwards.
  bool WaitDone(Ticket ticket, ShrinkResult& result);

  struct Job;
  struct Shared;

 private:
  std::unique_ptr<Shared> shared_;
};

// One picture through the engine, start to end.
bool ShrinkFile(const std::string& path, const ShrinkOptions& options, ShrinkResult& result);

}  // namespace vantilo
