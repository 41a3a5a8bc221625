#pragma once
// The clip settings and group naming dialogs without their widgets: what OK
// checks and stores, the colour and paste options, and where the dialogs go.
#include <cstdint>
#include <optional>
#include <string>

#include "app/colours.h"
#include "ui/logic/form_design.h"

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

// The colour options of both dialogs and the clip viewer, by index:
// "White", "Green", "Blue", "Yellow", "Red", "Group Clr" (0: the list's
// default colour).
inline constexpr int kColourOptions = 6;
const char* ColourOptionCaption(int index);
std::optional<Colour> ColourOfOption(int index);
// The option a stored colour shows as selected; none for another colour.
std::optional<int> ColourOptionOf(Colour colour);
// The paste options "Normal", "Next Click", "Bookmark", "Group Setting",
// "Form Filling": the index is the stored code.
inline constexpr int kPasteOptions = 5;
const char* PasteOptionCaption(int index);

enum class SourceList { ClipboardClips = 1, GroupClips = 2, TransferSlots = 3 };

// What the clip settings dialog or the clip viewer hands to SaveClipSettings.
struct ClipSettings {
    SourceList list = SourceList::GroupClips;
    int slot = 0;
    int group = 0;              // GroupClips: the clip's group
    std::string title{};        // as edited; trailing blanks do not count
    std::uint8_t mode = 3;      // paste-mode code
    Colour colour = 0;          // 0: none of its own
    bool textChanged = false;   // the viewer edited the clip's text
    std::string text{};         // that text
};

// Stores the title, paste mode and colour into the clip's list; an edited
// text of a group clip or Transfer Slot rewrites its file as text only, and
// an edited Clipboard Clip goes onto the clipboard for the next capture to
// file under the edited title. Saving a group clip first makes its group
// current again; a "Hot Key Clips" slot's letter is watched at once.
void SaveClipSettings(ProgramState& ps, const ClipSettings& settings);

// Layout B: -1, -1, the text's length, the text (no terminator).
bool WriteTextOnlyClip(const std::string& path, const std::string& text);

// The OK of the clip settings dialog and the viewer's Save.
struct ClipSettingsForm {
    std::string title;
    std::optional<int> pasteOption;   // none selected: the mode held stays
    std::optional<int> colourOption;  // none selected: the colour held stays
    std::optional<std::string> editedText{};  // the viewer's text, when it differs from the text loaded
};
struct OkOutcome {
    bool saved = false;
    bool beep = false;
    std::string titleText;  // what the title box shows afterwards
};
inline constexpr const char* kTitleRequired = "A title is required.";
// A title that is blank after trimming is refused: beep, "A title is
// required." in the box, the dialog stays. Otherwise the settings are saved.
OkOutcome ClipSettingsOk(ProgramState& ps, ClipSettings held, const ClipSettingsForm& form);

// The group naming dialog's OK: the colour (none selected: 0) at 4 x group
// in "groups.clr" of the library, the name "Untitled" when the title is
// empty, else the title as typed; "groups.dat" is rewritten.
inline constexpr const char* kUntitledGroup = "Untitled";
bool SaveGroupNaming(ProgramState& ps, int group, const std::string& title, std::optional<int> colourOption);

// Where the group naming dialog goes (screen twips): right edges flush with
// the main window, 300 above the group's cell, kept within the main window's
// height.
TwipRect GroupNamingPlacement(const TwipRect& mainWindow, int cellTop, int dialogWidth, int dialogHeight);
// Where the clip settings dialog goes: beside the target cell, on its right
// when that fits on the screen, else on its left, kept on the screen.
TwipRect ClipSettingsPlacement(const TwipRect& cell, int dialogWidth, int dialogHeight, int screenWidth,
                               int screenHeight);

}  // namespace pellion::ui
