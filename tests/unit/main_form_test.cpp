// Mode buttons, highlight bar, layout buttons and the small helpers of the
// main window.
#include "unit/main_form_fixture.h"

using namespace pellion;
using namespace pellion::ui;
using pellion::test::MainFormTest;

namespace {
// OnTop, Layout and whether the window is topmost, read together.
std::tuple<int, int, bool> View(const ProgramState& ps) {
    return {ps.settings.OnTop, ps.settings.Layout, ps.mainForm.form.window.topmost};
}
}  // namespace

struct ModeCase {
    int onTop, layout, clipMode, groupMode, captureMode, bulkCount;
    bool sizers;
    int clearWidth;
    const char* bulkCaption;
};

class ModeButtons : public MainFormTest, public ::testing::WithParamInterface<ModeCase> {};

TEST_P(ModeButtons, ShowTheSettings) {
    const ModeCase c = GetParam();
    auto& s = ps.settings;
    s.OnTop = static_cast<std::int16_t>(c.onTop);
    s.Layout = static_cast<std::int16_t>(c.layout);
    s.ClipMode = static_cast<std::int16_t>(c.clipMode);
    s.GroupMode = static_cast<std::int16_t>(c.groupMode);
    s.CaptureMode = static_cast<std::int16_t>(c.captureMode);
    s.BulkCount = static_cast<std::int16_t>(c.bulkCount);
    const Colour normalColour = 0x123456;  // "Normal" keeps whatever it has
    w(Family::ClipMode, 0).background = normalColour;
    w(Family::CaptureMode, 0).background = normalColour;
    RefreshModeButtons(ps);

    EXPECT_EQ(window().topmost, c.onTop == 1);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(w(Family::SizerBtn, i).visible, c.sizers);
    EXPECT_EQ(w(Family::TextOnlyFrame).visible, !c.sizers);
    EXPECT_EQ(w(Family::ClearBtn).rect.width, c.clearWidth);
    for (auto [family, count, setting] : {std::tuple{Family::ClipMode, 4, c.clipMode},
                                          std::tuple{Family::GroupMode, 4, c.groupMode},
                                          std::tuple{Family::CaptureMode, 3, c.captureMode}}) {
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(w(family, i).selected, i == setting) << FamilyName(family) << i;
            if (i > 0) {
                EXPECT_EQ(w(family, i).background, i == setting ? kRed : kButtonFace) << FamilyName(family) << i;
            }
        }
    }
    EXPECT_EQ(w(Family::ClipMode, 0).background, normalColour);
    EXPECT_EQ(w(Family::CaptureMode, 0).background, normalColour);
    EXPECT_EQ(w(Family::CaptureMode, 2).caption, c.bulkCaption);
}

INSTANTIATE_TEST_SUITE_P(
    Main, ModeButtons,
    ::testing::Values(ModeCase{0, 0, 0, 0, 0, 0, false, 1200, "Bulk"}, ModeCase{1, 1, 2, 3, 1, 0, true, 816, "Bulk"},
                      ModeCase{1, 2, 1, 0, 2, 0, true, 1200, "0"}, ModeCase{0, 1, 3, 2, 0, 5, false, 1200, "5"},
                      ModeCase{0, 0, 0, 1, 2, 96, false, 1200, "96"}, ModeCase{0, 0, 9, -1, 7, -3, false, 1200, "Bulk"}));

TEST_F(MainFormTest, HighlightPositionsCoverTheFourLists) {
    const std::pair<int, std::optional<WidgetRef>> cases[] = {
        {0, WidgetRef{Family::ClipboardClip, 0}}, {8, WidgetRef{Family::ClipboardClip, 8}},
        {9, WidgetRef{Family::Item, 0}},          {41, WidgetRef{Family::Item, 32}},
        {104, WidgetRef{Family::Item, 95}},       {105, WidgetRef{Family::Trans, 0}},
        {112, WidgetRef{Family::Trans, 7}},       {113, WidgetRef{Family::Group, 0}},
        {144, WidgetRef{Family::Group, 31}},      {-1, std::nullopt},
        {145, std::nullopt},
    };
    for (const auto& [p, cell] : cases) EXPECT_EQ(HighlightCell(p), cell) << p;
}

