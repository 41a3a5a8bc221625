// The clip settings and group naming dialogs' OK, SaveClipSettings for the
// three lists, and where the dialogs go.
#include "ui/logic/clip_settings.h"

#include "app/settings_file.h"
#include "store/index_files.h"
#include "store/slot_files.h"
#include "unit/store_fixture.h"

using namespace pellion;
using namespace pellion::test;
using ui::ClipSettings;
using ui::SourceList;
using ui::TwipRect;

namespace {

class ClipSettingsTest : public StoreTest {
protected:
    ClipSettingsTest() { EXPECT_TRUE(LoadAllLists(state)); }

    // The dialog after a drop into slot n of group g, OK pressed.
    ui::OkOutcome ok(int g, int n, const std::string& title, std::optional<int> paste, std::optional<int> colour) {
        return ui::ClipSettingsOk(state, {SourceList::GroupClips, n, g}, {title, paste, colour});
    }
    SettingsRecord saved() const { return DecodeSettings(read(data("pellion.ini"))); }
};

}  // namespace

TEST_F(ClipSettingsTest, ABlankTitleIsRefusedWithABeepAndNothingStored) {
    const Bytes titles = read(lib(1, "group0.dat"));
    for (const char* blank : {"", "    "}) {
        const ui::OkOutcome out = ok(0, 3, blank, 0, 0);
        EXPECT_FALSE(out.saved);
        EXPECT_TRUE(out.beep);
        EXPECT_EQ(out.titleText, "A title is required.");
    }
    EXPECT_EQ(read(lib(1, "group0.dat")), titles);
    EXPECT_EQ(state.lists.groupClips.titles[3], "");
}

TEST_F(ClipSettingsTest, OptionsGiveModeAndColourAndGroupClrStoresZero) {
    state.settings.GroupClipsColour = 0xC0C0C0;
    const ui::OkOutcome red = ok(0, 3, "Invoice  ", 2, 4);
    EXPECT_TRUE(red.saved && !red.beep);
    EXPECT_EQ(ReadTitleAt(lib(1, "group0.dat"), 3), "Invoice");
    EXPECT_EQ(byteAt(lib(1, "group0.mod"), 3), 2);
    EXPECT_EQ(ReadColourAt(lib(1, "colr0.dat"), 3), 0x0000FFu);

    ok(0, 3, "Invoice", std::nullopt, 5);  // no paste option chosen: Group Setting stays
    EXPECT_EQ(byteAt(lib(1, "group0.mod"), 3), 3);
    EXPECT_EQ(ReadColourAt(lib(1, "colr0.dat"), 3), 0u);
    EXPECT_EQ(LookOf(state, ListKind::GroupClips, 3).background, 0xC0C0C0u);

    EXPECT_EQ(ui::ColourOfOption(2), 0xFFFF00u);
    EXPECT_EQ(ui::ColourOptionOf(0x00FFFF), 3);
    EXPECT_EQ(ui::ColourOptionOf(0x123456), std::nullopt);
    EXPECT_STREQ(ui::ColourOptionCaption(5), "Group Clr");
    EXPECT_STREQ(ui::PasteOptionCaption(4), "Form Filling");
}

TEST_F(ClipSettingsTest, AClipOfGroup5SavedWhileGroup7IsShownSwitchesBack) {
    state.settings.CurrentGroup = 7;
    ASSERT_TRUE(LoadCurrentGroup(state));
    ui::SaveClipSettings(state, {SourceList::GroupClips, 2, 5, "Five", 1, 0x00FF00});
    EXPECT_EQ(state.settings.CurrentGroup, 5);
    EXPECT_EQ(saved().CurrentGroup, 5);
    EXPECT_EQ(state.lists.groupClips.group, 5);
    EXPECT_EQ(state.lists.groupStem, lib(1, "group5."));
    EXPECT_EQ(ReadTitleAt(lib(1, "group5.dat"), 2), "Five");
    EXPECT_EQ(ReadModeAt(lib(1, "group5.mod"), 2), 1);
    EXPECT_EQ(ReadTitleAt(lib(1, "group7.dat"), 2), "");
}

TEST_F(ClipSettingsTest, Slot25OfHotKeyClipsWatchesAltZ) {
    state.settings.CurrentGroup = kHotKeyGroup;
    ASSERT_TRUE(LoadCurrentGroup(state));
    ok(kHotKeyGroup, 25, "Signature", std::nullopt, std::nullopt);
    EXPECT_TRUE(fake.hooks->watched.count(0x40041 + 25));
    EXPECT_EQ(ReadTitleAt(data("group22.dat"), 25), "Signature");
}

