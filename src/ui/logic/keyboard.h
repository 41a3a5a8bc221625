#pragma once
// Keys in the main window: arrow and paging keys move the highlight bar,
// Enter activates its cell, digits and letters paste, Escape minimises, F1
// opens help. Key codes are virtual-key codes (the window layer maps its
// keys onto them). Also the highlight that follows the pointer, and the
// pop-up help captions.
#include <string>
#include <utility>
#include <vector>

#include "ui/logic/form_design.h"

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

namespace key {
inline constexpr int Enter = 0x0D, Escape = 0x1B, PageUp = 0x21, PageDown = 0x22, End = 0x23, Home = 0x24,
                     Left = 0x25, Up = 0x26, Right = 0x27, Down = 0x28, Digit0 = 0x30, A = 0x41, Z = 0x5A,
                     Numpad0 = 0x60, F1 = 0x70;
}

// What navigation depends on.
struct NavigationView {
    bool reduced = false;  // on top in the strip (layout 1) or compact (2) layout
    int layout = 0;
    bool large = true;     // the Large window, else the Small one
    int columnView = 0;    // 1..3 a Group Clips column alone
};
NavigationView NavigationViewOf(const ProgramState& ps);
// The highlight position that key leads to from p; p itself when the key
// does not move it.
int NavigateTo(const NavigationView& view, int key, int p);

// Each returns true when the key is used up and goes no further.
bool Form_KeyDown(ProgramState& ps, int key);
bool Form_KeyPress(ProgramState& ps, char32_t character);
bool Form_KeyUp(ProgramState& ps, int key);

// The highlight position of a cell of the four lists; -1 for other widgets.
int HighlightPositionOf(WidgetRef cell);
// The pointer moved over a cell: in mouse mode the highlight follows it.
void Cell_MouseMove(ProgramState& ps, WidgetRef cell);

// The caption of each widget for a HelpOption setting (0: all empty).
std::vector<std::pair<WidgetRef, std::string>> HelpCaptions(int setting, int currentLibrary);
// Sets the widgets' captions from HelpOption.
void SetHelpCaptions(ProgramState& ps);

}  // namespace pellion::ui
