#pragma once
// Support for the display tests of the windows, keystrokes, hooks and shell
// services: child processes with their output, an event-loop spinner, and a
// connection of the test's own to read what the window manager reports.
#include <xcb/xcb.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/clip_support.h"

namespace pellion::test {

inline void ensureApp() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) new QApplication(argc, argv);  // lives until exit
}

// Runs the event loop (sockets, timers, about-to-block) for a while.
inline void spinFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

// Spins until the condition holds or the time is up; returns the condition.
inline bool spinUntil(const std::function<bool()>& done, int milliseconds = 3000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        spinFor(10);
    }
    return true;
}

// Shows the window and waits until it is active: focus and key events need
// that, and the window manager activates it a little after mapping.
inline void showActive(QWidget& w) {
    w.show();
    w.activateWindow();
    spinUntil([&] { return w.isActiveWindow(); });
    QCoreApplication::processEvents();
}

// A program started by the test, stopped when this goes away.
class Child {
public:
    explicit Child(const std::vector<std::string>& args) {
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0) return;
        pid_ = spawn(args, out[1]);
        ::close(out[1]);
        out_ = out[0];
        ::fcntl(out_, F_SETFL, O_NONBLOCK);
    }
    ~Child() {
        stop(pid_);
        if (out_ >= 0) ::close(out_);
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    // The next line of output that starts with the prefix, skipping others.
    std::optional<std::string> waitLine(const std::string& prefix, int milliseconds = 5000) {
        std::optional<std::string> found;
        spinUntil(
            [&] {
                readAvailable();
                for (; !found && !lines_.empty(); lines_.erase(lines_.begin()))
                    if (lines_.front().rfind(prefix, 0) == 0) found = lines_.front();
                return found.has_value();
            },
            milliseconds);
        return found;
    }

private:
    void readAvailable() {
        char buffer[4096];
        ssize_t n;
        while ((n = ::read(out_, buffer, sizeof buffer)) > 0) partial_.append(buffer, std::size_t(n));
        std::size_t end;
        while ((end = partial_.find('\n')) != std::string::npos) {
            lines_.push_back(partial_.substr(0, end));
            partial_.erase(0, end + 1);
        }
    }

    pid_t pid_ = -1;
    int out_ = -1;
    std::string partial_;
    std::vector<std::string> lines_;
};

inline int xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    return run(args).status;
}

// The paste-target program: one line field; Enter prints "SUBMIT:" and it.
// On the test's display, or on the one named.
class PasteTarget {
public:
    explicit PasteTarget(const std::string& title = "Paste Target", const std::string& display = "")
        : child_(display.empty() ? std::vector<std::string>{tool("paste_target"), title}
                                 : std::vector<std::string>{"env", "DISPLAY=" + display, tool("paste_target"), title}) {
        if (auto ready = child_.waitLine("READY ")) window = std::stoul(ready->substr(6));
    }
    std::optional<std::string> submitted(int milliseconds = 5000) {
        auto line = child_.waitLine("SUBMIT:", milliseconds);
        if (line) line->erase(0, 7);
        return line;
    }
    std::uint32_t window = 0;

private:
    Child child_;
};

}  // namespace pellion::test

#include "platform/x11/x11_connection.h"
#include "platform/x11/x11_hooks.h"
#include "platform/x11/x11_keystrokes.h"
#include "platform/x11/x11_windows.h"

namespace pellion::test {

// The real windows, keystrokes and hooks on the test display, with what the
// hooks report collected.
struct DesktopServices {
    DesktopServices() {
        ensureApp();
        x = platform::x11::Connection::open();
        if (!x) return;
        windows = std::make_unique<platform::x11::X11Windows>(x);
        keys = std::make_unique<platform::x11::X11Keystrokes>(x);
        hooks = std::make_unique<platform::x11::X11Hooks>(x);
        hooks->onKeyReleased = [this](platform::KeyRelease r) { released.push_back(platform::keyCode(r.shift, r.vk)); };
        hooks->onMouseClick = [this](platform::WindowId w) { clicks.push_back(w); };
    }
    // Brings the window to the front once the window manager has taken it on.
    bool focus(std::uint32_t window) {
        return spinUntil([&] { return windows->bringToFront(window); }, 4000);
    }

    std::shared_ptr<platform::x11::Connection> x;
    std::unique_ptr<platform::x11::X11Windows> windows;
    std::unique_ptr<platform::x11::X11Keystrokes> keys;
    std::unique_ptr<platform::x11::X11Hooks> hooks;
    std::vector<std::uint32_t> released;  // key codes, shift mask * 65536 + virtual key
    std::vector<platform::WindowId> clicks;
};

}  // namespace pellion::test
