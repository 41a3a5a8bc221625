#include "ui/logic/form_design.h"

#include <algorithm>
#include <array>

namespace pellion::ui {

namespace {

struct FamilyInfo {
    const char* name;
    int size;
};

constexpr std::array<FamilyInfo, kFamilyCount> kFamilies{{
    {"Optionbutton", 1}, {"Helpbutton", 1}, {"Minimize", 1}, {"LibLabel", 1}, {"LibBtn", 1}, {"Search", 1},
    {"Holdfocus", 1}, {"Frame2", 1}, {"Trans", 8}, {"Ctrlframe", 2}, {"ClipboardClip", 9}, {"Label1", 9},
    {"Item", 96}, {"hotkey", 32}, {"TopBtn", 4}, {"SizerBtn", 3}, {"ClearBtn", 1}, {"TextOnlyFrame", 1},
    {"TextOnlyBtn", 1}, {"Frame3", 1}, {"Frame4", 1}, {"Frame5", 1}, {"Frame6", 1}, {"Label2", 3},
    {"ClipMode", 4}, {"GroupMode", 4}, {"CaptureMode", 3}, {"HotKeyOnOff", 1}, {"LaunchBtn", 1},
    {"BulkDropPicture", 1}, {"BulkDrop", 2}, {"BulkPaste", 1}, {"BulkPastelabel", 2}, {"TrashLabel", 8},
    {"Frame1", 1}, {"Group", 32},
}};

constexpr WidgetRef kClipsPanel{Family::Ctrlframe, 0};
constexpr WidgetRef kGroupClipsPanel{Family::Ctrlframe, 1};

class Builder {
public:
    WidgetState& add(Family f, int index, Kind kind, std::optional<WidgetRef> parent, TwipRect rect,
                     std::string caption = {}, Colour background = kButtonFace) {
        WidgetState w;
        w.ref = {f, index};
        w.kind = kind;
        w.parent = parent;
        w.rect = rect;
        w.caption = std::move(caption);
        w.background = background;
        all.push_back(std::move(w));
        return all.back();
    }
    std::vector<WidgetState> all;
};

void AddBottomLeft(Builder& b) {
    b.add(Family::Optionbutton, 0, Kind::Button, {}, {36, 4464, 1260, 315}, "Options");
    b.add(Family::Helpbutton, 0, Kind::Button, {}, {36, 4788, 1260, 312}, "Help");
    b.add(Family::Minimize, 0, Kind::Button, {}, {1368, 4464, 1344, 948}, "Minimize");
    b.add(Family::LibLabel, 0, Kind::Label, {}, {36, 5472, 1260, 300}, "Library 1", kWhite);
    b.add(Family::LibBtn, 0, Kind::Button, {}, {756, 5472, 480, 300}, "Change").visible = false;
    b.add(Family::Search, 0, Kind::TextBox, {}, {1368, 5472, 1332, 300}, "Search", kWhite);
    // Outside every layout's visible area: it only takes the focus.
    b.add(Family::Holdfocus, 0, Kind::FocusSink, {}, {12240, 3348, 255, 105});
    b.add(Family::Frame2, 0, Kind::Frame, {}, {36, 5796, 2676, 2352}, "Transfer Slots");
    for (int i = 0; i < 8; ++i)
        b.add(Family::Trans, i, Kind::Cell, WidgetRef{Family::Frame2, 0}, {108, 216 + 252 * i, 2460, 264}, {}, kYellow);
}

void AddPanels(Builder& b) {
    b.add(Family::Ctrlframe, 0, Kind::Frame, {}, {0, 0, 2712, kClipsPanelHeight}, "Clipboard Clips");
    b.add(Family::Ctrlframe, 1, Kind::Frame, {}, {2808, 0, 7128, 8376}, "Group Clips");
    for (int i = 0; i < 9; ++i)
        b.add(Family::ClipboardClip, i, Kind::Cell, kClipsPanel, {390, 240 + 240 * i, 2200, 270}, {}, kYellow);
    for (int i = 0; i < 9; ++i)
        b.add(Family::Label1, i, Kind::Tag, kClipsPanel, {120, 240 + 240 * i, 255, 255}, std::to_string(i + 1),
              kYellow);
    for (int i = 0; i < 96; ++i) {
        static constexpr int kColumnLeft[3] = {396, 2628, 4860};
        b.add(Family::Item, i, Kind::Cell, kGroupClipsPanel, {kColumnLeft[i / 32], 216 + 252 * (i % 32), 2200, 276},
              {}, kCyan);
    }
    for (int r = 0; r < 32; ++r)
        b.add(Family::hotkey, r, Kind::Tag, kGroupClipsPanel, {108, 216 + 252 * r, 252, 276}, {}, kCyan);
    b.add(Family::TopBtn, 0, Kind::Button, kClipsPanel, {2232, 252, 336, 228});
    for (int i = 1; i <= 3; ++i)
        b.add(Family::TopBtn, i, Kind::Button, kGroupClipsPanel, {2232 * i, 240, 336, 228});
}

void AddClipControls(Builder& b) {
    static constexpr TwipRect kSizer[3] = {{1800, 2484, 420, 336}, {2232, 2484, 348, 192}, {1584, 2556, 204, 264}};
    for (int i = 0; i < 3; ++i) b.add(Family::SizerBtn, i, Kind::Button, kClipsPanel, kSizer[i]).visible = false;
    b.add(Family::ClearBtn, 0, Kind::Button, kClipsPanel, {108, 2484, 1200, 336}, "Clear");
    b.add(Family::TextOnlyFrame, 0, Kind::Frame, kClipsPanel, {1404, 2484, 1200, 336});
    b.add(Family::TextOnlyBtn, 0, Kind::Switch, WidgetRef{Family::TextOnlyFrame, 0}, {0, 0, 1200, 336}, "Text Only");
    const WidgetRef frame3{Family::Frame3, 0}, frame4{Family::Frame4, 0}, frame5{Family::Frame5, 0};
    b.add(Family::Frame3, 0, Kind::Frame, kClipsPanel, {36, 2880, 2640, 372});
    b.add(Family::Frame4, 0, Kind::Frame, kClipsPanel, {108, 3240, 2532, 336});
    b.add(Family::Frame5, 0, Kind::Frame, kClipsPanel, {108, 3564, 2568, 372});
    b.add(Family::Frame6, 0, Kind::Frame, kClipsPanel, {108, 3996, 1272, 336});
    // The mode labels take the frame's height, so that a label too long for
    // one line ("Clip Capturing :") breaks onto two at the desktop's font
    // size. The buttons keep the design's order and the rows line up; they
    // lie further right than the design's, where the labels need the room,
    // and are as narrow as their bold captions allow, so that the strip's
    // shorter row still fits.
    b.add(Family::Label2, 0, Kind::Label, frame4, {36, 0, 1222, 336}, "Modes - Group:");
    b.add(Family::Label2, 1, Kind::Label, frame5, {36, 0, 904, 372}, "Clip Capturing :");
    b.add(Family::Label2, 2, Kind::Label, frame3, {36, 0, 1294, 372}, "Special Modes:");
    static constexpr const char* kModeCaption[4] = {"Normal", "N", "B", "F"};
    static constexpr int kModeLeft[4] = {1340, 2395, 2015, 2210};
    static constexpr int kModeWidth[4] = {660, 180, 180, 170};
    for (int i = 0; i < 4; ++i) {
        b.add(Family::ClipMode, i, Kind::Option, frame3, {kModeLeft[i], 72, kModeWidth[i], 228}, kModeCaption[i]);
    }
    for (int i = 0; i < 4; ++i) {
        b.add(Family::GroupMode, i, Kind::Option, frame4, {kModeLeft[i] - 72, 54, kModeWidth[i], 228},
              kModeCaption[i]);
    }
    static constexpr const char* kCaptureCaption[3] = {"Normal", "Off", "Bulk"};
    static constexpr TwipRect kCapture[3] = {{960, 72, 660, 228}, {1635, 72, 320, 228}, {1970, 72, 420, 228}};
    for (int i = 0; i < 3; ++i) b.add(Family::CaptureMode, i, Kind::Option, frame5, kCapture[i], kCaptureCaption[i]);
    b.add(Family::HotKeyOnOff, 0, Kind::Switch, WidgetRef{Family::Frame6, 0}, {0, 0, 1272, 336}, "HotKeys Off");
    b.add(Family::LaunchBtn, 0, Kind::Switch, kClipsPanel, {1404, 3996, 1200, 336}, "Launch Pad");
}

// The drop targets lie in the Clipboard Clips panel below its cells: over the
// button row (bulk) and the mode rows (trash). No cell is there in any
// layout; the strip cuts the panel above them and the column view hides it.
// A strip of the panel between bulk and trash keeps the two targets apart.
void AddDropTargets(Builder& b) {
    auto drop = [&](Family f, int i, TwipRect r, const char* caption) {
        b.add(f, i, Kind::DropLabel, kClipsPanel, r, caption, kRed).visible = false;
    };
    drop(Family::BulkDropPicture, 0, {36, 2484, 2640, 360}, "");
    drop(Family::BulkDrop, 0, {36, 2484, 2640, 180}, "Add clip(s) to Bulk Cache");
    drop(Family::BulkDrop, 1, {36, 2664, 2640, 180}, "DROP HERE");
    drop(Family::BulkPaste, 0, {36, 2484, 2640, 360}, "");
    drop(Family::BulkPastelabel, 0, {36, 2484, 2640, 180}, "DROP HERE");
    drop(Family::BulkPastelabel, 1, {36, 2664, 2640, 180}, "TO PASTE");
    drop(Family::TrashLabel, 0, {36, 2964, 2640, 210}, "DROP HERE");
    drop(Family::TrashLabel, 1, {36, 3174, 2640, 210}, "TO ERASE");
    for (int i = 2; i < 8; ++i)
        drop(Family::TrashLabel, i, {36 + 1320 * ((i - 2) % 2), 3384 + 316 * ((i - 2) / 2), 1320, 316}, "");
}

void AddGroupNames(Builder& b) {
    b.add(Family::Frame1, 0, Kind::Frame, {}, {10044, 0, 2172, 8376}, "Group Names");
    for (int i = 0; i < 32; ++i)
        b.add(Family::Group, i, Kind::Cell, WidgetRef{Family::Frame1, 0}, {72, 216 + 252 * i, 2004, 276}, {}, kCyan);
}

}  // namespace

int FamilySize(Family f) { return kFamilies.at(static_cast<std::size_t>(f)).size; }

const char* FamilyName(Family f) { return kFamilies.at(static_cast<std::size_t>(f)).name; }

std::string ToString(WidgetRef r) {
    return std::string(FamilyName(r.family)) + "[" + std::to_string(r.index) + "]";
}

TwipRect TwipRect::intersected(const TwipRect& o) const {
    const int l = std::max(left, o.left), t = std::max(top, o.top);
    const int r = std::min(right(), o.right()), btm = std::min(bottom(), o.bottom());
    return {l, t, std::max(0, r - l), std::max(0, btm - t)};
}

bool TwipRect::contains(const TwipRect& o) const {
    return o.left >= left && o.top >= top && o.right() <= right() && o.bottom() <= bottom();
}

std::vector<WidgetState> DesignWidgets() {
    Builder b;
    AddBottomLeft(b);
    AddPanels(b);
    AddClipControls(b);
    AddDropTargets(b);
    AddGroupNames(b);
    // Families must come out in the enum's order, each complete.
    std::sort(b.all.begin(), b.all.end(), [](const WidgetState& x, const WidgetState& y) { return x.ref < y.ref; });
    return std::move(b.all);
}

}  // namespace pellion::ui