TEST_F(ClipSettingsTest, EditedTextRewritesAGroupClipOrTransferSlotAsTextOnly) {
    put(lib(1, "group0.4"), bytesOf("a clip with several formats"));
    ui::SaveClipSettings(state, {SourceList::GroupClips, 4, 0, "Hello", 3, 0, true, "hello"});
    const Bytes textOnly = concat({le32(0xFFFFFFFF), le32(0xFFFFFFFF), le32(5), bytesOf("hello")});
    EXPECT_EQ(read(lib(1, "group0.4")), textOnly);
    EXPECT_EQ(textOnly.size(), 17u);

    ui::SaveClipSettings(state, {SourceList::TransferSlots, 6, 0, "T", 4, 0x00FF00, true, "hello"});
    EXPECT_EQ(read(data("trans.6")), textOnly);
    EXPECT_EQ(state.lists.transferSlots.titles[6], "T");
    EXPECT_EQ(byteAt(data("trans.mod"), 6), 4);
    EXPECT_EQ(RestoreClipFile(state, data("trans.6")), RestoreResult::Restored);
    EXPECT_EQ(fake.clipboard->bytesOf(""), bytesOf(std::string("hello") + '\0'));
}

TEST_F(ClipSettingsTest, AnEditedClipboardClipGoesOnTheClipboardForTheNextCapture) {
    state.monitor.clearBeforeNextCapture = true;
    state.lists.clipboardClips.count = 2;
    state.lists.clipboardClips.titles[1] = "old";
    const Bytes index = read(data("clip.dat"));

    ui::SaveClipSettings(state, {SourceList::ClipboardClips, 1, 0, "New title", 3, 0, true, "edited"});
    EXPECT_TRUE(state.monitor.pendingTitleSet);
    EXPECT_EQ(state.monitor.pendingTitle, std::string("New title") + std::string(41, ' '));
    EXPECT_FALSE(state.monitor.clearBeforeNextCapture);
    EXPECT_EQ(fake.clipboard->bytesOf(""), bytesOf(std::string("edited") + '\0'));
    EXPECT_EQ(state.lists.clipboardClips.titles[1], "old");

    // Only the title: the cell shows it, the file waits for the next capture.
    ui::SaveClipSettings(state, {SourceList::ClipboardClips, 1, 0, "Renamed  ", 3, 0});
    EXPECT_EQ(state.lists.clipboardClips.titles[1], "Renamed");
    EXPECT_EQ(read(data("clip.dat")), index);
}

TEST_F(ClipSettingsTest, GroupNamingWritesTheColourAtFourTimesTheGroup) {
    ASSERT_TRUE(ui::SaveGroupNaming(state, 9, "Letters", 4));
    EXPECT_EQ(files::readAt(lib(1, "groups.clr"), 36, 4), (Bytes{0xFF, 0, 0, 0}));
    EXPECT_EQ(files::size(lib(1, "groups.clr")), 128);
    EXPECT_EQ(ReadTitleAt(lib(1, "groups.dat"), 9), "Letters");
    EXPECT_EQ(state.lists.groupNames.colours[9], 0x0000FFu);

    ASSERT_TRUE(ui::SaveGroupNaming(state, 9, "", std::nullopt));
    EXPECT_EQ(state.lists.groupNames.titles[9], "Untitled");
    EXPECT_EQ(ReadColourAt(lib(1, "groups.clr"), 9), 0u);
    ui::SaveGroupNaming(state, 10, "   ", 0);
    EXPECT_EQ(ReadTitleAt(lib(1, "groups.dat"), 10), "Untitled");
    EXPECT_FALSE(ui::SaveGroupNaming(state, 32, "x", 0));
}

TEST(DialogPlacement, GroupNamingFlushRightWithinTheMainWindow) {
    const TwipRect main{1000, 2000, 12000, 8000};  // bottom 10000
    EXPECT_EQ(ui::GroupNamingPlacement(main, 5000, 4000, 2000), (TwipRect{9000, 4700, 4000, 2000}));
    EXPECT_EQ(ui::GroupNamingPlacement(main, 2100, 4000, 2000).top, 2000);  // not above the window
    EXPECT_EQ(ui::GroupNamingPlacement(main, 9500, 4000, 2000).top, 8000);  // not below it
}

TEST(DialogPlacement, ClipSettingsBesideTheCellOnTheScreen) {
    const TwipRect cell{3000, 4000, 2200, 276};
    EXPECT_EQ(ui::ClipSettingsPlacement(cell, 5000, 3000, 28800, 16200), (TwipRect{5200, 4000, 5000, 3000}));
    EXPECT_EQ(ui::ClipSettingsPlacement(cell, 5000, 3000, 9000, 16200).left, 0);  // left of the cell, on the screen
    const TwipRect low{20000, 15000, 2200, 276};
    EXPECT_EQ(ui::ClipSettingsPlacement(low, 5000, 3000, 28800, 16200), (TwipRect{22200, 13200, 5000, 3000}));
    const TwipRect right{25000, 100, 2200, 276};
    EXPECT_EQ(ui::ClipSettingsPlacement(right, 5000, 3000, 28800, 16200).left, 20000);
}
