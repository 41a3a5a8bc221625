#pragma once
#include <memory>

#include "platform/windows.h"
#include "platform/x11/x11_connection.h"

namespace pellion::platform::x11 {

// Window ids are those of the top-level client windows.
class X11Windows : public Windows {
public:
    explicit X11Windows(std::shared_ptr<Connection> x) : x_(std::move(x)) {}

    WindowId foreground() override;
    bool bringToFront(WindowId window) override;
    bool isOwnWindow(WindowId window) override;
    WindowId findByTitle(const std::string& title) override;
    void show(WindowId window, ShowState state) override;
    void setTopmost(WindowId window, bool topmost) override;
    void setSkipTaskbar(WindowId window, bool skip) override;
    Rect windowRect(WindowId window) override;
    Point pointer() override;
    Point screenSizeTwips() override;
    void setPixelsPerTwip(double pixels) override { pixelsPerTwip_ = pixels; }

private:
    bool hasInputFocus(xcb_window_t window);
    bool waitForeground(xcb_window_t window, int milliseconds);
    void raiseAndFocus(xcb_window_t window);
    // Adds or removes up to two _NET_WM_STATE atoms, mapped or not.
    void setState(xcb_window_t window, bool on, xcb_atom_t first, xcb_atom_t second = 0);

    std::shared_ptr<Connection> x_;
    double pixelsPerTwip_ = 0;
};

// The logical dots per inch from an X resource database string (Xft.dpi),
// 96 when it names none.
double logicalDpi(const std::string& resources);

}  // namespace pellion::platform::x11
