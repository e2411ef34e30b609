#include "picture/shrink_engine.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <new>
#include <thread>

#include "extended_precision.h"
#include "jpeg_rows.h"
#include "picture/load_picture.h"
#include "picture/orientation.h"
#include "picture/preview.h"
#include "picture_passes.h"

namespace vantilo {

namespace {
// Few, large bands: every hand-over between the threads may cost a trip
// through the system (under Wine, through its server).
constexpr int kBandRows = 64;
constexpr int kBands = 4;
constexpr int kSaturationAmount = 140;  // decoded rows in flight: bounds memory, not speed

// Rows of one picture on their way from the decoder to the passes.
struct Band {
  ShrinkEngine::Job* job = nullptr;
  enum Kind { kBegin, kRows, kEnd, kFail } kind = kRows;
  int count = 0;
  std::uint8_t* rows[kBandRows] = {};
  std::vector<std::uint8_t> storage;  // decoded rows (pooled bands only)
  // Rows after saturation and the horizontal pass, when the loader did
  // that work itself.
  std::vector<std::uint8_t> prepared;
  bool isPrepared = false;
};
}  // namespace

struct ShrinkEngine::Job {
  std::string path;
  ShrinkOptions options;
  int width = 0, height = 0;
  // A whole picture when the file is not decoded row by row.
  WorkPicture whole;
  PicturePasses passes;
  // Set under the engine's lock.
  bool passesReady = false;  // passes started: rows may be prepared anywhere
  bool loadedKnown = false, loaded = false;
  WorkPicture preview;
  bool done = false, ok = false;
  ShrinkResult result;
};

struct ShrinkEngine::Shared {
  std::mutex lock;
  // One condition per waiter, so that nobody is woken for another's news.
  std::condition_variable passWork, bandFree, jobNews, loadWork;
  std::deque<std::shared_ptr<Job>> toLoad;
  std::deque<Band*> toPass;
  std::vector<Band*> freeBands;
  std::vector<std::unique_ptr<Band>> bands;
  std::map<Ticket, std::shared_ptr<Job>> jobs;
  Ticket nextTicket = 1;
  // The loader ends first; the passes end once its last rows are through.
  bool stopLoading = false, stopPassing = false;
  std::thread loader, passer;
  PicturePasses::Scratch loaderScratch;  // the loader's, when it helps
  // Made by the passes for the first picture that needs them; both threads
  // use them from then on.
  std::unique_ptr<Saturator> saturator;
  std::unique_ptr<Saturator::Cache> colours;

