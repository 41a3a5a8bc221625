#include "ui/logic/units.h"

#include <cmath>

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

}  // namespace pellion::ui
