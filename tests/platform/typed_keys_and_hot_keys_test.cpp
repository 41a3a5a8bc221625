// Typing through XTest and the keyboard and mouse hooks, against the
// paste-target program, xdotool and xclip.
#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <QLineEdit>

#include "platform/clip_support.h"
#include "platform/desktop_support.h"

using namespace pellion;
using namespace pellion::test;
using platform::MonitoringState;

namespace {

class KeysAndHooks : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(s.x) << "no display"; }
    DesktopServices s;
};

}  // namespace

// Alt from a hot key still down: the keys must not turn into Alt combinations.
TEST_F(KeysAndHooks, PasteKeysReplaceTheLineEvenWithAltStillHeld) {
    TempBytesFile text(bytesOf("pasted text"));
    Owner clip(xclipIn("UTF8_STRING", text.path()));
    ASSERT_TRUE(clip.owns());
    PasteTarget target;
    ASSERT_TRUE(s.focus(target.window));
    ASSERT_EQ(xdotool({"type", "old line"}), 0);
    ASSERT_EQ(xdotool({"keydown", "alt"}), 0);
    for (const char* k : {"{HOME}", "+{END}", "{BACKSPACE}", "+{INSERT}"}) EXPECT_TRUE(s.keys->send(k, true)) << k;
    EXPECT_TRUE(s.keys->send("{ENTER}", false));
    EXPECT_EQ(target.submitted(), "pasted text");
    xdotool({"keyup", "alt"});
}

