#include "help/widgets/help_wiring.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

#include <memory>

#include "app/program_state.h"
#include "help/quick_help.h"
#include "help/widgets/help_forms.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

namespace {

// F1 in any other window of ours opens the manual; the main window's own
// keys open the help menu window instead.
class ManualKey : public QObject {
public:
    ManualKey(ProgramState& ps, Edit& edit) : QObject(&edit), ps_(ps), edit_(edit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* e = static_cast<QKeyEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        if (e->key() != Qt::Key_F1 || !widget || widget->window() == &edit_) return false;
        if (!e->isAutoRepeat()) OpenHelpDocument(ps_, kManualFileName);
        return true;
    }

private:
    ProgramState& ps_;
    Edit& edit_;
};

}  // namespace

void BindHelp(ProgramState& ps, Edit& edit) {
    // After the click or key that asked has been handled. A click that a
    // widget passes on to its container asks again: the widget's own topic,
    // asked first, is the one shown.
    auto pending = std::make_shared<bool>(false);
    ps.mainForm.hooks.quickHelp = [&ps, &edit, pending](int topic) {
        if (*pending) return;
        *pending = true;
        QTimer::singleShot(0, &edit, [&ps, topic, pending] {
            *pending = false;
            ShowQuickHelp(ps, topic);
        });
    };
    auto menu = std::make_shared<QPointer<MainHelpForm>>();
    ps.keys.openHelp = [&ps, &edit, menu] {
        QTimer::singleShot(0, &edit, [&ps, &edit, menu] {
            if (*menu) {
                (*menu)->raise();
                (*menu)->activateWindow();
                return;
            }
            MainHelpForm form(ps, &edit);
            *menu = &form;
            form.exec();
            edit.applyState();
        });
    };
    if (auto* button = qobject_cast<QAbstractButton*>(edit.widget({Family::Helpbutton, 0})))
        QObject::connect(button, &QAbstractButton::clicked, &edit, [&ps, &edit] {
            const bool open = Helpbutton_Click(ps);
            edit.applyState();
            if (open && ps.keys.openHelp) ps.keys.openHelp();
        });
    // Shown over the main window without a loop of its own: the monitor's
    // tick goes on and capture never waits for the user to read it.
    ps.monitor.hooks.showHelpMenu = [&ps, &edit, menu] {
        if (*menu) return;
        auto* form = new MainHelpForm(ps, &edit);
        form->setAttribute(Qt::WA_DeleteOnClose);
        *menu = form;
        form->open();
    };
    qApp->installEventFilter(new ManualKey(ps, edit));
}

}  // namespace pellion::ui
