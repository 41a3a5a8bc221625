#include "app/settings_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "unit/temp_folder.h"

using namespace pellion;
using files::Bytes;

namespace {

class SizedScreen : public platform::fake::FakeWindows {
public:
    explicit SizedScreen(platform::Point p) : size(p) {}
    platform::Point screenSizeTwips() override { return size; }
    platform::Point size;
};

struct Fixture {
    explicit Fixture(platform::Point screen = {1920 * 15, 1080 * 15}) : state(fake.platform) {
        fake.platform.windows = std::make_unique<SizedScreen>(screen);
        state.dataFolder = dir.path();
    }
    std::string ini() const { return dir.path() + "pellion.ini"; }
    test::TempFolder dir;
    platform::fake::FakePlatform fake;
    ProgramState state;
};

void put(Bytes& b, std::size_t at, std::uint32_t v, int width) {
    for (int i = 0; i < width; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void putFloat(Bytes& b, std::size_t at, float f) {
    std::uint32_t bits;
    std::memcpy(&bits, &f, 4);
    put(b, at, bits, 4);
}

// The file of a first run on a 1920 x 1080 screen, field by field.
Bytes firstRunFile() {
    Bytes b(113, 0);
    std::memcpy(b.data(), "PCV4.00", 7);
    for (std::size_t colour : {25u, 29u, 33u, 71u}) put(b, colour, 0xFFFFFF, 4);
    put(b, 41, 1, 2);       // IconOption
    put(b, 43, 0xFFFF, 2);  // HelpOption -1
    put(b, 45, 1, 2);       // ClearOption
    putFloat(b, 51, (16200 - 6672) / 2.0f);
    putFloat(b, 55, (28800 - 6948) / 2.0f);
    put(b, 59, 0x45B14000, 4);  // ViewerHeight 5672.0
    putFloat(b, 63, 6852);
    for (std::size_t one : {69u, 85u, 87u, 91u, 95u, 97u, 101u}) put(b, one, 1, 2);
    return b;
}

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

TEST(SettingsFile, LayoutOutOfRangeBecomesFullButKeepsOnTop) {
    Fixture f;
    Bytes file = firstRunFile();
    put(file, 83, 5, 2);  // Layout
    put(file, 77, 1, 2);  // OnTop
    ASSERT_TRUE(files::writeWhole(f.ini(), file));
    StartupLoader(f.state, {});
    EXPECT_EQ(f.state.settings.Layout, 0);
    EXPECT_EQ(f.state.settings.OnTop, 1);

    SettingsRecord r;
    r.Layout = 0;
    r.OnTop = 1;
    ValidateAgainstScreen(r, {28800, 16200});
    EXPECT_EQ(r.OnTop, 0);
}

TEST(SettingsFile, PositionsBeyondTheScreenAreReset) {
    const platform::Point screen{28800, 16200};
    SettingsRecord r;
    r.ReducedTop = 100;
    r.ReducedLeft = 28800;
    r.ColumnTop = 16200;
    r.ColumnLeft = 5;
    ValidateAgainstScreen(r, screen);
    EXPECT_EQ((std::array{float(r.ReducedTop), float(r.ReducedLeft), r.ColumnTop, r.ColumnLeft}),
              (std::array{0.f, 0.f, 0.f, 0.f}));

    // The later check takes each coordinate alone and only beyond the edge.
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
    EXPECT_EQ(f.state.settings.HelpOption, 0);
    EXPECT_EQ(*files::readAll(f.ini()), file);  // not rewritten
}

TEST(SettingsFile, SavingAlwaysWritesExactly113Bytes) {
    Fixture f;
    Bytes longer = firstRunFile();
    longer.resize(200, 0x55);
    ASSERT_TRUE(files::writeWhole(f.ini(), longer));
    LoadSettings(f.state);
    f.state.settings.VersionMarker = "PCV4.00 and more";
    ASSERT_TRUE(SaveSettings(f.state));
    EXPECT_EQ(files::size(f.ini()), 113);
    EXPECT_EQ(*files::readAll(f.ini()), firstRunFile());

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
