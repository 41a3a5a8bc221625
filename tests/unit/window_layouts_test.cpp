// Layouts, the column view and bringing the window up, as data: each way
// back is the exact inverse of the way there.
#include <cmath>

#include "unit/main_form_fixture.h"

using namespace pellion;
using namespace pellion::ui;
using pellion::test::MainFormTest;

namespace {

// The first widget that differs.
std::string Describe(const std::vector<WidgetState>& a, const std::vector<WidgetState>& b) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (!(a[i] == b[i])) return ToString(a[i].ref) + " differs";
    return a.size() == b.size() ? "" : "sizes differ";
}

// left, top, width, height
std::array<int, 4> Place(const FormWindow& w) { return {w.left, w.top, w.width, w.height}; }

const std::vector<Family> kCellFamilies = {Family::ClipboardClip, Family::Item, Family::Trans, Family::Group,
                                           Family::Label1, Family::hotkey};
const std::vector<Family> kDropFamilies = {Family::TrashLabel, Family::BulkDrop, Family::BulkDropPicture,
                                           Family::BulkPaste, Family::BulkPastelabel};

struct ViewCase {
    int size, layout, column;
};

// Every layout at both sizes, then the column views.
const ViewCase kViews[] = {{1, 0, 0}, {0, 0, 0}, {1, 1, 0}, {0, 1, 0}, {1, 2, 0},
                       {0, 2, 0}, {1, 0, 1}, {0, 0, 2}, {1, 0, 3}};

// OnTop, Layout and whether the window is topmost, read together.
std::tuple<int, int, bool> View(const ProgramState& ps) {
    return {ps.settings.OnTop, ps.settings.Layout, ps.mainForm.form.window.topmost};
}

}  // namespace

struct ColumnCase {
    int size, column, items;
};

class ColumnViews : public MainFormTest, public ::testing::WithParamInterface<ColumnCase> {};

TEST_P(ColumnViews, OneColumnAloneAndBackToTheExactFullWindow) {
    const ColumnCase c = GetParam();
    ps.settings.SizeOption = static_cast<std::int16_t>(c.size);
    ps.settings.ColumnLeft = 4500;
    ps.settings.ColumnTop = 150.6f;
    SetLayout(ps, 0);
    RefreshModeButtons(ps);
    const auto full = form().widgets();
    const FormWindow fullWindow = window();

    // Its size and being on top are the layout script's.
    TopBtn_MouseDown(ps, c.column, MouseButton::Left);
    EXPECT_EQ(window().left, 4500);
    EXPECT_EQ(window().top, 151);
    for (int i = 0; i < 96; ++i)
        if (i / 32 != c.column - 1) {
            EXPECT_FALSE(shown(Family::Item, i)) << i;
        }
    EXPECT_EQ(shownCount(Family::Item), c.items);
    EXPECT_EQ(shownCount(Family::hotkey), 0);
    // The panel lies over the buttons below the Clipboard Clips.
    for (Family f : {Family::Ctrlframe, Family::Optionbutton, Family::Helpbutton, Family::LibLabel,
                     Family::Minimize, Family::Search, Family::Frame2, Family::Frame1})
        EXPECT_FALSE(shown(f)) << FamilyName(f);

    TopBtn_MouseDown(ps, c.column, MouseButton::Left);
    EXPECT_EQ(ps.settings.OnTop, 0);
    EXPECT_TRUE(form().widgets() == full) << Describe(form().widgets(), full);
    EXPECT_EQ(Place(window()), (std::array{0, 0, fullWindow.width, fullWindow.height}));
}

INSTANTIATE_TEST_SUITE_P(Layout, ColumnViews,
                         ::testing::Values(ColumnCase{1, 1, 32}, ColumnCase{1, 2, 32}, ColumnCase{1, 3, 32},
                                           ColumnCase{0, 1, 23}, ColumnCase{0, 2, 23}));

TEST_F(MainFormTest, ColumnPositionThatIsNoNumberIsTheCorner) {
    ps.settings.ColumnLeft = std::nanf("");
    ps.settings.ColumnTop = INFINITY;
    SetColumnView(ps, 1);
    EXPECT_EQ(window().left, 0);
    EXPECT_EQ(window().top, 0);
}

// Every sequence of layouts that ends in the full window gives back the full
// window exactly, at the top left corner wherever it was moved: each move of
// the strip has its inverse.
TEST_F(MainFormTest, LayoutRoundTripsRestoreEveryWidget) {
    SetLayout(ps, 0);
    RefreshModeButtons(ps);
    const auto full = form().widgets();
    const FormWindow fullWindow = window();
    ps.settings.ReducedLeft = 2000;
    ps.settings.ReducedTop = 1000;
    const std::vector<std::vector<int>> paths = {{0}, {1}, {2}, {1, 2}, {2, 1}, {1, 1}, {2, 2}, {1, 2, 1, 2}};
    for (const auto& path : paths) {
        std::string name;
        for (int n : path) {
            SetLayout(ps, n);
            name += std::to_string(n) + " ";
        }
        window().left = 700;
        window().top = 800;
        SetLayout(ps, 0);
        EXPECT_TRUE(form().widgets() == full) << "path " << name << Describe(form().widgets(), full);
        EXPECT_EQ(Place(window()), (std::array{0, 0, fullWindow.width, fullWindow.height})) << "path " << name;
    }
}

