#pragma once
// A program state over a temporary data folder with the monitor enabled, and
// what another program does to the clipboard.
#include <string>

#include "capture/monitor.h"
#include "store/clip_file.h"
#include "unit/store_fixture.h"

namespace pellion::test {

class MonitorTest : public StoreTest {
protected:
    MonitorTest() {
        state.monitor.enabled = true;
        state.monitor.hooks.refresh = [this] { ++refreshes; };
    }

    platform::fake::FakeClipboard& clipboard() { return *fake.clipboard; }
    void copyText(const std::string& text) { clipboard().copyTextFromOtherProgram(text); }
    TickOutcome tick() { return MonitorTick(state); }
    // Copies text and runs the tick that captures it.
    TickOutcome capture(const std::string& text) {
        copyText(text);
        return tick();
    }
    Bytes clipFile(int n) const { return read(data("clip." + std::to_string(n))); }
    std::string title(int n) const { return state.lists.clipboardClips.titles[n]; }
    std::string caption(ui::Family family, int index = 0) const { return state.mainForm.form[{family, index}].caption; }
    bool markerOnClipboard() {
        return clipboard().isFormatAvailable(clipboard().registerFormat(platform::kMarkerName));
    }

    int refreshes = 0;
};

}  // namespace pellion::test
