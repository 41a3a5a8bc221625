#pragma once
// The screen-edge strip (form EdgeForm): a small borderless window with one
// button, "Clipboard", above every other window and on no taskbar or pager.
// It shows ProgramState::edge and runs the watcher's two timers.
#include <QTimer>
#include <QWidget>

#include "ui/logic/units.h"

class QPushButton;

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class Edit;

class EdgeStripWindow : public QWidget {
    Q_OBJECT

public:
    // Sized to its button; the watcher starts at once.
    EdgeStripWindow(ProgramState& ps, Edit& edit);

    // Shows the state: place, visibility and which timers run.
    void apply();

private:
    ProgramState& ps_;
    Edit& edit_;
    TwipScale scale_;
    QPushButton* button_ = nullptr;
    QTimer edgeTimer_, leaveTimer_;
};

}  // namespace pellion::ui
