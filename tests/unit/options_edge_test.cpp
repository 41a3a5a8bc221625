// The Options dialog's choices as "pellion.ini" holds them, and where the
// screen-edge strip shows and hides.
#include <gtest/gtest.h>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "ui/logic/edge_strip.h"
#include "ui/logic/options.h"
#include "unit/temp_folder.h"

using namespace pellion;
using namespace pellion::ui;

namespace {

std::int32_t IniField(const std::string& folder, int offset, int bytes) {
    const auto file = files::readAll(folder + "pellion.ini").value_or(std::vector<std::uint8_t>{});
    if (file.size() != kSettingsFileSize) return -99999;
    std::int32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v * 256 + file[offset + i];
    return bytes == 2 ? std::int16_t(v) : v;
}

}  // namespace

TEST(Options, EachChoiceIsSavedAtOnceShownAndApplied) {
    platform::fake::FakePlatform fake;
    ProgramState ps(fake.platform);
    test::TempFolder dir;
    ps.dataFolder = ps.libraryFolder = dir.path();
    ps.settings = DefaultSettings({19200, 15360});
    ps.settings.DockTop = ps.settings.DockLeft = 1;

    struct Case {
        int row, index;
        bool checked;
        int offset, value;
    };
    const Case cases[] = {
        {1, 1, true, 39, 1},  {2, 0, true, 41, 0},  {3, 0, true, 43, 0},  {4, 1, true, 47, 1},
        {5, 0, true, 45, 0},  {7, 1, true, 93, 1},  {8, 1, true, 95, 0},  {8, 0, true, 95, 1},
        {9, 0, false, 97, 0}, {9, 1, false, 101, 0}, {9, 2, true, 103, 1}, {9, 3, true, 99, 1},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(ChooseOption(ps, c.row, c.index, c.checked)) << c.row;
        EXPECT_EQ(IniField(dir.path(), c.offset, 2), c.value) << c.row << "/" << c.index;
        const OptionsView v = ViewOptions(ps.settings);
        if (c.row < kOptionRows) EXPECT_EQ(v.choice[c.row - 1], c.index) << c.row;
        else EXPECT_EQ(v.edges[c.index], c.checked) << c.index;
    }
    const auto& watched = fake.hooks->watched;
    EXPECT_TRUE(watched.contains(0x20056) && !watched.contains(0x1002D));  // Ctrl+V, not Shift+Insert
    EXPECT_TRUE(watched.contains(0x20042) && !watched.contains(0x2002D));  // Ctrl+B, not Ctrl+Insert
    EXPECT_TRUE(ps.mainForm.form.window.bold);
    EXPECT_EQ((ps.mainForm.form[WidgetRef{Family::ClearBtn, 0}].toolTip), "");
    EXPECT_EQ(ViewOptions(ps.settings).batch, kRed);

    ChooseColour(ps, 3, 2);  // Transfer Slots: blue
    EXPECT_EQ(IniField(dir.path(), 71, 4), 0xFFFF00);
    EXPECT_EQ((ps.mainForm.form[WidgetRef{Family::Trans, 0}].background), 0xFFFF00u);
    EXPECT_EQ(ViewOptions(ps.settings).colour[3], 2);

    // Only a new size closes the dialog.
    EXPECT_FALSE(ChooseOption(ps, 6, ps.settings.SizeOption, true));
    EXPECT_TRUE(ChooseOption(ps, 6, 1 - ps.settings.SizeOption, true));
    EXPECT_EQ(IniField(dir.path(), 69, 2), ps.settings.SizeOption);
}

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
