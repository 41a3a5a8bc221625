// Keys in the main window: the navigation tables, the key-release actions in
// their order, the highlight that follows the pointer.
#include "ui/logic/keyboard.h"

#include "unit/paste_fixture.h"

using namespace pellion;
using namespace pellion::test;
using namespace pellion::ui;

namespace {

struct Move {
    int key, from, to;
};

NavigationView Full(bool large, int column = 0) { return {false, 0, large, column}; }

void Expect(const NavigationView& v, std::initializer_list<Move> moves, const char* what) {
    for (const Move& m : moves)
        EXPECT_EQ(NavigateTo(v, m.key, m.from), m.to) << what << ": key " << m.key << " from " << m.from;
}

}  // namespace

TEST(Navigation, LargeWindow) {
    Expect(Full(true),
           {{key::Down, 8, 9},       {key::Down, 40, 41},      {key::Down, 104, 113},   {key::Down, 144, 0},
            {key::Up, 113, 104},     {key::Up, 0, 144},        {key::Up, 41, 40},       {key::Up, 9, 8},
            {key::PageUp, 5, 0},     {key::PageUp, 0, 0},      {key::PageUp, 40, 9},    {key::PageUp, 9, 9},
            {key::PageUp, 60, 41},   {key::PageUp, 104, 73},   {key::PageUp, 144, 113}, {key::PageUp, 108, 108},
            {key::PageDown, 0, 8},   {key::PageDown, 8, 8},    {key::PageDown, 9, 40},  {key::PageDown, 50, 72},
            {key::PageDown, 73, 104}, {key::PageDown, 113, 144}, {key::PageDown, 144, 144},
            {key::Home, 77, 0},      {key::End, 3, 144},
            {key::Left, 113, 73},    {key::Left, 144, 104},    {key::Left, 73, 41},     {key::Left, 41, 9},
            {key::Left, 17, 8},      {key::Left, 9, 0},        {key::Left, 18, 18},     {key::Left, 4, 4},
            {key::Right, 4, 13},     {key::Right, 9, 41},      {key::Right, 40, 72},    {key::Right, 41, 73},
            {key::Right, 73, 113},   {key::Right, 104, 144},   {key::Right, 113, 113},
            {key::Enter, 50, 50},    {key::Numpad0, 50, 50}},
           "large");
}

TEST(Navigation, SmallWindowSkipsItsHiddenCells) {
    Expect(Full(false),
           {{key::Down, 31, 41},    {key::Down, 63, 113},    {key::Down, 135, 0},     {key::Down, 30, 31},
            {key::Up, 41, 31},      {key::Up, 113, 63},      {key::Up, 0, 135},
            {key::PageDown, 9, 31}, {key::PageDown, 41, 63}, {key::PageDown, 120, 135},
            {key::End, 0, 135},     {key::Home, 135, 0},
            {key::Left, 113, 41},   {key::Left, 135, 63},    {key::Left, 50, 18},
            {key::Right, 41, 113},  {key::Right, 63, 135},   {key::Right, 20, 52}},
           "small");
}

TEST(Navigation, AColumnViewKeepsTheHighlightInItsColumn) {
    for (bool large : {true, false}) {
        for (int column = 1; column <= 3; ++column) {
            const int first = 9 + 32 * (column - 1);
            const int last = large ? first + 31 : first + 22;
            const NavigationView v = Full(large, column);
            Expect(v,
                   {{key::Down, last, first}, {key::Up, first, last}, {key::Down, first, first + 1},
                    {key::PageUp, first + 5, first}, {key::PageDown, first, last},
                    {key::Home, first + 3, first + 3}, {key::End, first + 3, first + 3},
                    {key::Left, first + 3, first + 3}, {key::Right, first + 3, first + 3}},
                   large ? "large column" : "small column");
        }
    }
}

TEST(Navigation, ReducedWindows) {
    const NavigationView strip{true, 1, true, 0}, compact{true, 2, true, 0};
    Expect(strip,
           {{key::Left, 5, 2}, {key::Left, 2, 2}, {key::Right, 5, 8}, {key::Right, 6, 6}, {key::Up, 0, 8},
            {key::Up, 4, 3}, {key::Down, 8, 0}, {key::Down, 4, 5}, {key::Home, 4, 4}, {key::PageDown, 4, 4}},
           "strip");
    Expect(compact, {{key::Left, 5, 5}, {key::Right, 1, 1}, {key::Up, 0, 8}, {key::Down, 8, 0}, {key::End, 2, 2}},
           "compact");
}

class Keyboard : public PasteTest {
protected:
    Keyboard() {
        state.settings.StickyOption = 0;
        state.settings.SizeOption = 1;
        state.keys.openHelp = [this] { ++helps; };
        state.keys.groupClick = [this](int g) { groups.push_back(g); };
        state.keys.searchActive = [this] { return searching; };
        state.keys.search = [this] { ++searches; };
    }
    int highlight() const { return state.mainForm.highlight; }

    int helps = 0, searches = 0;
    bool searching = false;
    std::vector<int> groups;
};

