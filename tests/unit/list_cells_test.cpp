// The lists on the main window: the highlight bar over the model, the
// Diary's day tags, and the lists as a start-up leaves them.
#include "app/caption.h"
#include "app/settings_file.h"
#include "store/index_files.h"
#include "store/slot_files.h"
#include "ui/logic/list_cells.h"
#include "unit/store_fixture.h"

using namespace pellion;
using namespace pellion::test;
using namespace pellion::ui;

namespace {

constexpr Colour kGreen = 0x00FF00;

const WidgetState& At(const FormState& form, Family f, int i = 0) { return form[WidgetRef{f, i}]; }

class MainLists : public StoreTest {
protected:
    MainLists() {
        state.settings = DefaultSettings({1920 * 15, 1080 * 15});
        state.mainWindow = fake.windows->add(" Pellion Clipboard", true);
        state.mainForm.cellColours = &cells;
        StartupLoader(state, {});
        ShowLists(state);
    }

    WidgetState& w(Family f, int i = 0) { return state.mainForm.form[{f, i}]; }

    ListCells cells{state};
};

}  // namespace

TEST_F(MainLists, HighlightBarLivesInTheModel) {
    state.lists.groupClips.colours[5] = kGreen;
    ResetHighlight(state);
    ASSERT_TRUE(state.lists.highlightBar);
    EXPECT_EQ(state.lists.highlightBar->list, ListKind::ClipboardClips);
    EXPECT_EQ(w(Family::ClipboardClip, 0).background, kHighlight);
    EXPECT_EQ(w(Family::Group, 0).background, kHighlight);
    MoveHighlight(state, 9 + 5);
    EXPECT_EQ(state.lists.highlightBar->list, ListKind::GroupClips);
    EXPECT_EQ(w(Family::Item, 5).background, kHighlight);
    EXPECT_EQ(w(Family::ClipboardClip, 0).background, static_cast<Colour>(state.settings.ClipboardClipsColour));
    // Recoloured while highlighted: the restore shows the new colour, not
    // the one remembered when the bar arrived.
    state.lists.groupClips.colours[5] = kRed;
    MoveHighlight(state, 105);
    EXPECT_EQ(w(Family::Item, 5).background, kRed);
    // The bar over the selected group leaves it in the highlight colours.
    MoveHighlight(state, 113);
    MoveHighlight(state, 114);
    EXPECT_EQ(w(Family::Group, 0).background, kHighlight);
    EXPECT_EQ(w(Family::Group, 0).text, kHighlightText);
    EXPECT_EQ(w(Family::Group, 1).background, kHighlight);
}

TEST_F(MainLists, FormerlySelectedGroupUnderTheBarGetsItsOwnColourBack) {
    MoveHighlight(state, 113 + 0);  // the bar on the selected group
    Group_Click(state, 7, MouseButton::Left);
    Holdfocus_GotFocus(state);  // the focus request of the click
    EXPECT_EQ(w(Family::Group, 0).background, static_cast<Colour>(state.settings.GroupNamesColour));
    EXPECT_EQ(w(Family::Group, 0).text, kBlack);
    EXPECT_EQ(w(Family::Group, 7).background, kHighlight);
    EXPECT_EQ(state.lists.highlightBar->list, ListKind::ClipboardClips);
}

TEST_F(MainLists, DiaryDayTagsFollowTheMonthSelected) {
    ASSERT_TRUE(SwitchLibrary(state, kDiary));
    Group_Click(state, 1, MouseButton::Left);  // February
    EXPECT_EQ(w(Family::hotkey, 28).caption, "29");
    EXPECT_EQ(w(Family::hotkey, 29).caption, "");
    EXPECT_EQ(w(Family::hotkey, 0).toolTip, " Day of Month ");
    Group_Click(state, 3, MouseButton::Left);  // April
    EXPECT_EQ(w(Family::hotkey, 29).caption, "30");
    EXPECT_EQ(w(Family::hotkey, 30).caption, "");
    Group_Click(state, 0, MouseButton::Left);
    EXPECT_EQ(w(Family::hotkey, 30).caption, "31");
}

TEST(StartupLists, LoadedListsReachTheFormAndDamagedFieldsAreRepaired) {
    TempFolder dir;
    const DateTime now{2026, 12, 5, 6, 17, 7};
    {
        platform::fake::FakePlatform fake;
        ProgramState first(fake.platform);
        ASSERT_EQ(StartProgram(first, dir.path() + "pellion", dir.path(), now, {}), StartOutcome::Started);
        EXPECT_EQ(At(first.mainForm.form, Family::LibLabel).caption, "Library 1");
        EXPECT_EQ(At(first.mainForm.form, Family::hotkey).caption, "A.");
        first.settings.CurrentGroup = 40;  // no such group
        first.settings.CurrentLibrary = kLaunchPad;
        first.settings.FontOption = 1;
        ASSERT_TRUE(SaveSettings(first));
    }
    Bytes clips = le16(1);
    const Bytes title = padded("kept clip", 50);
    clips.insert(clips.end(), title.begin(), title.end());
    clips.resize(452, ' ');
    ASSERT_TRUE(files::writeWhole(dir.path() + "clip.dat", clips));

    platform::fake::FakePlatform fake;
    ProgramState again(fake.platform);
    ASSERT_EQ(StartProgram(again, dir.path() + "pellion", dir.path(), now, {}), StartOutcome::Started);
    const FormState& form = again.mainForm.form;
    EXPECT_EQ(again.settings.CurrentGroup, 0);
    EXPECT_EQ(At(form, Family::ClipboardClip).caption, "kept clip");
    EXPECT_EQ(At(form, Family::LibLabel).caption, "Launch Pad");
    EXPECT_EQ(At(form, Family::Group).background, kHighlight);
    EXPECT_TRUE(form.window.bold);
}
