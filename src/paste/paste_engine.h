#pragma once
// Pasting a clip: the click handlers of the three lists that paste, the two
// triggers (the paste timer, the next mouse click anywhere) and the keys
// typed into the paste target.
#include "paste/paste_state.h"
#include "platform/windows.h"
#include "ui/logic/form_design.h"

namespace pellion {

struct ProgramState;

// The key mode and the trigger of a paste.
struct PastePlan {
    KeyMode keyMode = KeyMode::Plain;
    bool nextClick = false;  // wait for the next click instead of the paste timer
    bool operator==(const PastePlan&) const = default;
};

// A list's paste mode (ClipMode, GroupMode): 0 "Normal", 1 "N", 2 "B", 3 "F".
PastePlan PlanForListMode(int listMode);
// A clip's own code (0 Normal, 1 Next Click, 2 Bookmark, 3 Group Setting,
// 4 Form Filling); Group Setting follows the group's mode.
PastePlan PlanForClipMode(int clipMode, int groupMode);

// Click handlers; button is the one released on the cell.
void SelectClipboardClip(ProgramState& ps, int index, ui::MouseButton button);
void SelectGroupClip(ProgramState& ps, int index, ui::MouseButton button);
void SelectTransferSlot(ProgramState& ps, int index, ui::MouseButton button);

// Immediate trigger: the keys follow when the paste timer fires.
void StartPasteTimer(ProgramState& ps, PastePending what);
// Next Click trigger: the mouse hook waits for the next click anywhere.
void ArmNextClick(ProgramState& ps);
// Another paste came first: a pending Next Click would paste a second time.
void DisarmNextClick(ProgramState& ps);

void PasteTimerTick(ProgramState& ps);
// The mouse hook's report of a click; foreground is the window clicked into.
void NextClickEvent(ProgramState& ps, platform::WindowId foreground);
void SendPasteKeys(ProgramState& ps);
// Before each paste keystroke: terminals take it from elsewhere than the
// clipboard, so the clip is offered there too.
void OfferToPasteKey(ProgramState& ps);

}  // namespace pellion