TEST_F(Keyboard, KeyDownMovesTheHighlightOnlyInKeyboardMode) {
    EXPECT_TRUE(Form_KeyDown(state, key::Down));
    EXPECT_EQ(highlight(), 1);
    EXPECT_TRUE(Form_KeyDown(state, key::End));
    EXPECT_EQ(highlight(), 144);
    for (int k : {key::Enter, key::Escape, key::F1}) EXPECT_TRUE(Form_KeyDown(state, k)) << k;
    EXPECT_FALSE(Form_KeyDown(state, key::A));
    EXPECT_EQ(highlight(), 144);

    searching = true;
    EXPECT_FALSE(Form_KeyDown(state, key::Home));
    searching = false;
    state.settings.StickyOption = 1;
    EXPECT_FALSE(Form_KeyDown(state, key::Home));
    EXPECT_EQ(highlight(), 144);
    EXPECT_TRUE(Form_KeyPress(state, 13));
    EXPECT_TRUE(Form_KeyPress(state, 27));
    EXPECT_FALSE(Form_KeyPress(state, 'a'));
}

TEST_F(Keyboard, KeyUpActionsInTheirOrder) {
    clipboardClips(3);
    groupClip(0, "alpha", kModeNormal);
    groupClip(2, "charlie", kModeNormal);

    // A layout button swallows the next release, F1 included.
    state.mainForm.swallowNextKeyRelease = true;
    EXPECT_TRUE(Form_KeyUp(state, key::F1));
    EXPECT_EQ(helps, 0);
    EXPECT_FALSE(state.mainForm.swallowNextKeyRelease);
    EXPECT_TRUE(Form_KeyUp(state, key::F1));
    EXPECT_EQ(helps, 1);
    state.mainForm.swallowNextKeyRelease = true;
    EXPECT_TRUE(Form_KeyUp(state, '2'));
    EXPECT_FALSE(clipboardText().has_value());

    // The search box takes the keys while active.
    searching = true;
    EXPECT_FALSE(Form_KeyUp(state, '2'));
    EXPECT_TRUE(Form_KeyUp(state, key::Enter));
    EXPECT_EQ(searches, 1);
    EXPECT_TRUE(Form_KeyUp(state, key::Escape));
    EXPECT_EQ(state.mainForm.form.window.focusRequest, FocusRequest::Holdfocus);
    EXPECT_FALSE(mainMinimised());
    EXPECT_FALSE(clipboardText().has_value());
    searching = false;

    EXPECT_FALSE(Form_KeyUp(state, key::Numpad0));  // not a digit here
    EXPECT_FALSE(clipboardText().has_value());
    EXPECT_TRUE(Form_KeyUp(state, key::Numpad0 + 1));
    EXPECT_EQ(clipboardText(), "clip 0");
    EXPECT_TRUE(Form_KeyUp(state, '3'));
    EXPECT_EQ(clipboardText(), "clip 2");
    EXPECT_TRUE(Form_KeyUp(state, 'C'));
    EXPECT_EQ(clipboardText(), "charlie");
    EXPECT_FALSE(Form_KeyUp(state, '0'));
    EXPECT_EQ(clipboardText(), "charlie");

    state.mainForm.form.window.show = WindowShow::Normal;
    EXPECT_TRUE(Form_KeyUp(state, key::Escape));
    EXPECT_TRUE(mainMinimised());
}

TEST_F(Keyboard, EnterActivatesTheHighlightedCell) {
    clipboardClips(2);
    groupClip(32, "second column", kModeNormal);
    transferSlot(3, "slot", kModeNormal);
    // A group name selects the group and pastes nothing.
    for (auto [position, text] : {std::pair{1, "clip 1"}, {41, "second column"}, {108, "slot"}, {135, "slot"}}) {
        MoveHighlight(state, position);
        Form_KeyUp(state, key::Enter);
        EXPECT_EQ(clipboardText(), text) << position;
    }
    EXPECT_EQ(groups, std::vector<int>{22});
}

TEST_F(Keyboard, InMouseModeTheHighlightFollowsThePointer) {
    state.settings.StickyOption = 1;
    const std::pair<WidgetRef, int> cells[] = {{{Family::ClipboardClip, 4}, 4},
                                               {{Family::Item, 95}, 104},
                                               {{Family::Trans, 2}, 107},
                                               {{Family::Group, 31}, 144}};
    for (const auto& [cell, position] : cells) {
        Cell_MouseMove(state, cell);
        EXPECT_EQ(highlight(), position) << ToString(cell);
    }
    Cell_MouseMove(state, {Family::hotkey, 3});
    EXPECT_EQ(highlight(), 144);
    bool viewerPastes = true;
    state.mainForm.hooks.viewerTakesPasting = [&] { return viewerPastes; };
    Cell_MouseMove(state, {Family::Item, 0});
    EXPECT_EQ(highlight(), 144);
    state.settings.StickyOption = 0;
    viewerPastes = false;
    Cell_MouseMove(state, {Family::Item, 0});
    EXPECT_EQ(highlight(), 144);
}
