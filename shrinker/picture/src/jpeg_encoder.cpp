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

#include <jerror.h>

#include "encode_stream.h"
#include "jpeg_rows_out.h"
#include "picture/jpeg_writer.h"

namespace vantilo {

namespace {

extern "C" void InitDestination(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<JpegRowWriter::Destination*>(cinfo->dest);
  d->size = 64 * 1024;
  d->data = static_cast<unsigned char*>(std::malloc(d->size));
  if (!d->data) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  d->manager.next_output_byte = d->data;
  d->manager.free_in_buffer = d->size;
}

extern "C" boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
  auto* d = reinterpret_cast<JpegRowWriter::Destination*>(cinfo->dest);
  const std::size_t used = d->size;  // the library hands over a full buffer
  auto* grown = static_cast<unsigned char*>(std::realloc(d->data, used * 2));
  if (!grown) ERREXIT(cinfo, JERR_OUT_OF_MEMORY);
  d->data = grown;
  d->size = used * 2;
  d->manager.next_output_byte = d->data + used;
  d->manager.free_in_buffer = d->size - used;
  return TRUE;
}

extern "C" void TermDestination(j_compress_ptr) {}

// Only trivially destructible locals in the trapped functions: libjpeg
// errors longjmp back to their setjmp.
bool CreateTrapped(jpeg_compress_struct* cinfo, JpegTrap* trap) {
  InstallJpegTrap(reinterpret_cast<j_common_ptr>(cinfo), trap);
  if (setjmp(trap->jump)) return false;
  jpeg_create_compress(cinfo);
  return true;
}

bool StartTrapped(jpeg_compress_struct* cinfo, JpegTrap* trap, JpegRowWriter::Destination* dest, int width,
                  int height, const JpegOptions* options) {
  if (setjmp(trap->jump)) return false;
  dest->manager.init_destination = InitDestination;
  dest->manager.empty_output_buffer = EmptyOutputBuffer;
  dest->manager.term_destination = TermDestination;
  cinfo->dest = &dest->manager;
  cinfo->image_width = static_cast<JDIMENSION>(width);
  cinfo->image_height = static_cast<JDIMENSION>(height);
  cinfo->input_components = 3;
  // The library converts blue-green-red input exactly as it converts the
  // same pixels handed over as red-green-blue, without a swapped copy.
  cinfo->in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);
  jpeg_set_quality(cinfo, options->quality, TRUE);
  if (options->gray) jpeg_set_colorspace(cinfo, JCS_GRAYSCALE);
  if (options->progressive) jpeg_simple_progression(cinfo);
  jpeg_start_compress(cinfo, TRUE);
  return true;
}

bool WriteTrapped(jpeg_compress_struct* cinfo, JpegTrap* trap, const std::uint8_t* const* rows, int count) {
  if (setjmp(trap->jump)) return false;
  int done = 0;
  while (done < count) {
    const JDIMENSION n = jpeg_write_scanlines(cinfo, const_cast<JSAMPARRAY>(rows + done),
                                              static_cast<JDIMENSION>(count - done));
    if (n == 0) return false;
    done += static_cast<int>(n);
  }
  return true;
}

bool FinishTrapped(jpeg_compress_struct* cinfo, JpegTrap* trap) {
  if (setjmp(trap->jump)) return false;
  jpeg_finish_compress(cinfo);
  return true;
}

}  // namespace

JpegRowWriter::JpegRowWriter() {
  std::memset(&cinfo_, 0, sizeof cinfo_);
  CreateTrapped(&cinfo_, &trap_);
}

JpegRowWriter::~JpegRowWriter() {
  jpeg_destroy_compress(&cinfo_);
  std::free(dest_.data);
}

bool JpegRowWriter::Start(int width, int height, const JpegOptions& options) {
  if (!cinfo_.mem || started_ || width <= 0 || height <= 0 || options.quality < 1 || options.quality > 100)
    return false;
  started_ = true;
  return StartTrapped(&cinfo_, &trap_, &dest_, width, height, &options);
}

bool JpegRowWriter::Write(const std::uint8_t* const* rows, int count) {
  if (!started_ || finished_ || !WriteTrapped(&cinfo_, &trap_, rows, count)) return false;
  rows_ += count;
  return true;
}

bool JpegRowWriter::Finish() {
  if (!started_ || finished_) return false;
  finished_ = FinishTrapped(&cinfo_, &trap_);
  return finished_;
}

std::size_t JpegRowWriter::BytesSoFar() const {
  return dest_.data ? dest_.size - dest_.manager.free_in_buffer : 0;
}

std::vector<std::uint8_t> JpegRowWriter::Take() {
  if (!finished_) return {};
  return std::vector<std::uint8_t>(dest_.data, dest_.data + BytesSoFar());
}

bool EncodeJpeg(const WorkPicture& picture, const JpegOptions& options, std::vector<std::uint8_t>& out) {
  out.clear();
  if (picture.Format() != PixelFormat::Bgr24) return false;
  try {
    JpegRowWriter writer;
    if (!writer.Start(picture.Width(), picture.Height(), options)) return false;
    const std::uint8_t* rows[16];
    for (int y = 0; y < picture.Height();) {
      const int count = std::min(picture.Height() - y, 16);
      for (int i = 0; i < count; ++i) rows[i] = picture.Row(y + i);
      if (!writer.Write(rows, count)) return false;
      y += count;
    }
    if (!writer.Finish()) return false;
    out = writer.Take();
    return true;
  } catch (const std::bad_alloc&) {
    out.clear();
    return false;
  }
}

namespace {

// Candidates are handed out strictly from 100 downwards; a quality is
// skipped only when a higher one already fits, so every quality above the
// winner was tried and found too large, as in the one-by-one search.
class SizeSearch {
 public:
  SizeSearch(const WorkPicture& picture, const JpegOptions& options, std::int64_t target, int from)
      : picture_(picture), options_(options), target_(target), next_(from) {}

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
  std::atomic<int> next_;
  std::atomic<int> bestFit_{0};
  std::mutex mutex_;
  int failedAbove_ = 0;
  std::vector<std::uint8_t> best_;
  std::vector<std::uint8_t> lowest_;
};

}  // namespace

bool EncodeJpegWithinSize(const WorkPicture& picture, const JpegOptions& options,
                          std::int64_t targetBytes, SizedJpeg& result) {
  return EncodeJpegWithinSizeFrom(picture, options, targetBytes, 100, result);
}

bool EncodeJpegWithinSizeFrom(const WorkPicture& picture, const JpegOptions& options, std::int64_t targetBytes,
                              int from, SizedJpeg& result) {
  result = SizedJpeg();
  if (picture.Format() != PixelFormat::Bgr24 || from < 1 || from > 100) return false;
  SizeSearch search(picture, options, targetBytes, from);
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