TEST_F(MainFormTest, HighlightRemembersAndRestoresEachCellsColour) {
    ps.settings.ClipboardClipsColour = kYellow;
    ResetHighlight(ps);
    w(Family::Item, 4).background = 0x00C0FF;
    MoveHighlight(ps, 13);
    EXPECT_EQ(ps.mainForm.highlight, 13);
    EXPECT_EQ(w(Family::Item, 4).background, kHighlight);
    EXPECT_EQ(w(Family::Item, 4).text, kHighlightText);
    EXPECT_EQ(w(Family::ClipboardClip, 0).background, kYellow);
    EXPECT_EQ(w(Family::ClipboardClip, 0).text, kBlack);
    MoveHighlight(ps, 106);
    EXPECT_EQ(w(Family::Item, 4).background, 0x00C0FFu);
    EXPECT_EQ(w(Family::Item, 4).text, kBlack);
    // The same position again or one outside the lists changes nothing.
    MoveHighlight(ps, 106);
    MoveHighlight(ps, 145);
    EXPECT_EQ(ps.mainForm.highlight, 106);
    EXPECT_EQ(w(Family::Trans, 1).background, kHighlight);
}

TEST_F(MainFormTest, HighlightLeavesTheSelectedGroupInHighlightColours) {
    ps.settings.CurrentGroup = 5;
    ResetHighlight(ps);
    EXPECT_EQ(w(Family::Group, 5).background, kHighlight);
    MoveHighlight(ps, 113 + 5);
    MoveHighlight(ps, 113 + 6);
    EXPECT_EQ(w(Family::Group, 5).background, kHighlight);
    EXPECT_EQ(w(Family::Group, 5).text, kHighlightText);
    // Another cell that happens to carry the highlight colour gets black text.
    w(Family::Item, 0).background = kHighlight;
    MoveHighlight(ps, 9);
    MoveHighlight(ps, 10);
    EXPECT_EQ(w(Family::Item, 0).text, kBlack);
    // Back to the first clip: the old cell is restored, the group repainted.
    ResetHighlight(ps);
    EXPECT_EQ(ps.mainForm.highlight, 0);
    EXPECT_EQ(w(Family::Item, 1).background, kCyan);
    EXPECT_EQ(w(Family::ClipboardClip, 0).background, kHighlight);
    EXPECT_EQ(ps.mainForm.savedCellColour, static_cast<Colour>(ps.settings.ClipboardClipsColour));
}

TEST_F(MainFormTest, HighlightGoesThroughAPluggedInCellAccess) {
    struct Cells : CellColours {
        Colour background(int p) const override { return 0x100 + static_cast<Colour>(p); }
        void paint(int p, Colour bg, Colour text) override { painted.push_back({p, bg, text}); }
        std::vector<std::tuple<int, Colour, Colour>> painted;
    } cells;
    ps.mainForm.cellColours = &cells;
    const auto before = form().widgets();
    MoveHighlight(ps, 50);
    MoveHighlight(ps, 120);
    using P = std::tuple<int, Colour, Colour>;
    const std::vector<P> want = {P{0, kYellow, kBlack}, P{50, kHighlight, kHighlightText},
                                 P{50, 0x100 + 50, kBlack}, P{120, kHighlight, kHighlightText}};
    EXPECT_EQ(cells.painted, want);
    EXPECT_TRUE(form().widgets() == before);
}

