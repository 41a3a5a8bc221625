// The keyboard hook's watched set, the dispatch of released hot keys and the
// on/off switch.
#include <algorithm>

#include "unit/paste_fixture.h"

using namespace pellion;
using namespace pellion::test;
using platform::keyCode;
namespace vk = platform::vk;

namespace {

constexpr std::uint16_t kCtrl = platform::kCtrlMask, kAlt = platform::kAltMask, kShift = platform::kShiftMask;

class HotKeys : public PasteTest {
protected:
    const std::set<std::uint32_t>& watched() const { return fake.hooks->watched; }
    bool watches(std::uint16_t mask, std::uint32_t key) const { return watched().count(keyCode(mask, key)) > 0; }
    int countWatched(std::uint16_t mask) const {
        return int(std::count_if(watched().begin(), watched().end(), [&](std::uint32_t c) { return c >> 16 == mask; }));
    }
    // The user presses and releases a combination; the paste timer runs out.
    void press(std::uint16_t mask, std::uint32_t key) {
        fake.hooks->releaseKey(key, mask);
        advance(kPasteTimerMs);
    }
};

}  // namespace

TEST_F(HotKeys, OnWatchesAssignedLettersDigitsMinusAndTheBulkKey) {
    hotKeyClip(0, "alpha");
    hotKeyClip(2, "gamma");
    ASSERT_TRUE(WriteTitleAt(GroupTitlesPath(dir.path(), kHotKeyGroup), 1, "   "));  // blank: not assigned
    fake.hooks->watched.insert(keyCode(kAlt, 'Z'));  // left from an earlier state
    EXPECT_TRUE(HotKeysOn(state).empty());

    EXPECT_TRUE(watches(kAlt, 'A'));
    EXPECT_TRUE(watches(kAlt, 'C'));
    EXPECT_EQ(countWatched(kAlt), 2);
    for (std::uint32_t d = 0; d <= 9; ++d) {
        EXPECT_TRUE(watches(kCtrl, vk::Digit0 + d)) << d;
        EXPECT_TRUE(watches(kCtrl, vk::Numpad0 + d)) << d;
    }
    EXPECT_TRUE(watches(kCtrl, vk::Minus));
    EXPECT_TRUE(watches(kCtrl, vk::NumpadMinus));
    EXPECT_TRUE(watches(kCtrl, vk::Insert));
    EXPECT_FALSE(watches(kCtrl, vk::B));
    EXPECT_EQ(countWatched(kCtrl), 23);

    state.settings.BulkOption = 1;
    HotKeysOn(state);
    EXPECT_TRUE(watches(kCtrl, vk::B));
    EXPECT_FALSE(watches(kCtrl, vk::Insert));

    // Without a titles file no letter is watched.
    std::filesystem::remove(GroupTitlesPath(dir.path(), kHotKeyGroup));
    HotKeysOn(state);
    EXPECT_EQ(countWatched(kAlt), 0);
    EXPECT_EQ(countWatched(kCtrl), 23);
}

TEST_F(HotKeys, ABlankLetterTriggersNothingEvenWhenReported) {
    hotKeyClip(0, "hot text");
    HotKeysOn(state);
    fake.clipboard->copyTextFromOtherProgram("other");
    press(kAlt, 'B');
    KeyReleased(state, {'B', kAlt});  // a report the watched set should have kept away
    KeyReleased(state, {'[', kAlt});  // beyond Z
    advance(1000);
    EXPECT_EQ(clipboardText(), "other");
    EXPECT_TRUE(typedKeys().empty());
}

TEST_F(HotKeys, CtrlDigitPastesThatClipboardClipAndKeypadDigitsAreTheSame) {
    clipboardClips(4);
    HotKeysOn(state);
    press(kCtrl, vk::Digit0 + 3);
    EXPECT_EQ(clipboardText(), "clip 2");
    press(kCtrl, vk::Numpad0 + 1);
    EXPECT_EQ(clipboardText(), "clip 0");
    // A digit beyond the clips empties the clipboard (the marker alone) and still pastes.
    press(kCtrl, vk::Digit0 + 5);
    ASSERT_EQ(fake.clipboard->content.size(), 1u);
    EXPECT_TRUE(marked());
    EXPECT_EQ(typedKeys(), std::vector<std::string>(3, "+{INSERT}"));
}

TEST_F(HotKeys, CtrlZeroClearsAndCtrlBulkKeyStartsABulkPaste) {
    int clears = 0, bulks = 0;
    state.paste.hooks.clearClipboardClips = [&] { ++clears; };
    state.paste.hooks.bulkPaste = [&] { ++bulks; };
    HotKeysOn(state);
    press(kCtrl, vk::Digit0);
    press(kCtrl, vk::Numpad0);
    EXPECT_EQ(clears, 2);
    fake.hooks->releaseKey(vk::Insert, kCtrl);
    EXPECT_EQ(state.paste.pending, PastePending::Bulk);
    EXPECT_EQ(monitorLog, std::vector<bool>{false});
    advance(kPasteTimerMs);
    EXPECT_EQ(bulks, 1);
    EXPECT_TRUE(typedKeys().empty());
    press(kCtrl, vk::B);  // not the chosen bulk key: not watched
    EXPECT_EQ(bulks, 1);
}

TEST_F(HotKeys, PasteKeyDetectionFollowsKeysOption) {
    const std::uint32_t shiftIns = keyCode(kShift, vk::Insert), ctrlV = keyCode(kCtrl, vk::V);
    const std::pair<int, std::set<std::uint32_t>> cases[] = {
        {0, {shiftIns}}, {1, {ctrlV}}, {2, {shiftIns, ctrlV}}, {3, {}}, {-1, {}}};
    for (const auto& [option, expected] : cases) {
        fake.hooks->watched = {shiftIns, ctrlV};
        state.settings.KeysOption = std::int16_t(option);
        SetPasteKeyDetection(state);
        EXPECT_EQ(watched(), expected) << option;
    }
}

TEST_F(HotKeys, APasteKeystrokeOnlyFrontsAReducedWindowBehindAnother) {
    state.settings.KeysOption = 2;
    SetPasteKeyDetection(state);
    state.settings.OnTop = 1;
    ui::SetLayout(state, 2);
    ui::FormWindow& w = state.mainForm.form.window;
    w.raiseRequest = false;
    fake.hooks->releaseKey(vk::Insert, kShift);
    EXPECT_EQ(state.settings.Layout, 2);  // stays compact
    EXPECT_TRUE(w.raiseRequest);
    EXPECT_EQ(w.focusRequest, ui::FocusRequest::Window);

    // In front already, the window opens into the full layout.
    fake.windows->setForeground(state.mainWindow);
    fake.hooks->releaseKey(vk::V, kCtrl);
    EXPECT_EQ(state.settings.Layout, 0);
    EXPECT_EQ(state.settings.OnTop, 0);
}

// Letters given or taken while on are the drop and dialog tests'.
TEST_F(HotKeys, ALetterGivenWhileHotKeysAreOffIsNotWatched) {
    HotKeysOn(state);
    HotKeysOff(state);
    state.paste.hotKeysOff = true;
    WatchHotKeyLetter(state, 7, true);
    WatchHotKeyLetter(state, 26, true);
    EXPECT_EQ(countWatched(kAlt), 0);
}
