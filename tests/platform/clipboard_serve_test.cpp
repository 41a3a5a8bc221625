// Serving what we own to other programs, and the marker.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/clip_support.h"
#include "platform/x11/x11_clipboard.h"

namespace pellion::test {
namespace {

using platform::kMarkerName;
using platform::kTextFormat;
using platform::x11::X11Clipboard;

std::vector<std::string> lines(const Bytes& b) {
    std::vector<std::string> out;
    std::string cur;
    for (auto c : b) {
        if (c == '\n') out.push_back(cur), cur.clear();
        else cur += static_cast<char>(c);
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

bool has(const std::vector<std::string>& v, const std::string& s) { return std::find(v.begin(), v.end(), s) != v.end(); }

class ClipboardServe : public ::testing::Test {
protected:
    void SetUp() override {
        clip = X11Clipboard::create();
        ASSERT_TRUE(clip) << "no display";
        marker = clip->registerFormat(kMarkerName);
    }
    // A restore: empty, every block, the marker, published at close.
    void restore(const std::vector<std::pair<std::uint32_t, Bytes>>& blocks, bool withMarker = true) {
        ASSERT_TRUE(clip->open());
        clip->empty();
        for (const auto& [id, bytes] : blocks) EXPECT_TRUE(clip->setData(id, bytes));
        if (withMarker) {
            EXPECT_TRUE(clip->setData(marker, bytesOf("ok")));
        }
        clip->close();
    }
    std::unique_ptr<X11Clipboard> clip;
    std::uint32_t marker = 0;
};

TEST_F(ClipboardServe, EveryStoredFormatReadsBackByteExact) {
    const Bytes html = bytesOf("<i>caf\xc3\xa9</i>");
    const Bytes png = randomBytes(5000, 3);
    const Bytes big = randomBytes(20u << 20, 21);
    const Bytes text = withNul("Grüße\tand € signs");
    restore({{kTextFormat, text},
             {clip->registerFormat("text/html"), html},
             {clip->registerFormat("image/png"), png},
             {clip->registerFormat("application/x-big"), big}});

    EXPECT_EQ(xclipOut("text/html").out, html);
    EXPECT_EQ(xclipOut("image/png").out, png);
    const Ran bigRun = xclipOut("application/x-big");
    EXPECT_EQ(bigRun.status, 0);
    EXPECT_TRUE(bigRun.out == big) << bigRun.out.size() << " bytes of " << big.size();
    EXPECT_EQ(xclipOut(kMarkerName).out, bytesOf("ok"));

    // Text: UTF-8 without the NUL under every UTF-8 name, Latin-1 as STRING.
    const Bytes utf8(text.begin(), text.end() - 1);
    for (const char* target : {"UTF8_STRING", "TEXT", "text/plain", "text/plain;charset=utf-8"})
        EXPECT_EQ(xclipOut(target).out, utf8) << target;
    EXPECT_EQ(xclipOut("STRING").out, bytesOf("Gr\xfc\xdf" "e\tand ? signs"));

    const auto targets = lines(xclipOut("TARGETS").out);
    for (const char* t : {"TARGETS", "TIMESTAMP", "MULTIPLE", "SAVE_TARGETS", "UTF8_STRING", "STRING", "TEXT",
                          "text/plain", "text/plain;charset=utf-8", "text/html", "image/png", "application/x-big",
                          kMarkerName})
        EXPECT_TRUE(has(targets, t)) << t;
}

TEST_F(ClipboardServe, WhatWeDoNotHoldIsRefused) {
    restore({{clip->registerFormat("text/html"), bytesOf("<b>x</b>")}});
    const Ran nosuch = xclipOut("nosuch");
    EXPECT_NE(nosuch.status, 0);
    EXPECT_TRUE(nosuch.out.empty());
    EXPECT_NE(xclipOut("UTF8_STRING").status, 0);  // no text stored
    EXPECT_EQ(xclipOut("text/html").status, 0);

    Probe& probe = Probe::shared();
    xcb_atom_t type = 0;
    const auto stamp = probe.convert("TIMESTAMP", &type);
    ASSERT_TRUE(stamp.has_value());
    ASSERT_EQ(stamp->size(), 4u);
    std::uint32_t when = 0;
    std::memcpy(&when, stamp->data(), 4);
    EXPECT_NE(when, 0u);  // a real server time, not CurrentTime
    EXPECT_EQ(type, probe.atom("INTEGER"));
    const auto save = probe.convert("SAVE_TARGETS", &type);
    ASSERT_TRUE(save.has_value());
    EXPECT_TRUE(save->empty());
    EXPECT_EQ(type, probe.atom("NULL"));
}

TEST_F(ClipboardServe, MultipleAnswersEachPairAndRefusesTheRest) {
    restore({{kTextFormat, withNul("multi")}, {clip->registerFormat("text/html"), bytesOf("<p/>")}});
    Probe& probe = Probe::shared();
    std::vector<std::uint32_t> pairs;
    const auto got = probe.multiple({"UTF8_STRING", "nosuch", "text/html"}, pairs);
    ASSERT_EQ(pairs.size(), 6u);
    EXPECT_EQ(pairs[0], probe.atom("UTF8_STRING"));
    EXPECT_EQ(pairs[2], 0u);  // refused: None in its pair
    EXPECT_EQ(pairs[4], probe.atom("text/html"));
    EXPECT_EQ(got[0], bytesOf("multi"));
    EXPECT_FALSE(got[1].has_value());
    EXPECT_EQ(got[2], bytesOf("<p/>"));
}

TEST_F(ClipboardServe, OurOwnContentIsReadWithoutAskingTheServer) {
    const Bytes png = randomBytes(3000, 9);
    const Bytes text = withNul("local");
    restore({{kTextFormat, text}, {clip->registerFormat("image/png"), png}});
    const int conversions = clip->stats().conversions;
    ASSERT_TRUE(clip->open());
    const auto formats = clip->formats();
    ASSERT_EQ(formats.size(), 3u);
    EXPECT_EQ(formats[0].id, kTextFormat);
    EXPECT_EQ(formats[1].name, "image/png");
    EXPECT_EQ(formats[2].name, kMarkerName);
    EXPECT_EQ(clip->data(kTextFormat), text);
    EXPECT_EQ(clip->data(clip->registerFormat("image/png")), png);
    clip->close();
    EXPECT_EQ(clip->stats().conversions, conversions);

    // Another program copies: we stop serving and read it instead.
    TempBytesFile file(bytesOf("theirs"));
    Owner xclip(xclipIn("UTF8_STRING", file.path()));
    ASSERT_TRUE(xclip.owns());
    ASSERT_TRUE(clip->open());
    EXPECT_EQ(clip->data(kTextFormat), withNul("theirs"));
    clip->close();
}

TEST_F(ClipboardServe, MarkerFollowsTheOwnershipItWasAddedTo) {
    TempBytesFile first(bytesOf("first"));
    auto xclip = std::make_unique<Owner>(xclipIn("UTF8_STRING", first.path()));
    ASSERT_TRUE(xclip->owns());
    EXPECT_FALSE(clip->isFormatAvailable(marker));
    ASSERT_TRUE(clip->open());
    EXPECT_FALSE(clip->isFormatAvailable(marker));
    EXPECT_TRUE(clip->setData(marker, bytesOf("ok")));
    EXPECT_FALSE(clip->setData(clip->registerFormat("text/html"), bytesOf("x")));  // theirs, not ours to extend
    clip->close();
    EXPECT_TRUE(clip->isFormatAvailable(marker));
    EXPECT_EQ(xclipOut("UTF8_STRING").out, bytesOf("first"));  // the content stayed with its owner

    // The same text copied again is new content.
    auto again = std::make_unique<Owner>(xclipIn("UTF8_STRING", first.path()));
    ASSERT_TRUE(again->owns());
    xclip.reset();
    EXPECT_FALSE(clip->isFormatAvailable(marker));

    // Nobody owns the CLIPBOARD: nothing to capture.
    again.reset();
    ASSERT_TRUE(Probe::shared().waitNoOwner());
    EXPECT_TRUE(clip->isFormatAvailable(marker));

    // Ours: with the marker after a restore, without it after setText, and
    // the marker added to our own text keeps the text served.
    restore({{kTextFormat, withNul("mine")}});
    EXPECT_TRUE(clip->isFormatAvailable(marker));
    clip->setText("plain");
    EXPECT_FALSE(clip->isFormatAvailable(marker));
    EXPECT_EQ(xclipOut("UTF8_STRING").out, bytesOf("plain"));
    ASSERT_TRUE(clip->open());
    EXPECT_TRUE(clip->setData(marker, bytesOf("ok")));
    clip->close();
    EXPECT_TRUE(clip->isFormatAvailable(marker));
    EXPECT_EQ(xclipOut(kMarkerName).out, bytesOf("ok"));
    EXPECT_EQ(xclipOut("UTF8_STRING").out, bytesOf("plain"));
}

TEST_F(ClipboardServe, OpenIsExclusiveAndOnlyServableIdsAreTaken) {
    ASSERT_TRUE(clip->open());
    EXPECT_FALSE(clip->open());
    clip->empty();
    EXPECT_FALSE(clip->setData(2, bytesOf("a core atom, not a format")));
    EXPECT_TRUE(clip->setData(platform::kOemTextFormat, withNul("oem")));
    clip->close();
    EXPECT_FALSE(clip->setData(kTextFormat, bytesOf("closed")));
    EXPECT_EQ(xclipOut("UTF8_STRING").out, bytesOf("oem"));  // format 7 serves as text
    EXPECT_TRUE(clip->isFormatAvailable(kTextFormat));
}

}  // namespace
}  // namespace pellion::test
