#pragma once
// The search box of the main window: Enter searches the titles of every
// library on a thread of its own, a hit is made current and pointed at with
// a blinking pointer, "Nothing Found" flashes red three times.
namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;

void BindSearch(ProgramState& ps, Edit& edit);

}  // namespace pellion::ui