  void Load();
  void Pass();
  void LoadOne(Job& job);
  bool LoadRows(Job& job, const std::vector<std::uint8_t>& bytes);
  bool LoadWhole(Job& job, const std::vector<std::uint8_t>& bytes, PictureKind kind);
  void Send(Band* band);
  // Sends rows, first doing their per-row work here when the passes lag.
  void SendRows(Band* band, PicturePasses::Scratch& scratch);
  Band* Message(Job& job, Band::Kind kind);
  Band* FreeBand();
  void Loaded(Job& job, bool ok, PreviewSampler* sampler);
};

void ShrinkEngine::Shared::SendRows(Band* band, PicturePasses::Scratch& scratch) {
  Job& job = *band->job;
  bool help;
  {
    std::lock_guard<std::mutex> guard(lock);
    help = job.passesReady && toPass.size() >= 2;
  }
  band->isPrepared = false;
  if (help) {
    const std::size_t bytes = 3 * static_cast<std::size_t>(job.passes.OutputWidth());
    band->prepared.resize(bytes * kBandRows);
    for (int i = 0; i < band->count; ++i)
      job.passes.PrepareRow(band->rows[i], band->prepared.data() + bytes * i, scratch);
    band->isPrepared = true;
  }
  Send(band);
}

void ShrinkEngine::Shared::Send(Band* band) {
  {
    std::lock_guard<std::mutex> guard(lock);
    toPass.push_back(band);
  }
  passWork.notify_one();
}

Band* ShrinkEngine::Shared::Message(Job& job, Band::Kind kind) {
  Band* b = FreeBand();
  b->job = &job;
  b->kind = kind;
  b->count = 0;
  return b;
}

Band* ShrinkEngine::Shared::FreeBand() {
  std::unique_lock<std::mutex> guard(lock);
  bandFree.wait(guard, [this] { return !freeBands.empty(); });
  Band* b = freeBands.back();
  freeBands.pop_back();
  return b;
}

void ShrinkEngine::Shared::Loaded(Job& job, bool ok, PreviewSampler* sampler) {
  WorkPicture preview;
  if (ok && sampler) sampler->Take(preview);
  {
    std::lock_guard<std::mutex> guard(lock);
    job.loadedKnown = true;
    job.loaded = ok;
    job.preview = std::move(preview);
  }
  jobNews.notify_all();
}

// Rows straight from the decoder into pooled bands.
bool ShrinkEngine::Shared::LoadRows(Job& job, const std::vector<std::uint8_t>& bytes) {
  JpegRowReader reader;
  if (!reader.Start(bytes.data(), bytes.size())) return false;
  job.width = reader.Width();
  job.height = reader.Height();
  const std::size_t rowBytes = 3 * static_cast<std::size_t>(job.width);
  PreviewSampler sampler;
  sampler.Start(job.width, job.height, job.options.previewWidth, job.options.previewHeight);
  Send(Message(job, Band::kBegin));
  std::vector<std::uint8_t> indices(reader.Indexed() ? static_cast<std::size_t>(job.width) * kBandRows : 0);
  for (int y = 0; y < job.height;) {
    Band* band = Message(job, Band::kRows);
    const int count = std::min(kBandRows, job.height - y);
    band->storage.resize(rowBytes * kBandRows);
    std::uint8_t* targets[kBandRows];
    for (int i = 0; i < count; ++i) {
      band->rows[i] = band->storage.data() + rowBytes * i;
      targets[i] = reader.Indexed() ? indices.data() + static_cast<std::size_t>(job.width) * i : band->rows[i];
    }
    int got = 0;
    while (got < count) {
      const int n = reader.Read(targets + got, count - got);
      if (n <= 0) break;
      got += n;
    }
    if (reader.Indexed())
      for (int i = 0; i < got; ++i) {
        std::uint8_t* out = band->rows[i];
        for (int x = 0; x < job.width; ++x, out += 3) {
          const PaletteEntry& e = reader.Palette()[targets[i][x]];
          out[0] = e.blue;
          out[1] = e.green;
          out[2] = e.red;
        }
      }
    for (int i = 0; i < got; ++i) sampler.Row(y + i, band->rows[i]);
    band->count = got;
    SendRows(band, loaderScratch);
    if (got < count) return false;
    y += got;
  }
  if (!reader.Finish()) return false;
  Loaded(job, true, &sampler);
  return true;
}

// The other formats, and JPEG files that are turned, as a whole picture.
bool ShrinkEngine::Shared::LoadWhole(Job& job, const std::vector<std::uint8_t>& bytes, PictureKind kind) {
  WorkPicture& p = job.whole;
  bool ok = false;
  switch (kind) {
    case PictureKind::Jpeg: ok = DecodeJpeg(bytes.data(), bytes.size(), p); break;
    case PictureKind::Gif: ok = DecodeGif(bytes.data(), bytes.size(), p); break;
    case PictureKind::Png: ok = DecodePng(bytes.data(), bytes.size(), p); break;
    case PictureKind::Bmp: ok = DecodeBmp(bytes.data(), bytes.size(), p); break;
    default: break;
  }
  if (!ok || !p.ConvertTo24Bits()) return false;
  if (kind == PictureKind::Jpeg && job.options.upright &&
      !TurnUpright(p, ExifOrientation(bytes.data(), bytes.size())))
    return false;
  job.width = p.Width();
  job.height = p.Height();
  PreviewSampler sampler;
  sampler.Start(job.width, job.height, job.options.previewWidth, job.options.previewHeight);
  for (int y = 0; y < job.height; ++y) sampler.Row(y, p.Row(y));
  Loaded(job, true, &sampler);
  Send(Message(job, Band::kBegin));
  for (int y = 0; y < job.height; y += kBandRows) {
    Band* band = Message(job, Band::kRows);
    band->count = std::min(kBandRows, job.height - y);
    for (int i = 0; i < band->count; ++i) band->rows[i] = p.Row(y + i);
    SendRows(band, loaderScratch);
  }
  return true;
}

void ShrinkEngine::Shared::LoadOne(Job& job) {
  bool ok = false;
  try {
    const PictureKind kind = PictureKindOf(job.path);
    std::vector<std::uint8_t> bytes;
    if (kind != PictureKind::None && ReadWholeFile(job.path, bytes)) {
      const bool turned = kind == PictureKind::Jpeg && job.options.upright &&
                          ExifOrientation(bytes.data(), bytes.size()) != 1;
      ok = kind == PictureKind::Jpeg && !turned ? LoadRows(job, bytes) : LoadWhole(job, bytes, kind);
    }
  } catch (const std::bad_alloc&) {
    ok = false;
  }
  if (!ok) Loaded(job, false, nullptr);
  Send(Message(job, ok ? Band::kEnd : Band::kFail));
}

void ShrinkEngine::Shared::Load() {
  ExtendedPrecisionScope precision;
  for (;;) {
    std::shared_ptr<Job> job;
    {
      std::unique_lock<std::mutex> guard(lock);
      loadWork.wait(guard, [this] { return stopLoading || !toLoad.empty(); });
      if (toLoad.empty()) return;
      job = toLoad.front();
      toLoad.pop_front();
    }
    LoadOne(*job);
  }
}

void ShrinkEngine::Shared::Pass() {
  ExtendedPrecisionScope precision;
  PicturePasses::Scratch scratch;
  std::vector<std::uint8_t> prepared;
  bool jobOk = false;
  for (;;) {
    Band* band = nullptr;
    {
      std::unique_lock<std::mutex> guard(lock);
      passWork.wait(guard, [this] { return stopPassing || !toPass.empty(); });
      if (toPass.empty()) return;
      band = toPass.front();
      toPass.pop_front();
    }
    Job& job = *band->job;
    try {
      switch (band->kind) {
        case Band::kBegin:
          if (job.options.saturation && !saturator) {
            saturator = std::make_unique<Saturator>(kSaturationAmount);
            colours = std::make_unique<Saturator::Cache>(Saturator::kCacheSize);
          }
          jobOk = precision.Ok() &&
                  job.passes.Start(job.width, job.height, job.options, saturator.get(), colours.get());
          prepared.resize(3 * static_cast<std::size_t>(job.passes.OutputWidth()));
          if (jobOk) {
            std::lock_guard<std::mutex> guard(lock);
            job.passesReady = true;
          }
          break;
        case Band::kRows: {
          const std::size_t bytes = prepared.size();
          for (int i = 0; i < band->count && jobOk; ++i) {
            const std::uint8_t* row = band->prepared.data() + bytes * i;
            if (!band->isPrepared) {
              job.passes.PrepareRow(band->rows[i], prepared.data(), scratch);
              row = prepared.data();
            }
            jobOk = job.passes.Push(row);
          }
          break;
        }
        case Band::kEnd:
        case Band::kFail: {
          ShrinkResult result;
          const bool ok = band->kind == Band::kEnd && jobOk && job.passes.Finish(result);
          job.whole.Clear();
          {
            std::lock_guard<std::mutex> guard(lock);
            job.done = true;
            job.ok = ok;
            job.result = std::move(result);
          }
          jobNews.notify_all();
          jobOk = false;
          break;
        }
      }
    } catch (const std::bad_alloc&) {
      jobOk = false;
    }
    {
      std::lock_guard<std::mutex> guard(lock);
      freeBands.push_back(band);
    }
    bandFree.notify_one();
  }
}

ShrinkEngine::ShrinkEngine() : shared_(std::make_unique<Shared>()) {
  for (int i = 0; i < kBands; ++i) {
    shared_->bands.push_back(std::make_unique<Band>());
    shared_->freeBands.push_back(shared_->bands.back().get());
  }
}

ShrinkEngine::~ShrinkEngine() {
  Shared& s = *shared_;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    s.stopLoading = true;
  }
  s.loadWork.notify_all();
  if (s.loader.joinable()) s.loader.join();
  {
    std::lock_guard<std::mutex> guard(s.lock);
    s.stopPassing = true;
  }
  s.passWork.notify_all();
  if (s.passer.joinable()) s.passer.join();
}

