#include "ui/main/drag_wiring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include "app/program_state.h"
#include "launch/shortcut_editor.h"
#include "store/slot_files.h"
#include "ui/dialogs/clip_settings_dialog.h"
#include "ui/dialogs/spacing_dialog.h"
#include "ui/logic/list_cells.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

namespace {

// Only drags of this program's own items are taken.
const QString kMime = QStringLiteral("application/x-pellion-clipboard-item");

const WidgetRef kBulkOption{Family::CaptureMode, 2};

std::optional<DragItem> SourceOf(WidgetRef ref) {
    switch (ref.family) {
    case Family::ClipboardClip: return DragItem{DragSource::Temp, ref.index};
    case Family::Item: return DragItem{DragSource::Alt, ref.index};
    case Family::Trans: return DragItem{DragSource::Trans, ref.index};
    case Family::Group: return DragItem{DragSource::Group, ref.index};
    case Family::CaptureMode:
        if (ref == kBulkOption) return DragItem{DragSource::Bulk, 0};
        break;
    default: break;
    }
    return std::nullopt;
}

std::optional<DropOn> TargetOf(WidgetRef ref) {
    switch (ref.family) {
    case Family::Item: return DropOn{DropTarget::GroupClip, ref.index};
    case Family::Trans: return DropOn{DropTarget::TransferSlot, ref.index};
    case Family::Group: return DropOn{DropTarget::GroupName, ref.index};
    case Family::TrashLabel: return DropOn{DropTarget::Trash, 0};
    case Family::BulkDropPicture:
    case Family::BulkDrop: return DropOn{DropTarget::BulkCacheArea, 0};
    case Family::BulkPaste:
    case Family::BulkPastelabel: return DropOn{DropTarget::BulkPasteArea, 0};
    default: break;
    }
    return std::nullopt;
}

MouseButton ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::None;
    }
}

class DragWiring : public QObject {
public:
    DragWiring(ProgramState& ps, Edit& edit) : QObject(&edit), ps_(ps), edit_(edit) {
        for (Family f : {Family::ClipboardClip, Family::Item, Family::Trans, Family::Group})
            for (int i = 0; i < FamilySize(f); ++i) watch({f, i});
        watch(kBulkOption);
        for (Family f : {Family::Item, Family::Trans, Family::Group, Family::TrashLabel, Family::BulkDropPicture,
                         Family::BulkDrop, Family::BulkPaste, Family::BulkPastelabel})
            for (int i = 0; i < FamilySize(f); ++i) acceptDrops({f, i});
    }

    void openClipSettings(int slot, int group);
    void openGroupNaming(int group);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void watch(WidgetRef ref);
    void acceptDrops(WidgetRef ref);
    bool mouse(WidgetRef ref, QWidget* widget, QMouseEvent* e);
    void carry(const ActiveDrag& drag, QWidget* from);
    bool dragEvent(WidgetRef ref, QEvent* event);
    void afterDrop(DropResult result);
    void showLists();
    int twips(int px) const { return edit_.scale().toTwips(px); }
    int pixels(int tw) const { return edit_.scale().toPixels(tw); }
    void place(QWidget* dialog, const TwipRect& r) { dialog->move(pixels(r.left), pixels(r.top)); }
    TwipRect screenTwips(QWidget* w) const;
    // A dialog's size with the frame the window manager will give it, taken
    // to be the main window's.
    TwipRect outerTwips(QWidget* dialog) const {
        const QSize outer = dialog->size() + (edit_.frameGeometry().size() - edit_.size());
        return {0, 0, twips(outer.width()), twips(outer.height())};
    }

    ProgramState& ps_;
    Edit& edit_;
    std::map<const QObject*, WidgetRef> refs_;
    std::optional<DropResult> dropped_;  // the drop of the drag under way
};

void DragWiring::watch(WidgetRef ref) {
    QWidget* w = edit_.widget(ref);
    if (!w) return;
    refs_[w] = ref;
    w->installEventFilter(this);
}

void DragWiring::acceptDrops(WidgetRef ref) {
    QWidget* w = edit_.widget(ref);
    if (!w) return;
    refs_[w] = ref;
    w->setAcceptDrops(true);
    w->installEventFilter(this);
}

bool DragWiring::eventFilter(QObject* watched, QEvent* event) {
    auto it = refs_.find(watched);
    if (it == refs_.end()) return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
        if (!SourceOf(it->second)) return false;
        return mouse(it->second, static_cast<QWidget*>(watched), static_cast<QMouseEvent*>(event));
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: return dragEvent(it->second, event);
    default: return false;
    }
}

bool DragWiring::mouse(WidgetRef ref, QWidget* widget, QMouseEvent* e) {
    const QPoint at = e->globalPosition().toPoint();
    switch (e->type()) {
    case QEvent::MouseButtonPress:
        ArmDrag(ps_, *SourceOf(ref), ButtonOf(e->button()), twips(at.x()), twips(at.y()));
        return false;
    case QEvent::MouseButtonRelease:
        DisarmDrag(ps_);
        return false;
    default: break;
    }
    // The highlight that follows the mouse is the cell clicks' (Cell_MouseMove).
    const std::optional<ActiveDrag> drag = DragMouseMove(ps_, twips(at.x()), twips(at.y()));
    // Moves over the lists hide the drop targets and may move the highlight.
    edit_.applyState();
    if (!drag) return false;
    carry(*drag, widget);
    return true;
}