TEST_F(KeysAndHooks, CharactersOutsideTheKeymapAndMalformedStrings) {
    PasteTarget target;
    ASSERT_TRUE(s.focus(target.window));
    // Nothing of a malformed string is typed, not even its good beginning.
    for (const char* bad : {"abc{NOSUCHKEY}", "abc{ENTER", "abc+"}) EXPECT_FALSE(s.keys->send(bad, true)) << bad;
    ASSERT_TRUE(s.keys->send("{ENTER}", false));
    EXPECT_EQ(target.submitted(), "");

    // ü, ß and € have no key in the test server's map: borrowed spare keys.
    ASSERT_TRUE(s.keys->send("Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC" "1{+}+a", true));
    ASSERT_TRUE(s.keys->send("{ENTER}", false));
    EXPECT_EQ(target.submitted(), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC" "1+A");
}

TEST_F(KeysAndHooks, HotKeysAreConsumedReportedOnceOnReleaseAndCtrlPlusNeedsNoAdding) {
    PasteTarget target;
    ASSERT_TRUE(s.focus(target.window));
    Observer seen;
    seen.watchKeys(target.window);

    ASSERT_TRUE(s.hooks->addKey(0x40041));
    ASSERT_EQ(xdotool({"key", "alt+a"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !s.released.empty(); }));
    spinFor(200);
    EXPECT_EQ(s.released, std::vector<std::uint32_t>{0x40041});
    EXPECT_EQ(seen.keyPressesSeen(), 1);  // Alt alone reached the program, A did not

    // With NumLock on the combination is still ours.
    ASSERT_EQ(xdotool({"key", "Num_Lock"}), 0);
    ASSERT_EQ(xdotool({"key", "alt+a"}), 0);
    const bool withNumLock = spinUntil([&] { return s.released.size() == 2; });
    ASSERT_EQ(xdotool({"key", "Num_Lock"}), 0);
    EXPECT_TRUE(withNumLock);

    // Removed, the key goes to the program again and nothing is reported.
    s.hooks->removeKey(0x40041);
    seen.keyPressesSeen();
    ASSERT_EQ(xdotool({"key", "alt+a"}), 0);
    spinFor(200);
    EXPECT_EQ(s.released.size(), 2u);
    EXPECT_EQ(seen.keyPressesSeen(), 2);

    // Ctrl with a plus key is reported without being added.
    ASSERT_EQ(xdotool({"key", "ctrl+equal"}), 0);
    ASSERT_EQ(xdotool({"key", "ctrl+KP_Add"}), 0);
    ASSERT_TRUE(spinUntil([&] { return s.released.size() == 4; }));
    EXPECT_EQ(s.released, (std::vector<std::uint32_t>{0x40041, 0x40041, 0x200BB, 0x2006B}));
}

TEST_F(KeysAndHooks, CombinationHeldByAnotherProgramIsRefusedWithoutLeftovers) {
    PasteTarget target;
    ASSERT_TRUE(s.focus(target.window));
    Observer other, seen;
    seen.watchKeys(target.window);
    // The other program holds only the CapsLock variant of Alt+B.
    const auto map = platform::x11::Keymap::fetch(*s.x);
    const auto keycode = platform::keysyms::find(map.keys, 'b')->keycode;
    const std::uint16_t altCaps = map.altBit() | platform::keysyms::kXLock;
    auto* error = xcb_request_check(other.xcb(), xcb_grab_key_checked(other.xcb(), 1, other.root(), altCaps, keycode,
                                                                      XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    ASSERT_EQ(error, nullptr);

    EXPECT_FALSE(s.hooks->addKey(0x40042));

    // Once the other lets go, plain Alt+B must reach the program: no grab of
    // ours was left behind.
    xcb_ungrab_key(other.xcb(), keycode, other.root(), altCaps);
    other.sync();
    seen.keyPressesSeen();
    ASSERT_EQ(xdotool({"key", "alt+b"}), 0);
    spinFor(200);
    EXPECT_EQ(seen.keyPressesSeen(), 2);
    EXPECT_TRUE(s.released.empty());
    EXPECT_TRUE(s.hooks->addKey(0x40042));
}

TEST_F(KeysAndHooks, PasteKeystrokeIsObservedNotConsumedAndNothingTypedWhileWeTypeIsReported) {
    TempBytesFile text(bytesOf("observed paste"));
    Owner clip(xclipIn("UTF8_STRING", text.path()));
    ASSERT_TRUE(clip.owns());
    PasteTarget target;
    ASSERT_TRUE(s.focus(target.window));
    ASSERT_TRUE(s.hooks->addKey(0x20056));
    ASSERT_TRUE(s.hooks->addKey(0x1002D));
    ASSERT_TRUE(s.hooks->addKey(0x40041));

    ASSERT_EQ(xdotool({"key", "ctrl+v"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !s.released.empty(); }));
    ASSERT_EQ(xdotool({"key", "Return"}), 0);
    EXPECT_EQ(target.submitted(), "observed paste");  // the program pasted too
    EXPECT_EQ(s.released, std::vector<std::uint32_t>{0x20056});

    // Neither our own keys nor a hot key pressed while we type are
    // reported, not even late.
    s.hooks->setMonitoring(MonitoringState::Typing);
    ASSERT_TRUE(s.keys->send("+{INSERT}", true));
    ASSERT_EQ(xdotool({"key", "alt+a"}), 0);
    s.hooks->setMonitoring(MonitoringState::Normal);
    spinFor(300);
    EXPECT_EQ(s.released.size(), 1u);

    // The user's own is, and Ctrl+Shift+V is not Ctrl+V.
    ASSERT_EQ(xdotool({"key", "ctrl+shift+v"}), 0);
    ASSERT_EQ(xdotool({"key", "shift+Insert"}), 0);
    ASSERT_TRUE(spinUntil([&] { return s.released.size() == 2; }));
    spinFor(100);
    EXPECT_EQ(s.released, (std::vector<std::uint32_t>{0x20056, 0x1002D}));
}

TEST_F(KeysAndHooks, ArmedMouseHookReportsTheNextClickOnceWithTheNewForeground) {
    PasteTarget clicked("Click Target"), other("Other Window");
    ASSERT_TRUE(s.focus(other.window));
    const auto r = s.windows->windowRect(clicked.window);
    ASSERT_GT(r.right, r.left);

    s.hooks->focusWait = std::chrono::seconds(20);
    s.hooks->armMouse(true);
    spinFor(150);
    EXPECT_TRUE(s.clicks.empty());  // arming is no click

    // A window manager late with the focus: it misses the click under our
    // pointer grab, and the focus moves only after the hook has seen it.
    ASSERT_EQ(xdotool({"mousemove", std::to_string((r.left + r.right) / 2), std::to_string((r.top + r.bottom) / 2)}), 0);
    Observer wm;
    ASSERT_TRUE(spinUntil([&] {
        auto* grab = xcb_grab_pointer_reply(wm.xcb(),
                                            xcb_grab_pointer(wm.xcb(), 0, wm.root(), XCB_EVENT_MASK_BUTTON_PRESS,
                                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, XCB_NONE,
                                                             XCB_NONE, XCB_CURRENT_TIME),
                                            nullptr);
        const bool held = grab && grab->status == XCB_GRAB_STATUS_SUCCESS;
        std::free(grab);
        return held;
    }));
    ASSERT_EQ(xdotool({"click", "1"}), 0);
    s.x->sync();
    s.x->drain();
    xcb_ungrab_pointer(wm.xcb(), XCB_CURRENT_TIME);
    wm.sync();
    ASSERT_TRUE(s.focus(clicked.window));
    ASSERT_TRUE(spinUntil([&] { return !s.clicks.empty(); }));
    EXPECT_EQ(s.clicks.front(), clicked.window);

    ASSERT_EQ(xdotool({"click", "1"}), 0);
    spinFor(400);
    EXPECT_EQ(s.clicks.size(), 1u);
}

TEST_F(KeysAndHooks, TypingIntoOurOwnWindowArrives) {
    QLineEdit own;
    own.setWindowTitle("Own Field");
    own.show();
    ASSERT_TRUE(spinUntil([&] { return s.windows->bringToFront(own.winId()); }));
    // Our window answers nothing while we are blocked in send(): no ping.
    ASSERT_TRUE(s.keys->send("own", true));
    EXPECT_TRUE(spinUntil([&] { return own.text() == "own"; }));
}
