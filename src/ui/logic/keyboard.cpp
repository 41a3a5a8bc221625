// The main window's key handlers and the highlight that follows the pointer.
#include "ui/logic/keyboard.h"

#include "paste/paste_engine.h"
#include "ui/logic/form_internal.h"

namespace pellion::ui {

using detail::Ask;
using detail::Call;

namespace {

bool IsNavigationKey(int k) { return k >= key::PageUp && k <= key::Down; }

bool SearchActive(const ProgramState& ps) { return Ask(ps.keys.searchActive); }

// Enter: the highlighted cell as if the left button clicked it.
void ActivateHighlighted(ProgramState& ps) {
    const int p = ps.mainForm.highlight;
    if (p >= 0 && p <= 8)
        SelectClipboardClip(ps, p, MouseButton::Left);
    else if (p >= 9 && p <= 104)
        SelectGroupClip(ps, p - 9, MouseButton::Left);
    else if (p >= 105 && p <= 112)
        SelectTransferSlot(ps, p - 105, MouseButton::Left);  // reached in mouse mode only
    else if (p >= 113 && p <= 144 && ps.keys.groupClick)
        ps.keys.groupClick(p - 113);
}

}  // namespace

bool Form_KeyDown(ProgramState& ps, int k) {
    if (k == key::Enter || k == key::Escape || k == key::F1) return true;
    if (ps.settings.StickyOption != 0 || !IsNavigationKey(k) || SearchActive(ps)) return false;
    const int p = ps.mainForm.highlight;
    const int n = NavigateTo(NavigationViewOf(ps), k, p);
    // The focus sink already holds the focus while keys navigate (buttons
    // never take it, the search box takes the keys while active); asking for
    // it again would rerun its handler, which puts the highlight back.
    if (n != p) MoveHighlight(ps, n);
    return true;
}

bool Form_KeyPress(ProgramState&, char32_t character) { return character == 13 || character == 27; }

bool Form_KeyUp(ProgramState& ps, int k) {
    MainForm& m = ps.mainForm;
    if (k == key::F1 && !m.swallowNextKeyRelease) {
        Call(ps.keys.openHelp);
        return true;
    }
    if (m.swallowNextKeyRelease) {
        m.swallowNextKeyRelease = false;
        return true;
    }
    if (SearchActive(ps)) {
        if (k == key::Enter) Call(ps.keys.search);
        if (k == key::Escape) m.form.window.focusRequest = FocusRequest::Holdfocus;
        return k == key::Enter || k == key::Escape;
    }
    if (k > key::Numpad0 && k <= key::Numpad0 + 9) k = k - key::Numpad0 + key::Digit0;
    if (k == key::Escape) {
        m.form.window.show = WindowShow::Minimised;
    } else if (k > key::Digit0 && k <= key::Digit0 + 9) {
        SelectClipboardClip(ps, k - key::Digit0 - 1, MouseButton::Left);
    } else if (k >= key::A && k <= key::Z) {
        SelectGroupClip(ps, k - key::A, MouseButton::Left);
    } else if (k == key::Enter) {
        ActivateHighlighted(ps);
    } else {
        return false;
    }
    return true;
}

int HighlightPositionOf(WidgetRef cell) {
    const int i = cell.index;
    switch (cell.family) {
    case Family::ClipboardClip: return i >= 0 && i < 9 ? i : -1;
    case Family::Item: return i >= 0 && i < 96 ? i + 9 : -1;
    case Family::Trans: return i >= 0 && i < 8 ? i + 105 : -1;
    case Family::Group: return i >= 0 && i < 32 ? i + 113 : -1;
    default: return -1;
    }
}

void Cell_MouseMove(ProgramState& ps, WidgetRef cell) {
    if (ps.settings.StickyOption != 1 || Ask(ps.mainForm.hooks.viewerTakesPasting)) return;
    const int p = HighlightPositionOf(cell);
    if (p >= 0) MoveHighlight(ps, p);
}

}  // namespace pellion::ui
