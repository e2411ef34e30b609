#pragma once
// Keeps the proxy password out of plain sight in the setting file and on
// command lines. Not encryption: anyone with this build can read it back.
//
// The alphabet order and the two permutations are part of the stored format:
// changing them makes every stored password unreadable.
#include <cstddef>

namespace qxu {

inline constexpr wchar_t kPasswordAlphabet[] =
    L"ZaYbXcWdVeUfTgShRiQjPkOlNmMnLoKpJqIrHsGtFuEvDwCxByAz";
inline constexpr unsigned short kPasswordPermutation1[8] = {3, 7, 1, 5, 0, 6, 2, 4};
inline constexpr unsigned short kPasswordPermutation2[8] = {6, 2, 4, 0, 7, 1, 5, 3};

// Characters needed (terminator included) for the scrambled form of a
// password of plainLength characters.
std::size_t ScrambledBufferSize(std::size_t plainLength);

// 1 and the scrambled text in out (digits and letters, a multiple of 16 long);
// 0 for no buffer, an empty password (out becomes empty), a character outside
// 33..126 or a buffer of fewer than ScrambledBufferSize characters (out untouched).
int ScramblePassword(const wchar_t* plain, wchar_t* out, std::size_t outSize);

// 1 and the plain text in out; 1 with out untouched for a missing text; 0 for
// no buffer, a pair that is no code, an odd length or a buffer too small
// (out untouched). Needs at most length / 2 + 1 characters of buffer.
int UnscramblePassword(const wchar_t* scrambled, wchar_t* out, std::size_t outSize);

}  // namespace qxu
