// Bulk paste: the keys typed, what each paste keystroke pasted, and the
// monitors around it.
#include "capture/bulk_paste.h"

#include "unit/paste_fixture.h"

using namespace pellion;
using namespace pellion::test;

namespace {

class BulkPasteTest : public PasteTest {
protected:
    void cache(int count) {
        for (int n = 0; n < count; ++n) putText({ListKind::Bulk, n}, "clip " + std::to_string(n + 1));
        state.settings.BulkCount = std::int16_t(count);
    }
    void paste(int spacing, int answer = kSpacingGoOn) {
        state.settings.BulkSpacing = std::int16_t(spacing);
        BulkPaste(state, [&] {
            asked = true;
            // The dialog runs while the monitors rest.
            EXPECT_EQ(fake.hooks->monitoring, platform::MonitoringState::Typing);
            EXPECT_FALSE(monitorLog.empty() || monitorLog.back());
            return answer;
        });
    }
    bool asked = false;
};

using Keys = std::vector<std::string>;

}  // namespace

TEST_F(BulkPasteTest, UserTextBetweenClipsAndTheLastClipLeftOnTheClipboard) {
    put(data("spacer.txt"), bytesOf("abc"));
    cache(3);
    paste(3);
    EXPECT_EQ(keys->pasted, (Keys{"clip 1", "abc", "clip 2", "abc", "clip 3"}));
    EXPECT_EQ(fake.clipboard->bytesOf(""), bytesOf(std::string("clip 3") + '\0'));
    EXPECT_EQ(fake.clipboard->bytesOf(platform::kMarkerName), bytesOf("ok"));
}

TEST_F(BulkPasteTest, EverySpacing) {
    putText({ListKind::GroupClips, 0, 0}, "first of group 1");
    const std::vector<std::pair<int, Keys>> spacings = {
        {0, {"+{INSERT}", "+{INSERT}"}},
        {1, {"+{INSERT}", "{ENTER}", "+{INSERT}"}},
        {4, {"+{INSERT}", "+{INSERT}", "+{INSERT}"}},
        {5, {"+{INSERT}", "{TAB}", "+{INSERT}"}},
        {6, {"+{INSERT}", "{DOWN}", "+{INSERT}"}},
        {9, {"+{INSERT}", "+{INSERT}"}},  // out of range: nothing between
    };
    cache(2);
    for (const auto& [spacing, expected] : spacings) {
        keys->typed.clear();
        keys->pasted.clear();
        paste(spacing);
        EXPECT_EQ(typedKeys(), expected) << spacing;
    }
    EXPECT_EQ(keys->pasted, (Keys{"clip 1", "clip 2"}));
    paste(4);
    EXPECT_EQ(keys->pasted, (Keys{"clip 1", "clip 2", "clip 1", "first of group 1", "clip 2"}));
}

TEST_F(BulkPasteTest, AnEmptyCachePastesTheClipboardClipsOldestFirst) {
    for (int n = 0; n < 3; ++n) putText({ListKind::ClipboardClips, n}, "recent " + std::to_string(n));
    state.lists.clipboardClips.count = 3;
    paste(1);
    EXPECT_EQ(keys->pasted, (Keys{"recent 0", "recent 1", "recent 2"}));
}

TEST_F(BulkPasteTest, CancelledPastesNothingAndRestoresTheMonitors) {
    cache(2);
    state.settings.ClearOption = 0;
    paste(1, kSpacingCancelled);
    EXPECT_TRUE(asked);
    EXPECT_TRUE(keys->typed.empty());
    EXPECT_EQ(fake.hooks->monitoring, platform::MonitoringState::Normal);
    EXPECT_EQ(monitorLog, (std::vector<bool>{false, true}));
    EXPECT_EQ(state.mainForm.form.window.show, ui::WindowShow::Normal);
    EXPECT_FALSE(state.monitor.clearBeforeNextCapture);

    paste(1);  // in "Batch" the next capture starts a new list
    EXPECT_TRUE(state.monitor.clearBeforeNextCapture);
}

TEST_F(BulkPasteTest, TheBulkHotKeyRunsTheBoundPaste) {
    cache(2);
    int dialogs = 0;
    BindBulkPaste(state, [&] { return ++dialogs, kSpacingGoOn; });
    state.paste.pending = PastePending::Bulk;
    PasteTimerTick(state);
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(keys->pasted, (Keys{"clip 1", "clip 2"}));
}
