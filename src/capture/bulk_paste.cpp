#include "capture/bulk_paste.h"

#include <algorithm>
#include <array>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "paste/paste_engine.h"
#include "platform/files.h"
#include "store/index_files.h"
#include "store/restore_clip.h"
#include "ui/logic/drop_matrix.h"

namespace pellion {

namespace {

constexpr std::array<const char*, kSpacingOptions> kLabels{
    "No spacing",          "New line between clips", "Blank line between clips", "User supplied text",
    "First clip in group 1", "Tab to next field",    "Down arrow to next field",
};

void ProcessEvents(ProgramState& ps) {
    if (ps.paste.hooks.processEvents) ps.paste.hooks.processEvents();
}

bool ViewerOpen(const ProgramState& ps) {
    return ps.clip.viewerOpen || (ps.mainForm.hooks.viewerOpen && ps.mainForm.hooks.viewerOpen());
}

// Our own keys must not be taken for the user's, and nothing pasted may be
// captured again.
void QuietMonitors(ProgramState& ps, bool quiet) {
    if (ps.platform.hooks)
        ps.platform.hooks->setMonitoring(quiet ? platform::MonitoringState::Typing : platform::MonitoringState::Normal);
    if (ps.paste.hooks.monitorTimer) ps.paste.hooks.monitorTimer(!quiet);
}

void Send(ProgramState& ps, const char* keys, bool wait) {
    if (ps.platform.keystrokes) ps.platform.keystrokes->send(keys, wait);
    ProcessEvents(ps);
}

// The paste keystroke waits until the target has taken the clipboard: the
// next restore replaces what it would otherwise paste.
void PasteClipboard(ProgramState& ps) {
    OfferToPasteKey(ps);
    Send(ps, "+{INSERT}", true);
}

const std::string& UserText(ProgramState& ps) {
    if (!ps.bulkPaste.userTextLoaded) LoadSpacerText(ps);
    return ps.bulkPaste.userText;
}

void TypeSpacing(ProgramState& ps) {
    switch (static_cast<Spacing>(ps.settings.BulkSpacing)) {
    case Spacing::NewLine: Send(ps, "{ENTER}", false); break;
    case Spacing::BlankLine:
        Send(ps, "{ENTER}", false);
        Send(ps, "{ENTER}", false);
        break;
    case Spacing::UserText:
        if (ps.platform.clipboard) ps.platform.clipboard->setText(UserText(ps));
        PasteClipboard(ps);
        break;
    case Spacing::FirstClip:
        RestoreClip(ps, {ListKind::GroupClips, 0, 0});
        PasteClipboard(ps);
        break;
    case Spacing::Tab: Send(ps, "{TAB}", false); break;
    case Spacing::DownArrow: Send(ps, "{DOWN}", false); break;
    case Spacing::None: break;
    }
}

void PasteAll(ProgramState& ps) {
    const int cached = std::clamp<int>(ps.settings.BulkCount, 0, kBulkSlots);
    const ListKind list = cached > 0 ? ListKind::Bulk : ListKind::ClipboardClips;
    const int count = cached > 0 ? cached : std::clamp(ps.lists.clipboardClips.count, 0, kClipSlots);
    for (int n = 0; n < count; ++n) {
        RestoreClip(ps, {list, n});
        PasteClipboard(ps);
        if (n + 1 < count) TypeSpacing(ps);
    }
}

// The main window steps aside for the paste target.
void StepAside(ProgramState& ps) {
    ui::FormWindow& w = ps.mainForm.form.window;
    if (w.show == ui::WindowShow::Normal) {
        ui::HideDropTargets(ps);
        if (!ViewerOpen(ps)) w.focusRequest = ui::FocusRequest::Holdfocus;
        if (ps.settings.OnTop != 1) w.show = ui::WindowShow::Minimised;
    }
    if (!ViewerOpen(ps)) {
        if (ps.pasteTarget != 0 && ps.platform.windows) ps.platform.windows->bringToFront(ps.pasteTarget);
        ProcessEvents(ps);
    }
}

}  // namespace

const char* SpacingLabel(int value) { return value >= 0 && value < kSpacingOptions ? kLabels[value] : ""; }

void BulkPaste(ProgramState& ps, const SpacingDialog& askSpacing) {
    QuietMonitors(ps, true);
    const int answer = askSpacing ? askSpacing() : kSpacingGoOn;
    if (answer != kSpacingCancelled) {
        StepAside(ps);
        PasteAll(ps);
        if (ps.settings.ClearOption == 0) ps.monitor.clearBeforeNextCapture = true;
    }
    QuietMonitors(ps, false);
}

void BindBulkPaste(ProgramState& ps, SpacingDialog askSpacing) {
    ps.paste.hooks.bulkPaste = [&ps, ask = std::move(askSpacing)] { BulkPaste(ps, ask); };
}

std::string LoadSpacerText(ProgramState& ps) {
    const std::string path = FileIn(ps.dataFolder, kSpacerFile);
    if (!files::exists(path)) files::writeWhole(path, std::string());
    const auto bytes = files::readAll(path);
    // An unreadable file keeps the text held so far.
    if (bytes) ps.bulkPaste.userText.assign(bytes->begin(), bytes->end());
    ps.bulkPaste.userTextLoaded = true;
    return ps.bulkPaste.userText;
}

bool ChooseSpacing(ProgramState& ps, int value) {
    if (value < 0 || value >= kSpacingOptions) return false;
    ps.settings.BulkSpacing = std::int16_t(value);
    SaveSettings(ps);
    return value == int(Spacing::UserText);
}

SpacingKeyAction SpacingDialogKey(char key, bool textBoxHasFocus) {
    if (textBoxHasFocus) return {};
    if (key == kEscapeKey) return {true, std::nullopt};
    if (key >= '1' && key <= '7') return {false, key - '1'};
    return {};
}

SpacingOk SpacingDialogOk(ProgramState& ps, const std::string& text) {
    if (ps.settings.BulkSpacing != int(Spacing::UserText)) return {true, false};
    if (text.empty()) return {false, true};
    ps.bulkPaste.userText = text;
    ps.bulkPaste.userTextLoaded = true;
    files::writeWhole(FileIn(ps.dataFolder, kSpacerFile), text);
    return {true, false};
}

}  // namespace pellion
