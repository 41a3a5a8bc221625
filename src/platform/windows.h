#pragma once
// Top-level windows and focus.
#include <cstdint>
#include <string>

namespace pellion::platform {

using WindowId = std::uint64_t;  // 0 is no window

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const Rect&) const = default;
};

enum class ShowState { Normal, Minimised, Hidden };

class Windows {
public:
    virtual ~Windows() = default;

    virtual WindowId foreground() = 0;
    virtual bool bringToFront(WindowId window) = 0;
    // True for any window that this process created.
    virtual bool isOwnWindow(WindowId window) = 0;
    // Exact match of the UTF-8 title among top-level windows; 0 when none.
    virtual WindowId findByTitle(const std::string& title) = 0;
    virtual void show(WindowId window, ShowState state) = 0;
    // Changes the stacking only: the window is neither shown nor activated.
    virtual void setTopmost(WindowId window, bool topmost) = 0;
    // Keeps the window off (or back on) the taskbar and the pager.
    virtual void setSkipTaskbar(WindowId, bool) {}
    virtual Rect windowRect(WindowId window) = 0;
    // Pointer position in pixels.
    virtual Point pointer() = 0;
    // Width and height of the screen in twips.
    virtual Point screenSizeTwips() = 0;
    // The window layer's scale, screen pixels per twip, for screenSizeTwips;
    // until it is set the screen's dpi alone decides.
    virtual void setPixelsPerTwip(double) {}
};

}  // namespace pellion::platform
