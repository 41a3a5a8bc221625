#include "ui/logic/options.h"

#include "app/program_state.h"
#include "app/settings_file.h"
#include "paste/hot_keys.h"
#include "store/index_files.h"
#include "ui/logic/form_internal.h"
#include "ui/logic/keyboard.h"
#include "ui/logic/list_cells.h"

namespace pellion::ui {

namespace {

struct RowDesign {
    const char* heading;
    std::vector<const char*> buttons;
    int topic;
};

const RowDesign kRows[kOptionRows] = {
    {"1.   Choose the keys you wish to use to activate Pellion", {"Shift+Ins", "Ctrl+V"}, 18},
    {"2.   Show or hide Pellion's taskbar icon when minimized", {"Hide", "Show"}, 15},
    {"3.   Show or hide the mouse pause help captions", {"Hide", "Show"}, 20},
    {"4.   Choose normal or bold fonts", {"Normal", "Bold"}, 16},
    {"5.   Clipboard clearance mode", {"Batch", "Normal"}, 21},
    {"6.   Change window size to suit screen resolution", {"Small", "Large"}, 17},
    {"7.   Choose the keys to bulk paste", {"Ctrl+Ins", "Ctrl+B"}, 22},
    {"8.   Move highlight bar with", {"Mouse", "Keyboard"}, 39},
    {"9.   Mouse activate by touching screen", {"Top", "Left", "Right", "Bottom"}, 40},
};

const char* const kColourRows[kOptionColourRows] = {"Clipboard Clips", "Group Clips", "Group Names", "Transfer Slots"};
constexpr int kGeneralHelpTopic = 38, kColourHelpTopic = 19;

// Rows 372 twips apart; a heading runs into a line of underscores up to its
// buttons, as far as its width shows.
constexpr int kRowTop = 120, kRowStep = 372, kRowHeight = 336;
constexpr int kHeadingWidth = 5700, kEdgeHeadingWidth = 3900;
constexpr int kChoiceLeft[2] = {5940, 7260}, kChoiceWidth = 1260;
constexpr int kEdgeLeft = 4140, kEdgeStep = 1100, kEdgeWidth = 1040;
constexpr int kHelpLeft = 8640, kHelpWidth = 360;
constexpr int kFrameTop = kRowTop + kOptionRows * kRowStep + 60, kFrameHeight = 300 + 4 * kRowStep + 60;
constexpr int kColourLeft = 2340, kColourStep = 900, kColourWidth = 780;

// The edge boxes Top, Left, Right, Bottom and the colour rows' fields.
constexpr std::int16_t SettingsRecord::*kEdgeFields[4] = {&SettingsRecord::DockTop, &SettingsRecord::DockLeft,
                                                          &SettingsRecord::DockRight, &SettingsRecord::DockBottom};
constexpr std::int32_t SettingsRecord::*kColourFields[kOptionColourRows] = {
    &SettingsRecord::ClipboardClipsColour, &SettingsRecord::GroupClipsColour, &SettingsRecord::GroupNamesColour,
    &SettingsRecord::TransferSlotsColour};

int IndexIfIn(int value, int count) { return value >= 0 && value < count ? value : -1; }

// The lists show the new colours and fonts; the main window's pop-up help
// follows the captions option.
void ShowListLook(ProgramState& ps) {
    ApplyListColours(ps);
    SetHelpCaptions(ps);
    ShowLists(ps);
}

}  // namespace

std::vector<OptionsControl> OptionsDesign() {
    std::vector<OptionsControl> out;
    for (int r = 1; r <= kOptionRows; ++r) {
        const RowDesign& row = kRows[r - 1];
        const int top = kRowTop + (r - 1) * kRowStep;
        const bool edges = r == kOptionRows;
        out.push_back({OptionsPart::Heading, r, 0, {120, top, edges ? kEdgeHeadingWidth : kHeadingWidth, kRowHeight},
                       std::string(row.heading) + " " + std::string(80, '_')});
        for (int i = 0; i < int(row.buttons.size()); ++i) {
            const TwipRect rect = edges ? TwipRect{kEdgeLeft + i * kEdgeStep, top, kEdgeWidth, kRowHeight}
                                        : TwipRect{kChoiceLeft[i], top, kChoiceWidth, kRowHeight};
            out.push_back({edges ? OptionsPart::EdgeBox : OptionsPart::Choice, r, i, rect, row.buttons[i]});
        }
        out.push_back({OptionsPart::Help, r, r, {kHelpLeft, top, kHelpWidth, kRowHeight}, "?"});
    }
    out.push_back({OptionsPart::ColourFrame, 0, 0, {120, kFrameTop, 6000, kFrameHeight}, "Pellion Colors"});
    for (int r = 0; r < kOptionColourRows; ++r) {
        const int top = kFrameTop + 300 + r * kRowStep;
        out.push_back({OptionsPart::ColourLabel, r, 0, {240, top, 2000, kRowHeight}, kColourRows[r]});
        for (int i = 0; i < kOptionColours; ++i)
            out.push_back({OptionsPart::Colour, r, i, {120 + kColourLeft + i * kColourStep, top, kColourWidth, kRowHeight}, ""});
    }
    const int bottom = kFrameTop + kFrameHeight;
    out.push_back({OptionsPart::Help, 0, 0, {7260, kFrameTop + 300, 1380, 420}, "Help"});
    out.push_back({OptionsPart::Ok, 0, 0, {7260, bottom - 420, 1380, 420}, "OK"});
    return out;
}

OptionsView ViewOptions(const SettingsRecord& s) {
    OptionsView v;
    v.choice = {IndexIfIn(s.KeysOption, 2), IndexIfIn(s.IconOption, 2), s.HelpOption == 0 ? 0 : 1,
                IndexIfIn(s.FontOption, 2), s.ClearOption == 1 ? 1 : 0,    IndexIfIn(s.SizeOption, 2),
                IndexIfIn(s.BulkOption, 2), s.StickyOption == 1 ? 0 : 1};
    for (int b = 0; b < 4; ++b) v.edges[b] = s.*kEdgeFields[b] == 1;
    for (int r = 0; r < kOptionColourRows; ++r) {
        v.colour[r] = -1;
        for (int i = 0; i < kOptionColours; ++i)
            if (Colour(s.*kColourFields[r]) == kOptionColour[i]) v.colour[r] = i;
    }
    v.batch = s.ClearOption == 1 ? kButtonFace : kRed;
    return v;
}

bool ChooseOption(ProgramState& ps, int row, int index, bool checked) {
    SettingsRecord& s = ps.settings;
    const auto value = static_cast<std::int16_t>(index);
    if (row < 1 || row > kOptionRows || index < 0 || index >= int(kRows[row - 1].buttons.size())) return false;
    switch (row) {
    case 1: s.KeysOption = value; break;
    case 2: s.IconOption = value; break;
    case 3: s.HelpOption = value; break;
    case 4: s.FontOption = value; break;
    case 5: s.ClearOption = value; break;
    case 6:
        if (s.SizeOption == value) return false;
        s.SizeOption = value;
        break;
    case 7: s.BulkOption = value; break;
    case 8: s.StickyOption = index == 0 ? 1 : 0; break;
    default: s.*kEdgeFields[index] = checked ? 1 : 0; break;
    }
    SaveSettings(ps);
    if (row == 1) SetPasteKeyDetection(ps);
    if (row == 2) KeepOffTaskbar(ps);
    if (row == 7) SetBulkKeyDetection(ps);
    if (row == 3 || row == 4) ShowListLook(ps);
    return row == 6;
}

void ChooseColour(ProgramState& ps, int row, int index) {
    if (row < 0 || row >= kOptionColourRows || index < 0 || index >= kOptionColours) return;
    ps.settings.*kColourFields[row] = static_cast<std::int32_t>(kOptionColour[index]);
    SaveSettings(ps);
    ShowListLook(ps);
}

int OptionsHelpTopic(OptionsPart part, int row) {
    switch (part) {
    case OptionsPart::ColourFrame:
    case OptionsPart::ColourLabel:
    case OptionsPart::Colour: return kColourHelpTopic;
    default: return row >= 1 && row <= kOptionRows ? kRows[row - 1].topic : kGeneralHelpTopic;
    }
}

bool OptionsOpening(ProgramState& ps) {
    if (detail::Ask(ps.mainForm.hooks.viewerTakesPasting)) {
        detail::Call(ps.mainForm.hooks.beepToViewer);
        return false;
    }
    if (ps.platform.hooks) ps.platform.hooks->setMonitoring(platform::MonitoringState::Typing);
    ResetHighlight(ps);
    return true;
}

bool OptionsClosed(ProgramState& ps, bool sizeChanged) {
    if (sizeChanged) {
        // A reduced window takes the new size when it is full again.
        if (ps.settings.Layout == 0 && ps.mainForm.columnView == 0) ApplyFullSize(ps);
        return true;
    }
    if (ps.platform.hooks) ps.platform.hooks->setMonitoring(platform::MonitoringState::Normal);
    detail::FocusHoldfocus(ps);
    return false;
}

}  // namespace pellion::ui
