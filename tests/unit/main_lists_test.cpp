// The lists on the main window: what the cells show, the highlight bar over
// the model, selecting a group, the Launch Pad button, the quick-help topics
// of the widgets, and the window at start-up and shutdown.
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
        auto& hooks = state.mainForm.hooks;
        hooks.saveSettings = [this] {
            ++saves;
            SaveSettings(state);
        };
        hooks.quickHelp = [this](int topic) { topics.push_back(topic); };
        hooks.disarmGroupDrag = [this] { ++dragsDisarmed; };
        hooks.groupNaming = [this](int group) { named.push_back(group); };
        EXPECT_TRUE(LoadAllLists(state));
        ShowLists(state);
    }

    WidgetState& w(Family f, int i = 0) { return state.mainForm.form[{f, i}]; }
    // Titles of group g of library 1 with the given first slots.
    void putGroupTitles(int g, const std::vector<std::string>& titles) {
        Bytes out;
        for (int n = 0; n < kGroupSlots; ++n) {
            const Bytes t = padded(n < int(titles.size()) ? titles[n] : "", 50);
            out.insert(out.end(), t.begin(), t.end());
        }
        put(lib(1, "group" + std::to_string(g) + ".dat"), out);
    }

    ListCells cells{state};
    int saves = 0;
    int dragsDisarmed = 0;
    std::vector<int> topics;
    std::vector<int> named;
};

}  // namespace

TEST_F(MainLists, CellsShowTitlesOwnOrDefaultColoursTagsAndLibrary) {
    auto& lists = state.lists;
    auto& s = state.settings;
    lists.clipboardClips.titles[0] = std::string("first\0junk", 10);
    lists.clipboardClips.count = 1;
    lists.transferSlots.titles[7] = "slot seven";
    lists.transferSlots.colours[7] = kGreen;
    lists.groupNames.titles[3] = "Letters";
    lists.groupNames.colours[4] = kRed;
    lists.groupClips.titles[95] = "last clip";
    lists.groupClips.colours[1] = kYellow;
    s.ClipboardClipsColour = 0x111111;
    s.TransferSlotsColour = 0x222222;
    s.GroupNamesColour = 0x333333;
    s.GroupClipsColour = 0x444444;
    s.CurrentGroup = 3;
    s.FontOption = 1;
    lists.libraryName = "Work";
    lists.launchPadPressed = true;
    ShowLists(state);

    EXPECT_EQ(w(Family::ClipboardClip, 0).caption, "first");
    EXPECT_EQ(w(Family::ClipboardClip, 0).background, 0x111111u);
    EXPECT_EQ(w(Family::Trans, 7).caption, "slot seven");
    EXPECT_EQ(w(Family::Trans, 7).background, kGreen);
    EXPECT_EQ(w(Family::Trans, 6).background, 0x222222u);
    EXPECT_EQ(w(Family::Item, 95).caption, "last clip");
    EXPECT_EQ(w(Family::Item, 1).background, kYellow);
    EXPECT_EQ(w(Family::Item, 2).background, 0x444444u);
    EXPECT_EQ(w(Family::Group, 4).background, kRed);
    EXPECT_EQ(w(Family::Group, 5).background, 0x333333u);
    EXPECT_EQ(w(Family::Group, 22).caption, "Hot Key Clips");
    // The selected group in the highlight colours.
    EXPECT_EQ(w(Family::Group, 3).caption, "Letters");
    EXPECT_EQ(w(Family::Group, 3).background, kHighlight);
    EXPECT_EQ(w(Family::Group, 3).text, kHighlightText);
    EXPECT_EQ(w(Family::hotkey, 0).caption, "A.");
    EXPECT_EQ(w(Family::hotkey, 25).caption, "Z.");
    EXPECT_EQ(w(Family::hotkey, 25).toolTip, " Type this letter to paste ");
    EXPECT_EQ(w(Family::hotkey, 26).caption, "");
    EXPECT_EQ(w(Family::LibLabel).caption, "Work");
    EXPECT_TRUE(w(Family::LaunchBtn).selected);
    EXPECT_EQ(w(Family::LaunchBtn).background, kRed);
    EXPECT_TRUE(state.mainForm.form.window.bold);

    // Pop-up help off: no tool tips on the tags; the Launch Pad left.
    s.HelpOption = 0;
    lists.launchPadPressed = false;
    ShowLists(state);
    EXPECT_EQ(w(Family::hotkey, 0).toolTip, "");
    EXPECT_FALSE(w(Family::LaunchBtn).selected);
    EXPECT_EQ(w(Family::LaunchBtn).background, kButtonFace);
}

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
    EXPECT_EQ(w(Family::Item, 5).text, kBlack);
    EXPECT_EQ(w(Family::Trans, 0).background, kHighlight);
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

