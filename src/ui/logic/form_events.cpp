// Handlers of the layout buttons, the minimise button, the focus sink and the
// library label, and bringing the window up.
#include <chrono>

#include "ui/logic/form_internal.h"

namespace pellion::ui {

using detail::Ask;
using detail::Call;
using detail::W;

using detail::FocusHoldfocus;
using detail::QuickHelp;

namespace {

int ReducedLayout(const ProgramState& ps) {
    const int n = ps.settings.LastReducedLayout;
    return n == 1 || n == 2 ? n : 1;
}

}  // namespace

void TopBtn_MouseDown(ProgramState& ps, int index, MouseButton button) {
    if (index < 0 || index > 3) return;
    if (button == MouseButton::Right) {
        QuickHelp(ps, index == 0 ? 7 : 37);
        return;
    }
    SettingsRecord& s = ps.settings;
    if (s.OnTop == 1) {
        s.OnTop = 0;
        ApplyFullSize(ps);
        if (index == 0)
            SetLayout(ps, 0);
        else
            SetColumnView(ps, 0);
    } else {
        s.OnTop = 1;
        if (index == 0)
            SetLayout(ps, ReducedLayout(ps));
        else
            SetColumnView(ps, index);
    }
    RefreshModeButtons(ps);
    detail::SaveSettings(ps);
    FocusHoldfocus(ps);
}

void SizerBtn_Click(ProgramState& ps, int index) {
    if (index < 0 || index > 2) return;
    if (index != 0) ps.settings.LastReducedLayout = static_cast<std::int16_t>(index);
    SetLayout(ps, index);
    if (index == 0) {
        ps.settings.OnTop = 0;
        detail::SaveSettings(ps);
        RefreshModeButtons(ps);
    }
    FocusHoldfocus(ps);
    ps.mainForm.swallowNextKeyRelease = true;
}

void SizerBtn_MouseUp(ProgramState& ps, int index, MouseButton button) {
    if (index >= 0 && index <= 2 && button == MouseButton::Right) QuickHelp(ps, 1);
}

void BringUpWindow(ProgramState& ps) {
    MainForm& m = ps.mainForm;
    FormWindow& window = m.form.window;
    Call(m.hooks.hideEdgeStrip);
    if (ps.settings.OnTop == 0) {
        window.show = WindowShow::Normal;
    } else if (window.show == WindowShow::Minimised) {
        window.show = WindowShow::Normal;
    } else if (window.shown) {
        // Already up in a reduced form: expand to the full window.
        if (m.columnView != 0) {
            ps.settings.OnTop = 0;
            window.show = WindowShow::Normal;
            ApplyFullSize(ps);
            SetColumnView(ps, 0);
        } else {
            SetLayout(ps, 0);
            ps.settings.OnTop = 0;
        }
        RefreshModeButtons(ps);
    }
    window.shown = true;
    // Topmost for a moment lifts the window above every other; it stays
    // topmost only in a reduced layout.
    window.raiseRequest = true;
    window.topmost = ps.settings.OnTop == 1;
    window.processEventsRequest = true;
    window.focusRequest = FocusRequest::Window;
}

bool Helpbutton_Click(ProgramState& ps) {
    if (!Ask(ps.mainForm.hooks.viewerTakesPasting)) return true;
    Call(ps.mainForm.hooks.beepToViewer);
    return false;
}

void Minimize_Click(ProgramState& ps) {
    if (Ask(ps.mainForm.hooks.viewerOpen)) {
        Call(ps.mainForm.hooks.beepToViewer);
        return;
    }
    if (ps.settings.OnTop == 0)
        ps.mainForm.form.window.show = WindowShow::Minimised;
    else
        SetLayout(ps, ReducedLayout(ps));  // a reduced window shrinks instead
}

void Form_Resize(ProgramState& ps) {
    KeepOffTaskbar(ps);
    if (ps.mainForm.form.window.show != WindowShow::Normal) Holdfocus_GotFocus(ps);
}

bool KeepOffTaskbar(ProgramState& ps) {
    FormWindow& w = ps.mainForm.form.window;
    const bool skip = w.show == WindowShow::Minimised && ps.settings.IconOption == 0;
    if (skip == w.skipTaskbar) return false;
    w.skipTaskbar = skip;
    return true;
}

void Holdfocus_GotFocus(ProgramState& ps) {
    MainForm& m = ps.mainForm;
    Call(m.hooks.endSearch);
    Call(m.hooks.hideNextClickPointer);
    if (m.columnView == 0)
        ResetHighlight(ps);
    else
        MoveHighlight(ps, 9 + 32 * (m.columnView - 1));
}

void LibLabel_MouseMove(ProgramState& ps) {
    if (Ask(ps.mainForm.hooks.viewerTakesPasting)) return;
    const TwipRect label = W(ps, Family::LibLabel).rect;
    WidgetState& button = W(ps, Family::LibBtn);
    button.rect = {label.left, label.top, label.width, W(ps, Family::Search).rect.height};
    button.visible = true;
}

std::optional<int> QuickHelpTopic(const ProgramState& ps, WidgetRef w) {
    switch (w.family) {
    case Family::SizerBtn: return 1;
    case Family::Ctrlframe: return w.index == 0 ? 2 : ps.settings.CurrentGroup == 22 ? 11 : 9;
    case Family::ClearBtn: return 3;
    case Family::Label2: return w.index == 1 ? 5 : 4;
    case Family::ClipMode:
    case Family::GroupMode: return 4;
    case Family::HotKeyOnOff: return 6;
    case Family::TopBtn: return w.index == 0 ? 7 : 37;
    case Family::Frame2: return 8;
    case Family::Frame1: return 10;
    case Family::Group: return w.index == 22 ? std::optional<int>(11) : std::nullopt;
    case Family::CaptureMode: return w.index == 1 ? 28 : w.index == 2 ? std::optional<int>(29) : std::nullopt;
    case Family::LaunchBtn: return 36;
    case Family::TextOnlyBtn: return 40;
    case Family::Search: return 47;
    default: return std::nullopt;
    }
}

std::uint32_t TickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void Pause(std::uint32_t ms, const std::function<std::uint32_t()>& tick) {
    const std::uint32_t start = tick();
    for (;;) {
        const std::uint32_t now = tick();
        if (now < start || now - start > ms) return;
    }
}

}  // namespace pellion::ui
