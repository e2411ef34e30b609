// JPEG writing through libjpeg with the library's defaults and nothing
// else but quality, gray and progression.
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

#include "jpeg_trap.h"
#include "picture/jpeg_writer.h"

namespace vantilo {

namespace {

// Only trivially destructible locals here: libjpeg errors longjmp back to
// the setjmp below.
bool EncodeJpegTrapped(jpeg_compress_struct* cinfo, JpegTrap* trap, const WorkPicture* picture,
                       const JpegOptions* options, unsigned char** buffer, unsigned long* size) {
  InstallJpegTrap(reinterpret_cast<j_common_ptr>(cinfo), trap);
  if (setjmp(trap->jump)) return false;
  jpeg_create_compress(cinfo);
  jpeg_mem_dest(cinfo, buffer, size);
  cinfo->image_width = static_cast<JDIMENSION>(picture->Width());
  cinfo->image_height = static_cast<JDIMENSION>(picture->Height());
  cinfo->input_components = 3;
  // The library converts blue-green-red input exactly as it converts the
  // same pixels handed over as red-green-blue, without a swapped copy.
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, options->quality, TRUE);
  if (options->gray) jpeg_set_colorspace(cinfo, JCS_GRAYSCALE);
  if (options->progressive) jpeg_simple_progression(cinfo);
  jpeg_start_compress(cinfo, TRUE);
  JSAMPROW rows[16];
  while (cinfo->next_scanline < cinfo->image_height) {
    const JDIMENSION first = cinfo->next_scanline;
    JDIMENSION count = std::min<JDIMENSION>(cinfo->image_height - first, 16);
    for (JDIMENSION i = 0; i < count; ++i)
      rows[i] = const_cast<JSAMPROW>(picture->Row(static_cast<int>(first + i)));
    if (jpeg_write_scanlines(cinfo, rows, count) == 0) return false;
  }
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

bool EncodeJpeg(const WorkPicture& picture, const JpegOptions& options, std::vector<std::uint8_t>& out) {
  out.clear();
  if (picture.Format() != PixelFormat::Bgr24 || options.quality < 1 || options.quality > 100)
    return false;
  jpeg_compress_struct cinfo;
  JpegTrap trap;
  std::memset(&cinfo, 0, sizeof cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  bool ok = EncodeJpegTrapped(&cinfo, &trap, &picture, &options, &buffer, &size);
  jpeg_destroy_compress(&cinfo);
  if (ok) {
    try {
      out.assign(buffer, buffer + size);
    } catch (const std::bad_alloc&) {
      out.clear();
      ok = false;
    }
  }
  std::free(buffer);
  return ok;
}

namespace {

// Candidates are handed out strictly from 100 downwards; a quality is
// skipped only when a higher one already fits, so every quality above the
// winner was tried and found too large, as in the one-by-one search.
class SizeSearch {
 public:
  SizeSearch(const WorkPicture& picture, const JpegOptions& options, std::int64_t target)
      : picture_(picture), options_(options), target_(target) {}

  void Work() {
    std::vector<std::uint8_t> bytes;
    for (;;) {
      const int q = next_.fetch_sub(1);
      if (q < 1 || q < bestFit_.load()) return;
      JpegOptions o = options_;
      o.quality = q;
      const bool ok = EncodeJpeg(picture_, o, bytes);
      std::lock_guard<std::mutex> lock(mutex_);
      if (!ok) {
        failedAbove_ = std::max(failedAbove_, q);
        continue;
      }
      if (static_cast<std::int64_t>(bytes.size()) <= target_) {
        if (q > bestFit_.load()) {
          bestFit_ = q;
          best_.swap(bytes);
        }
      } else if (q == 1) {
        lowest_.swap(bytes);
      }
    }
  }

  bool Finish(SizedJpeg& result) {
    const int fit = bestFit_.load();
    if (failedAbove_ > fit) return false;
    if (fit > 0) {
      result.quality = fit;
      result.bytes.swap(best_);
      return true;
    }
    if (lowest_.empty()) return false;
    result.quality = 1;  // nothing fits: the smallest quality is still written
    result.bytes.swap(lowest_);
    return true;
  }

 private:
  const WorkPicture& picture_;
  const JpegOptions options_;
  const std::int64_t target_;
  std::atomic<int> next_{100};
  std::atomic<int> bestFit_{0};
  std::mutex mutex_;
  int failedAbove_ = 0;
  std::vector<std::uint8_t> best_;
  std::vector<std::uint8_t> lowest_;
};

}  // namespace

bool EncodeJpegWithinSize(const WorkPicture& picture, const JpegOptions& options,
                          std::int64_t targetBytes, SizedJpeg& result) {
  result = SizedJpeg();
  if (picture.Format() != PixelFormat::Bgr24) return false;
  SizeSearch search(picture, options, targetBytes);
  const unsigned cores = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
  std::vector<std::thread> helpers;
  try {
    for (unsigned i = 1; i < cores; ++i) helpers.emplace_back(&SizeSearch::Work, &search);
  } catch (const std::system_error&) {
    // Fewer helpers; this thread alone still completes the search.
  }
  search.Work();
  for (std::thread& t : helpers) t.join();
  return search.Finish(result);
}

bool WriteFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fclose(f) == 0 && ok;
  if (!ok) std::remove(path.c_str());
  return ok;
}

}  // namespace vantilo
