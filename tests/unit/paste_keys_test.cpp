// The paste engine: what a click on a clip cell restores, when the keys are
// typed and which ones, and what the window does afterwards.
#include "unit/paste_fixture.h"

using namespace pellion;
using namespace pellion::test;
using ui::MouseButton;

namespace {

const std::vector<std::string> kPlain{"+{INSERT}"};
const std::vector<std::string> kBookmark{"{HOME}", "+{END}", "{BACKSPACE}", "+{INSERT}", "{ENTER}"};
const std::vector<std::string> kForm{"{HOME}", "+{END}", "{BACKSPACE}", "+{INSERT}", "{TAB}"};

struct ModeCase {
    int clipMode;   // a clip's own code, or -1 for a Clipboard Clip
    int listMode;   // ClipMode for a Clipboard Clip, GroupMode for a group clip
    bool nextClick;
    std::vector<std::string> keys;
};

void PrintTo(const ModeCase& c, std::ostream* os) {
    *os << (c.clipMode < 0 ? "Clipboard Clip" : "clip code " + std::to_string(c.clipMode)) << ", list mode "
        << c.listMode;
}

class PasteModes : public PasteTest, public ::testing::WithParamInterface<ModeCase> {
protected:
    void select() {
        const ModeCase& c = GetParam();
        if (c.clipMode < 0) {
            clipboardClips(3);
            state.settings.ClipMode = std::int16_t(c.listMode);
            SelectClipboardClip(state, 1, MouseButton::Left);
        } else {
            groupClip(4, "group text", std::uint8_t(c.clipMode));
            state.settings.GroupMode = std::int16_t(c.listMode);
            SelectGroupClip(state, 4, MouseButton::Left);
        }
    }
};

}  // namespace

TEST_P(PasteModes, TypeTheirKeysAtTheirMoment) {
    const ModeCase& c = GetParam();
    select();
    const std::string text = c.clipMode < 0 ? "clip 1" : "group text";
    EXPECT_EQ(clipboardText(), text);
    EXPECT_TRUE(marked());
    EXPECT_EQ(busyLog, (std::vector<bool>{true, false}));
    EXPECT_TRUE(typedKeys().empty());

    advance(kPasteTimerMs - 1);
    EXPECT_TRUE(typedKeys().empty());
    if (c.nextClick) {
        EXPECT_FALSE(pasteTimerDue.has_value());
        EXPECT_TRUE(fake.hooks->mouseArmed);
        advance(60000);  // no time-out
        EXPECT_TRUE(typedKeys().empty());
        const platform::WindowId other = fake.windows->add("form");
        fake.hooks->click(other);
        EXPECT_FALSE(fake.hooks->mouseArmed);
        EXPECT_EQ(state.pasteTarget, other);
        EXPECT_EQ(fake.windows->foreground(), other);
    } else {
        EXPECT_FALSE(fake.hooks->mouseArmed);
        advance(1);
        EXPECT_EQ(fake.windows->foreground(), target);
        EXPECT_EQ(monitorLog, (std::vector<bool>{true}));  // the tick enables the monitor
        EXPECT_FALSE(pasteTimerDue.has_value());
        for (const auto& k : keys->typed) EXPECT_EQ(k.atMs, kPasteTimerMs) << k.keys;
    }
    EXPECT_EQ(typedKeys(), c.keys);
    // Editing keys and the paste wait for the target; Enter and Tab do not.
    for (const auto& k : keys->typed) {
        EXPECT_EQ(k.wait, k.keys != "{ENTER}" && k.keys != "{TAB}") << k.keys;
        EXPECT_TRUE(k.whileTyping) << k.keys;
    }
    EXPECT_EQ(fake.hooks->monitoring, platform::MonitoringState::Normal);
    EXPECT_EQ(fake.hooks->monitoringLog.size(), 2u);
    EXPECT_TRUE(mainMinimised());
    EXPECT_EQ(clipboardText(), text);  // still there, marked: never captured again
    EXPECT_TRUE(marked());
    EXPECT_FALSE(state.monitor.clearBeforeNextCapture);
}

INSTANTIATE_TEST_SUITE_P(
    ClipboardClips, PasteModes,
    ::testing::Values(ModeCase{-1, 0, false, kPlain}, ModeCase{-1, 1, true, kPlain}, ModeCase{-1, 2, true, kBookmark},
                      ModeCase{-1, 3, false, kForm}));

// Own codes 0, 1, 2, 4 whatever the group says; 3 follows the group's mode.
INSTANTIATE_TEST_SUITE_P(
    GroupClips, PasteModes,
    ::testing::Values(ModeCase{0, 3, false, kPlain}, ModeCase{1, 0, true, kPlain}, ModeCase{2, 3, true, kBookmark},
                      ModeCase{4, 1, false, kForm}, ModeCase{3, 0, false, kPlain}, ModeCase{3, 1, true, kPlain},
                      ModeCase{3, 2, true, kBookmark}, ModeCase{3, 3, false, kForm}));

TEST_F(PasteTest, TransferSlotsFollowTheGroupModeAndNeedAClipOfTheirOwn) {
    transferSlot(2, "slot text", kModeGroupSetting);
    state.settings.GroupMode = 3;
    SelectTransferSlot(state, 2, MouseButton::Left);
    advance(kPasteTimerMs);
    EXPECT_EQ(typedKeys(), kForm);
    EXPECT_EQ(clipboardText(), "slot text");

    // A group reference and an empty slot paste nothing.
    keys->typed.clear();
    fake.clipboard->copyTextFromOtherProgram("other");
    ASSERT_TRUE(StoreGroupReference(state, 5, 3));
    state.lists.transferSlots.titles[6] = "stale";
    state.lists.transferSlots.states[6] = 1;
    for (int slot : {5, 6, 7, -1, 8}) SelectTransferSlot(state, slot, MouseButton::Left);
    advance(1000);
    EXPECT_TRUE(typedKeys().empty());
    EXPECT_EQ(clipboardText(), "other");
}

