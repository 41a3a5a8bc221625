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

// 1440 twips to the inch: 15 twips per pixel at 96 dpi. The dpi given is
// the design's: the desktop's logical dpi grown by the desktop font against
// the design's font (DesignDpi), so the window grows with the font.
class TwipScale {
public:
    explicit TwipScale(double dpi = 96.0);
    double dpi() const { return dpi_; }
    int toPixels(int twips) const;
    int toTwips(int pixels) const;

private:
    double dpi_;
};

// What the desktop's font measures, in logical pixels.
struct FontMeasure {
    double lineHeight = 0;   // from one line to the next
    double letterWidth = 0;  // average advance of the letters a-z and A-Z
};

// The design was drawn for an 8-point font at 96 dpi: lines 13 pixels
// apart, letters 5.8 pixels wide on average.
inline constexpr double kDesignLineHeight = 13.0;
inline constexpr double kDesignLetterWidth = 5.8;

// The dpi at which the design's twips become pixels: the logical dpi, or
// more where the desktop font is taller or wider than the design's, so that
// every text keeps its size and fits. Capped so that the Small window (with
// its frame) still fits a screen of the given logical pixels; rounded to a
// whole number so that other programs can reproduce every pixel.
int DesignDpi(double logicalDpi, FontMeasure font, int screenWidth, int screenHeight);

// The design gives the window's outer size; the window manager's frame takes
// this much of it, the widgets get the rest.
inline constexpr int kFrameSideTwips = 45;
inline constexpr int kFrameTopTwips = 300;
inline constexpr int kFrameBottomTwips = 45;

}  // namespace pellion::ui