ShrinkEngine::Ticket ShrinkEngine::Submit(const std::string& path, const ShrinkOptions& options) {
  auto job = std::make_shared<Job>();
  job->path = path;
  job->options = options;
  Shared& s = *shared_;
  Ticket t;
  {
    std::lock_guard<std::mutex> guard(s.lock);
    if (!s.loader.joinable()) {
      s.loader = std::thread(&Shared::Load, &s);
      s.passer = std::thread(&Shared::Pass, &s);
    }
    t = s.nextTicket++;
    s.jobs[t] = job;
    s.toLoad.push_back(job);
  }
  s.loadWork.notify_one();
  return t;
}

bool ShrinkEngine::WaitLoaded(Ticket ticket, WorkPicture& preview) {
  Shared& s = *shared_;
  std::unique_lock<std::mutex> guard(s.lock);
  const auto it = s.jobs.find(ticket);
  if (it == s.jobs.end()) return false;
  Job& job = *it->second;
  s.jobNews.wait(guard, [&job] { return job.loadedKnown; });
  preview = std::move(job.preview);
  return job.loaded;
}

bool ShrinkEngine::WaitDone(Ticket ticket, ShrinkResult& result) {
  Shared& s = *shared_;
  std::unique_lock<std::mutex> guard(s.lock);
  const auto it = s.jobs.find(ticket);
  if (it == s.jobs.end()) return false;
  std::shared_ptr<Job> job = it->second;
  s.jobNews.wait(guard, [&job] { return job->done; });
  s.jobs.erase(it);
  result = std::move(job->result);
  return job->ok;
}

bool ShrinkFile(const std::string& path, const ShrinkOptions& options, ShrinkResult& result) {
  ShrinkEngine engine;
  return engine.WaitDone(engine.Submit(path, options), result);
}

}  // namespace vantilo
