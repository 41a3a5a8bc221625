// Layouts (full, strip, compact), the full window's two sizes, the column
// view, and the mode buttons.
#include <cmath>

#include "ui/logic/form_internal.h"

namespace pellion::ui {

using detail::IsLarge;
using detail::W;

namespace {

// The strip's rearrangement as offsets, so that leaving it is the exact
// inverse of entering it. The clip paste modes move left only as far as
// "Modes:" at the desktop's font size allows.
struct StripMove {
    Family family;
    int first, last;
    int dx, dy, dWidth;
};

constexpr StripMove kStripMoves[] = {
    {Family::Label1, 3, 5, 2500, -710, 0},       {Family::ClipboardClip, 3, 5, 2500, -710, 0},
    {Family::Label1, 6, 8, 5000, -1420, 0},      {Family::ClipboardClip, 6, 8, 5000, -1420, -100},
    {Family::SizerBtn, 0, 2, 6800, -2220, 0},    {Family::ClearBtn, 0, 0, 7400, -2220, 0},
    {Family::Frame3, 0, 0, 7450, -2200, -750},   {Family::ClipMode, 0, 3, -710, 0, 0},
};

void MoveForStrip(FormState& form, int sign) {
    for (const StripMove& m : kStripMoves) {
        for (int i = m.first; i <= m.last; ++i) {
            TwipRect& r = form[{m.family, i}].rect;
            r.left += sign * m.dx;
            r.top += sign * m.dy;
            r.width += sign * m.dWidth;
        }
    }
}

void EnterStrip(ProgramState& ps) {
    FormState& form = ps.mainForm.form;
    form.window.width = kStripWidth;
    form.window.height = kStripHeight;
    W(ps, Family::Ctrlframe, 1).visible = false;
    W(ps, Family::Frame1).visible = false;
    TwipRect& panel = W(ps, Family::Ctrlframe, 0).rect;
    panel.width = 9470;
    panel.height = 1120;
    MoveForStrip(form, +1);
    W(ps, Family::ClearBtn).rect.width = 816;
    W(ps, Family::Label2, 2).caption = "Modes:";
}

void LeaveStrip(ProgramState& ps) {
    MoveForStrip(ps.mainForm.form, -1);
    TwipRect& panel = W(ps, Family::Ctrlframe, 0).rect;
    panel.width = 2712;
    panel.height = kClipsPanelHeight;
    W(ps, Family::ClearBtn).rect.width = 1200;
    W(ps, Family::Label2, 2).caption = "Special Modes:";
    W(ps, Family::Ctrlframe, 1).visible = true;
    W(ps, Family::Frame1).visible = true;
}

// A remembered position from the settings file: a value that is not a
// number of twips (NaN, infinite, absurdly large) counts as 0.
int PositionTwips(double v) {
    if (!std::isfinite(v) || std::fabs(v) > 1e8) return 0;
    return static_cast<int>(std::lround(v));
}

// A window beyond the screen's right or bottom edge, or wholly beyond its
// left or top edge, comes back to the top-left corner.
void KeepOnScreen(ProgramState& ps) {
    FormWindow& w = ps.mainForm.form.window;
    if (!ps.platform.windows) return;
    const platform::Point screen = ps.platform.windows->screenSizeTwips();
    if (w.top >= screen.y || w.left >= screen.x || w.left + w.width <= 0 || w.top + w.height <= 0) {
        w.top = 0;
        w.left = 0;
    }
}

// Row 23 and the Transfer Slots belong to the Large window only; in the
// "Hot Key Clips" group the second and third columns end at row 22.
void ApplySizeVisibility(ProgramState& ps) {
    const bool large = IsLarge(ps);
    W(ps, Family::Item, 23).visible = large;
    detail::ApplyHotKeyGroupRows(ps);
    W(ps, Family::hotkey, 23).visible = large;
    W(ps, Family::Group, 23).visible = large;
    W(ps, Family::Frame2).visible = large;
}

void SelectOptions(ProgramState& ps, Family family, int count, int setting, int firstColoured) {
    for (int i = 0; i < count; ++i) {
        WidgetState& b = W(ps, family, i);
        b.selected = i == setting;
        if (i >= firstColoured) b.background = b.selected ? kRed : kButtonFace;
    }
}

}  // namespace

void detail::ApplyHotKeyGroupRows(ProgramState& ps) {
    const bool shown = IsLarge(ps) && ps.settings.CurrentGroup != 22;
    W(ps, Family::Item, 55).visible = shown;
    W(ps, Family::Item, 87).visible = shown;
}

void MakeTopmost(ProgramState& ps, platform::WindowId window) {
    if (window != 0 && window == ps.mainWindow)
        ps.mainForm.form.window.topmost = true;
    else if (window != 0 && ps.platform.windows)
        ps.platform.windows->setTopmost(window, true);
}

void MakeNotTopmost(ProgramState& ps, platform::WindowId window) {
    if (window != 0 && window == ps.mainWindow)
        ps.mainForm.form.window.topmost = false;
    else if (window != 0 && ps.platform.windows)
        ps.platform.windows->setTopmost(window, false);
}

void RefreshModeButtons(ProgramState& ps) {
    const SettingsRecord& s = ps.settings;
    FormWindow& window = ps.mainForm.form.window;
    const bool onTop = s.OnTop == 1;
    window.topmost = onTop;
    for (int i = 0; i < 3; ++i) W(ps, Family::SizerBtn, i).visible = onTop;
    W(ps, Family::TextOnlyFrame).visible = !onTop;
    W(ps, Family::ClearBtn).rect.width = onTop && s.Layout == 1 ? 816 : 1200;

    SelectOptions(ps, Family::ClipMode, 4, s.ClipMode, 1);
    SelectOptions(ps, Family::GroupMode, 4, s.GroupMode, 1);
    SelectOptions(ps, Family::CaptureMode, 3, s.CaptureMode, 1);
    W(ps, Family::CaptureMode, 2).caption =
        s.BulkCount <= 0 && s.CaptureMode != 2 ? std::string("Bulk") : std::to_string(s.BulkCount);
}

void ApplyFullSize(ProgramState& ps) {
    FormWindow& window = ps.mainForm.form.window;
    if (window.show == WindowShow::Maximised) window.show = WindowShow::Normal;
    const bool large = IsLarge(ps);
    window.width = large ? kLargeWidth : kSmallWidth;
    window.height = large ? kLargeHeight : kSmallHeight;
    W(ps, Family::Ctrlframe, 1).rect.width = large ? 7128 : 4840;
    W(ps, Family::Frame1).rect.left = large ? 10008 : 7720;
    W(ps, Family::Ctrlframe, 1).rect.height = large ? 8376 : 6100;
    W(ps, Family::Frame1).rect.height = large ? 8376 : 6100;
    ApplySizeVisibility(ps);
}

void SetLayout(ProgramState& ps, int n) {
    FormWindow& window = ps.mainForm.form.window;
    if (n < 0 || n > 2 || window.show == WindowShow::Minimised) return;
    ResetHighlight(ps);
    W(ps, Family::Frame4).visible = n != 2;
    const int current = ps.settings.Layout;
    TwipRect& panel = W(ps, Family::Ctrlframe, 0).rect;
    if (n == 2 && current == 0) {
        panel.height = kCompactPanelHeight;
    } else {
        if (n == 0 && current == 2) panel.height = kClipsPanelHeight;
        if (n == 1 && current != 1) EnterStrip(ps);
        if (n != 1 && current == 1) {
            LeaveStrip(ps);
            if (n == 2) panel.height = kCompactPanelHeight;
        }
    }
    ps.settings.Layout = static_cast<std::int16_t>(n);
    if (n == 0) {
        ApplyFullSize(ps);
        window.top = 0;
        window.left = 0;
    } else {
        window.top = ps.settings.ReducedTop;
        window.left = ps.settings.ReducedLeft;
        if (n == 2) {
            window.width = kCompactWidth;
            window.height = kCompactHeight;
        }
    }
    KeepOnScreen(ps);
    detail::SaveSettings(ps);
}

void SetColumnView(ProgramState& ps, int column) {
    if (column < 0 || column > 3) return;
    FormWindow& window = ps.mainForm.form.window;
    ps.mainForm.columnView = column;
    const bool alone = column != 0;
    TwipRect& panel = W(ps, Family::Ctrlframe, 1).rect;
    if (alone) {
        window.left = PositionTwips(ps.settings.ColumnLeft);
        window.top = PositionTwips(ps.settings.ColumnTop);
        panel.left = 0;
        panel.width = 2400;
        window.width = kColumnWidth;
    } else {
        window.left = 0;
        window.top = 0;
        panel.left = 2808;
        panel.width = IsLarge(ps) ? 7128 : 4840;
    }
    W(ps, Family::Frame2).visible = !alone;
    W(ps, Family::Ctrlframe, 0).visible = !alone;
    W(ps, Family::Minimize).visible = !alone;
    W(ps, Family::Search).visible = !alone;
    W(ps, Family::TopBtn, 1).rect.left = alone ? 1944 : 2232;
    static constexpr int kColumnLeft[3] = {396, 2628, 4860};
    for (int r = 0; r < 32; ++r) {
        W(ps, Family::hotkey, r).visible = !alone;
        for (int c = 0; c < 3; ++c)
            W(ps, Family::Item, c * 32 + r).rect.left = !alone ? kColumnLeft[c] : c == column - 1 ? 108 : 4000;
    }
    // Back to all columns, the Small window keeps row 23 and the Transfer
    // Slots hidden.
    if (!alone) ApplySizeVisibility(ps);
}

void StartInRememberedLayout(ProgramState& ps) {
    const int remembered = ps.settings.Layout;
    ps.settings.Layout = 0;
    ps.mainForm.form.window.show = WindowShow::Normal;
    SetLayout(ps, remembered);
}

}  // namespace pellion::ui
