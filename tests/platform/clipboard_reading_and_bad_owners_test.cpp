// Reading what other programs own: xclip, and owners that hang or break the
// rules.
#include <gtest/gtest.h>

#include "platform/clip_support.h"
#include "platform/x11/x11_clipboard.h"

namespace pellion::test {
namespace {

using platform::ClipFormat;
using platform::kTextFormat;
using platform::x11::X11Clipboard;

class ClipboardRead : public ::testing::Test {
protected:
    void SetUp() override {
        clip = X11Clipboard::create();
        ASSERT_TRUE(clip) << "no display";
    }
    // Formats, and the bytes of each, as a snapshot takes them: piece by
    // piece, a format that starts over dropping what came before.
    std::vector<std::pair<ClipFormat, std::optional<Bytes>>> snapshot() {
        std::vector<std::pair<ClipFormat, std::optional<Bytes>>> out;
        EXPECT_TRUE(clip->open());
        for (const auto& f : clip->formats()) {
            Bytes got;
            const auto size = clip->readData(f.id, [&got](const std::uint8_t* data, std::size_t n) {
                if (!data) got.clear();
                else got.insert(got.end(), data, data + n);
                return true;
            });
            if (size) { EXPECT_EQ(*size, got.size()); }  // a failed read may have passed some on
            out.emplace_back(f, size ? std::optional<Bytes>(got) : std::nullopt);
        }
        clip->close();
        return out;
    }
    // The snapshot of what xclip serves as one target.
    std::vector<std::pair<ClipFormat, std::optional<Bytes>>> snapshotOf(const std::string& target, const Bytes& bytes) {
        TempBytesFile file(bytes);
        Owner xclip(xclipIn(target, file.path()));
        EXPECT_TRUE(xclip.owns()) << target;
        return snapshot();
    }
    // A hung owner answers nothing: no formats, no text.
    void expectNothing() {
        ASSERT_TRUE(clip->open());
        EXPECT_TRUE(clip->formats().empty());
        EXPECT_FALSE(clip->data(kTextFormat).has_value());
        clip->close();
    }
    std::unique_ptr<X11Clipboard> clip;
};

// Text folds into format 1 with one NUL (STRING is Latin-1 and arrives as
// UTF-8, as does text/plain that turns out not to be UTF-8 only after
// megabytes of it came through INCR); named targets arrive byte-exact under
// their own name.
TEST_F(ClipboardRead, EachTargetArrivesAsItsFormat) {
    const Bytes html = bytesOf("<p>caf\xc3\xa9 <b>bold</b></p>\n"), custom = randomBytes(777, 7);
    std::string lines;
    while (lines.size() < (3u << 20)) lines += "na\xc3\xafve line " + std::to_string(lines.size()) + "\n";
    const std::string ascii(3u << 20, 'a');
    struct Case {
        std::string target;
        Bytes sent;
        std::string name;
        Bytes stored;
    };
    const Case cases[] = {
        {"UTF8_STRING", bytesOf("héllo wörld\nline 2"), "", withNul("héllo wörld\nline 2")},
        {"STRING", bytesOf("caf\xe9"), "", withNul("café")},
        {"text/plain", bytesOf(lines), "", withNul(lines)},
        {"text/plain", bytesOf(ascii + "caf\xe9"), "", withNul(ascii + "caf\xc3\xa9")},
        {"text/html", html, "text/html", html},
        {"application/x-pellion-custom", custom, "application/x-pellion-custom", custom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.target);
        const auto snap = snapshotOf(c.target, c.sent);
        ASSERT_EQ(snap.size(), 1u);  // TARGETS is not a format
        EXPECT_EQ(snap[0].first.name, c.name);
        EXPECT_EQ(snap[0].first.id, c.name.empty() ? kTextFormat : clip->registerFormat(c.name));
        EXPECT_EQ(snap[0].second, c.stored);
    }
}

TEST_F(ClipboardRead, HungOwnerCostsOneDeadlineOnce) {
    Owner hung({tool("bad_owner"), "hang"});
    ASSERT_TRUE(hung.owns());
    expectNothing();
    EXPECT_EQ(clip->stats().timeouts, 1);

    // The next poll, with the same owner still there, asks it nothing.
    const int conversions = clip->stats().conversions;
    EXPECT_FALSE(clip->isFormatAvailable(clip->registerFormat(platform::kMarkerName)));
    expectNothing();
    EXPECT_EQ(clip->stats().conversions, conversions);
}

TEST_F(ClipboardRead, SlowOwnerGetsAboutOneDeadlineInAll) {
    Owner slow({tool("bad_owner"), "slow"});
    ASSERT_TRUE(slow.owns());
    const auto snap = snapshot();
    ASSERT_EQ(snap.size(), 5u);
    EXPECT_EQ(snap[0].second, bytesOf("<b>whole</b>"));
    // Two slow answers fit the owner's time; the third runs out of it and
    // the last is not asked.
    EXPECT_EQ(snap[1].second, bytesOf("late"));
    EXPECT_EQ(snap[2].second, bytesOf("late"));
    EXPECT_FALSE(snap[3].second.has_value());
    EXPECT_FALSE(snap[4].second.has_value());
    EXPECT_EQ(clip->stats().timeouts, 1);
    const int conversions = clip->stats().conversions;
    ASSERT_TRUE(clip->open());
    EXPECT_FALSE(clip->data(clip->registerFormat("application/x-slow-0")).has_value());
    clip->close();
    EXPECT_EQ(clip->stats().conversions, conversions);
}

// A refused target, or one whose owner died in the middle of it, is left
// out and the rest is read; zero bytes are empty, not missing (empty text is
// just the NUL).
TEST_F(ClipboardRead, RefusedOrCutTargetIsLeftOutAndZeroBytesAreEmptyNotMissing) {
    using Snap = std::vector<std::pair<std::string, std::optional<Bytes>>>;
    const std::pair<const char*, Snap> cases[] = {
        {"refuse", {{"text/html", bytesOf("<b>whole</b>")}, {"application/x-refused", std::nullopt}}},
        {"zero", {{"text/html", bytesOf("<b>whole</b>")}, {"application/x-empty", Bytes{}}, {"", Bytes{0}}}},
        {"die", {{"text/html", bytesOf("<b>whole</b>")}, {"application/x-big", std::nullopt}}},
    };
    for (const auto& [mode, want] : cases) {
        SCOPED_TRACE(mode);
        Owner bad({tool("bad_owner"), mode});
        ASSERT_TRUE(bad.owns());
        Snap got;
        for (const auto& [format, bytes] : snapshot()) got.emplace_back(format.name, bytes);
        EXPECT_EQ(got, want);
        EXPECT_EQ(clip->stats().timeouts, 0);
    }
}

TEST_F(ClipboardRead, WrongIncrSequenceGivesNothingForThatTarget) {
    Owner bad({tool("bad_owner"), "badincr"});
    ASSERT_TRUE(bad.owns());
    ASSERT_TRUE(clip->open());
    // Pieces written without waiting are usually overwritten, and then the
    // target is left out; a reader that happens to take every piece in time
    // gets it whole. Never anything in between.
    const auto big = clip->data(clip->registerFormat("application/x-big"));
    if (big) {
        EXPECT_EQ(*big, Bytes(300000, 'x'));
    }
    // The owner is not taken as hung: its other targets are still read.
    EXPECT_EQ(clip->data(clip->registerFormat("text/html")), bytesOf("<b>whole</b>"));
    clip->close();
    EXPECT_EQ(clip->stats().timeouts, 0);
}

// Old toolkits answer TARGETS with the names as a STRING or with 16-bit
// atoms; the targets they name are read. Bytes sent for a text target under
// a type that is not text are no text.
TEST_F(ClipboardRead, TargetsInOldFormsAreReadAndTextOnlyUnderATextType) {
    struct Case {
        std::vector<std::string> args;
        std::optional<Bytes> text;
    };
    const Case cases[] = {
        {{"--targets-as=string", "UTF8_STRING=old", "text/html=<i>h</i>"}, withNul("old")},
        {{"--targets-as=atom16", "UTF8_STRING=old", "text/html=<i>h</i>"}, withNul("old")},
        {{"UTF8_STRING@image/png=\x89PNG", "text/html=<i>h</i>"}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.front());
        std::vector<std::string> argv{tool("offer_targets")};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Owner owner(argv);
        ASSERT_TRUE(owner.owns());
        const auto snap = snapshot();
        ASSERT_EQ(snap.size(), 2u);
        EXPECT_EQ(snap[0].first.id, kTextFormat);
        EXPECT_EQ(snap[0].second, c.text);
        EXPECT_EQ(snap[1].first.name, "text/html");
        EXPECT_EQ(snap[1].second, bytesOf("<i>h</i>"));
    }
}

}  // namespace
}  // namespace pellion::test