TEST_F(MainFormTest, TopButtonTogglesBetweenFullAndTheLastReducedLayout) {
    ps.settings.LastReducedLayout = 2;
    ps.settings.ReducedLeft = 600;
    SetLayout(ps, 0);
    TopBtn_MouseDown(ps, 0, MouseButton::Left);
    EXPECT_EQ(View(ps), (std::tuple{1, 2, true}));
    EXPECT_TRUE(w(Family::SizerBtn, 0).visible);
    EXPECT_EQ(window().focusRequest, FocusRequest::Holdfocus);
    EXPECT_EQ(window().left, 600);
    TopBtn_MouseDown(ps, 0, MouseButton::Left);
    EXPECT_EQ(View(ps), (std::tuple{0, 0, false}));
    EXPECT_EQ(window().left, 0);
    EXPECT_GE(saves, 4);
    // The right button only asks for help.
    const int savesBefore = saves;
    TopBtn_MouseDown(ps, 0, MouseButton::Right);
    TopBtn_MouseDown(ps, 2, MouseButton::Right);
    EXPECT_EQ(topics, (std::vector<int>{7, 37}));
    EXPECT_EQ(ps.settings.OnTop, 0);
    EXPECT_EQ(saves, savesBefore);
}

TEST_F(MainFormTest, SizerButtonsChooseTheLayout) {
    ps.settings.OnTop = 1;
    SetLayout(ps, 2);
    SizerBtn_Click(ps, 1);
    EXPECT_EQ(ps.settings.Layout, 1);
    EXPECT_EQ(ps.settings.LastReducedLayout, 1);
    EXPECT_EQ(ps.settings.OnTop, 1);
    EXPECT_TRUE(ps.mainForm.swallowNextKeyRelease);
    EXPECT_EQ(window().focusRequest, FocusRequest::Holdfocus);
    SizerBtn_Click(ps, 0);
    EXPECT_EQ(View(ps), (std::tuple{0, 0, false}));
    EXPECT_EQ(ps.settings.LastReducedLayout, 1);
    EXPECT_FALSE(w(Family::SizerBtn, 0).visible);
    SizerBtn_MouseUp(ps, 2, MouseButton::Right);
    SizerBtn_MouseUp(ps, 2, MouseButton::Left);
    EXPECT_EQ(topics, std::vector<int>{1});
}

TEST_F(MainFormTest, BringUpWindowRestoresOrExpands) {
    int stripHidden = 0;
    ps.mainForm.hooks.hideEdgeStrip = [&] { ++stripHidden; };
    // Not on top: back to normal, fronted, not left topmost.
    window().shown = true;
    window().show = WindowShow::Minimised;
    BringUpWindow(ps);
    EXPECT_EQ(window().show, WindowShow::Normal);
    EXPECT_TRUE(window().raiseRequest);
    EXPECT_TRUE(window().processEventsRequest);
    EXPECT_EQ(window().focusRequest, FocusRequest::Window);
    EXPECT_FALSE(window().topmost);
    // A minimised reduced window only comes back, still reduced and on top.
    ps.settings.OnTop = 1;
    SetLayout(ps, 1);
    window().show = WindowShow::Minimised;
    BringUpWindow(ps);
    EXPECT_EQ(window().show, WindowShow::Normal);
    EXPECT_EQ(View(ps), (std::tuple{1, 1, true}));
    // Already up and reduced: the full window.
    BringUpWindow(ps);
    EXPECT_EQ(View(ps), (std::tuple{0, 0, false}));
    EXPECT_TRUE(w(Family::Ctrlframe, 1).visible);
    // The column view as well.
    TopBtn_MouseDown(ps, 3, MouseButton::Left);
    ASSERT_EQ(ps.mainForm.columnView, 3);
    BringUpWindow(ps);
    EXPECT_EQ(ps.mainForm.columnView, 0);
    EXPECT_EQ(View(ps), (std::tuple{0, 0, false}));
    EXPECT_TRUE(w(Family::Ctrlframe, 0).visible);
    EXPECT_EQ(window().width, 12288);
    EXPECT_EQ(stripHidden, 4);
}

TEST_F(MainFormTest, MinimiseButtonShrinksAReducedWindowInstead) {
    Minimize_Click(ps);
    EXPECT_EQ(window().show, WindowShow::Minimised);
    window().show = WindowShow::Normal;
    ps.settings.OnTop = 1;
    ps.settings.LastReducedLayout = 2;
    Minimize_Click(ps);
    EXPECT_EQ(window().show, WindowShow::Normal);
    EXPECT_EQ(ps.settings.Layout, 2);
    int beeps = 0;
    ps.mainForm.hooks.viewerOpen = [] { return true; };
    ps.mainForm.hooks.beepToViewer = [&] { ++beeps; };
    ps.settings.OnTop = 0;
    Minimize_Click(ps);
    EXPECT_EQ(beeps, 1);
    EXPECT_EQ(window().show, WindowShow::Normal);
}