// Clicks on blank or missing clips paste nothing; the other buttons open the
// viewer instead, never on a Clipboard Clip beyond the list.
TEST_F(PasteTest, NothingToPasteOrOtherButtonsLeaveTheClipboardAlone) {
    clipboardClips(3);
    groupClip(0, "x", kModeNormal);
    state.lists.groupClips.titles[0] = "";  // a file, but a blank title
    state.lists.clipboardClips.titles[2] = "   ";
    groupClip(3, "g", kModeNormal);
    transferSlot(1, "t", kModeNormal);
    std::vector<std::pair<ListKind, int>> opened;
    state.paste.hooks.openViewer = [&](ListKind list, int slot) { opened.emplace_back(list, slot); };
    fake.clipboard->copyTextFromOtherProgram("other");

    SelectClipboardClip(state, 3, MouseButton::Left);  // beyond the clip count
    SelectClipboardClip(state, 2, MouseButton::Left);
    SelectClipboardClip(state, 8, MouseButton::Right);
    SelectClipboardClip(state, 9, MouseButton::Left);
    SelectGroupClip(state, 0, MouseButton::Left);
    SelectGroupClip(state, 96, MouseButton::Left);
    advance(1000);
    fake.hooks->click(target);
    EXPECT_FALSE(pasteTimerDue.has_value());
    EXPECT_FALSE(fake.hooks->mouseArmed);
    EXPECT_TRUE(busyLog.empty());
    SelectClipboardClip(state, 1, MouseButton::Right);
    SelectGroupClip(state, 3, MouseButton::Middle);
    SelectTransferSlot(state, 1, MouseButton::Right);
    SelectGroupClip(state, 50, MouseButton::Right);  // an empty slot opens too: the viewer can fill it
    state.clip.viewerOpen = true;                    // never a second viewer
    SelectClipboardClip(state, 0, MouseButton::Right);
    advance(1000);
    EXPECT_EQ(opened, (std::vector<std::pair<ListKind, int>>{
                          {ListKind::ClipboardClips, 1}, {ListKind::GroupClips, 3}, {ListKind::TransferSlots, 1},
                          {ListKind::GroupClips, 50}}));
    EXPECT_TRUE(typedKeys().empty());
    EXPECT_EQ(clipboardText(), "other");
}

TEST_F(PasteTest, BatchModeClearsBeforeTheNextCaptureAndOnTopStaysUp) {
    clipboardClips(1);
    state.settings.ClearOption = 0;
    state.settings.OnTop = 1;
    SelectClipboardClip(state, 0, MouseButton::Left);
    advance(kPasteTimerMs);
    EXPECT_EQ(typedKeys(), kPlain);
    EXPECT_TRUE(state.monitor.clearBeforeNextCapture);
    EXPECT_FALSE(mainMinimised());
    EXPECT_EQ(fake.windows->windows[state.mainWindow].state, platform::ShowState::Normal);
}

TEST_F(PasteTest, TheRestoreStepsTheWindowBackAndAClickResetsTheSwallowFlag) {
    clipboardClips(1);
    state.mainForm.swallowNextKeyRelease = true;
    int drags = 0;
    state.paste.hooks.cancelDrag = [&] { ++drags; };
    SelectClipboardClip(state, 0, MouseButton::Left);
    EXPECT_EQ(fake.windows->windows[state.mainWindow].state, platform::ShowState::Minimised);
    EXPECT_FALSE(state.mainForm.swallowNextKeyRelease);
    EXPECT_EQ(state.mainForm.form.window.focusRequest, ui::FocusRequest::Holdfocus);
    EXPECT_EQ(drags, 1);
}

TEST_F(PasteTest, NextClickWaitsForAClickOutsideTheProgram) {
    groupClip(0, "mark", kModeBookmark);
    SelectGroupClip(state, 0, MouseButton::Left);
    const platform::WindowId viewer = fake.windows->add("Clip Edit", true);
    fake.hooks->click(state.mainWindow);
    fake.hooks->click(viewer);
    EXPECT_TRUE(typedKeys().empty());
    EXPECT_TRUE(fake.hooks->mouseArmed);
    EXPECT_EQ(state.pasteTarget, target);

    fake.hooks->click(0);  // no window under the click: disarmed, nothing typed
    EXPECT_FALSE(fake.hooks->mouseArmed);
    EXPECT_TRUE(typedKeys().empty());
    fake.hooks->mouseArmed = true;  // a late report of the platform
    fake.hooks->click(target);
    EXPECT_TRUE(typedKeys().empty());
}

// A second selection while a Next Click waits replaces it: an immediate one
// disarms it, another Next Click re-arms with its own clip and keys.
TEST_F(PasteTest, ASecondSelectionReplacesAWaitingNextClick) {
    for (const std::uint8_t second : {kModeNormal, kModeNextClick}) {
        SCOPED_TRACE(int(second));
        keys->typed.clear();
        groupClip(0, "mark", kModeBookmark);
        groupClip(1, "second", second);
        SelectGroupClip(state, 0, MouseButton::Left);
        SelectGroupClip(state, 1, MouseButton::Left);
        EXPECT_EQ(fake.hooks->mouseArmed, second == kModeNextClick);
        advance(kPasteTimerMs);
        fake.hooks->mouseArmed = true;  // a late report of the platform, or the armed click
        fake.hooks->click(target);
        EXPECT_EQ(typedKeys(), kPlain);  // typed once only
        EXPECT_EQ(clipboardText(), "second");
    }
}