TEST_F(MainFormTest, StripToCompactRestoresTheOffsetsThenCuts) {
    SetLayout(ps, 0);
    SetLayout(ps, 2);
    const auto compactFromFull = form().widgets();
    const FormWindow w1 = window();
    SetLayout(ps, 0);
    SetLayout(ps, 1);
    SetLayout(ps, 2);
    EXPECT_TRUE(form().widgets() == compactFromFull) << Describe(form().widgets(), compactFromFull);
    EXPECT_EQ(Place(window()), Place(w1));
    EXPECT_EQ(w(Family::Ctrlframe, 0).rect.height, 3300);
}

// The fake screen is 28800 x 16200 twips; the compact window 2844 x 3700.
TEST_F(MainFormTest, ReducedWindowOffTheScreenComesToTheCorner) {
    const std::array<int, 4> cases[] = {{28785, 15000, 28785, 15000}, {28800, 15000, 0, 0}, {100, 16200, 0, 0},
                                        {-1000, -300, -1000, -300},   {-2844, 500, 0, 0},     {500, -3700, 0, 0}};
    for (const auto& [left, top, wantLeft, wantTop] : cases) {
        SetLayout(ps, 0);
        ps.settings.ReducedLeft = left;
        ps.settings.ReducedTop = top;
        SetLayout(ps, 2);
        EXPECT_EQ(std::pair(window().left, window().top), std::pair(wantLeft, wantTop)) << left << "," << top;
    }
}

// The drop targets may cover buttons but never a cell, whichever layout,
// size or column is shown; a clip's number, and a first-column Group Clip's
// hot key letter, sit on that clip's row wherever the layout moves them.
TEST_F(MainFormTest, DropTargetsNeverCoverACellAndLabelsSitOnTheirClipsRows) {
    for (ViewCase v : kViews) {
        ProgramState fresh(fake.platform);
        fresh.settings.SizeOption = static_cast<std::int16_t>(v.size);
        SetLayout(fresh, v.layout);
        if (v.column) SetColumnView(fresh, v.column);
        FormState& f = fresh.mainForm.form;
        int dropsShown = 0;
        for (Family d : kDropFamilies) {
            for (int i = 0; i < FamilySize(d); ++i) {
                f[{d, i}].visible = true;
                auto drop = f.shownRect({d, i});
                if (!drop) continue;
                ++dropsShown;
                for (Family c : kCellFamilies) {
                    for (int j = 0; j < FamilySize(c); ++j) {
                        auto cell = f.shownRect({c, j});
                        EXPECT_TRUE(!cell || cell->intersected(*drop).empty())
                            << ToString({d, i}) << " covers " << ToString({c, j}) << " in layout " << v.layout
                            << " column " << v.column;
                    }
                }
            }
        }
        if (v.layout == 0 && v.column == 0) {
            EXPECT_EQ(dropsShown, 14);
        }
        if (v.layout == 2) {
            EXPECT_GT(dropsShown, 0);
        }
        int labels = 0;
        for (auto [label, clip, count] : {std::tuple{Family::Label1, Family::ClipboardClip, 9},
                                          std::tuple{Family::hotkey, Family::Item, 32}}) {
            for (int i = 0; i < count; ++i) {
                const auto tag = f.shownRect({label, i}), cell = f.shownRect({clip, i});
                if (!tag) continue;
                ++labels;
                ASSERT_TRUE(cell) << ToString({label, i}) << " in layout " << v.layout;
                EXPECT_EQ(tag->top, cell->top) << ToString({label, i}) << " in layout " << v.layout;
                EXPECT_LT(tag->left, cell->left) << ToString({label, i}) << " in layout " << v.layout;
            }
        }
        if (v.column == 0) {  // a column view shows no labels
            EXPECT_GE(labels, 9) << "layout " << v.layout;
        }
    }
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
    // The column view as well.
    TopBtn_MouseDown(ps, 3, MouseButton::Left);
    ASSERT_EQ(ps.mainForm.columnView, 3);
    BringUpWindow(ps);
    EXPECT_EQ(ps.mainForm.columnView, 0);
    EXPECT_EQ(View(ps), (std::tuple{0, 0, false}));
    EXPECT_EQ(window().width, 12288);
    EXPECT_EQ(stripHidden, 4);
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
        EXPECT_EQ(DesignDpi(c.logicalDpi, c.font, c.screenWidth, c.screenHeight), c.dpi)
            << c.font.lineHeight << " " << c.font.letterWidth << " on " << c.screenWidth;
    }
}