TEST_F(MainFormTest, FocusSinkEndsTheSearchAndMovesTheHighlightToTheFirstShownCell) {
    int searchesEnded = 0, pointersHidden = 0;
    ps.mainForm.hooks.endSearch = [&] { ++searchesEnded; };
    ps.mainForm.hooks.hideNextClickPointer = [&] { ++pointersHidden; };
    MoveHighlight(ps, 30);
    Form_Resize(ps);  // normal state: nothing
    EXPECT_EQ(searchesEnded, 0);
    window().show = WindowShow::Minimised;
    Form_Resize(ps);
    EXPECT_EQ(searchesEnded, 1);
    EXPECT_EQ(pointersHidden, 1);
    EXPECT_EQ(ps.mainForm.highlight, 0);
    window().show = WindowShow::Normal;
    SetColumnView(ps, 2);
    Holdfocus_GotFocus(ps);
    EXPECT_EQ(ps.mainForm.highlight, 41);
    SetColumnView(ps, 3);
    Holdfocus_GotFocus(ps);
    EXPECT_EQ(ps.mainForm.highlight, 73);
}

TEST_F(MainFormTest, ChangeButtonAppearsOverTheLibraryName) {
    bool viewerPasting = true;
    ps.mainForm.hooks.viewerTakesPasting = [&] { return viewerPasting; };
    LibLabel_MouseMove(ps);
    EXPECT_FALSE(w(Family::LibBtn).visible);
    viewerPasting = false;
    LibLabel_MouseMove(ps);
    EXPECT_TRUE(w(Family::LibBtn).visible);
    EXPECT_EQ(w(Family::LibBtn).rect, (TwipRect{36, 5472, 1260, 300}));
}

TEST_F(MainFormTest, QuickHelpTopicsOfTheWidgets) {
    const std::pair<WidgetRef, std::optional<int>> cases[] = {
        {{Family::SizerBtn, 2}, 1},     {{Family::Ctrlframe, 0}, 2},  {{Family::Ctrlframe, 1}, 9},
        {{Family::ClearBtn, 0}, 3},     {{Family::Label2, 0}, 4},     {{Family::Label2, 2}, 4},
        {{Family::ClipMode, 3}, 4},     {{Family::GroupMode, 0}, 4},  {{Family::Label2, 1}, 5},
        {{Family::HotKeyOnOff, 0}, 6},  {{Family::TopBtn, 0}, 7},     {{Family::TopBtn, 3}, 37},
        {{Family::Frame2, 0}, 8},       {{Family::Frame1, 0}, 10},    {{Family::Group, 22}, 11},
        {{Family::Group, 21}, {}},      {{Family::CaptureMode, 1}, 28}, {{Family::CaptureMode, 2}, 29},
        {{Family::CaptureMode, 0}, {}}, {{Family::LaunchBtn, 0}, 36}, {{Family::TextOnlyBtn, 0}, 40},
        {{Family::Search, 0}, 47},      {{Family::Item, 3}, {}},
    };
    for (const auto& [widget, topic] : cases) EXPECT_EQ(QuickHelpTopic(ps, widget), topic) << ToString(widget);
    ps.settings.CurrentGroup = 22;
    EXPECT_EQ(QuickHelpTopic(ps, {Family::Ctrlframe, 1}), 11);
}

TEST(MainFormHelpers, PauseWaitsOnTheTickAndStopsAtAWrap) {
    std::uint32_t now = 1000;
    int reads = 0;
    Pause(100, [&] { ++reads; return now += 7; });
    EXPECT_EQ(now - 1007, 105u);  // first tick after more than 100 ms
    now = 0xFFFFFFF0u;
    reads = 0;
    Pause(1000, [&] { ++reads; return reads == 1 ? now : 5u; });
    EXPECT_EQ(reads, 2);
    const std::uint32_t start = TickCount();
    Pause(20);
    EXPECT_GT(TickCount() - start, 20u);
}

