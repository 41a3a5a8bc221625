// Bulk paste: the keys typed, what each paste keystroke pasted, and the
// monitors around it.
#include "capture/bulk_paste.h"

#include "app/settings_file.h"
#include "paste/paste_engine.h"
#include "store/index_files.h"
#include "store/slot_files.h"
#include "unit/store_fixture.h"

using namespace pellion;
using namespace pellion::test;

namespace {

// Records the keys, and at each paste keystroke the clipboard's text as the
// target would receive it, offered to the paste key as well.
class PasteRecorder : public platform::Keystrokes {
public:
    PasteRecorder(platform::fake::FakeClipboard& clipboard, platform::fake::FakeHooks& hooks)
        : clipboard_(clipboard), hooks_(hooks) {}
    bool send(const std::string& keys, bool wait) override {
        typed.push_back(keys);
        if (hooks_.monitoring != platform::MonitoringState::Typing) ++typedWhileWatched;
        if (keys == "+{INSERT}") {
            EXPECT_TRUE(wait) << "the next clip must not replace this one before it is taken";
            const auto text = clipboard_.bytesOf("");
            pasted.push_back(text ? std::string(text->begin(), text->end() - 1) : "<none>");
            // Terminals paste from where the offer puts it, not the clipboard.
            EXPECT_TRUE(!clipboard_.pasteOffers.empty() && clipboard_.pasteOffers.back() == clipboard_.content)
                << "not offered to the paste key: " << pasted.back();
        }
        return true;
    }
    std::vector<std::string> typed, pasted;
    int typedWhileWatched = 0;

private:
    platform::fake::FakeClipboard& clipboard_;
    platform::fake::FakeHooks& hooks_;
};

class BulkPasteTest : public StoreTest {
protected:
    BulkPasteTest() {
        StartupLoader(state, {});
        auto recorder = std::make_unique<PasteRecorder>(*fake.clipboard, *fake.hooks);
        keys = recorder.get();
        fake.platform.keystrokes = std::move(recorder);
        target = fake.windows->add("editor");
        state.pasteTarget = target;
        state.mainForm.form.window.shown = true;
        state.paste.hooks.monitorTimer = [this](bool on) { monitor.push_back(on); };
    }
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
            EXPECT_FALSE(monitor.empty() || monitor.back());
            return answer;
        });
    }

    PasteRecorder* keys = nullptr;
    platform::WindowId target = 0;
    std::vector<bool> monitor;
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
        EXPECT_EQ(keys->typed, expected) << spacing;
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
    EXPECT_EQ(monitor, (std::vector<bool>{false, true}));
    EXPECT_EQ(state.mainForm.form.window.show, ui::WindowShow::Normal);
    monitor.clear();
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
