#include "capture/monitor.h"

#include <cstdlib>
#include <vector>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "capture/save_notice.h"
#include "platform/files.h"
#include "store/fields.h"
#include "store/slot_files.h"
#include "ui/logic/main_form.h"

namespace pellion {

namespace {

using ui::Family;
using ui::WindowShow;

// A window this close to the screen's top or left edge snaps onto it.
constexpr int kSnapTwips = 300;

ui::WidgetState& W(ProgramState& ps, Family f, int index = 0) { return ps.mainForm.form[{f, index}]; }

// The date in the caption and the Clear button's text. True when the form changed.
bool UpdateCaptions(ProgramState& ps) {
    MonitorState& m = ps.monitor;
    if (++m.tickCounter > 5) {
        m.tickCounter = 0;
        const DateTime now = m.hooks.now ? m.hooks.now() : DateTime::now();
        const std::string text = DateTimeText(now);
        if (text != m.lastDateText) {
            m.lastDateText = text;
            if (m.hooks.setCaption) m.hooks.setCaption(ShownCaption(ps, now));
        }
    }
    const bool bulkOnly = ps.lists.clipboardClips.count == 0 && ps.settings.BulkCount > 0;
    const char* want = !bulkOnly ? "Clear" : ps.settings.Layout == 1 ? "Clr Blk" : "Clear Bulk";
    std::string& caption = W(ps, Family::ClearBtn).caption;
    if (caption == want) return false;
    caption = want;
    return true;
}

// The paste target is the last foreground window that is not ours.
void TrackPasteTarget(ProgramState& ps) {
    auto* windows = ps.platform.windows.get();
    if (!windows) return;
    const platform::WindowId front = windows->foreground();
    if (front == 0) return;
    if (!windows->isOwnWindow(front)) {
        ps.pasteTarget = front;
        return;
    }
    if (front != ps.monitor.edgeStrip && ps.mainForm.form.window.show != WindowShow::Minimised &&
        ps.mainForm.hooks.hideEdgeStrip)
        ps.mainForm.hooks.hideEdgeStrip();
}

// The first run, once the window is up: the help menu window, once.
void FirstRunHelp(ProgramState& ps) {
    const ui::FormWindow& w = ps.mainForm.form.window;
    if (ps.settings.HelpShown != 0 || !w.shown || w.show != WindowShow::Normal || !ps.monitor.hooks.showHelpMenu)
        return;
    ps.monitor.hooks.showHelpMenu();
    ps.settings.HelpShown = 1;
    SaveSettings(ps);
}

// Keeps the window in its place. True when its place or visibility changed.
bool WindowUpkeep(ProgramState& ps) {
    ui::FormWindow& w = ps.mainForm.form.window;
    SettingsRecord& s = ps.settings;
    if (!w.shown) return false;
    const bool taskbar = ui::KeepOffTaskbar(ps);
    if (w.show != WindowShow::Normal) return taskbar;
    if (s.Layout == 1 || s.Layout == 2) {
        s.ReducedTop = w.top;
        s.ReducedLeft = w.left;
    }
    if (ps.mainForm.columnView != 0) {
        s.ColumnTop = static_cast<float>(w.top);
        s.ColumnLeft = static_cast<float>(w.left);
    }
    bool moved = taskbar;
    for (int* edge : {&w.left, &w.top}) {
        if (*edge != 0 && std::abs(*edge) < kSnapTwips) {
            *edge = 0;
            moved = true;
        }
    }
    return moved;
}

}  // namespace

namespace detail {

void Refresh(ProgramState& ps) {
    if (ps.monitor.hooks.refresh) ps.monitor.hooks.refresh();
}

}  // namespace detail

std::string MakeTitle(const std::string& text) {
    std::size_t start = 0;
    while (start < text.size() && static_cast<unsigned char>(text[start]) <= 32) ++start;
    return field::fit(text.substr(start), kTitleBytes);
}

void ShowClipboardClips(ProgramState& ps) {
    const auto& list = ps.lists.clipboardClips;
    ui::FillCellCaptions(ps.mainForm.form, Family::ClipboardClip,
                         std::vector<std::string>(list.titles.begin(), list.titles.begin() + list.count));
}

void ClearClipboardClips(ProgramState& ps) {
    if (ps.lists.clipboardClips.count == 0) {
        if (ps.settings.BulkCount == 0) return;
        ClearBulkCache(ps);
        // The count on disk must not name files that are gone.
        SaveSettings(ps);
        ui::RefreshModeButtons(ps);
    } else {
        EmptyClipboardClips(ps);
        ps.monitor.newestClipOwner.reset();
        ShowClipboardClips(ps);
    }
    detail::Refresh(ps);
}

TickOutcome MonitorTick(ProgramState& ps) {
    MonitorState& m = ps.monitor;
    if (!m.enabled) return TickOutcome::Disabled;
    m.enabled = false;  // a tick that lets events run must not start another
    TickOutcome outcome = TickOutcome::Failed;
    try {
        bool changed = UpdateCaptions(ps);
        FirstRunHelp(ps);
        TrackPasteTarget(ps);
        if (m.hooks.enableEdgeTimer) m.hooks.enableEdgeTimer();
        changed = WindowUpkeep(ps) || changed;
        if (changed) detail::Refresh(ps);
        if (ps.settings.CaptureMode == 1) {
            // What is copied while capture is off belongs to nobody we captured.
            m.lastSeenOwner.reset();
            outcome = TickOutcome::Off;
        } else {
            outcome = detail::CaptureClipboard(ps);
        }
    } catch (...) {
        // A failed tick ends here; the clipboard is closed by the capture's guard.
        outcome = TickOutcome::Failed;
    }
    m.enabled = true;
    return outcome;
}

}  // namespace pellion
