// What the clip settings and group naming dialogs store for the three lists.
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
    ClipSettingsTest() { StartupLoader(state, {}); }

    // The dialog after a drop into slot n of group g, OK pressed.
    ui::OkOutcome ok(int g, int n, const std::string& title, std::optional<int> paste, std::optional<int> colour) {
        return ui::ClipSettingsOk(state, {SourceList::GroupClips, n, g}, {title, paste, colour});
    }
    SettingsRecord saved() const { return DecodeSettings(read(data("pellion.ini"))); }
};

}  // namespace

TEST_F(ClipSettingsTest, AClipOfGroup5SavedWhileGroup7IsShownSwitchesBack) {
    state.settings.CurrentGroup = 7;
    ASSERT_TRUE(LoadCurrentGroup(state));
    ui::SaveClipSettings(state, {SourceList::GroupClips, 2, 5, "Five", 1, 0x00FF00});
    EXPECT_EQ(state.settings.CurrentGroup, 5);
    EXPECT_EQ(saved().CurrentGroup, 5);
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

// A Transfer Slot's edit is the viewer's test.
TEST_F(ClipSettingsTest, EditedTextRewritesAGroupClipAsTextOnly) {
    put(lib(1, "group0.4"), bytesOf("a clip with several formats"));
    ui::SaveClipSettings(state, {SourceList::GroupClips, 4, 0, "Hello", 3, 0, true, "hello"});
    EXPECT_EQ(read(lib(1, "group0.4")), textOnlyClip("hello"));
    EXPECT_EQ(RestoreClipFile(state, lib(1, "group0.4")), RestoreResult::Restored);
    EXPECT_EQ(fake.clipboard->bytesOf(""), bytesOf(std::string("hello") + '\0'));
}

// An edited Clipboard Clip goes on the clipboard, to be filed under its new
// title by the next capture (the viewer script's); only a new title is
// shown at once, the file waiting for the next capture.
TEST_F(ClipSettingsTest, AClipboardClipRenamedOnlyKeepsItsFileUntilTheNextCapture) {
    state.monitor.clearBeforeNextCapture = true;
    state.lists.clipboardClips.count = 2;
    const Bytes index = read(data("clip.dat"));
    ui::SaveClipSettings(state, {SourceList::ClipboardClips, 1, 0, "New title", 3, 0, true, "edited"});
    EXPECT_FALSE(state.monitor.clearBeforeNextCapture);
    ui::SaveClipSettings(state, {SourceList::ClipboardClips, 1, 0, "Renamed  ", 3, 0});
    EXPECT_EQ(state.lists.clipboardClips.titles[1], "Renamed");
    EXPECT_EQ(read(data("clip.dat")), index);
}

// The name and colour of a real dialog are the dialog tests'.
TEST_F(ClipSettingsTest, GroupNamingWithoutAColourOrNameStoresZeroAndUntitled) {
    ASSERT_TRUE(ui::SaveGroupNaming(state, 9, "Letters", 4));
    ASSERT_TRUE(ui::SaveGroupNaming(state, 9, "", std::nullopt));
    EXPECT_EQ(state.lists.groupNames.titles[9], "Untitled");
    EXPECT_EQ(ReadColourAt(lib(1, "groups.clr"), 9), 0u);
    ui::SaveGroupNaming(state, 10, "   ", 0);
    EXPECT_EQ(ReadTitleAt(lib(1, "groups.dat"), 10), "Untitled");
    EXPECT_FALSE(ui::SaveGroupNaming(state, 32, "x", 0));
}
