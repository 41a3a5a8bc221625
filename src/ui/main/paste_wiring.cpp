#include "ui/main/paste_wiring.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWindow>

#include <cstdio>
#include <set>

#include "app/program_state.h"
#include "capture/monitor.h"
#include "paste/hot_keys.h"
#include "paste/paste_engine.h"
#include "ui/logic/keyboard.h"
#include "ui/logic/list_cells.h"
#include "ui/main/main_window.h"
#include "ui/main/virtual_keys.h"

namespace pellion::ui {

namespace {

// The window sees every key before its widgets do.
class KeyPreview : public QObject {
public:
    KeyPreview(ProgramState& ps, Edit& edit) : QObject(&edit), ps_(ps), edit_(edit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        // Presses seen before the window lost the focus may be let go elsewhere.
        if (type == QEvent::FocusOut) pressed_.clear();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return QObject::eventFilter(watched, event);
        auto* e = static_cast<QKeyEvent*>(event);
        const int vk = VirtualKey(e->key(), e->modifiers());
        const quint32 physical = e->nativeScanCode() ? e->nativeScanCode() : quint32(e->key());
        bool used = false;
        if (type == QEvent::KeyPress) {
            pressed_.insert(physical);
            used = vk != 0 && Form_KeyDown(ps_, vk);
            const QString text = e->text();
            if (!used && text.size() == 1) used = Form_KeyPress(ps_, text.at(0).unicode());
        } else if (!e->isAutoRepeat()) {
            // The release of a key pressed in a dialog or during a drag (the
            // Enter that named a group, the Escape that cancelled a drag)
            // is not this window's to act on.
            if (!pressed_.erase(physical)) return true;
            // A held key repeats its press only, as the rules expect.
            used = vk != 0 && Form_KeyUp(ps_, vk);
        }
        edit_.applyState();
        return used;
    }

private:
    ProgramState& ps_;
    Edit& edit_;
    std::set<quint32> pressed_;  // keys whose press this window saw
};

bool IsPasteCell(WidgetRef cell) {
    return cell.family == Family::ClipboardClip || cell.family == Family::Item || cell.family == Family::Trans;
}

// A release on the cell that was pressed is a click, unless a drag began
// in between: then it is the drop's.
class CellClicks : public QObject {
public:
    CellClicks(ProgramState& ps, Edit& edit) : QObject(&edit), ps_(ps), edit_(edit) {
        connect(&edit, &Edit::cellMouse, this, [this](WidgetRef cell, MouseAction action, MouseButton button, QPoint) {
            onCell(cell, action, button);
        });
        connect(&edit, &Edit::widgetMouse, this, [this](WidgetRef w, MouseAction action, MouseButton button) {
            // Its right button asks for quick help through the window's rules.
            if (w.family == Family::HotKeyOnOff && action == MouseAction::Release && button == MouseButton::Left) {
                HotKeyOnOffClick(ps_, button);
                edit_.applyState();
            }
        });
    }

private:
    void onCell(WidgetRef cell, MouseAction action, MouseButton button) {
        if (action == MouseAction::Move) {
            if (ps_.drag.active) dragged_ = true;
            if (ps_.settings.StickyOption == 1) {
                Cell_MouseMove(ps_, cell);
                edit_.applyState();
            }
            return;
        }
        if (action == MouseAction::Press) {
            dragged_ = false;
            return;
        }
        if (action != MouseAction::Release || !IsPasteCell(cell)) return;
        if (dragged_ || ps_.drag.active) return;
        if (cell.family == Family::ClipboardClip)
            SelectClipboardClip(ps_, cell.index, button);
        else if (cell.family == Family::Item)
            SelectGroupClip(ps_, cell.index, button);
        else
            SelectTransferSlot(ps_, cell.index, button);
        edit_.applyState();
    }

    ProgramState& ps_;
    Edit& edit_;
    bool dragged_ = false;
};

void BindHourglass(PasteHooks& hooks) {
    // Set once however often asked, so one reset always brings the pointer back.
    auto busy = std::make_shared<bool>(false);
    hooks.busyPointer = [busy](bool on) {
        if (on == *busy) return;
        *busy = on;
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
}

}  // namespace

void BindPasteServices(ProgramState& ps, Edit& edit) {
    PasteHooks& hooks = ps.paste.hooks;
    auto refresh = [&ps, &edit] {
        ShowLists(ps);
        edit.applyState();
    };

    auto* timer = new QTimer(&edit);
    timer->setSingleShot(true);
    // A coarse timer may fire 5% early or late: the keys are to come 150 ms on.
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(kPasteTimerMs);
    QObject::connect(timer, &QTimer::timeout, &edit, [&ps, refresh] {
        PasteTimerTick(ps);
        refresh();
    });
    hooks.pasteTimer = [timer](bool on) {
        if (on)
            timer->start();
        else
            timer->stop();
    };
    hooks.processEvents = [] { QCoreApplication::processEvents(); };
    BindHourglass(hooks);
    hooks.formChanged = refresh;
    hooks.clearClipboardClips = [&ps] { ClearClipboardClips(ps); };
    // On standard error, and in a note that waits for the user without
    // holding up the program (start-up goes on behind it).
    hooks.tellUser = [&edit](const std::string& text) {
        std::fprintf(stderr, "pellion: %s\n", text.c_str());
        QTimer::singleShot(0, &edit, [text] {
            auto* note = new QMessageBox(QMessageBox::Warning, QStringLiteral(" Hot Keys"), QString::fromStdString(text),
                                         QMessageBox::Ok);
            note->setAttribute(Qt::WA_DeleteOnClose);
            note->setModal(false);
            note->show();
        });
    };

    // Until the search has its own flag, a search box that holds the focus
    // takes the keys, so typing in it pastes nothing.
    if (!ps.keys.searchActive) {
        QWidget* search = edit.widget({Family::Search, 0});
        ps.keys.searchActive = [search] { return search && search->hasFocus(); };
    }

    if (QWindow* window = edit.windowHandle()) window->installEventFilter(new KeyPreview(ps, edit));
    new CellClicks(ps, edit);
}

}  // namespace pellion::ui
