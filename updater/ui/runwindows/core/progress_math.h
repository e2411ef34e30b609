#pragma once
// Figures shown while a worker runs: bar positions and tray animation frames.
#include <cstddef>

namespace qxu {

inline constexpr int kBarRange = 1000;

// Bar position for a percentage: value * 10 + 0.5 cut to an integer. Values
// outside 0..100 (or not a number) land on the nearest end of the bar.
int BarPosition(double percent);

// Tray animation: frames 1..4 in turn, starting from 0 (none shown yet).
int NextTrayFrame(int frame);

// Icon of a frame 1..4: 12, 13, 14, 15.
int TrayFrameIcon(int frame);

// Tray tip "<program>\r\n<text>", cut to the platform's limit of 127
// characters plus the terminating zero. Returns the characters written.
inline constexpr std::size_t kTrayTipChars = 128;
std::size_t FormatTrayTip(const wchar_t* programName, const wchar_t* text, wchar_t* tip,
                          std::size_t tipChars);

}  // namespace qxu
