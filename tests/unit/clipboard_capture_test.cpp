#include "capture/monitor.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "app/settings_file.h"
#include "platform/files.h"
#include "store/index_files.h"
#include "store/slot_files.h"
#include "unit/monitor_fixture.h"

using namespace pellion;
using namespace pellion::test;

namespace {

std::string withNul(const std::string& s) { return s + std::string(1, '\0'); }

}  // namespace

TEST(MakeTitle, SkipsLeadingControlsKeepsTheBlockNulAndPadsToFifty) {
    EXPECT_EQ(MakeTitle("\r\n\tHello"), "Hello" + std::string(45, ' '));
    // A short text block keeps its NUL; labels stop there.
    EXPECT_EQ(MakeTitle(withNul("abc")), withNul("abc") + std::string(46, ' '));
    EXPECT_EQ(MakeTitle(withNul(" \t\r\n\x01\x1f")), std::string(50, ' '));
    // Only leading controls go: one inside the first 50 stays.
    EXPECT_EQ(MakeTitle("a\nb"), "a\nb" + std::string(47, ' '));
    EXPECT_EQ(MakeTitle(std::string(70, 'x')), std::string(50, 'x'));
    // Never half a character: "é" at bytes 49..50 is left out whole.
    EXPECT_EQ(MakeTitle(std::string(49, 'a') + "\xC3\xA9zz"), std::string(49, 'a') + " ");
    EXPECT_EQ(MakeTitle(kNonTextTitle), std::string("Non Text Clip.") + std::string(36, ' '));
}

TEST_F(MonitorTest, BusyClipboardIsRetried) {
    copyText("later");
    clipboard().failOpen = true;
    EXPECT_EQ(tick(), TickOutcome::Busy);
    EXPECT_FALSE(files::exists(data("clip.0")));
    clipboard().failOpen = false;
    EXPECT_EQ(tick(), TickOutcome::Captured);
}

// The clear flag empties the list first, never the bulk cache.
TEST_F(MonitorTest, TheClearFlagEmptiesTheListFirst) {
    state.settings.CaptureMode = 2;
    capture("bulk one");
    state.settings.CaptureMode = 0;
    capture("one");
    state.monitor.clearBeforeNextCapture = true;
    ASSERT_EQ(capture("after paste"), TickOutcome::Captured);
    EXPECT_FALSE(state.monitor.clearBeforeNextCapture);
    EXPECT_EQ(read(data("clip.dat")), concat({le16(1), padded("after paste", 50), blanks(400)}));
    EXPECT_EQ(clipFile(0), textClip("after paste"));
    EXPECT_FALSE(files::exists(data("clip.1")));
    EXPECT_EQ(caption(ui::Family::ClipboardClip, 1), "");
    EXPECT_EQ(state.settings.BulkCount, 1);
    EXPECT_TRUE(files::exists(data("bulk.0")));
}

TEST_F(MonitorTest, BulkCaptureFillsTheCacheUpTo96) {
    state.settings.CaptureMode = 2;
    state.settings.BulkCount = 95;
    LoadBulkCache(state);
    state.monitor.pendingTitleSet = true;
    state.monitor.pendingTitle = "Pending";
    ASSERT_EQ(capture("\tbulk text"), TickOutcome::Captured);
    EXPECT_EQ(state.settings.BulkCount, 96);
    EXPECT_EQ(read(data("bulk.95")), clipFile(0));
    // The bulk slot is titled from the text, the Clipboard Clip by the pending title.
    const Bytes bulkIndex = read(data("bulk.dat"));
    EXPECT_EQ(Bytes(bulkIndex.begin() + 95 * 50, bulkIndex.end()), padded("bulk text", 50));
    EXPECT_EQ(title(0), "Pending");
    EXPECT_EQ(DecodeSettings(read(data("pellion.ini"))).BulkCount, 96);

    ASSERT_EQ(capture("one too many"), TickOutcome::Captured);
    EXPECT_EQ(state.settings.BulkCount, 96);
    EXPECT_FALSE(files::exists(data("bulk.96")));
    EXPECT_EQ(title(1), "one too many");
}

