// Layouts, sizes and the column view of the main window, as data.
#include <cmath>
#include <set>

#include "unit/main_form_fixture.h"

using namespace pellion;
using namespace pellion::ui;
using pellion::test::MainFormTest;

namespace {

std::string Describe(const std::vector<WidgetState>& a, const std::vector<WidgetState>& b) {
    auto text = [](const WidgetState& x) {
        const TwipRect& r = x.rect;
        return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.width) + "x" +
               std::to_string(r.height) + " visible " + std::to_string(x.visible) + " '" + x.caption + "'";
    };
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (!(a[i] == b[i])) return ToString(a[i].ref) + ": " + text(a[i]) + " vs " + text(b[i]);
    return a.size() == b.size() ? "" : "sizes differ";
}

// left, top, width, height
std::array<int, 4> Place(const FormWindow& w) { return {w.left, w.top, w.width, w.height}; }

const std::vector<Family> kCellFamilies = {Family::ClipboardClip, Family::Item, Family::Trans, Family::Group,
                                           Family::Label1, Family::hotkey};
const std::vector<Family> kDropFamilies = {Family::TrashLabel, Family::BulkDrop, Family::BulkDropPicture,
                                           Family::BulkPaste, Family::BulkPastelabel};

}  // namespace

TEST(FormDesign, FamiliesAreCompleteAndContainersComeFirst) {
    const auto widgets = DesignWidgets();
    std::set<WidgetRef> seen;
    for (const WidgetState& w : widgets) {
        if (w.parent) {
            EXPECT_TRUE(seen.count(*w.parent)) << ToString(w.ref) << " before its container";
        }
        EXPECT_TRUE(seen.insert(w.ref).second) << ToString(w.ref) << " twice";
    }
    int total = 0;
    for (int f = 0; f < kFamilyCount; ++f) total += FamilySize(static_cast<Family>(f));
    EXPECT_EQ(widgets.size(), static_cast<std::size_t>(total));
    FormState form;
    for (const WidgetState& w : widgets) EXPECT_EQ(form[w.ref].ref, w.ref);
    EXPECT_THROW(form[(WidgetRef{Family::Item, 96})], std::out_of_range);
    EXPECT_THROW(form[(WidgetRef{Family::Group, -1})], std::out_of_range);
}

struct FullCase {
    int size;
    int group;
    int width, height;
    int clips, items, groups, trans, hotkeys;
};

class FullSizes : public MainFormTest, public ::testing::WithParamInterface<FullCase> {};

TEST_P(FullSizes, WindowAndShownCells) {
    const FullCase c = GetParam();
    ps.settings.SizeOption = static_cast<std::int16_t>(c.size);
    ps.settings.CurrentGroup = static_cast<std::int16_t>(c.group);
    StartInRememberedLayout(ps);
    EXPECT_EQ(window().width, c.width);
    EXPECT_EQ(window().height, c.height);
    EXPECT_EQ(shownCount(Family::ClipboardClip), c.clips);
    EXPECT_EQ(shownCount(Family::Item), c.items);
    EXPECT_EQ(shownCount(Family::Group), c.groups);
    EXPECT_EQ(shownCount(Family::Trans), c.trans);
    EXPECT_EQ(shownCount(Family::hotkey), c.hotkeys);
    EXPECT_FALSE(shown(Family::Holdfocus));
    // Row 23 is hidden outright, not merely cut by its frame.
    const bool large = c.size == 1;
    for (Family f : {Family::Item, Family::hotkey, Family::Group}) EXPECT_EQ(w(f, 23).visible, large) << FamilyName(f);
    EXPECT_EQ(w(Family::Item, 55).visible, large && c.group != 22);
    EXPECT_EQ(w(Family::Item, 87).visible, large && c.group != 22);
}

INSTANTIATE_TEST_SUITE_P(Layout, FullSizes,
                         ::testing::Values(FullCase{0, 0, 9624, 6496, 9, 46, 23, 0, 23},
                                           FullCase{0, 22, 9624, 6496, 9, 46, 23, 0, 23},
                                           FullCase{1, 0, 12288, 8820, 9, 96, 32, 8, 32},
                                           FullCase{1, 22, 12288, 8820, 9, 94, 32, 8, 32}));

