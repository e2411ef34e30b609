// Corrupted inputs for every decoder: deterministic mutations of valid
// seeds, and replay of the fuzzers' corpus. Each must end in a clean
// success or a clean failure (the sanitizer build catches the rest).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "picture/filters.h"
#include "picture/orientation.h"
#include "seed_pictures.h"
#include "test_pictures.h"

namespace vantilo {
namespace {

namespace fs = std::filesystem;

constexpr PictureKind kKinds[] = {PictureKind::Jpeg, PictureKind::Gif, PictureKind::Png,
                                  PictureKind::Bmp};

// A loaded picture must be consistent and usable by the rest of the
// pipeline; a failed one must be empty.
void CheckOutcome(test::Decoder decode, const std::vector<std::uint8_t>& bytes) {
  // Any bytes may carry a broken EXIF block; reading it never fails.
  const int orientation = ExifOrientation(bytes.data(), bytes.size());
  ASSERT_TRUE(orientation >= 1 && orientation <= 8);
  WorkPicture pic;
  // Stale content from an earlier picture must never survive a failure.
  pic.SetSize(3, 3);
  const bool ok = decode(bytes.data(), bytes.size(), pic);
  if (!ok) {
    ASSERT_TRUE(pic.Empty());
    return;
  }
  ASSERT_GT(pic.Width(), 0);
  ASSERT_GT(pic.Height(), 0);
  ASSERT_TRUE(pic.ConvertTo24Bits());
  if (std::int64_t{pic.Width()} * pic.Height() <= 1 << 20) {
    ASSERT_TRUE(TurnUpright(pic, orientation));
    ASSERT_TRUE(ShrinkFit(pic, pic, 8, 8) || pic.Width() > 8 || pic.Height() > 8);
  }
}

std::vector<std::uint8_t> Mutate(const std::vector<std::uint8_t>& seed, test::Lcg& rng) {
  std::vector<std::uint8_t> v = seed;
  if (v.empty()) return v;
  const int edits = 1 + rng.Below(4);
  for (int e = 0; e < edits && !v.empty(); ++e) {
    const std::size_t at = static_cast<std::size_t>(rng.Below(static_cast<int>(v.size())));
    switch (rng.Below(7)) {
      case 0: v[at] ^= static_cast<std::uint8_t>(1 << rng.Below(8)); break;
      case 1: v[at] = 0; break;
      case 2: v[at] = 0xFF; break;
      case 3: v[at] = static_cast<std::uint8_t>(rng.Next()); break;
      case 4: v.resize(at); break;  // truncation
      case 5: v.insert(v.begin() + at, static_cast<std::uint8_t>(rng.Next())); break;
      default: {  // duplicate a short stretch elsewhere
        const std::size_t from = static_cast<std::size_t>(rng.Below(static_cast<int>(v.size())));
        const std::size_t n = std::min<std::size_t>(1 + rng.Below(16), v.size() - from);
        std::vector<std::uint8_t> piece(v.begin() + from, v.begin() + from + n);
        v.insert(v.begin() + at, piece.begin(), piece.end());
      }
    }
  }
  return v;
}

TEST(DecoderRobustness, SeedsDecode) {
  for (PictureKind kind : kKinds)
    for (const test::Seed& seed : test::SeedsFor(kind)) {
      WorkPicture pic;
      const bool ok = test::DecoderFor(kind)(seed.bytes.data(), seed.bytes.size(), pic);
      EXPECT_EQ(ok, seed.name != "cmyk.jpg") << seed.name;
    }
}

TEST(DecoderRobustness, DeterministicMutations) {
  for (PictureKind kind : kKinds) {
    test::Lcg rng(2026);
    for (const test::Seed& seed : test::SeedsFor(kind)) {
      for (int n = 0; n < 400; ++n) {
        const std::vector<std::uint8_t> bytes = Mutate(seed.bytes, rng);
        CheckOutcome(test::DecoderFor(kind), bytes);
        if (HasFatalFailure()) {
          ADD_FAILURE() << seed.name << " mutation " << n;
          return;
        }
      }
      // Every prefix, since truncation is the commonest damage.
      for (std::size_t len = 0; len < seed.bytes.size(); len += 1 + seed.bytes.size() / 97)
        CheckOutcome(test::DecoderFor(kind),
                     std::vector<std::uint8_t>(seed.bytes.begin(), seed.bytes.begin() + len));
    }
  }
}

TEST(DecoderRobustness, CorpusReplay) {
  const fs::path root = PICTURE_CORPUS_DIR;
  int replayed = 0;
  for (PictureKind kind : kKinds) {
    const fs::path dir = root / test::FolderFor(kind);
    if (!fs::is_directory(dir)) continue;
    for (const fs::directory_entry& e : fs::directory_iterator(dir)) {
      if (!e.is_regular_file()) continue;
      CheckOutcome(test::DecoderFor(kind), test::ReadBytes(e.path().string()));
      ++replayed;
    }
  }
  EXPECT_GT(replayed, 0) << "no corpus under " << root.string();
}

// Refreshes the fuzzers' seed corpus: run with SHRINKER_PICTURE_WRITE_SEEDS
// set to the corpus folder.
TEST(DecoderRobustness, WriteSeedsWhenAsked) {
  const char* out = std::getenv("SHRINKER_PICTURE_WRITE_SEEDS");
  if (!out || !*out) GTEST_SKIP() << "seed writing not requested";
  for (PictureKind kind : kKinds) {
    const fs::path dir = fs::path(out) / test::FolderFor(kind);
    fs::create_directories(dir);
    for (const test::Seed& seed : test::SeedsFor(kind)) {
      std::FILE* f = std::fopen((dir / ("seed-" + seed.name)).string().c_str(), "wb");
      ASSERT_NE(f, nullptr);
      std::fwrite(seed.bytes.data(), 1, seed.bytes.size(), f);
      std::fclose(f);
    }
  }
}

}  // namespace
}  // namespace vantilo