TEST_F(MonitorTest, ClearEmptiesTheClipsOrElseTheBulkCache) {
    state.settings.CaptureMode = 2;
    capture("a");
    capture("b");
    ASSERT_EQ(state.settings.BulkCount, 2);
    EXPECT_EQ(caption(ui::Family::ClearBtn, 0), "Clear");

    // The clips go first (emptying is the store's, tested there), then the cache.
    ClearClipboardClips(state);
    EXPECT_EQ(read(data("clip.dat")), concat({le16(0), blanks(450)}));
    EXPECT_EQ(caption(ui::Family::ClipboardClip, 0), "");
    EXPECT_EQ(state.settings.BulkCount, 2);
    tick();
    EXPECT_EQ(caption(ui::Family::ClearBtn, 0), "Clear Bulk");
    state.settings.Layout = 1;
    tick();
    EXPECT_EQ(caption(ui::Family::ClearBtn, 0), "Clr Blk");

    ClearClipboardClips(state);
    EXPECT_FALSE(files::exists(data("bulk.dat")));
    const SettingsRecord saved = DecodeSettings(read(data("pellion.ini")));
    EXPECT_EQ(saved.BulkCount, 0);
    EXPECT_EQ(saved.CaptureMode, 0);
    EXPECT_EQ(caption(ui::Family::CaptureMode, 2), "Bulk");
    tick();
    EXPECT_EQ(caption(ui::Family::ClearBtn, 0), "Clear");

    // Nothing left: nothing happens.
    const auto before = entries(dir.path());
    ClearClipboardClips(state);
    EXPECT_EQ(entries(dir.path()), before);
}

TEST_F(MonitorTest, SecretsAndEmptyContentAreMarkedAndNeverWritten) {
    // The hint's value in any letter case, with blanks around it.
    using namespace std::string_literals;
    for (const std::string& hint : {"secret"s, "Secret"s, " SECRET\n"s, "\tsecret \0"s}) {
        clipboard().copyFromOtherProgram(
            {{"", bytesOf(withNul("hunter2"))}, {"x-kde-passwordManagerHint", bytesOf(hint)}});
        EXPECT_EQ(tick(), TickOutcome::Secret) << hint;
        EXPECT_EQ(tick(), TickOutcome::Seen);
    }
    clipboard().copyFromOtherProgram({});
    EXPECT_EQ(tick(), TickOutcome::Empty);
    EXPECT_EQ(tick(), TickOutcome::Seen);
    for (const auto& name : entries(dir.path())) EXPECT_TRUE(name.rfind("clip.", 0) != 0) << name;
    EXPECT_EQ(state.lists.clipboardClips.count, 0);

    // Another hint value is ordinary content.
    clipboard().copyFromOtherProgram({{"", bytesOf(withNul("shown"))}, {"x-kde-passwordManagerHint", bytesOf("public")}});
    EXPECT_EQ(tick(), TickOutcome::Captured);
}

TEST_F(MonitorTest, UnwritableSnapshotLeavesTheContentUnmarkedForTheNextTick) {
    const std::string folder = state.dataFolder;
    state.dataFolder = folder + "missing/";
    EXPECT_EQ(capture("keep me"), TickOutcome::Failed);
    EXPECT_FALSE(markerOnClipboard());
    state.dataFolder = folder;
    EXPECT_EQ(tick(), TickOutcome::Captured);
    EXPECT_EQ(title(0), "keep me");
}

TEST_F(MonitorTest, ContentNotCapturedOrClearedIsNotServedAgain) {
    // A secret copied after the capture went away: nothing comes back.
    capture("older");
    clipboard().copyFromOtherProgram({{"", bytesOf(withNul("pw"))}, {"x-kde-passwordManagerHint", bytesOf("secret")}});
    tick();
    clipboard().ownerExits();
    EXPECT_EQ(tick(), TickOutcome::Empty);
    EXPECT_TRUE(clipboard().content.empty() || !clipboard().bytesOf("").has_value());

    // Copied while capture was off.
    capture("before off");
    state.settings.CaptureMode = 1;
    copyText("during off");
    tick();
    clipboard().ownerExits();
    tick();
    state.settings.CaptureMode = 0;
    EXPECT_NE(tick(), TickOutcome::KeptAlive);

    // The list was cleared.
    capture("cleared");
    ClearClipboardClips(state);
    clipboard().ownerExits();
    EXPECT_NE(tick(), TickOutcome::KeptAlive);
    EXPECT_FALSE(clipboard().bytesOf("").has_value());
}

TEST_F(MonitorTest, DisabledTimerRunsNothingAndAFailingTickStillReenables) {
    state.monitor.enabled = false;
    EXPECT_EQ(capture("x"), TickOutcome::Disabled);
    EXPECT_EQ(clipboard().opens, 0);
    state.monitor.enabled = true;
    state.monitor.hooks.enableEdgeTimer = [] { throw std::runtime_error("widget gone"); };
    EXPECT_EQ(tick(), TickOutcome::Failed);
    EXPECT_TRUE(state.monitor.enabled);
    EXPECT_FALSE(clipboard().isOpen);
}