TEST_F(MainFormTest, StripShowsTheNineClipsAsThreeColumnsOfThree) {
    ps.settings.OnTop = 1;
    ps.settings.ReducedLeft = 1500;
    ps.settings.ReducedTop = 900;
    SetLayout(ps, 1);
    RefreshModeButtons(ps);
    EXPECT_EQ(Place(window()), (std::array{1500, 900, 9600, 1530}));
    EXPECT_EQ(shownCount(Family::ClipboardClip), 9);
    EXPECT_EQ(shownCount(Family::Label1), 9);
    for (Family f : {Family::Item, Family::Group, Family::Trans})
        EXPECT_EQ(shownCount(f), 0) << FamilyName(f);
    EXPECT_EQ(shownCount(Family::SizerBtn), 3);
    for (Family f : {Family::ClearBtn, Family::Frame3}) EXPECT_TRUE(shown(f)) << FamilyName(f);
    for (Family f : {Family::Frame4, Family::Frame5, Family::Frame6, Family::LaunchBtn, Family::TextOnlyFrame,
                     Family::Minimize, Family::Search, Family::Optionbutton})
        EXPECT_FALSE(shown(f)) << FamilyName(f);
    for (int i = 0; i < 9; ++i) {
        const TwipRect a = form().absoluteRect({Family::ClipboardClip, i});
        const TwipRect first = form().absoluteRect({Family::ClipboardClip, i % 3});
        EXPECT_LE(std::abs(a.top - first.top), 20) << "row of clip " << i;
        EXPECT_GE(a.left - first.left, 2500 * (i / 3)) << "column of clip " << i;
        EXPECT_EQ(*form().shownRect({Family::ClipboardClip, i}), a) << "clip " << i << " cut off";
        for (int j = 0; j < 9; ++j) {
            if (j / 3 == i / 3) continue;  // within a column the cells overlap a little, as designed
            EXPECT_TRUE(a.intersected(form().absoluteRect({Family::ClipboardClip, j})).empty())
                << i << " overlaps " << j;
            EXPECT_TRUE(a.intersected(form().absoluteRect({Family::Label1, j})).empty()) << i << " on tag " << j;
        }
    }
    EXPECT_EQ(w(Family::Label2, 2).caption, "Modes:");
    EXPECT_EQ(w(Family::ClearBtn).rect.width, 816);
}

TEST_F(MainFormTest, CompactCutsThePanelBelowTheClipPasteModes) {
    ps.settings.ReducedLeft = 300;
    SetLayout(ps, 2);
    EXPECT_EQ(window().width, 2844);
    EXPECT_EQ(window().height, 3700);
    EXPECT_EQ(window().left, 300);
    EXPECT_EQ(w(Family::Ctrlframe, 0).rect.height, 3300);
    EXPECT_EQ(shownCount(Family::ClipboardClip), 9);
    EXPECT_TRUE(shown(Family::Frame3));
    EXPECT_TRUE(shown(Family::ClearBtn));
    EXPECT_FALSE(w(Family::Frame4).visible);
    for (Family f : {Family::Frame5, Family::Frame6, Family::Minimize, Family::Frame1, Family::Frame2})
        EXPECT_FALSE(shown(f)) << FamilyName(f);
    EXPECT_EQ(shownCount(Family::Item), 0);
    EXPECT_EQ(shownCount(Family::Group), 0);
}

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

    TopBtn_MouseDown(ps, c.column, MouseButton::Left);
    EXPECT_EQ(ps.settings.OnTop, 1);
    EXPECT_EQ(ps.mainForm.columnView, c.column);
    EXPECT_TRUE(window().topmost);
    EXPECT_EQ(window().width, 2500);
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
    EXPECT_EQ(ps.mainForm.columnView, 0);
    EXPECT_TRUE(form().widgets() == full) << Describe(form().widgets(), full);
    EXPECT_EQ(window().width, fullWindow.width);
    EXPECT_EQ(window().left, 0);
    EXPECT_EQ(window().top, 0);
    EXPECT_FALSE(window().topmost);
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
    EXPECT_EQ(w(Family::Label2, 2).caption, "Special Modes:");
}

