#pragma once
// Twips and colours of the main window, converted in one place.
#include <cstdint>
#include <functional>

namespace pellion::ui {

// A colour as stored: 0x00BBGGRR, or 0x800000nn for a colour of the desktop.
using Colour = std::uint32_t;

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kYellow = 0x00FFFF;
inline constexpr Colour kCyan = 0xFFFF00;
inline constexpr Colour kRed = 0x0000FF;  // drop targets and mode switches that are on
inline constexpr Colour kHighlight = 0x8000000D;
inline constexpr Colour kHighlightText = 0x8000000E;
inline constexpr Colour kButtonFace = 0x8000000F;

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// Resolves a desktop colour by its low byte (0x0D highlight, 0x0E highlight
// text, 0x0F button face).
using SystemPalette = std::function<Rgb(int index)>;

bool IsSystemColour(Colour c);
// Without a palette (or for an index it does not know) a neutral fallback is
// used, so a colour always resolves.
Rgb ToRgb(Colour c, const SystemPalette& palette = {});

// 1440 twips to the logical inch: 15 twips per pixel at 96 dpi.
class TwipScale {
public:
    explicit TwipScale(double dpi = 96.0);
    double dpi() const { return dpi_; }
    int toPixels(int twips) const;
    int toTwips(int pixels) const;

private:
    double dpi_;
};

// The design gives the window's outer size; the window manager's frame takes
// this much of it, the widgets get the rest.
inline constexpr int kFrameSideTwips = 45;
inline constexpr int kFrameTopTwips = 300;
inline constexpr int kFrameBottomTwips = 45;

}  // namespace pellion::ui
