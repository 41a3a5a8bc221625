#pragma once
// Keeps the window's caption on the current minute, so that a second copy
// finds this one by it. Stands in until the clipboard monitor's tick takes
// the caption over; then this file goes.
#include <QTimer>

#include <memory>

#include "app/program_state.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

std::unique_ptr<QTimer> StartCaptionTimer(ProgramState& ps, Edit& window);

}  // namespace pellion::ui
