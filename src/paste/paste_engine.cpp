#include "paste/paste_engine.h"

#include "app/program_state.h"
#include "store/restore_clip.h"

namespace pellion {

namespace {

using ui::MouseButton;

void Call(const std::function<void()>& hook) {
    if (hook) hook();
}

void BusyPointer(ProgramState& ps, bool busy) {
    if (ps.paste.hooks.busyPointer) ps.paste.hooks.busyPointer(busy);
}

void ProcessEvents(ProgramState& ps) { Call(ps.paste.hooks.processEvents); }

bool ViewerOpen(const ProgramState& ps) {
    return ps.clip.viewerOpen || (ps.mainForm.hooks.viewerOpen && ps.mainForm.hooks.viewerOpen());
}

bool IsBlank(const std::string& title) { return title.find_first_not_of(' ') == std::string::npos; }

// What every click on a clip cell does first.
void BeginSelection(ProgramState& ps) {
    ps.mainForm.form.window.focusRequest = ui::FocusRequest::Holdfocus;
    Call(ps.paste.hooks.cancelDrag);
    ps.mainForm.swallowNextKeyRelease = false;
}

void OpenViewer(ProgramState& ps, ListKind list, int slot) {
    if (!ViewerOpen(ps) && ps.paste.hooks.openViewer) ps.paste.hooks.openViewer(list, slot);
}

void RestoreWithHourglass(ProgramState& ps, const SlotRef& slot) {
    BusyPointer(ps, true);
    RestoreClip(ps, slot);
    BusyPointer(ps, false);
}

void Carry(ProgramState& ps, PastePlan plan) {
    ps.paste.keyMode = plan.keyMode;
    if (plan.nextClick) {
        ArmNextClick(ps);
        return;
    }
    DisarmNextClick(ps);
    StartPasteTimer(ps, PastePending::Keys);
}

// A group clip or a Transfer Slot.
void PasteSlot(ProgramState& ps, const SlotRef& ref, const std::string& title, int mode, MouseButton button) {
    const std::string path = SlotPath(ps, ref);
    if (button != MouseButton::Left) {
        if (!ViewerOpen(ps) && ps.paste.hooks.openShortcutEditor && IsShortcutRecord(path))
            ps.paste.hooks.openShortcutEditor(ref.list, ref.slot, {});
        else
            OpenViewer(ps, ref.list, ref.slot);
        return;
    }
    if (IsBlank(title)) return;
    if (ViewerOpen(ps) && ps.paste.hooks.viewerRefusesPaste && ps.paste.hooks.viewerRefusesPaste()) return;
    if (IsShortcutRecord(path)) {
        if (ps.paste.hooks.launchShortcut) ps.paste.hooks.launchShortcut(path);
        return;
    }
    RestoreWithHourglass(ps, ref);
    Carry(ps, PlanForClipMode(mode, ps.settings.GroupMode));
}

void TypeKeys(ProgramState& ps) {
    auto* keys = ps.platform.keystrokes.get();
    if (!keys) return;
    const KeyMode mode = ps.paste.keyMode;
    if (mode != KeyMode::Plain) {
        // Selects and deletes the current line or field.
        keys->send("{HOME}", true);
        keys->send("+{END}", true);
        keys->send("{BACKSPACE}", true);
    }
    OfferToPasteKey(ps);
    keys->send("+{INSERT}", true);
    ProcessEvents(ps);
    if (mode == KeyMode::Bookmark) keys->send("{ENTER}", false);
    if (mode == KeyMode::FormFilling) {
        keys->send("{TAB}", false);
        ProcessEvents(ps);
    }
}

}  // namespace

void OfferToPasteKey(ProgramState& ps) {
    if (ps.platform.clipboard) ps.platform.clipboard->offerToPasteKey();
}

PastePlan PlanForListMode(int listMode) {
    switch (listMode) {
    case 1: return {KeyMode::Plain, true};
    case 2: return {KeyMode::Bookmark, true};
    case 3: return {KeyMode::FormFilling, false};
    default: return {KeyMode::Plain, false};
    }
}

PastePlan PlanForClipMode(int clipMode, int groupMode) {
    switch (clipMode) {
    case kModeNextClick: return {KeyMode::Plain, true};
    case kModeBookmark: return {KeyMode::Bookmark, true};
    case kModeGroupSetting: return PlanForListMode(groupMode);
    case kModeFormFilling: return {KeyMode::FormFilling, false};
    default: return {KeyMode::Plain, false};
    }
}

void SelectClipboardClip(ProgramState& ps, int index, MouseButton button) {
    BeginSelection(ps);
    const ClipboardClipsList& clips = ps.lists.clipboardClips;
    if (index < 0 || index >= kClipSlots || index >= clips.count) return;
    if (button != MouseButton::Left) {
        OpenViewer(ps, ListKind::ClipboardClips, index);
        return;
    }
    if (IsBlank(clips.titles[index])) return;
    RestoreWithHourglass(ps, {ListKind::ClipboardClips, index});
    Carry(ps, PlanForListMode(ps.settings.ClipMode));
}

void SelectGroupClip(ProgramState& ps, int index, MouseButton button) {
    BeginSelection(ps);
    if (index < 0 || index >= kGroupSlots) return;
    const GroupClipsList& group = ps.lists.groupClips;
    PasteSlot(ps, {ListKind::GroupClips, index}, group.titles[index], group.modes[index], button);
}

void SelectTransferSlot(ProgramState& ps, int index, MouseButton button) {
    BeginSelection(ps);
    if (index < 0 || index >= kTransferSlots) return;
    const TransferSlotsList& slots = ps.lists.transferSlots;
    // Group references and empty slots have no clip of their own.
    if (slots.states[index] != kSlotHoldsClip) return;
    PasteSlot(ps, {ListKind::TransferSlots, index}, slots.titles[index], slots.modes[index], button);
}

void StartPasteTimer(ProgramState& ps, PastePending what) {
    ps.paste.pending = what;
    if (ps.paste.hooks.pasteTimer) ps.paste.hooks.pasteTimer(true);
}

void ArmNextClick(ProgramState& ps) {
    ps.paste.nextClickArmed = true;
    if (ps.platform.hooks) ps.platform.hooks->armMouse(true);
}

void DisarmNextClick(ProgramState& ps) {
    if (!ps.paste.nextClickArmed) return;
    ps.paste.nextClickArmed = false;
    if (ps.platform.hooks) ps.platform.hooks->armMouse(false);
}

void PasteTimerTick(ProgramState& ps) {
    PasteHooks& h = ps.paste.hooks;
    if (h.pasteTimer) h.pasteTimer(false);
    if (h.monitorTimer) h.monitorTimer(true);
    // Taken before acting: the paste lets events run, and a new selection
    // among them must keep its own pending paste.
    const PastePending what = ps.paste.pending;
    ps.paste.pending = PastePending::Nothing;
    if (what == PastePending::Keys) SendPasteKeys(ps);
    if (what == PastePending::Bulk) Call(h.bulkPaste);
}

void NextClickEvent(ProgramState& ps, platform::WindowId foreground) {
    if (!ps.paste.nextClickArmed) return;
    auto* hooks = ps.platform.hooks.get();
    auto* windows = ps.platform.windows.get();
    if (foreground != 0 && windows && windows->isOwnWindow(foreground)) {
        // A click on our own window is no paste target (it may be the
        // next selection); keep waiting for one elsewhere.
        if (hooks) hooks->armMouse(true);
        return;
    }
    ps.paste.nextClickArmed = false;
    if (hooks) hooks->armMouse(false);
    if (foreground == 0) return;
    ps.pasteTarget = foreground;
    SendPasteKeys(ps);
}

void SendPasteKeys(ProgramState& ps) {
    if (ViewerOpen(ps)) {
        Call(ps.paste.hooks.pasteIntoViewer);
        BusyPointer(ps, false);
        return;
    }
    if (ps.settings.ClearOption == 0) ps.monitor.clearBeforeNextCapture = true;
    BusyPointer(ps, false);
    auto* hooks = ps.platform.hooks.get();
    // Our own keys must not be taken for the user's.
    if (hooks) hooks->setMonitoring(platform::MonitoringState::Typing);
    if (ps.pasteTarget != 0 && ps.platform.windows) ps.platform.windows->bringToFront(ps.pasteTarget);
    ProcessEvents(ps);
    TypeKeys(ps);
    if (ps.settings.OnTop != 1) ps.mainForm.form.window.show = ui::WindowShow::Minimised;
    if (hooks) hooks->setMonitoring(platform::MonitoringState::Normal);
}

}  // namespace pellion
