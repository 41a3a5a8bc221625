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

    // A restore standing in for the owner that left yields to a copy made
    // since, whichever way it restores, and does not mark that copy as seen.
    const std::uint32_t marker = clip->registerFormat(platform::kMarkerName);
    TempBytesFile since(bytesOf("copied since"));
    std::optional<platform::OwnerStamp> c;
    for (const bool byText : {false, true}) {
        Owner third(xclipIn("UTF8_STRING", since.path()));
        ASSERT_TRUE(third.owns());
        c = clip->owner();
        clip->yieldToCopiesSince(*b);
        if (byText) clip->setText("ours");
        ASSERT_TRUE(clip->open());
        if (!byText) {
            clip->empty();
            clip->setData(platform::kTextFormat, withNul("ours"));
        }
        clip->setData(marker, {});
        clip->close();
        EXPECT_EQ(xclipOut("UTF8_STRING").out, bytesOf("copied since")) << (byText ? "text" : "records");
        EXPECT_FALSE(clip->isFormatAvailable(marker)) << (byText ? "text" : "records");
        third.stop();
        ASSERT_TRUE(probe.waitNoOwner());
    }

    // A restore makes this program the owner, also one standing in for the
    // owner that left when nobody has copied since.
    clip->yieldToCopiesSince(*c);
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
