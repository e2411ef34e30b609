#include <windows.h>

#include <climits>
#include <clocale>

#include "engine/description/core/text_conversion.h"

namespace qxu {

// The code page of the C runtime's locale (932 once the process set "jpn"),
// converted the way the platform does by default: byte sequences without a
// character become the code page's default character instead of ending the text.
std::size_t ConvertLocaleText(const char* bytes, std::size_t length, wchar_t* out) {
  out[0] = 0;
  if (length == 0 || length > static_cast<std::size_t>(INT_MAX)) return 0;
  UINT codePage = ___lc_codepage_func();
  if (codePage == 0) codePage = CP_ACP;  // the "C" locale
  const int written = MultiByteToWideChar(codePage, 0, bytes, static_cast<int>(length), out,
                                          static_cast<int>(length));
  const std::size_t count = written > 0 ? static_cast<std::size_t>(written) : 0;
  out[count] = 0;
  return count;
}

// Malformed sequences become U+FFFD (no MB_ERR_INVALID_CHARS), as Notepad reads them.
std::size_t ConvertUtf8Text(const char* bytes, std::size_t length, wchar_t* out) {
  out[0] = 0;
  if (length == 0 || length > static_cast<std::size_t>(INT_MAX)) return 0;
  const int written = MultiByteToWideChar(CP_UTF8, 0, bytes, static_cast<int>(length), out,
                                          static_cast<int>(length));
  const std::size_t count = written > 0 ? static_cast<std::size_t>(written) : 0;
  out[count] = 0;
  return count;
}

}  // namespace qxu
