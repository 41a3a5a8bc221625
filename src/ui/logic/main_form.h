#pragma once
// The main window's rules as plain procedures over the program state: the
// layouts, the column view, the mode buttons, the highlight bar and the
// handlers of the layout buttons. They change ProgramState::mainForm and the
// settings record; the widget applies the result.
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/windows.h"
#include "ui/logic/form_state.h"

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

// Reads and paints the backgrounds of the cells that carry the highlight
// (positions 0..144). The form's own cells serve unless the list model plugs
// in its own.
class CellColours {
public:
    virtual ~CellColours() = default;
    virtual Colour background(int position) const = 0;
    virtual void paint(int position, Colour background, Colour text) = 0;
    // The highlight leaves the cell: back to the colours it had.
    virtual void restore(int position, Colour saved, Colour text) { paint(position, saved, text); }
};

// What the layout rules ask of other modules. An empty hook does nothing.
struct MainFormHooks {
    std::function<void()> saveSettings;
    std::function<void(int topic)> quickHelp;
    std::function<void()> hideEdgeStrip;
    std::function<void()> endSearch;             // clear the term, "Search" back into the box
    std::function<void()> hideNextClickPointer;  // and stop its timer
    std::function<bool()> viewerOpen;            // the clip viewer is open
    std::function<bool()> viewerTakesPasting;    // the viewer has taken over pasting
    std::function<void()> beepToViewer;          // beep and give the viewer's text the focus
    std::function<void()> disarmGroupDrag;       // a pending drag of a group
    std::function<void(int group)> groupNaming;  // the group naming dialog
};

struct MainForm {
    FormState form;
    int columnView = 0;  // 0 none, 1..3 the Group Clips column shown alone
    int highlight = 0;   // highlight position 0..144
    Colour savedCellColour = kYellow;
    bool swallowNextKeyRelease = false;
    CellColours* cellColours = nullptr;  // nullptr: the form's own cells
    MainFormHooks hooks;
    std::optional<int> quickHelpTopic;  // the topic last asked for, kept for the quick-help window
};

// Highlight positions: 0..8 ClipboardClip, 9..104 Item, 105..112 Trans,
// 113..144 Group.
inline constexpr int kHighlightPositions = 145;
std::optional<WidgetRef> HighlightCell(int position);

// Mode buttons, on-top state, sizer buttons and the "Bulk" caption.
void RefreshModeButtons(ProgramState& ps);
// Change only the z-order; the main window's own flag is applied by its widget.
void MakeTopmost(ProgramState& ps, platform::WindowId window);
void MakeNotTopmost(ProgramState& ps, platform::WindowId window);

void SetLayout(ProgramState& ps, int n);  // 0 full, 1 strip, 2 compact
void ApplyFullSize(ProgramState& ps);
void SetColumnView(ProgramState& ps, int column);  // 1..3, or 0 for all columns
// Start-up: from the design state into the remembered layout.
void StartInRememberedLayout(ProgramState& ps);

void MoveHighlight(ProgramState& ps, int position);
void ResetHighlight(ProgramState& ps);
// The highlighted cell back in its own colours (the bar stays where it is).
void RestoreHighlightedCell(ProgramState& ps);

void TopBtn_MouseDown(ProgramState& ps, int index, MouseButton button);
void SizerBtn_Click(ProgramState& ps, int index);
void SizerBtn_MouseUp(ProgramState& ps, int index, MouseButton button);
void BringUpWindow(ProgramState& ps);
void Minimize_Click(ProgramState& ps);
// The Help button: false (after a beep to the viewer) while the clip viewer
// has taken over pasting, else the help menu window is to open.
bool Helpbutton_Click(ProgramState& ps);
void Form_Resize(ProgramState& ps);
// "Hide" keeps the minimised window off the taskbar. True when that changed.
bool KeepOffTaskbar(ProgramState& ps);
void Holdfocus_GotFocus(ProgramState& ps);
void LibLabel_MouseMove(ProgramState& ps);
// Release handlers: the button is the one that was released.
void Group_Click(ProgramState& ps, int index, MouseButton button);
// Makes a group of the current library current and shows its clips.
void SelectGroup(ProgramState& ps, int group);
void LaunchBtn_MouseUp(ProgramState& ps, MouseButton button);

// Every mouse event on a widget of the window, sent to the rule that owns
// it; a right-button release asks for the widget's quick-help topic. True
// when the rule is the whole of the widget's behaviour (the widget must not
// act on the event itself).
bool WidgetMouse(ProgramState& ps, WidgetRef widget, MouseAction action, MouseButton button);
// The quick help of a right-button release on the widget: the topic is
// stored and the quick-help hook asked. "Normal" of the capture modes
// reopens the last topic.
void QuickHelpClick(ProgramState& ps, WidgetRef widget);

// Start-up, once the lists are loaded: the remembered layout, minimised
// unless kept on top, then shown.
void ShowAtStartup(ProgramState& ps);
// The last step of start-up: a first run starts in the normal state.
void ShowFirstRunNormally(ProgramState& ps);
// The user closes the window or the session ends: the highlighted cell gets
// its colours back and the settings are saved.
void QueryUnload(ProgramState& ps);

// The quick-help topic of a right-button click on a widget; nullopt where the
// widget has none (and for "Normal" of the capture modes, which reopens the
// last topic shown).
std::optional<int> QuickHelpTopic(const ProgramState& ps, WidgetRef widget);

// Busy wait of more than ms milliseconds on a millisecond tick counter; stops
// early when the counter wraps below its starting value.
std::uint32_t TickCount();
void Pause(std::uint32_t ms, const std::function<std::uint32_t()>& tick = TickCount);

}  // namespace pellion::ui
