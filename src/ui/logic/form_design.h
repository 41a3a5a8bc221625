#pragma once
// The widgets of the main window (form Edit) and their design state.
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/logic/units.h"

namespace pellion::ui {

// Families of like widgets, listed in stacking order (a later family lies
// above an earlier one of the same container) with every container before
// its contents.
enum class Family : std::uint8_t {
    Optionbutton, Helpbutton, Minimize, LibLabel, LibBtn, Search, Holdfocus,
    Frame2, Trans,
    Ctrlframe, ClipboardClip, Label1, Item, hotkey, TopBtn,
    SizerBtn, ClearBtn, TextOnlyFrame, TextOnlyBtn,
    Frame3, Frame4, Frame5, Frame6, Label2, ClipMode, GroupMode, CaptureMode, HotKeyOnOff, LaunchBtn,
    BulkDropPicture, BulkDrop, BulkPaste, BulkPastelabel, TrashLabel,
    Frame1, Group,
    Count
};

inline constexpr int kFamilyCount = static_cast<int>(Family::Count);

int FamilySize(Family f);
const char* FamilyName(Family f);

enum class Kind : std::uint8_t {
    Frame,      // container; a caption makes it a titled panel
    Cell,       // list cell: a coloured label showing a title
    Tag,        // small coloured label beside the cells (digits, hot key letters)
    Label,      // plain text
    Button,
    Option,     // one of a group of mode buttons
    Switch,     // on/off button
    DropLabel,  // red drop target, shown only while dragging
    TextBox,
    FocusSink,
};

struct WidgetRef {
    Family family = Family::Optionbutton;
    int index = 0;
    auto operator<=>(const WidgetRef&) const = default;
};

std::string ToString(WidgetRef r);  // "Item[55]"

enum class MouseButton { None = 0, Left = 1, Right = 2, Middle = 4 };
enum class MouseAction { Press, Release, Move, DoubleClick };

struct TwipRect {
    int left = 0, top = 0, width = 0, height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
    bool empty() const { return width <= 0 || height <= 0; }
    TwipRect intersected(const TwipRect& o) const;
    bool contains(const TwipRect& o) const;
    bool operator==(const TwipRect&) const = default;
};

struct WidgetState {
    WidgetRef ref;
    Kind kind = Kind::Label;
    std::optional<WidgetRef> parent;  // none: the window itself
    TwipRect rect;                    // relative to the parent
    bool visible = true;
    std::string caption;
    Colour background = kButtonFace;
    Colour text = kBlack;
    bool selected = false;  // option and on/off buttons
    std::string toolTip;    // pop-up help while the pointer rests on the widget
    bool operator==(const WidgetState&) const = default;
};

// Every widget at its design geometry, in stacking order.
std::vector<WidgetState> DesignWidgets();

// Window sizes of the design, outer size in twips.
inline constexpr int kLargeWidth = 12288, kLargeHeight = 8820;
// Small is wider than its design so that the Group Names panel is whole and
// clear of the Group Clips panel.
inline constexpr int kSmallWidth = 10000, kSmallHeight = 6496;
inline constexpr int kStripWidth = 9600, kStripHeight = 1530;
inline constexpr int kCompactWidth = 2844, kCompactHeight = 3700;
inline constexpr int kColumnWidth = 2500;
inline constexpr int kClipsPanelHeight = 4404, kCompactPanelHeight = 3300;

}  // namespace pellion::ui
