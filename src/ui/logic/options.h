#pragma once
// The Options dialog (form Options): its controls as designed, what each
// shows from the settings, and what a choice does. Every choice is stored,
// saved and applied at once; there is no Cancel.
#include <array>
#include <string>
#include <vector>

#include "ui/logic/form_design.h"

namespace pellion {
struct ProgramState;
struct SettingsRecord;
}

namespace pellion::ui {

inline constexpr int kOptionRows = 9;         // numbered rows; row 9 holds the four edge boxes
inline constexpr int kOptionColourRows = 4;   // Clipboard Clips, Group Clips, Group Names, Transfer Slots
inline constexpr int kOptionColours = 4;      // white, green, blue, yellow
inline constexpr Colour kOptionColour[kOptionColours] = {0xFFFFFF, 0x00FF00, 0xFFFF00, 0x00FFFF};

enum class OptionsPart { Heading, Choice, EdgeBox, Help, ColourFrame, ColourLabel, Colour, Ok };

// One control; row is 1..9 for the numbered rows (0 for Help 0 and OK), 0..3
// for the colour rows. Geometry in twips inside the dialog.
struct OptionsControl {
    OptionsPart part;
    int row = 0;
    int index = 0;
    TwipRect rect;
    std::string caption;
};

inline constexpr int kOptionsWidth = 9120, kOptionsHeight = 5496;  // inside the dialog
std::vector<OptionsControl> OptionsDesign();

// What the dialog shows: the chosen button of rows 1..8 (-1: none), the edge
// boxes Top, Left, Right, Bottom, the chosen colour of each colour row (-1:
// none) and the background of "Batch".
struct OptionsView {
    std::array<int, kOptionRows - 1> choice{};
    std::array<bool, 4> edges{};
    std::array<int, kOptionColourRows> colour{};
    Colour batch = kButtonFace;
};
OptionsView ViewOptions(const SettingsRecord& s);

// A left click on button `index` of row 1..8, or on edge box `index` of row
// 9 (checked: its new state). True when the dialog closes (a new size).
bool ChooseOption(ProgramState& ps, int row, int index, bool checked);
void ChooseColour(ProgramState& ps, int row, int index);
// The quick-help topic of a right click (or of a help button's click).
int OptionsHelpTopic(OptionsPart part, int row);

// The main window's Options button: false when the clip viewer has taken
// over pasting. Opening suspends the keyboard hook.
bool OptionsOpening(ProgramState& ps);
// After the dialog; true when it opens again because the size changed.
bool OptionsClosed(ProgramState& ps, bool sizeChanged);

}  // namespace pellion::ui
