#include "capture/capture_modes.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/settings_file.h"
#include "store/index_files.h"
#include "unit/monitor_fixture.h"

using namespace pellion;
using namespace pellion::test;

namespace {

class CaptureModesTest : public MonitorTest {
protected:
    SettingsRecord saved() const { return DecodeSettings(read(data("pellion.ini"))); }
    const ui::WidgetState& widget(ui::Family f, int i) const { return state.mainForm.form[{f, i}]; }
};

}  // namespace

TEST_F(CaptureModesTest, BulkSeedsAnEmptyCacheWithTheClipboardClipsInOrder) {
    capture("first");
    capture("second");
    capture("third");
    CaptureModeClick(state, 2);
    EXPECT_EQ(state.settings.CaptureMode, 2);
    ASSERT_EQ(state.settings.BulkCount, 3);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(read(data("bulk." + std::to_string(n))), clipFile(n)) << n;
    EXPECT_EQ(read(data("bulk.dat")), concat({padded("first", 50), padded("second", 50), padded("third", 50)}));
    EXPECT_EQ(widget(ui::Family::CaptureMode, 2).caption, "3");
    EXPECT_EQ(saved().BulkCount, 3);

    // Clicking "Bulk" again returns to "Normal" and adds nothing.
    CaptureModeClick(state, 2);
    EXPECT_EQ(state.settings.CaptureMode, 0);
    EXPECT_EQ(state.settings.BulkCount, 3);
    // A cache that holds clips is not seeded again.
    CaptureModeClick(state, 2);
    EXPECT_EQ(state.settings.BulkCount, 3);
    EXPECT_FALSE(files::exists(data("bulk.3")));
}

TEST_F(CaptureModesTest, SeedingLeavesOutAClipWhoseFileIsGone) {
    capture("kept one");
    capture("lost");
    capture("kept two");
    files::remove(data("clip.1"));
    CaptureModeClick(state, 2);
    ASSERT_EQ(state.settings.BulkCount, 2);
    EXPECT_EQ(read(data("bulk.1")), clipFile(2));
    EXPECT_EQ(read(data("bulk.dat")), concat({padded("kept one", 50), padded("kept two", 50)}));
}

// Where group 22's mode is kept is the index files' test.
TEST_F(CaptureModesTest, PasteModesToggleBackToNormalAndTheGroupModeGoesIntoItsFolder) {
    // The buttons' colours for each setting are the main form's, tested there.
    ClipModeClick(state, 2);
    EXPECT_EQ(saved().ClipMode, 2);
    ClipModeClick(state, 3);
    EXPECT_EQ(widget(ui::Family::ClipMode, 3).background, kRed);
    ClipModeClick(state, 3);
    EXPECT_EQ(state.settings.ClipMode, 0);
    EXPECT_TRUE(widget(ui::Family::ClipMode, 0).selected);

    std::filesystem::create_directories(state.libraryFolder);
    state.settings.CurrentGroup = 5;
    GroupModeClick(state, 1);
    EXPECT_EQ(saved().GroupMode, 1);
    EXPECT_EQ(byteAt(lib(1, "mode.dat"), 10), 1);
    GroupModeClick(state, 1);
    EXPECT_EQ(state.settings.GroupMode, 0);
    EXPECT_EQ(byteAt(lib(1, "mode.dat"), 10), 0);
}

TEST_F(CaptureModesTest, ClearBringsThePasteTargetBackOnlyInTheReducedLayouts) {
    auto& w = *fake.windows;
    const auto editor = w.add("editor");
    w.setForeground(editor);
    tick();
    capture("x");
    ClearButtonClick(state);
    EXPECT_EQ(state.lists.clipboardClips.count, 0);
    EXPECT_TRUE(w.frontedLog.empty());

    capture("y");
    state.settings.Layout = 2;
    ClearButtonClick(state);
    EXPECT_EQ(w.frontedLog, std::vector<platform::WindowId>{editor});
    EXPECT_EQ(state.mainForm.form.window.focusRequest, ui::FocusRequest::Holdfocus);
}
