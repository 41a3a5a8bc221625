#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "unit/store_fixture.h"

using namespace pellion;
using files::Bytes;

namespace {

struct Fixture : test::TempState {
    std::string ini() const { return dir.path() + "pellion.ini"; }
};

void put(Bytes& b, std::size_t at, std::uint32_t v, int width) {
    for (int i = 0; i < width; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
// A valid file of this version: the defaults for a 1920 x 1080 screen.
Bytes defaultFile() { return EncodeSettings(DefaultSettings({28800, 16200})); }

}  // namespace

TEST(SettingsFile, EarlierVersionKeepsBulkCountForeignFileDoesNot) {
    for (const char* marker : {"PCV3.10", "XYZ4.00"}) {
        Fixture f;
        Bytes old(113, 0x11);
        std::memcpy(old.data(), marker, 7);
        put(old, 7, 17, 2);           // BulkCount
        put(old, 9, 300, 4);          // ReducedTop, kept
        put(old, 17, 99, 4);          // Reserved1, kept
        put(old, 87, 7, 2);           // CurrentLibrary, reset
        ASSERT_TRUE(files::writeWhole(f.ini(), old));
        LoadSettings(f.state);
        const bool sameRecord = marker[0] == 'P';
        EXPECT_EQ(f.state.settings.BulkCount, sameRecord ? 17 : 0) << marker;
        EXPECT_EQ(f.state.settings.ReducedTop, 300);
        EXPECT_EQ(f.state.settings.Reserved1, 99);
        EXPECT_EQ(f.state.settings.CurrentLibrary, 1);
        EXPECT_EQ(f.state.settings.ClipboardClipsColour, 0xFFFFFF);
        const Bytes now = *files::readAll(f.ini());
        ASSERT_EQ(now.size(), 113u);
        EXPECT_EQ(std::string(now.begin(), now.begin() + 7), "PCV4.00");
        EXPECT_EQ(now[7], sameRecord ? 17 : 0);
    }
}

TEST(SettingsFile, LayoutOrLibraryOutOfRangeFallsBackButOnTopStays) {
    Fixture f;
    Bytes file = defaultFile();
    put(file, 83, 5, 2);       // Layout
    put(file, 77, 1, 2);       // OnTop
    put(file, 87, 0xFFFD, 2);  // CurrentLibrary -3
    ASSERT_TRUE(files::writeWhole(f.ini(), file));
    StartupLoader(f.state, {});
    EXPECT_EQ(f.state.settings.Layout, 0);
    EXPECT_EQ(f.state.settings.OnTop, 1);
    EXPECT_EQ(f.state.settings.CurrentLibrary, 1);
    EXPECT_EQ(f.state.libraryFolder, f.dir.path() + "lib1/");

    SettingsRecord r;
    r.Layout = 0;
    r.OnTop = 1;
    ValidateAgainstScreen(r, {28800, 16200});
    EXPECT_EQ(r.OnTop, 0);
}

// A whole position beyond the screen is reset at a start (the layout
// script's); the later check takes each coordinate alone.
TEST(SettingsFile, PositionsBeyondTheScreenAreReset) {
    const platform::Point screen{28800, 16200};
    SettingsRecord r;
    r.ReducedTop = 16201;
    r.ReducedLeft = 28800;
    r.LastReducedLayout = 3;
    r.OnTop = -1;
    ValidateRanges(r, screen);
    EXPECT_EQ((std::array<int, 4>{r.ReducedTop, r.ReducedLeft, r.LastReducedLayout, r.OnTop}),
              (std::array{0, 28800, 1, 0}));
}

TEST(SettingsFile, ShortFileOfThisVersionIsUsedAsRead) {
    Fixture f;
    Bytes file = {'P', 'C', 'V', '4', '.', '0', '0', 5, 0};
    ASSERT_TRUE(files::writeWhole(f.ini(), file));
    LoadSettings(f.state);
    EXPECT_EQ(f.state.settings.BulkCount, 5);
    EXPECT_EQ(f.state.settings.ClipboardClipsColour, 0);
    EXPECT_EQ(*files::readAll(f.ini()), file);  // not rewritten
}

TEST(SettingsFile, SavingAlwaysWritesExactly113Bytes) {
    Fixture f;
    Bytes longer = defaultFile();
    longer.resize(200, 0x55);
    ASSERT_TRUE(files::writeWhole(f.ini(), longer));
    LoadSettings(f.state);
    f.state.settings.VersionMarker = "PCV4.00 and more";
    ASSERT_TRUE(SaveSettings(f.state));
    EXPECT_EQ(*files::readAll(f.ini()), defaultFile());

    f.state.dataFolder = f.dir.path() + "gone/";
    EXPECT_FALSE(SaveSettings(f.state));
    EXPECT_EQ(f.state.settings.IconOption, 1);
}

TEST(SettingsFile, DecodeRoundTripsEveryField) {
    Bytes file(113);
    for (std::size_t i = 7; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(i * 7 + 3);
    std::memcpy(file.data(), "PCV4.00", 7);
    for (std::size_t high : {54u, 58u, 62u, 66u, 108u, 112u}) file[high] = 0x41;  // plain numbers, no NaN
    EXPECT_EQ(EncodeSettings(DecodeSettings(file)), file);
}