void DragWiring::carry(const ActiveDrag& drag, QWidget* from) {
    auto* mime = new QMimeData;
    mime->setData(kMime, QByteArray::number(int(drag.item.source)) + ' ' + QByteArray::number(drag.item.index));
    QPointer<QDrag> carrier = new QDrag(from);
    carrier->setMimeData(mime);
    carrier->setPixmap(from->grab());
    carrier->setHotSpot(from->mapFromGlobal(QCursor::pos()));
    dropped_.reset();
    const Qt::DropAction action = drag.copy ? Qt::CopyAction : Qt::MoveAction;
    carrier->exec(Qt::CopyAction | Qt::MoveAction, action);
    // The button that was pressed never sees its release.
    if (auto* button = qobject_cast<QAbstractButton*>(from)) button->setDown(false);
    if (!dropped_) {
        CancelDrag(ps_);
        edit_.applyState();
        return;
    }
    // The dialogs and the bulk paste run once the drag has let go of the
    // pointer and the move that started it has been handled.
    const DropResult result = *dropped_;
    dropped_.reset();
    QTimer::singleShot(0, this, [this, result] { afterDrop(result); });
}

bool DragWiring::dragEvent(WidgetRef ref, QEvent* event) {
    auto* e = static_cast<QDropEvent*>(event);
    if (!e->mimeData()->hasFormat(kMime) || !ps_.drag.active) return false;
    const std::optional<DropOn> on = TargetOf(ref);
    if (!on) return false;
    e->setDropAction(ps_.drag.active->copy ? Qt::CopyAction : Qt::MoveAction);
    e->accept();
    if (event->type() != QEvent::Drop) {
        if (ref.family == Family::Group) {
            // Opening a group while dragging, to drop into one of its slots.
            if (const auto group = GroupToSelectOnDragOver(ps_, ref.index)) {
                Group_Click(ps_, *group, MouseButton::Left);
                edit_.applyState();
            }
        }
        return true;
    }
    dropped_ = Drop(ps_, *on);
    showLists();
    return true;
}

void DragWiring::afterDrop(DropResult result) {
    switch (result.effect) {
    case DropEffect::OpenClipSettings: openClipSettings(result.slot, result.group); break;
    case DropEffect::StartBulkPaste:
        if (ps_.paste.hooks.bulkPaste) ps_.paste.hooks.bulkPaste();
        showLists();
        break;
    case DropEffect::OpenShortcutEditor:
        if (ps_.paste.hooks.openShortcutEditor)
            ps_.paste.hooks.openShortcutEditor(
                ListKind::GroupClips, result.slot + kCreateShortcutSlot,
                ClipFileText(SlotPath(ps_, {ListKind::ClipboardClips, result.clip})).value_or(""));
        break;
    case DropEffect::Done:
    case DropEffect::Nothing: break;
    }
}

void DragWiring::showLists() {
    ShowLists(ps_);
    edit_.applyState();
}

TwipRect DragWiring::screenTwips(QWidget* w) const {
    const QPoint topLeft = w->mapToGlobal(QPoint(0, 0));
    return {twips(topLeft.x()), twips(topLeft.y()), twips(w->width()), twips(w->height())};
}

void DragWiring::openClipSettings(int slot, int group) {
    ClipSettings held;
    held.list = SourceList::GroupClips;
    held.slot = slot;
    held.group = group;
    ClipSettingsDialog dialog(ps_, held, &edit_);
    dialog.adjustSize();
    QWidget* cell = edit_.widget({Family::Item, slot});
    const QScreen* screen = edit_.screen();
    if (cell && screen) {
        const QRect area = screen->geometry();
        const TwipRect size = outerTwips(&dialog);
        place(&dialog, ClipSettingsPlacement(screenTwips(cell), size.width, size.height, twips(area.width()),
                                             twips(area.height())));
    }
    dialog.exec();
    showLists();
}

void DragWiring::openGroupNaming(int group) {
    GroupNamingDialog dialog(ps_, group, &edit_);
    dialog.adjustSize();
    if (QWidget* cell = edit_.widget({Family::Group, group})) {
        const QRect frame = edit_.frameGeometry();
        const TwipRect main{twips(frame.left()), twips(frame.top()), twips(frame.width()), twips(frame.height())};
        const TwipRect size = outerTwips(&dialog);
        place(&dialog, GroupNamingPlacement(main, screenTwips(cell).top, size.width, size.height));
    }
    dialog.exec();
    showLists();
}

}  // namespace

void BindDragAndDrop(ProgramState& ps, Edit& edit) {
    auto* wiring = new DragWiring(ps, edit);
    MainFormHooks& form = ps.mainForm.hooks;
    form.disarmGroupDrag = [&ps] { DisarmDrag(ps); };
    // After the click's release has been handled and the group is shown.
    form.groupNaming = [wiring](int group) {
        QTimer::singleShot(0, wiring, [wiring, group] { wiring->openGroupNaming(group); });
    };
    PasteHooks& paste = ps.paste.hooks;
    if (!paste.cancelDrag) paste.cancelDrag = [&ps] { DisarmDrag(ps); };
    if (!paste.busyPointer) {
        paste.busyPointer = [](bool busy) {
            if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
            else QApplication::restoreOverrideCursor();
        };
    }
    BindBulkPaste(ps, SpacingDialogRunner(ps));
    // The window shows what the paste changed: minimised, drop targets gone.
    paste.bulkPaste = [run = paste.bulkPaste, &edit] {
        run();
        edit.applyState();
    };
}

}  // namespace pellion::ui
