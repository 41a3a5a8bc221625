#include "ui/logic/units.h"

#include <algorithm>
#include <cmath>

#include "ui/logic/form_design.h"

namespace pellion::ui {

bool IsSystemColour(Colour c) { return (c & 0xFF000000u) == 0x80000000u; }

namespace {

Rgb FallbackSystemColour(int index) {
    switch (index) {
    case 0x0D: return {48, 96, 168};
    case 0x0E: return {255, 255, 255};
    default: return {224, 224, 224};
    }
}

}  // namespace

Rgb ToRgb(Colour c, const SystemPalette& palette) {
    if (IsSystemColour(c)) {
        const int index = static_cast<int>(c & 0xFF);
        return palette ? palette(index) : FallbackSystemColour(index);
    }
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c >> 8) & 0xFF),
            static_cast<std::uint8_t>((c >> 16) & 0xFF)};
}

TwipScale::TwipScale(double dpi) : dpi_(dpi > 0 && std::isfinite(dpi) ? dpi : 96.0) {}

int TwipScale::toPixels(int twips) const { return static_cast<int>(std::lround(twips * dpi_ / 1440.0)); }

int TwipScale::toTwips(int pixels) const { return static_cast<int>(std::lround(pixels * 1440.0 / dpi_)); }

int DesignDpi(double logicalDpi, FontMeasure font, int screenWidth, int screenHeight) {
    const double base = logicalDpi > 0 && std::isfinite(logicalDpi) ? logicalDpi : 96.0;
    double grow = 1.0;
    if (font.lineHeight > 0) grow = std::max(grow, font.lineHeight / kDesignLineHeight);
    if (font.letterWidth > 0) grow = std::max(grow, font.letterWidth / kDesignLetterWidth);
    double dpi = std::ceil(96.0 * std::min(grow, 4.0));
    dpi = std::max(dpi, std::round(base));
    if (screenWidth > 0 && screenHeight > 0) {
        const double fits = std::floor(std::min(screenWidth * 1440.0 / kSmallWidth, screenHeight * 1440.0 / kSmallHeight));
        dpi = std::min(dpi, std::max(fits, 48.0));
    }
    return static_cast<int>(dpi);
}

}  // namespace pellion::ui
