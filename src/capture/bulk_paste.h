#pragma once
// Bulk paste: every clip of the bulk cache (or, with an empty cache, the
// Clipboard Clips) pasted into the paste target in one go, with the chosen
// spacing typed between two clips. And the rules of the spacing dialog.
#include <functional>
#include <optional>
#include <string>

namespace pellion {

struct ProgramState;

// What is typed between two clips: BulkSpacing 0..6, shown in the dialog as
// options "1" to "7".
enum class Spacing {
    None = 0,        // "No spacing"
    NewLine = 1,     // "New line between clips"
    BlankLine = 2,   // "Blank line between clips"
    UserText = 3,    // "User supplied text", pasted through the clipboard
    FirstClip = 4,   // "First clip in group 1": slot 0 of group 0
    Tab = 5,         // "Tab to next field"
    DownArrow = 6,   // "Down arrow to next field"
};
inline constexpr int kSpacingOptions = 7;
const char* SpacingLabel(int value);

inline constexpr const char* kSpacerFile = "spacer.txt";

// The spacer text, kept in memory while the program runs.
struct BulkPasteState {
    std::string userText;
    bool userTextLoaded = false;
};

// The spacing dialog: 0 go on, -1 cancelled. It runs modally, always on top.
using SpacingDialog = std::function<int()>;
inline constexpr int kSpacingGoOn = 0;
inline constexpr int kSpacingCancelled = -1;

// The hook monitor and the clipboard monitor rest while the dialog is up
// and the clips are pasted, and come back afterwards, also when cancelled.
// Without a dialog the stored spacing is used.
void BulkPaste(ProgramState& ps, const SpacingDialog& askSpacing);
// Start-up: the bulk paste hot key and the bulk paste drop run BulkPaste
// with this dialog.
void BindBulkPaste(ProgramState& ps, SpacingDialog askSpacing);

// The spacing dialog's rules.
// On opening: "spacer.txt" of the data folder (created empty when missing).
std::string LoadSpacerText(ProgramState& ps);
// An option chosen by click or key: stored and saved at once. True when the
// text box should take the focus (spacing 3), else the OK button does.
bool ChooseSpacing(ProgramState& ps, int value);
// A key released outside the text box: '1'..'7' (main keyboard or keypad)
// choose an option, Escape cancels. Inside the text box keys are text.
struct SpacingKeyAction {
    bool cancel = false;
    std::optional<int> option;  // spacing value 0..6
};
SpacingKeyAction SpacingDialogKey(char key, bool textBoxHasFocus);
inline constexpr char kEscapeKey = '\x1b';
// OK: spacing 3 with an empty text is refused (beep, focus to the text box);
// with a text, the text is kept and "spacer.txt" rewritten with exactly it.
struct SpacingOk {
    bool close = false;
    bool beep = false;
};
SpacingOk SpacingDialogOk(ProgramState& ps, const std::string& text);

}  // namespace pellion
