// Who owns the CLIPBOARD, as the monitor sees it: nobody, another program
// with the time of its copy, or this program after a restore.
#include <gtest/gtest.h>

#include "platform/clip_support.h"
#include "platform/x11/x11_clipboard.h"

namespace pellion::test {
namespace {

using platform::x11::X11Clipboard;

TEST(ClipboardOwner, EachCopyHasItsOwnStampAndAnExitLeavesNone) {
    auto clip = X11Clipboard::create();
    ASSERT_TRUE(clip) << "no display";
    TempBytesFile text(bytesOf("owner test"));
    auto& probe = Probe::shared();

    Owner first(xclipIn("UTF8_STRING", text.path()));
    ASSERT_TRUE(first.owns());
    const auto a = clip->owner();
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->window, probe.owner());
    EXPECT_NE(a->time, 0u);

    Owner second(xclipIn("UTF8_STRING", text.path()));
    ASSERT_TRUE(second.owns());
    const auto b = clip->owner();
    ASSERT_TRUE(b.has_value());
    EXPECT_NE(*a, *b);

    // While open, the owner is the one the session began with.
    ASSERT_TRUE(clip->open());
    second.stop();
    ASSERT_TRUE(probe.waitNoOwner());
    EXPECT_EQ(clip->owner(), b);
    clip->close();
    EXPECT_FALSE(clip->owner().has_value());

    // A restore makes this program the owner.
    ASSERT_TRUE(clip->open());
    clip->empty();
    ASSERT_TRUE(clip->setData(platform::kTextFormat, bytesOf(std::string("ours\0", 5))));
    clip->close();
    ASSERT_TRUE(probe.waitNewOwner(0));
    const auto ours = clip->owner();
    ASSERT_TRUE(ours.has_value());
    EXPECT_EQ(ours->window, probe.owner());
    EXPECT_NE(ours->window, b->window);
}

}  // namespace
}  // namespace pellion::test
