#include "launch/widgets/launch_wiring.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

#include "app/program_state.h"
#include "launch/launch.h"
#include "launch/widgets/shortcut_editor_dialog.h"
#include "ui/logic/list_cells.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

void BindLaunchPad(ProgramState& ps, Edit& edit) {
    PasteHooks& hooks = ps.paste.hooks;
    hooks.launchShortcut = [&ps, &edit](const std::string& path) {
        const LaunchOutcome outcome = LaunchShortcut(ps, path);
        edit.applyState();
        if (outcome.ok()) return;
        std::fprintf(stderr, "pellion: %s\n", outcome.message.c_str());
        // Once the click that launched has been handled: the window comes
        // up on top for the message, and goes back to its own z-order
        // unless it is kept on top.
        QTimer::singleShot(0, &edit, [&ps, &edit, message = outcome.message] {
            MakeTopmost(ps, ps.mainWindow);
            QCoreApplication::processEvents();
            if (ps.settings.OnTop == 0) MakeNotTopmost(ps, ps.mainWindow);
            Pause(200);
            ShowLaunchError(message, &edit);
        });
    };
    hooks.openShortcutEditor = [&ps, &edit](ListKind list, int slot, const std::string& clipText) {
        QTimer::singleShot(0, &edit, [&ps, &edit, list, slot, clipText] {
            ShortcutEditorDialog dialog(ps, list, slot, clipText, &edit);
            dialog.exec();
            ShowLists(ps);
            edit.applyState();
        });
    };
}

}  // namespace pellion::ui