TEST_F(MonitorTest, PasteTargetIsTheLastForeignForegroundWindow) {
    auto& w = *fake.windows;
    int hides = 0;
    state.mainForm.hooks.hideEdgeStrip = [&] { ++hides; };
    const platform::WindowId editor = w.add("editor"), main = w.add(" Pellion Clipboard", true);
    state.monitor.edgeStrip = w.add("Clipboard", true);
    // Our windows, or none, leave the target; the main window in front hides the strip.
    for (auto [front, hidden] : {std::pair{editor, 0}, {main, 1}, {state.monitor.edgeStrip, 1}, {0u, 1}}) {
        w.setForeground(front);
        tick();
        EXPECT_EQ(state.pasteTarget, editor) << front;
        EXPECT_EQ(hides, hidden) << front;
    }
    state.mainForm.form.window.show = ui::WindowShow::Minimised;
    w.setForeground(main);
    tick();
    EXPECT_EQ(hides, 1);
}

TEST_F(MonitorTest, WindowUpkeepRecordsPlacesAndSnapsToEdges) {
    auto& win = state.mainForm.form.window;
    win.shown = true;
    win.left = 4000;
    win.top = 299;
    state.settings.Layout = 2;
    tick();
    EXPECT_EQ(state.settings.ReducedLeft, 4000);
    EXPECT_EQ(state.settings.ReducedTop, 299);
    EXPECT_EQ(win.top, 0);
    EXPECT_EQ(win.left, 4000);
    EXPECT_GT(refreshes, 0);

    state.settings.Layout = 0;
    state.mainForm.columnView = 2;
    win.left = -250;
    win.top = 3000;
    tick();
    EXPECT_EQ(state.settings.ColumnTop, 3000.0f);
    EXPECT_EQ(state.settings.ColumnLeft, -250.0f);
    EXPECT_EQ(state.settings.ReducedLeft, 4000);
    EXPECT_EQ(win.left, 0);
}

// Reads run elsewhere (here: when the test says); the tick never waits for
// one and files what it found under the rules in force when it arrives.
TEST_F(MonitorTest, ReadsAwayFromTheTickAreFiledWhenTheyArrive) {
    std::vector<ReadWorker::Job> jobs;
    state.monitor.runRead = [&](ReadWorker::Job job) { jobs.push_back(std::move(job)); };
    const auto arrive = [&] {
        ASSERT_FALSE(jobs.empty());
        auto job = std::move(jobs.front());
        jobs.erase(jobs.begin());
        job(clipboard());
    };

    EXPECT_EQ(capture("one"), TickOutcome::Reading);
    EXPECT_EQ(tick(), TickOutcome::Reading);  // one read at a time
    EXPECT_EQ(jobs.size(), 1u);
    EXPECT_EQ(state.lists.clipboardClips.count, 0);
    arrive();
    EXPECT_EQ(MonitorReadArrived(state), TickOutcome::Captured);
    EXPECT_EQ(title(0), "one");
    // The tick that came during the read asked for another look, at once.
    ASSERT_EQ(jobs.size(), 1u);
    arrive();
    EXPECT_EQ(MonitorReadArrived(state), TickOutcome::Seen);

    // An owner change starts a read; while a paste keeps the monitor off, what
    // arrives waits for the next tick.
    copyText("two");
    EXPECT_EQ(MonitorOwnerChanged(state), TickOutcome::Reading);
    arrive();
    state.monitor.enabled = false;
    EXPECT_EQ(MonitorReadArrived(state), TickOutcome::Disabled);
    EXPECT_EQ(MonitorOwnerChanged(state), TickOutcome::Disabled);
    EXPECT_EQ(state.lists.clipboardClips.count, 1);
    state.monitor.enabled = true;
    EXPECT_EQ(tick(), TickOutcome::Captured);
    EXPECT_EQ(title(1), "two");

    // Switched off while reading: nothing is filed, "clip.tmp" goes.
    EXPECT_EQ(capture("three"), TickOutcome::Reading);
    state.settings.CaptureMode = 1;
    arrive();
    EXPECT_EQ(MonitorReadArrived(state), TickOutcome::Off);
    EXPECT_EQ(MonitorOwnerChanged(state), TickOutcome::Off);
    EXPECT_TRUE(jobs.empty());
    EXPECT_EQ(state.lists.clipboardClips.count, 2);
    EXPECT_FALSE(files::exists(data("clip.tmp")));
}
