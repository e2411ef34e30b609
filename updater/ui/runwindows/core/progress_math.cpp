#include "ui/runwindows/core/progress_math.h"

namespace qxu {

int BarPosition(double percent) {
  // Compared before converting: a cast of NaN or of a huge value is undefined.
  if (!(percent > 0.0)) return 0;
  double position = percent * 10.0 + 0.5;
  if (position >= kBarRange) return kBarRange;
  return static_cast<int>(position);
}

int NextTrayFrame(int frame) { return frame >= 4 || frame < 0 ? 1 : frame + 1; }

int TrayFrameIcon(int frame) { return 11 + frame; }

namespace {
std::size_t Append(wchar_t* out, std::size_t used, std::size_t limit, const wchar_t* text) {
  for (; text && *text && used < limit; ++text) out[used++] = *text;
  return used;
}
}  // namespace

std::size_t FormatTrayTip(const wchar_t* programName, const wchar_t* text, wchar_t* tip,
                          std::size_t tipChars) {
  if (!tip || tipChars == 0) return 0;
  std::size_t limit = tipChars - 1;
  std::size_t used = Append(tip, 0, limit, programName);
  used = Append(tip, used, limit, L"\r\n");
  used = Append(tip, used, limit, text);
  tip[used] = L'\0';
  return used;
}

}  // namespace qxu
