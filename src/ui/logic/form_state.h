#pragma once
// What the main window shows, as data: every widget's place, visibility,
// caption and colours, and the window's own place and state. The logic
// changes it; the widgets only apply it.
#include <optional>
#include <string>
#include <vector>

#include "ui/logic/form_design.h"

namespace pellion::ui {

enum class WindowShow { Normal, Minimised, Maximised };
enum class FocusRequest { None, Holdfocus, Window };

struct FormWindow {
    // Outer position and size in twips, as the design gives them.
    int left = 0, top = 0;
    int width = kLargeWidth, height = kLargeHeight;
    WindowShow show = WindowShow::Normal;
    bool shown = false;  // false until the window is first shown, and while hidden
    bool topmost = false;
    bool skipTaskbar = false;  // no taskbar entry (minimised with the icon option "Hide")
    std::string caption;  // the title bar; empty keeps the widget's own
    bool bold = false;    // every widget's font

    // One-shot requests, carried out and cleared by the widget in this order:
    // show, raise above every other window, let pending events run, focus.
    bool showRequest = false;
    bool raiseRequest = false;
    bool processEventsRequest = false;
    FocusRequest focusRequest = FocusRequest::None;
};

class FormState {
public:
    FormState();

    WidgetState& operator[](WidgetRef r);
    const WidgetState& operator[](WidgetRef r) const;
    // Stacking order: containers before their contents.
    const std::vector<WidgetState>& widgets() const { return widgets_; }

    FormWindow window;

    // The inside of the window, in twips from its top-left corner.
    TwipRect clientRect() const;
    // The widget's rectangle in client coordinates.
    TwipRect absoluteRect(WidgetRef r) const;
    // The part of the widget that can be seen: nullopt when it or a container
    // is hidden, when its containers or the window cut it off completely, or
    // when a panel stacked above it covers it.
    std::optional<TwipRect> shownRect(WidgetRef r) const;
    bool isShown(WidgetRef r) const { return shownRect(r).has_value(); }

private:
    std::optional<TwipRect> clippedRect(const WidgetState& w) const;
    bool coveredByLaterPanel(const WidgetState& w, const TwipRect& area) const;

    std::vector<WidgetState> widgets_;
};

// Shows titles in a family of cells: each caption is the title up to its
// first NUL; cells without a title are emptied.
void FillCellCaptions(FormState& form, Family family, const std::vector<std::string>& titles);

}  // namespace pellion::ui
