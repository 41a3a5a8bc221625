#include "capture/capture_modes.h"

#include "app/program_state.h"
#include "app/settings_file.h"
#include "capture/monitor.h"
#include "store/clip_file.h"
#include "store/index_files.h"
#include "store/slot_files.h"
#include "ui/logic/main_form.h"

namespace pellion {

namespace {

constexpr int kCaptureNormal = 0, kCaptureOff = 1, kCaptureBulk = 2;

void FocusHoldfocus(ProgramState& ps) { ps.mainForm.form.window.focusRequest = ui::FocusRequest::Holdfocus; }

// The mode buttons show the settings; the widgets then show the form.
void ShowModes(ProgramState& ps) {
    ui::RefreshModeButtons(ps);
    FocusHoldfocus(ps);
    detail::Refresh(ps);
}

// Copies the Clipboard Clips, oldest first, into the empty bulk cache. A
// slot whose file is gone is left out rather than cached empty.
void SeedBulkCache(ProgramState& ps) {
    for (int n = 0; n < ps.lists.clipboardClips.count; ++n) AddToBulk(ps, {ListKind::ClipboardClips, n});
}

int PasteMode(int current, int k) { return k == current ? 0 : k; }

}  // namespace

void CaptureModeClick(ProgramState& ps, int k) {
    if (k < kCaptureNormal || k > kCaptureBulk) return;
    SettingsRecord& s = ps.settings;
    // "Off" turns red through the refresh below; clicking it again leaves
    // "Off" and takes what was copied meanwhile as seen.
    if (k == kCaptureOff && s.CaptureMode == kCaptureOff)
        RegisterMarker(ps, ps.monitor.hooks.processEvents, std::chrono::seconds(1));
    if (k == kCaptureBulk && s.CaptureMode != kCaptureBulk && s.BulkCount == 0) SeedBulkCache(ps);
    if (k == s.CaptureMode) k = kCaptureNormal;
    s.CaptureMode = static_cast<std::int16_t>(k);
    SaveSettings(ps);
    ShowModes(ps);
}

void TextOnlyClick(ProgramState& ps) {
    ps.clip.textOnly = !ps.clip.textOnly;
    ui::WidgetState& button = ps.mainForm.form[{ui::Family::TextOnlyBtn, 0}];
    button.selected = ps.clip.textOnly;
    button.background = ps.clip.textOnly ? kRed : kButtonFace;
    FocusHoldfocus(ps);
    detail::Refresh(ps);
}

void ClipModeClick(ProgramState& ps, int k) {
    if (k < 0 || k > 3) return;
    ps.settings.ClipMode = static_cast<std::int16_t>(PasteMode(ps.settings.ClipMode, k));
    SaveSettings(ps);
    ShowModes(ps);
}

void GroupModeClick(ProgramState& ps, int k) {
    if (k < 0 || k > 3) return;
    ps.settings.GroupMode = static_cast<std::int16_t>(PasteMode(ps.settings.GroupMode, k));
    SaveSettings(ps);
    SaveGroupMode(ps);
    ShowModes(ps);
}

void ClearButtonClick(ProgramState& ps) {
    ClearClipboardClips(ps);
    FocusHoldfocus(ps);
    const bool reduced = ps.settings.Layout == 1 || ps.settings.Layout == 2;
    if (reduced && ps.pasteTarget != 0 && ps.platform.windows) ps.platform.windows->bringToFront(ps.pasteTarget);
    detail::Refresh(ps);
}

}  // namespace pellion