TEST_F(MainLists, LeftClickSelectsTheGroupAndShowsItsClips) {
    putGroupTitles(5, {"alpha", std::string("beta\0tail", 9)});
    // groups.clr is what the old cell goes back to, whatever the model held.
    state.lists.groupNames.colours[0] = kRed;
    ASSERT_TRUE(WriteColourAt(lib(1, "groups.clr"), 0, kGreen));
    Group_Click(state, 5, MouseButton::Left);
    EXPECT_EQ(state.settings.CurrentGroup, 5);
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(DecodeSettings(read(data("pellion.ini"))).CurrentGroup, 5);
    EXPECT_EQ(dragsDisarmed, 1);
    EXPECT_EQ(state.mainForm.form.window.focusRequest, FocusRequest::Holdfocus);
    EXPECT_EQ(w(Family::Item, 0).caption, "alpha");
    EXPECT_EQ(w(Family::Item, 1).caption, "beta");
    EXPECT_EQ(w(Family::Group, 5).background, kHighlight);
    EXPECT_EQ(w(Family::Group, 0).background, kGreen);
    EXPECT_EQ(w(Family::Group, 0).text, kBlack);
    EXPECT_EQ(state.lists.groupStem, lib(1, "group5."));
    EXPECT_TRUE(named.empty());

    // Again on the selected group: nothing more.
    Group_Click(state, 5, MouseButton::Left);
    EXPECT_EQ(saves, 1);
    // The right button selects as well, then asks for the naming dialog,
    // also on the group already selected.
    Group_Click(state, 9, MouseButton::Right);
    Group_Click(state, 9, MouseButton::Right);
    EXPECT_EQ(state.settings.CurrentGroup, 9);
    EXPECT_EQ(named, (std::vector<int>{9, 9}));
    EXPECT_EQ(w(Family::Item, 0).caption, "");
    EXPECT_TRUE(topics.empty());
}

