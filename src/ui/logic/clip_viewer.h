#pragma once
// The clip viewer and editor (form view) without its widgets: what a clip
// file shows (text, a picture or a list of formats), the options it opens
// with, what Save stores, and where the window goes.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/logic/clip_settings.h"

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

// Shared with the main window while the viewer is open (the open flag itself
// is ClipState::viewerOpen, which a restore looks at).
struct ViewerState {
    bool refusePaste = false;  // a picture is shown: clicks on group clips and Transfer Slots are ignored
    bool wordWrap = false;     // kept while the program runs
};

struct ViewerFormat {
    std::uint32_t id = 0;
    std::string name;  // empty for a numbered format
    std::uint64_t size = 0;
};

enum class ViewerShows { Text, Picture, Formats };

// What the viewer found in a clip file.
struct ViewerClip {
    bool hasText = false;
    bool pictureShown = false;
    bool multiFormat = false;  // formats besides text: editing the text loses them
    bool damaged = false;      // the file ends inside a record
    std::string text;          // the text block up to its first NUL
    std::vector<std::uint8_t> picture;  // the picture shown, as a picture file
    std::string pictureFormat;          // its type ("image/bmp" for a Windows bitmap)
    std::vector<ViewerFormat> formats;  // every whole record, in file order

    // An empty or missing file opens as empty, editable text.
    ViewerShows shows() const {
        if (pictureShown) return ViewerShows::Picture;
        if (hasText || formats.empty()) return ViewerShows::Text;
        return ViewerShows::Formats;
    }
};

// Reads the clip file: in file order, a picture format replaces the one
// shown before; the text block ends the scan of a named-layout file, so that
// formats after it neither show nor warn. A failed read ends the scan with
// what was found so far.
ViewerClip LoadViewerClip(const std::string& path);

// A line this long keeps the text box busy for seconds: a text that holds one
// is shown cut into lines of kBrokenLineLength bytes, and cannot be edited.
inline constexpr std::size_t kLongestEditableLine = 100000;
inline constexpr std::size_t kBrokenLineLength = 2000;
inline constexpr const char* kBrokenLinesNote =
    "Very long lines are shown cut into pieces: this text cannot be edited here.";
bool HasOverlongLine(const std::string& text);
// Every line cut after kBrokenLineLength bytes, never inside a character.
std::string BreakLongLines(const std::string& text);

// The plain list of a clip's formats with their sizes, one per line.
std::string FormatList(const std::vector<ViewerFormat>& formats);

inline constexpr const char* kNonTextClip = "Non Text Clip";
inline constexpr const char* kDamagedPicture =
    "This picture cannot be shown: its data is damaged or in a format this desktop cannot read.";
inline constexpr const char* kMultiFormatWarning =
    "This  clip  contains  multiple data formats.  If you edit the text and  re-save,  then  the other  data  "
    "formats  will  be lost.";

// What the viewer opens with for a slot: the title as the cell shows it
// ("Untitled" when blank), the stored paste mode and colour, and the file.
struct ViewerOpening {
    ClipSettings held;
    std::string title;
    std::optional<int> pasteOption;
    std::optional<int> colourOption;
    bool showOptions = true;  // a Clipboard Clip has no paste mode or colour of its own
    std::string path;
};
ViewerOpening OpenViewerOn(const ProgramState& ps, SourceList list, int slot);

// Window placement in screen twips (outer size).
inline constexpr int kViewerMinWidth = 3045, kViewerMinHeight = 3900;
// The remembered place, at least the minimum size, within the screen.
TwipRect ViewerPlacement(const ProgramState& ps, int screenWidth, int screenHeight, int minWidth = kViewerMinWidth,
                         int minHeight = kViewerMinHeight);
// The Edit menu's Size entries.
TwipRect ViewerDefaultSize(bool large, int screenWidth, int screenHeight);
TwipRect ViewerWideSize(bool large, int screenWidth, int screenHeight);
// Kept in ViewerTop, ViewerLeft, ViewerHeight and ViewerWidth.
void RememberViewerPlace(ProgramState& ps, const TwipRect& outer);

}  // namespace pellion::ui
