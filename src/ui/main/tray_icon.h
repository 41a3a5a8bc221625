#pragma once
// A place in the desktop's tray, where the desktop has one: a left click
// brings the main window up; the menu switches capture (Normal, Off, Bulk),
// opens Options and Help, and quits with the settings saved. The picture
// shows when capture is off or into the bulk cache.
#include <QObject>

#include <functional>

class QAction;
class QSystemTrayIcon;

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;

class TrayIcon : public QObject {
    Q_OBJECT

public:
    TrayIcon(ProgramState& ps, Edit& edit, std::function<void()> quit);
    // The picture and the menu follow the capture mode.
    void refresh();

private:
    ProgramState& ps_;
    Edit& edit_;
    QSystemTrayIcon* icon_ = nullptr;
    QAction* modes_[3] = {};
    int shown_ = -1;  // capture mode and bulk count the picture shows
};

}  // namespace pellion::ui
