#pragma once
// The library selection dialog without its widgets: the 29 captions, which
// one is highlighted, and what a choice, a rename and a move do to the files
// and the program state.
#include <array>
#include <string>

#include "store/libraries.h"
#include "ui/logic/form_design.h"

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

struct LibraryChoice {
    std::array<std::string, kLibraries> captions;  // index i is library i + 1
    int highlight = 0;
};

// Captions from "lib.dat" (the last three fixed); the current library
// highlighted.
LibraryChoice OpenLibraryChoice(ProgramState& ps);
// "lib.dat" from the 26 user captions.
bool SaveLibraryChoice(ProgramState& ps, const LibraryChoice& choice);
// Only user libraries take a name.
bool CanRename(int index);
bool RenameLibrary(ProgramState& ps, LibraryChoice& choice, int index, const std::string& name);
// Makes library index + 1 current (or, when it is current already, only
// shows its caption) and saves the names and the settings.
void ChooseLibrary(ProgramState& ps, LibraryChoice& choice, int index);
// Moves library from + 1 onto the empty user library to + 1, caption and
// all; the current library follows its contents. False when refused.
bool MoveLibrary(ProgramState& ps, LibraryChoice& choice, int from, int to);

// The dialog's design in twips, inside the window: libraries 1..15 in the
// left column, 16..29 in the right, each a number tag and a name cell.
struct LibraryDialogDesign {
    int width, height;
    TwipRect title, leftClick, rightClick, help, cancel;
};
inline constexpr LibraryDialogDesign kLibraryDialogDesign{
    5700, 6090, {0, 60, 5700, 360}, {120, 420, 4000, 240}, {120, 660, 4000, 240}, {120, 5640, 900, 330},
    {2940, 5640, 2640, 330}};
TwipRect LibraryTagRect(int index);
TwipRect LibraryItemRect(int index);
TwipRect LibraryHeadingRect(int column);

}  // namespace pellion::ui
