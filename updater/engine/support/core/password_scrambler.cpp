#include "engine/support/core/password_scrambler.h"

#include <cstdint>
#include <cwchar>

#include "engine/support/core/owned_string.h"

namespace qxu {
namespace {

constexpr int kCodeCount = 95;  // characters 32 (space) to 126
constexpr int kBlock = 8;

// Entry k: digit k mod 10, then letter k mod 52 of the alphabet. The pair of
// counters repeats only after 260 entries, so the 95 codes are distinct.
inline wchar_t CodeDigit(int k) { return static_cast<wchar_t>(L'0' + k % 10); }
inline wchar_t CodeLetter(int k) { return kPasswordAlphabet[k % 52]; }

int DecodePair(wchar_t digit, wchar_t letter) {
  for (int k = 0; k < kCodeCount; ++k)
    if (CodeDigit(k) == digit && CodeLetter(k) == letter) return k;
  return -1;
}

void Permute(const wchar_t* in, wchar_t* out, const unsigned short* order) {
  for (int k = 0; k < kBlock; ++k) out[k] = in[order[k]];
}

void Unpermute(const wchar_t* in, wchar_t* out, const unsigned short* order) {
  for (int k = 0; k < kBlock; ++k) out[order[k]] = in[k];
}

}  // namespace

std::size_t ScrambledBufferSize(std::size_t plainLength) {
  const std::size_t padded = (plainLength + kBlock - 1) / kBlock * kBlock;
  return padded * 2 + 1;
}

int ScramblePassword(const wchar_t* plain, wchar_t* out, std::size_t outSize) {
  if (!out || outSize == 0) return 0;
  if (!plain || !*plain) {
    out[0] = 0;
    return 0;
  }
  const std::size_t length = std::wcslen(plain);
  for (std::size_t i = 0; i < length; ++i)
    if (plain[i] < 33 || plain[i] > 126) return 0;
  if (length > SIZE_MAX / 4 || outSize < ScrambledBufferSize(length)) return 0;

  // Each padded block of 8 becomes two blocks of 8 after substitution.
  std::size_t written = 0;
  for (std::size_t start = 0; start < length; start += kBlock) {
    wchar_t block[kBlock];
    for (int k = 0; k < kBlock; ++k)
      block[k] = start + k < length ? plain[start + k] : L' ';
    wchar_t permuted[kBlock];
    Permute(block, permuted, kPasswordPermutation1);
    wchar_t doubled[2 * kBlock];
    for (int k = 0; k < kBlock; ++k) {
      const int code = permuted[k] - 32;
      doubled[2 * k] = CodeDigit(code);
      doubled[2 * k + 1] = CodeLetter(code);
    }
    Permute(doubled, out + written, kPasswordPermutation2);
    Permute(doubled + kBlock, out + written + kBlock, kPasswordPermutation2);
    written += 2 * kBlock;
  }
  out[written] = 0;
  return 1;
}

int UnscramblePassword(const wchar_t* scrambled, wchar_t* out, std::size_t outSize) {
  if (!out || outSize == 0) return 0;
  if (!scrambled) return 1;
  const std::size_t length = std::wcslen(scrambled);
  if (length == 0) {
    out[0] = 0;
    return 1;
  }
  if (length % 2 != 0 || outSize < length / 2 + 1) return 0;

  OwnedString work(AllocChars(length));
  OwnedString decoded(AllocChars(length / 2));
  if (!work || !decoded) return 0;
  wchar_t* text = work.get();
  // A tail shorter than a block is carried through unpermuted.
  std::wmemcpy(text, scrambled, length);
  for (std::size_t start = 0; start + kBlock <= length; start += kBlock)
    Unpermute(scrambled + start, text + start, kPasswordPermutation2);

  const std::size_t plainLength = length / 2;
  wchar_t* plain = decoded.get();
  for (std::size_t i = 0; i < plainLength; ++i) {
    const int code = DecodePair(text[2 * i], text[2 * i + 1]);
    if (code < 0) return 0;
    plain[i] = static_cast<wchar_t>(32 + code);
  }
  for (std::size_t start = 0; start + kBlock <= plainLength; start += kBlock) {
    wchar_t block[kBlock];
    Unpermute(plain + start, block, kPasswordPermutation1);
    std::wmemcpy(plain + start, block, kBlock);
  }
  std::size_t end = plainLength;
  while (end > 0 && plain[end - 1] == L' ') --end;
  std::wmemcpy(out, plain, end);
  out[end] = 0;
  return 1;
}

}  // namespace qxu
