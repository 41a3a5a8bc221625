#include "ui/main/viewer_wiring.h"

#include <algorithm>

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include "app/program_state.h"
#include "store/restore_clip.h"
#include "ui/dialogs/clip_viewer_dialog.h"
#include "ui/logic/list_cells.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

namespace {

SourceList SourceOf(ListKind list) {
    switch (list) {
    case ListKind::GroupClips: return SourceList::GroupClips;
    case ListKind::TransferSlots: return SourceList::TransferSlots;
    default: return SourceList::ClipboardClips;
    }
}

// The clipboard's text as a paste would give it: what we serve after a restore.
QString ClipboardText(ProgramState& ps) {
    auto* cb = ps.platform.clipboard.get();
    if (!cb || !cb->open()) return {};
    const auto bytes = cb->data(platform::kTextFormat);
    cb->close();
    if (!bytes) return {};
    const auto end = std::find(bytes->begin(), bytes->end(), std::uint8_t(0));
    return QString::fromUtf8(reinterpret_cast<const char*>(bytes->data()), end - bytes->begin());
}

}  // namespace

void BindClipViewer(ProgramState& ps, Edit& edit) {
    auto viewer = std::make_shared<QPointer<ClipViewer>>();
    auto open = [&ps, &edit, viewer](ListKind list, int slot) {
        // A Launch Pad shortcut is no clip to view.
        if (*viewer || IsShortcutRecord(SlotPath(ps, {list, slot}))) return;
        ps.clip.viewerOpen = true;
        if (ps.settings.OnTop == 1) {
            ps.mainForm.form.window.topmost = false;
            edit.applyState();
        }
        auto* v = new ClipViewer(ps, SourceOf(list), slot, edit.scale(), edit.frameGeometry().size() - edit.size(), &edit);
        *viewer = v;
        QObject::connect(v, &ClipViewer::unloaded, &edit, [&ps, &edit] {
            // The cells show what Save stored.
            ShowLists(ps);
            ps.mainForm.form.window.topmost = ps.settings.OnTop == 1;
            edit.applyState();
        });
        v->showViewer();
    };
    PasteHooks& paste = ps.paste.hooks;
    // After the click's release has been handled.
    paste.openViewer = [open, &edit](ListKind list, int slot) {
        QTimer::singleShot(0, &edit, [open, list, slot] { open(list, slot); });
    };
    paste.viewerRefusesPaste = [&ps] { return ps.viewer.refusePaste; };
    paste.pasteIntoViewer = [&ps, viewer] {
        if (*viewer) (*viewer)->insertAtCaret(ClipboardText(ps));
    };
    MainFormHooks& form = ps.mainForm.hooks;
    form.viewerOpen = [&ps] { return ps.clip.viewerOpen; };
    form.viewerTakesPasting = [&ps] { return ps.clip.viewerOpen; };
    form.beepToViewer = [viewer] {
        QApplication::beep();
        if (*viewer) (*viewer)->focusText();
    };
}

}  // namespace pellion::ui