TEST_F(MainFormTest, StripAgainOnlyPlacesTheWindow) {
    SetLayout(ps, 1);
    const auto strip = form().widgets();
    ps.settings.ReducedLeft = 4000;
    ps.settings.ReducedTop = 2500;
    window().width = 9000;  // as if the user had changed it
    SetLayout(ps, 1);
    EXPECT_TRUE(form().widgets() == strip) << Describe(form().widgets(), strip);
    EXPECT_EQ(window().left, 4000);
    EXPECT_EQ(window().top, 2500);
    EXPECT_EQ(window().width, 9000);
}

struct PlaceCase {
    int left, top, wantLeft, wantTop;
};

class OffScreen : public MainFormTest, public ::testing::WithParamInterface<PlaceCase> {};

TEST_P(OffScreen, ReducedWindowOffTheScreenComesToTheCorner) {
    const PlaceCase c = GetParam();  // the fake screen is 28800 x 16200 twips
    ps.settings.ReducedLeft = c.left;
    ps.settings.ReducedTop = c.top;
    SetLayout(ps, 2);
    EXPECT_EQ(window().left, c.wantLeft);
    EXPECT_EQ(window().top, c.wantTop);
}

INSTANTIATE_TEST_SUITE_P(Layout, OffScreen,
                         ::testing::Values(PlaceCase{28785, 15000, 28785, 15000}, PlaceCase{28800, 15000, 0, 0},
                                           PlaceCase{100, 16200, 0, 0}, PlaceCase{-1000, -300, -1000, -300},
                                           PlaceCase{-2844, 500, 0, 0}, PlaceCase{500, -3700, 0, 0}));

TEST_F(MainFormTest, LayoutWhileMinimisedDoesNothing) {
    window().show = WindowShow::Minimised;
    const auto before = form().widgets();
    SetLayout(ps, 1);
    EXPECT_EQ(ps.settings.Layout, 0);
    EXPECT_TRUE(form().widgets() == before);
    EXPECT_EQ(saves, 0);
    window().show = WindowShow::Normal;
    SetLayout(ps, 1);
    EXPECT_EQ(ps.settings.Layout, 1);
    EXPECT_EQ(saves, 1);
    SetLayout(ps, 7);
    EXPECT_EQ(ps.settings.Layout, 1);
    EXPECT_EQ(saves, 1);
}

TEST_F(MainFormTest, FullSizeLeavesTheMaximisedState) {
    window().show = WindowShow::Maximised;
    ps.settings.SizeOption = 0;
    ApplyFullSize(ps);
    EXPECT_EQ(window().show, WindowShow::Normal);
    EXPECT_EQ(w(Family::Frame1).rect.left, 7600);
    EXPECT_EQ(w(Family::Ctrlframe, 1).rect.height, 6100);
    EXPECT_FALSE(w(Family::Frame2).visible);
}

TEST_F(MainFormTest, StartUpEntersTheRememberedLayoutFromTheDesign) {
    ps.settings.Layout = 1;
    window().show = WindowShow::Minimised;
    StartInRememberedLayout(ps);
    EXPECT_EQ(window().show, WindowShow::Normal);
    EXPECT_EQ(ps.settings.Layout, 1);
    EXPECT_EQ(window().width, 9600);
    EXPECT_FALSE(w(Family::Ctrlframe, 1).visible);
    EXPECT_EQ(w(Family::ClipboardClip, 8).rect.left, 5390);
}

// The drop targets may cover buttons but never a cell, whichever layout,
// size or column is shown.
TEST_F(MainFormTest, DropTargetsNeverCoverACell) {
    struct View {
        int size, layout, column;
    };
    for (View v : {View{1, 0, 0}, View{0, 0, 0}, View{1, 1, 0}, View{1, 2, 0}, View{0, 2, 0}, View{1, 0, 1},
                   View{0, 0, 2}, View{1, 0, 3}}) {
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
    }
}