TEST_F(MainLists, HotKeyClipsCellAndClicksThatAreIgnored) {
    state.settings.SizeOption = 1;
    ApplyFullSize(state);
    Group_Click(state, 22, MouseButton::Right);
    EXPECT_EQ(topics, std::vector<int>{11});
    EXPECT_EQ(state.mainForm.quickHelpTopic, 11);
    EXPECT_EQ(state.settings.CurrentGroup, 0);
    EXPECT_TRUE(named.empty());
    Group_Click(state, 22, MouseButton::Left);
    EXPECT_EQ(state.settings.CurrentGroup, 22);
    EXPECT_EQ(state.lists.groupClips.folder, dir.path());  // shared by every library
    EXPECT_FALSE(w(Family::Item, 55).visible);
    EXPECT_FALSE(w(Family::Item, 87).visible);
    EXPECT_TRUE(w(Family::Item, 54).visible);
    Group_Click(state, 1, MouseButton::Left);
    EXPECT_TRUE(w(Family::Item, 55).visible);
    EXPECT_TRUE(w(Family::Item, 87).visible);

    // The viewer pasting takes every click; the Launch Pad has no cell 22.
    bool viewerPasting = true;
    state.mainForm.hooks.viewerTakesPasting = [&] { return viewerPasting; };
    Group_Click(state, 4, MouseButton::Left);
    EXPECT_EQ(state.settings.CurrentGroup, 1);
    viewerPasting = false;
    ASSERT_TRUE(SwitchLibrary(state, kLaunchPad));
    const int group = state.settings.CurrentGroup;
    Group_Click(state, 22, MouseButton::Left);
    Group_Click(state, 22, MouseButton::Right);
    EXPECT_EQ(state.settings.CurrentGroup, group);
    EXPECT_EQ(topics, std::vector<int>{11});
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

TEST_F(MainLists, LaunchPadButtonGoesIntoLibrary29AndBack) {
    ASSERT_TRUE(SwitchLibrary(state, 3));
    Group_Click(state, 4, MouseButton::Left);
    ShowLists(state);
    ASSERT_EQ(w(Family::LibLabel).caption, "Library 3");
    LibLabel_MouseMove(state);
    ASSERT_TRUE(w(Family::LibBtn).visible);
    const int savesBefore = saves;

    LaunchBtn_MouseUp(state, MouseButton::Left);
    EXPECT_EQ(state.settings.CurrentLibrary, kLaunchPad);
    EXPECT_EQ(DecodeSettings(read(data("pellion.ini"))).CurrentLibrary, kLaunchPad);
    EXPECT_GT(saves, savesBefore);
    EXPECT_TRUE(w(Family::LaunchBtn).selected);
    EXPECT_EQ(w(Family::LaunchBtn).background, kRed);
    EXPECT_EQ(w(Family::LibLabel).caption, "Launch Pad");
    EXPECT_FALSE(w(Family::LibBtn).visible);
    EXPECT_EQ(read(data("last.lib")), concat({le16(3), padded("Library 3", 20)}));
    EXPECT_EQ(state.mainForm.form.window.focusRequest, FocusRequest::Holdfocus);

    LaunchBtn_MouseUp(state, MouseButton::Left);
    EXPECT_EQ(state.settings.CurrentLibrary, 3);
    EXPECT_EQ(state.settings.CurrentGroup, 4);
    EXPECT_FALSE(w(Family::LaunchBtn).selected);
    EXPECT_EQ(w(Family::LaunchBtn).background, kButtonFace);
    EXPECT_EQ(w(Family::LibLabel).caption, "Library 3");
    EXPECT_EQ(w(Family::Group, 4).background, kHighlight);

    // The right button only asks for help.
    LaunchBtn_MouseUp(state, MouseButton::Right);
    EXPECT_EQ(state.settings.CurrentLibrary, 3);
    EXPECT_EQ(topics, std::vector<int>{36});
}

TEST_F(MainLists, RightButtonReleaseStoresTheWidgetsQuickHelpTopic) {
    const std::pair<WidgetRef, int> cases[] = {
        {{Family::SizerBtn, 1}, 1},     {{Family::Ctrlframe, 0}, 2},    {{Family::Ctrlframe, 1}, 9},
        {{Family::ClearBtn, 0}, 3},     {{Family::Label2, 0}, 4},       {{Family::Label2, 2}, 4},
        {{Family::ClipMode, 2}, 4},     {{Family::GroupMode, 3}, 4},    {{Family::Label2, 1}, 5},
        {{Family::HotKeyOnOff, 0}, 6},  {{Family::Frame2, 0}, 8},       {{Family::Frame1, 0}, 10},
        {{Family::Group, 22}, 11},      {{Family::CaptureMode, 1}, 28}, {{Family::CaptureMode, 2}, 29},
        {{Family::LaunchBtn, 0}, 36},   {{Family::TextOnlyBtn, 0}, 40}, {{Family::Search, 0}, 47},
    };
    const auto settingsBefore = EncodeSettings(state.settings);
    for (const auto& [widget, topic] : cases) {
        state.mainForm.quickHelpTopic.reset();
        EXPECT_FALSE(WidgetMouse(state, widget, MouseAction::Press, MouseButton::Right));
        EXPECT_FALSE(state.mainForm.quickHelpTopic) << ToString(widget) << " on the press";
        EXPECT_FALSE(WidgetMouse(state, widget, MouseAction::Release, MouseButton::Right));
        EXPECT_EQ(state.mainForm.quickHelpTopic, topic) << ToString(widget);
        EXPECT_EQ(topics.back(), topic) << ToString(widget);
    }
    // The layout buttons ask on the press, and the press is theirs alone.
    EXPECT_TRUE(WidgetMouse(state, {Family::TopBtn, 0}, MouseAction::Press, MouseButton::Right));
    EXPECT_EQ(state.mainForm.quickHelpTopic, 7);
    EXPECT_TRUE(WidgetMouse(state, {Family::TopBtn, 3}, MouseAction::Press, MouseButton::Right));
    EXPECT_EQ(state.mainForm.quickHelpTopic, 37);
    // "Normal" of the capture modes reopens the last topic; the cells have none.
    const std::size_t asked = topics.size();
    WidgetMouse(state, {Family::CaptureMode, 0}, MouseAction::Release, MouseButton::Right);
    EXPECT_EQ(topics.size(), asked + 1);
    EXPECT_EQ(topics.back(), 37);
    WidgetMouse(state, {Family::Item, 4}, MouseAction::Release, MouseButton::Right);
    WidgetMouse(state, {Family::ClipboardClip, 0}, MouseAction::Release, MouseButton::Right);
    EXPECT_EQ(topics.size(), asked + 1);
    // The middle button on "Clear" asks too; on "Text Only" it is a click.
    WidgetMouse(state, {Family::ClearBtn, 0}, MouseAction::Release, MouseButton::Middle);
    EXPECT_EQ(topics.back(), 3);
    WidgetMouse(state, {Family::TextOnlyBtn, 0}, MouseAction::Release, MouseButton::Middle);
    EXPECT_EQ(topics.back(), 3);
    // Asking for help changes no setting and selects nothing.
    EXPECT_EQ(EncodeSettings(state.settings), settingsBefore);
}

TEST_F(MainLists, MouseReachesTheGroupAndLaunchPadRules) {
    putGroupTitles(6, {"sixth"});
    WidgetMouse(state, {Family::Group, 6}, MouseAction::Press, MouseButton::Left);
    EXPECT_EQ(state.settings.CurrentGroup, 0);  // a click ends with the release
    WidgetMouse(state, {Family::Group, 6}, MouseAction::Release, MouseButton::Left);
    EXPECT_EQ(state.settings.CurrentGroup, 6);
    EXPECT_EQ(w(Family::Item, 0).caption, "sixth");
    WidgetMouse(state, {Family::LaunchBtn, 0}, MouseAction::Release, MouseButton::Left);
    EXPECT_EQ(state.settings.CurrentLibrary, kLaunchPad);
    WidgetMouse(state, {Family::LibLabel, 0}, MouseAction::Move, MouseButton::None);
    EXPECT_TRUE(w(Family::LibBtn).visible);
}

struct StartCase {
    int onTop, layout, helpShown;
    WindowShow afterShowing, atTheEnd;
    int width;
};

class StartupWindow : public MainLists, public ::testing::WithParamInterface<StartCase> {};

TEST_P(StartupWindow, RememberedLayoutThenMinimisedUnlessOnTopOrFirstRun) {
    const StartCase c = GetParam();
    auto& s = state.settings;
    s.OnTop = std::int16_t(c.onTop);
    s.Layout = std::int16_t(c.layout);
    s.HelpShown = std::int16_t(c.helpShown);
    s.SizeOption = 1;
    s.ReducedLeft = 1500;
    const FormWindow& window = state.mainForm.form.window;
    ASSERT_FALSE(window.shown);
    ShowAtStartup(state);
    EXPECT_TRUE(window.shown);
    EXPECT_EQ(window.show, c.afterShowing);
    EXPECT_EQ(window.width, c.width);
    EXPECT_EQ(window.topmost, c.onTop == 1);
    EXPECT_EQ(w(Family::SizerBtn, 0).visible, c.onTop == 1);
    EXPECT_EQ(state.lists.highlightBar->list, ListKind::ClipboardClips);
    ShowFirstRunNormally(state);
    EXPECT_EQ(window.show, c.atTheEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Main, StartupWindow,
    ::testing::Values(StartCase{0, 0, 1, WindowShow::Minimised, WindowShow::Minimised, 12288},
                      StartCase{0, 0, 0, WindowShow::Minimised, WindowShow::Normal, 12288},
                      StartCase{1, 1, 1, WindowShow::Normal, WindowShow::Normal, 9600},
                      StartCase{1, 2, 1, WindowShow::Normal, WindowShow::Normal, 2844}));

TEST_F(MainLists, QueryUnloadGivesTheHighlightedCellItsColourAndSaves) {
    ResetHighlight(state);
    MoveHighlight(state, 106);
    QueryUnload(state);
    EXPECT_EQ(w(Family::Trans, 1).background, static_cast<Colour>(state.settings.TransferSlotsColour));
    EXPECT_FALSE(state.lists.highlightBar);
    EXPECT_EQ(saves, 1);
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
    EXPECT_TRUE(At(form, Family::LaunchBtn).selected);
    EXPECT_EQ(At(form, Family::LaunchBtn).background, kRed);
    EXPECT_EQ(At(form, Family::Group).background, kHighlight);
    EXPECT_TRUE(form.window.bold);
    EXPECT_TRUE(files::isFolder(dir.path() + "lib29"));
    // The pop-up help captions, and the tags' own from the library.
    EXPECT_EQ(At(form, Family::ClearBtn).toolTip, " Right click for help ");
    EXPECT_EQ(At(form, Family::hotkey, 3).toolTip, " Type this letter to paste ");
}