TEST(MainFormHelpers, ColoursAndTwips) {
    EXPECT_EQ(ToRgb(0x00336699), (Rgb{0x99, 0x66, 0x33}));
    EXPECT_EQ(ToRgb(kYellow), (Rgb{255, 255, 0}));
    EXPECT_EQ(ToRgb(kCyan), (Rgb{0, 255, 255}));
    std::vector<int> asked;
    const SystemPalette palette = [&](int index) {
        asked.push_back(index);
        return Rgb{1, 2, static_cast<std::uint8_t>(index)};
    };
    EXPECT_EQ(ToRgb(kHighlight, palette), (Rgb{1, 2, 0x0D}));
    EXPECT_EQ(ToRgb(kHighlightText, palette), (Rgb{1, 2, 0x0E}));
    EXPECT_EQ(ToRgb(kButtonFace, palette), (Rgb{1, 2, 0x0F}));
    EXPECT_EQ(asked, (std::vector<int>{0x0D, 0x0E, 0x0F}));
    EXPECT_NE(ToRgb(kHighlight), ToRgb(kHighlightText));  // the fallback still tells them apart

    const TwipScale at96, at144(144);
    EXPECT_EQ((std::array{at96.toPixels(15), at96.toPixels(12288), at144.toPixels(1440)}), (std::array{1, 819, 144}));
    EXPECT_EQ((std::array{at96.toTwips(640), at144.toTwips(3)}), (std::array{9600, 30}));
    EXPECT_EQ(TwipScale(0).dpi(), 96.0);
    EXPECT_EQ(TwipScale(-5).toPixels(150), 10);
}

// The design's twips grow with the desktop font (taller or wider than the
// design's), never below the logical dpi, and only as far as the Small
// window still fits the screen.
TEST(MainFormHelpers, DesignDpiFollowsTheDesktopFontWithinTheScreen) {
    struct Case {
        double logicalDpi;
        FontMeasure font;
        int screenWidth, screenHeight;
        int dpi;
    };
    const Case cases[] = {
        {96, {13, 5.8}, 1280, 1024, 96},    // the design's own font
        {96, {14, 7.4}, 1280, 1024, 123},   // a wider font: 7.4 / 5.8 of 96, rounded up
        {96, {20, 5.8}, 1920, 1200, 148},   // a taller one
        {120, {10, 4}, 1280, 1024, 120},    // small font, high dpi: the dpi stays
        {96, {14, 7.4}, 960, 540, 119},     // the Small window's 6496 twips fit 540 pixels
        {96, {0, 0}, 0, 0, 96},             // nothing measured, no screen
        {0, {14, 7.4}, 1280, 1024, 123},    // no dpi: 96
    };
    for (const Case& c : cases) {
        const int dpi = DesignDpi(c.logicalDpi, c.font, c.screenWidth, c.screenHeight);
        EXPECT_EQ(dpi, c.dpi) << c.font.lineHeight << " " << c.font.letterWidth << " on " << c.screenWidth;
        if (c.screenHeight) {
            EXPECT_LE(TwipScale(dpi).toPixels(kSmallHeight), c.screenHeight);
        }
    }
}

TEST(MainFormHelpers, CellCaptionsEndAtTheFirstNul) {
    FormState form;
    form[(WidgetRef{Family::Trans, 7})].caption = "old";
    FillCellCaptions(form, Family::Trans, {std::string("hello\0junk  ", 12), "   padded title   ", ""});
    EXPECT_EQ(form[(WidgetRef{Family::Trans, 0})].caption, "hello");
    EXPECT_EQ(form[(WidgetRef{Family::Trans, 1})].caption, "   padded title   ");
    EXPECT_EQ(form[(WidgetRef{Family::Trans, 7})].caption, "");
    FillCellCaptions(form, Family::ClipboardClip, std::vector<std::string>(20, "x"));
    EXPECT_EQ(form[(WidgetRef{Family::ClipboardClip, 8})].caption, "x");
}
