#pragma once
// Twips and colours of the main window, converted in one place.
#include <cstdint>
#include <functional>

#include "app/colours.h"

namespace pellion::ui {


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
