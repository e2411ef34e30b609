#pragma once
// String comparison and the walk over double-zero-terminated name lists.

namespace qxu {

// 1 when a and b are equal over their whole length; a missing string equals
// a missing or empty one. With ignoreCase, characters are lower-cased first.
int SameText(const wchar_t* a, const wchar_t* b, int ignoreCase);

// The name after the one at position, or none at the end of the list (also
// for a missing position or one that already is the list's closing empty name).
const wchar_t* NextName(const wchar_t* position);

}  // namespace qxu
