#include "ui/main/options_wiring.h"

#include <QAbstractButton>

#include "app/program_state.h"
#include "ui/dialogs/options_dialog.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

void OpenOptions(ProgramState& ps, Edit& edit) {
    static bool open = false;  // the tray may ask while the dialog is up
    if (open) return;
    const bool opening = OptionsOpening(ps);
    edit.applyState();
    if (!opening) return;
    open = true;
    for (bool again = true; again;) {
        OptionsDialog dialog(ps, [&edit] { edit.applyState(); });
        const bool sized = dialog.exec() == OptionsDialog::kSizeChanged;
        again = OptionsClosed(ps, sized);
        edit.applyState();
    }
    open = false;
}

void BindOptionsButton(ProgramState& ps, Edit& edit) {
    auto* button = qobject_cast<QAbstractButton*>(edit.widget({Family::Optionbutton, 0}));
    if (button) QObject::connect(button, &QAbstractButton::clicked, &edit, [&ps, &edit] { OpenOptions(ps, edit); });
}

}  // namespace pellion::ui
