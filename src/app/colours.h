#pragma once
// Colours as stored in the files: 0x00BBGGRR, or 0x800000nn for a colour of
// the desktop's palette.
#include <cstdint>

namespace pellion {

using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kYellow = 0x00FFFF;
inline constexpr Colour kCyan = 0xFFFF00;
inline constexpr Colour kRed = 0x0000FF;  // drop targets and switches that are on
inline constexpr Colour kHighlight = 0x8000000D;
inline constexpr Colour kHighlightText = 0x8000000E;
inline constexpr Colour kButtonFace = 0x8000000F;

}  // namespace pellion
