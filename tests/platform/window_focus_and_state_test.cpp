// Windows and focus, as the window manager reports them, and the fallbacks on
// a display without one.
#include <gtest/gtest.h>

#include <QWidget>

#include "platform/desktop_support.h"

using namespace pellion;
using namespace pellion::test;
using platform::ShowState;

namespace {

class Windows : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(s.x) << "no display"; }
    DesktopServices s;
    Observer seen;
};

bool mapped(Observer& o, xcb_window_t w) {
    auto* a = xcb_get_window_attributes_reply(o.xcb(), xcb_get_window_attributes(o.xcb(), w), nullptr);
    const bool result = a && a->map_state != XCB_MAP_STATE_UNMAPPED;
    std::free(a);
    return result;
}

}  // namespace

TEST_F(Windows, FindFrontMinimiseRestoreAndTopmost) {
    const std::string title = "Fen\xC3\xAAtre \xC3\x9Cnicode \xE2\x9C\x93";
    PasteTarget a(title), b("Second Window");
    ASSERT_NE(a.window, 0u);
    ASSERT_TRUE(s.focus(b.window));

    EXPECT_EQ(s.windows->findByTitle(title), a.window);
    EXPECT_EQ(s.windows->findByTitle("Fen\xC3\xAAtre \xC3\x9Cnicode"), 0u);  // exact titles only
    EXPECT_EQ(s.windows->findByTitle("Second Window"), b.window);

    ASSERT_TRUE(s.windows->bringToFront(a.window));
    EXPECT_EQ(seen.activeWindow(), a.window);
    EXPECT_EQ(s.windows->foreground(), a.window);
    ASSERT_TRUE(s.windows->bringToFront(b.window));
    EXPECT_EQ(seen.activeWindow(), b.window);

    s.windows->show(a.window, ShowState::Minimised);
    EXPECT_TRUE(spinUntil([&] { return seen.wmState(a.window) == 3; }));
    EXPECT_TRUE(seen.hasNetState(a.window, "_NET_WM_STATE_HIDDEN"));
    s.windows->show(a.window, ShowState::Normal);
    EXPECT_TRUE(spinUntil([&] { return seen.wmState(a.window) == 1; }));
    EXPECT_FALSE(seen.hasNetState(a.window, "_NET_WM_STATE_HIDDEN"));

    // Topmost changes the stacking only: nothing is activated or shown.
    ASSERT_TRUE(s.windows->bringToFront(b.window));
    s.windows->setTopmost(a.window, true);
    EXPECT_TRUE(spinUntil([&] { return seen.hasNetState(a.window, "_NET_WM_STATE_ABOVE"); }));
    EXPECT_EQ(seen.activeWindow(), b.window);
    s.windows->setTopmost(a.window, false);
    EXPECT_TRUE(spinUntil([&] { return !seen.hasNetState(a.window, "_NET_WM_STATE_ABOVE"); }));
    EXPECT_EQ(seen.activeWindow(), b.window);

    // A hidden window is withdrawn, yet still found by its title.
    s.windows->show(a.window, ShowState::Hidden);
    EXPECT_TRUE(spinUntil([&] {
        const auto clients = seen.words(seen.root(), "_NET_CLIENT_LIST");
        return !mapped(seen, a.window) && std::find(clients.begin(), clients.end(), a.window) == clients.end();
    }));
    EXPECT_EQ(s.windows->findByTitle(title), a.window);
    s.windows->show(a.window, ShowState::Normal);
    EXPECT_TRUE(spinUntil([&] { return seen.wmState(a.window) == 1 && mapped(seen, a.window); }));
}

TEST_F(Windows, OwnWindowsPointerAndScreenSize) {
    PasteTarget other;
    QWidget own;
    own.setWindowTitle("Own Window");
    own.show();
    EXPECT_TRUE(s.windows->isOwnWindow(own.winId()));
    EXPECT_FALSE(s.windows->isOwnWindow(other.window));

    ASSERT_EQ(xdotool({"mousemove", "101", "202"}), 0);
    EXPECT_EQ(s.windows->pointer(), (platform::Point{101, 202}));

    const auto& screen = *xcb_setup_roots_iterator(xcb_get_setup(seen.xcb())).data;
    EXPECT_EQ(s.windows->screenSizeTwips(), (platform::Point{screen.width_in_pixels * 15, screen.height_in_pixels * 15}));
    // At 144 dpi a pixel is 10 twips.
    const std::string resources = "Xft.antialias:\t1\nXft.dpi:\t144\n";
    xcb_change_property(seen.xcb(), XCB_PROP_MODE_REPLACE, seen.root(), XCB_ATOM_RESOURCE_MANAGER, XCB_ATOM_STRING, 8,
                        resources.size(), resources.data());
    seen.sync();
    const auto scaled = s.windows->screenSizeTwips();
    xcb_delete_property(seen.xcb(), seen.root(), XCB_ATOM_RESOURCE_MANAGER);
    seen.sync();
    EXPECT_EQ(scaled, (platform::Point{screen.width_in_pixels * 10, screen.height_in_pixels * 10}));
}

TEST(LogicalDpi, ReadFromTheResourceDatabase) {
    EXPECT_EQ(platform::x11::logicalDpi("MyXft.dpi: 200\n"), 96);  // another resource
    EXPECT_EQ(platform::x11::logicalDpi("Xft.dpi: 0\n"), 96);
}

// A private server without a window manager: focus, stacking and typing
// fall back to the core protocol.
TEST(WindowsWithoutWindowManager, FallBackToTheInputFocus) {
    ensureApp();
    Child server({"Xvfb", "-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
    const auto number = server.waitLine("", 10000);
    ASSERT_TRUE(number && !number->empty());
    const std::string display = ":" + *number;

    auto x = platform::x11::Connection::open(display.c_str());
    ASSERT_TRUE(x);
    platform::x11::X11Windows windows(x);
    platform::x11::X11Keystrokes keys(x);
    PasteTarget first("First Field", display), second("Second Field", display);
    const auto a = first.window, b = second.window;
    ASSERT_TRUE(a && b);

    EXPECT_EQ(windows.findByTitle("First Field"), a);
    ASSERT_TRUE(windows.bringToFront(a));
    EXPECT_EQ(windows.foreground(), a);
    ASSERT_TRUE(keys.send("first{ENTER}", true));
    EXPECT_EQ(first.submitted(), "first");

    ASSERT_TRUE(windows.bringToFront(b));
    EXPECT_EQ(windows.foreground(), b);
    windows.show(b, ShowState::Hidden);
    EXPECT_EQ(windows.findByTitle("Second Field"), b);
    windows.show(b, ShowState::Normal);
    EXPECT_TRUE(windows.bringToFront(b));
    ASSERT_TRUE(keys.send("second{ENTER}", true));
    EXPECT_EQ(second.submitted(), "second");
}
