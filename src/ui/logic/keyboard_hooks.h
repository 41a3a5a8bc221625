#pragma once
// What the main window's key handlers ask of modules that come later. An
// empty hook does nothing.
#include <functional>

namespace pellion::ui {

struct KeyboardHooks {
    std::function<void()> openHelp;             // F1: the help window, modal and on top
    std::function<bool()> searchActive;         // the search box takes the keys
    std::function<void()> search;               // Enter in the search box
    std::function<void(int group)> groupClick;  // Enter on a group: selected as by a click
};

}  // namespace pellion::ui
