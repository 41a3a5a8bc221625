#pragma once
// The clipboard monitor's 1000 ms timer on the user-interface thread.
class QObject;
class QTimer;
class QWidget;

namespace pellion {

struct ProgramState;

// Starts the timer and enables the monitor: the last step of start-up. Hooks
// that the caller left empty get the main window's: its caption, and when it
// is the form Edit, showing the form again after a tick changed it.
QTimer* StartMonitorTimer(QObject* parent, ProgramState& ps, QWidget* mainWindow);

}  // namespace pellion
