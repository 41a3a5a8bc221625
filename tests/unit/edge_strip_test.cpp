// Where the screen-edge strip shows and hides, at every edge.
#include <gtest/gtest.h>

#include "app/settings_file.h"
#include "ui/logic/edge_strip.h"

using namespace pellion;
using namespace pellion::ui;

// A 1280 x 1024 screen at 15 twips a pixel; the strip 1056 x 336 twips.
TEST(EdgeStrip, ShowsAtEnabledEdgesAwayFromCornersAndHidesOnePixelOff) {
    const EdgeScreen screen{19200, 15360, 15};
    struct Case {
        int x, y;
        bool top, bottom, left, right;
        int width;
        std::optional<StripPlace> place;
    };
    const auto at = [](int left, int top, int cx, int cy) { return StripPlace{left, top, {cx, cy}}; };
    const Case cases[] = {
        {640, 0, true, false, false, false, 1056, at(9072, 0, 640, 11)},
        {640, 0, false, true, true, true, 1056, std::nullopt},
        {106, 0, true, false, false, false, 1056, std::nullopt},  // within 1600 twips of the corner
        {107, 0, true, false, false, false, 1056, at(1077, 0, 107, 11)},
        {1173, 0, true, false, false, false, 1056, at(17067, 0, 1173, 11)},
        {1174, 0, true, false, false, false, 1056, std::nullopt},
        {640, 1023, false, true, false, false, 1056, at(9072, 15024, 640, 1013)},
        {640, 1022, true, true, true, true, 1056, std::nullopt},
        {0, 512, false, false, true, false, 1056, at(0, 7512, 35, 512)},
        {0, 53, false, false, true, false, 1056, std::nullopt},  // within 800 twips
        {0, 54, false, false, true, false, 1056, at(0, 642, 35, 54)},
        {1279, 512, false, false, false, true, 1056, at(18144, 7512, 1245, 512)},
        {0, 0, true, true, true, true, 1056, std::nullopt},
        {1279, 1023, true, true, true, true, 1056, std::nullopt},
        {107, 0, true, false, false, false, 4000, at(0, 0, 133, 11)},  // pulled back inside
        {1173, 0, true, false, false, false, 4000, at(15200, 0, 1147, 11)},
    };
    for (const Case& c : cases) {
        SettingsRecord s;
        s.DockTop = c.top, s.DockBottom = c.bottom, s.DockLeft = c.left, s.DockRight = c.right;
        EXPECT_EQ(EdgeHit({c.x, c.y}, screen, s, c.width, 336), c.place) << c.x << "," << c.y;
    }
    // The strip of the first case covers pixels 605..674 and rows 0..21.
    struct Off {
        int x, y;
        bool off;
    };
    for (const Off o : {Off{640, 11, false}, Off{674, 0, false}, Off{675, 0, true}, Off{605, 0, false},
                        Off{604, 0, true}, Off{640, 21, false}, Off{640, 22, true}})
        EXPECT_EQ(PointerOffStrip({o.x, o.y}, {640, 11}, 1056, 336, 15), o.off) << o.x << "," << o.y;
}
