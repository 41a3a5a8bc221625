// Serving what we own to other programs, and the marker.
#include <gtest/gtest.h>

#include <algorithm>

#include "app/program_state.h"
#include "platform/clip_support.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/x11/x11_clipboard.h"
#include "store/clip_file.h"

namespace pellion::test {
namespace {

using platform::kMarkerName;
using platform::kTextFormat;
using platform::x11::X11Clipboard;

// The targets xclip is offered, each between new lines.
std::string offered() {
    const Bytes out = xclipOut("TARGETS").out;
    return "\n" + std::string(out.begin(), out.end());
}
bool has(const std::string& targets, const std::string& t) { return targets.find("\n" + t + "\n") != std::string::npos; }

class ClipboardServe : public ::testing::Test {
protected:
    void SetUp() override {
        clip = X11Clipboard::create();
        ASSERT_TRUE(clip) << "no display";
        marker = clip->registerFormat(kMarkerName);
    }
    // A restore: empty, every block, the marker, published at close.
    void restore(const std::vector<std::pair<std::uint32_t, Bytes>>& blocks) {
        ASSERT_TRUE(clip->open());
        clip->empty();
        for (const auto& [id, bytes] : blocks) EXPECT_TRUE(clip->setData(id, bytes));
        EXPECT_TRUE(clip->setData(marker, bytesOf("ok")));
        clip->close();
    }
    std::unique_ptr<X11Clipboard> clip;
    std::uint32_t marker = 0;
};

TEST_F(ClipboardServe, EveryStoredFormatReadsBackByteExact) {
    const Bytes html = bytesOf("<i>caf\xc3\xa9</i>");
    const Bytes big = randomBytes(20u << 20, 21);
    const Bytes text = withNul("Grüße\tand € signs");
    restore({{kTextFormat, text},
             {clip->registerFormat("text/html"), html},
             {clip->registerFormat("application/x-big"), big}});

    EXPECT_EQ(xclipOut("text/html").out, html);
    const Ran bigRun = xclipOut("application/x-big");
    EXPECT_EQ(bigRun.status, 0);
    EXPECT_TRUE(bigRun.out == big) << bigRun.out.size() << " bytes of " << big.size();
    EXPECT_EQ(xclipOut(kMarkerName).out, bytesOf("ok"));

    // Text: UTF-8 without the NUL under every UTF-8 name, Latin-1 as STRING.
    const Bytes utf8(text.begin(), text.end() - 1);
    for (const char* target : {"UTF8_STRING", "TEXT", "text/plain", "text/plain;charset=utf-8"})
        EXPECT_EQ(xclipOut(target).out, utf8) << target;
    EXPECT_EQ(xclipOut("STRING").out, bytesOf("Gr\xfc\xdf" "e\tand ? signs"));

    const std::string targets = offered();
    for (const char* t : {"TARGETS", "TIMESTAMP", "MULTIPLE", "SAVE_TARGETS", "UTF8_STRING", "STRING", "TEXT",
                          "text/plain", "text/plain;charset=utf-8", "text/html", "application/x-big",
                          kMarkerName})
        EXPECT_TRUE(has(targets, t)) << t;
}

TEST_F(ClipboardServe, WhatWeDoNotHoldIsRefusedAloneOrInMultipleAndMetaTargetsAnswer) {
    restore({{clip->registerFormat("text/html"), bytesOf("<b>x</b>")}});
    const Ran nosuch = xclipOut("nosuch");
    EXPECT_NE(nosuch.status, 0);
    EXPECT_TRUE(nosuch.out.empty());
    EXPECT_NE(xclipOut("UTF8_STRING").status, 0);  // no text stored
    EXPECT_EQ(xclipOut("text/html").status, 0);

    // MULTIPLE answers each pair, with None in the pair of a refused target.
    Probe& probe = Probe::shared();
    std::vector<std::uint32_t> pairs;
    const auto got = probe.multiple({"text/html", "nosuch"}, pairs);
    EXPECT_EQ(pairs, (std::vector<std::uint32_t>{probe.atom("text/html"), probe.atom("PROBE_0"), 0, probe.atom("PROBE_1")}));
    EXPECT_EQ(got, (std::vector<std::optional<Bytes>>{bytesOf("<b>x</b>"), std::nullopt}));

    xcb_atom_t type = 0;
    const auto stamp = wordsOf(probe.convert("TIMESTAMP", &type).value_or(Bytes{}));
    ASSERT_EQ(stamp.size(), 1u);
    EXPECT_NE(stamp[0], 0u);  // a real server time, not CurrentTime
    EXPECT_EQ(type, probe.atom("INTEGER"));
    EXPECT_EQ(probe.convert("SAVE_TARGETS", &type), Bytes{});
    EXPECT_EQ(type, probe.atom("NULL"));
}

// Our own session: one at a time, our content read without asking the
// server, only ids that can be served taken, and format 7 served as text.
TEST_F(ClipboardServe, OurOwnSessionIsExclusiveReadLocallyAndTakesServableIdsOnly) {
    const Bytes png = randomBytes(3000, 9);
    const Bytes text = withNul("local");
    restore({{kTextFormat, text}, {clip->registerFormat("image/png"), png}});
    const int conversions = clip->stats().conversions;
    ASSERT_TRUE(clip->open());
    EXPECT_FALSE(clip->open());
    std::vector<std::string> names;
    for (const auto& f : clip->formats()) names.push_back(f.id == kTextFormat ? "text" : f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"text", "image/png", kMarkerName}));
    EXPECT_EQ(clip->data(kTextFormat), text);
    EXPECT_EQ(clip->data(clip->registerFormat("image/png")), png);
    clip->close();
    EXPECT_EQ(clip->stats().conversions, conversions);

    ASSERT_TRUE(clip->open());
    clip->empty();
    EXPECT_FALSE(clip->setData(2, bytesOf("a core atom, not a format")));
    EXPECT_TRUE(clip->setData(platform::kOemTextFormat, withNul("oem")));
    clip->close();
    EXPECT_FALSE(clip->setData(kTextFormat, bytesOf("closed")));
    EXPECT_EQ(xclipOut("UTF8_STRING").out, bytesOf("oem"));
    EXPECT_TRUE(clip->isFormatAvailable(kTextFormat));
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

Bytes le32(std::uint32_t v) { return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)}; }
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
// A clip file with names (-1, count, records of id, name, bytes) or without.
Bytes clipFile(const std::vector<std::tuple<std::uint32_t, std::string, Bytes>>& records, bool named) {
    Bytes b = (named ? le32(-1) : Bytes{}) + le32(records.size());
    for (const auto& [id, name, data] : records)
        b = b + le32(id) + (named ? le32(name.size()) + bytesOf(name) : Bytes{}) + le32(data.size()) + data;
    return b;
}

// Clip files restored by the store: what their formats mean is served (those
// made on Windows too), what cannot be served is left out, and the marker is
// there. A large clip is served from its file as it was when restored.
TEST(ClipboardServeWindowsClips, ServeWhatTheirFormatsMean) {
    platform::Platform platform;
    platform.clipboard = X11Clipboard::create();
    ASSERT_TRUE(platform.clipboard) << "no display";
    ProgramState state(platform);

    const std::u16string utf16 = u"Gr\u00fc\u00dfe \u20ac\nline 2";
    Bytes text16;
    for (char16_t c : utf16 + u'\0') text16 = text16 + Bytes{std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)};
    const Bytes utf8 = bytesOf("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac\nline 2");
    // One 24-bit pixel: a 40-byte header and one padded row.
    const Bytes dib = le32(40) + le32(1) + le32(1) + Bytes{1, 0, 24, 0} + Bytes(24, 0) + Bytes{0x10, 0x20, 0x30, 0};
    const Bytes bmp = bytesOf("BM") + le32(14 + 44) + le32(0) + le32(14 + 40) + dib;
    const std::string html = "Version:0.9\r\nStartFragment:000058\r\nEndFragment:000069\r\n<p><b>bold</b></p>";
    const Bytes locale = le32(0x407), ansi = bytesOf("Gr\xfc\xdf" "e \x80\nline 2"), oem = bytesOf("?");
    // Over a megabyte: characters cut by the chunk boundaries, a NUL to end it.
    std::string longText, longLatin1;
    for (int i = 0; i < 400000; ++i) longText += "\xc3\xa9\xe2\x82\xac" "a", longLatin1 += "\xe9?a";
    const Bytes big = randomBytes(3u << 20, 5);
    struct Case {
        const char* what;
        Bytes file;
        std::vector<std::pair<std::string, Bytes>> served;
    } cases[] = {
        {"named", clipFile({{13, "", text16}, {16, "", locale}, {1, "", ansi + Bytes{0}}, {7, "", oem + Bytes{0}},
                            {8, "", dib}, {0xC0A1, "HTML Format", bytesOf(html)}}, true),
         {{"UTF8_STRING", utf8}, {"image/bmp", bmp}, {"HTML Format", bytesOf(html)}, {"text/html", bytesOf("<b>bold</b>")}}},
        {"unnamed", clipFile({{13, "", text16}, {16, "", locale}, {8, "", dib}}, false),
         {{"UTF8_STRING", utf8}, {"image/bmp", bmp}}},
        {"text", le32(-1) + le32(-1) + le32(6) + bytesOf("plain!"), {{"UTF8_STRING", bytesOf("plain!")}}},
        {"large", clipFile({{1, "", withNul(longText) + Bytes{0, 'x'}}, {0xC0A2, "application/x-big", big}}, true),
         {{"UTF8_STRING", bytesOf(longText)}, {"TEXT", bytesOf(longText)}, {"STRING", bytesOf(longLatin1)},
          {"application/x-big", big}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempBytesFile file(c.file);
        EXPECT_EQ(RestoreClipFile(state, file.path()), RestoreResult::Restored);
        ASSERT_TRUE(files::writeWhole(file.path(), bytesOf("replaced")));
        const std::string targets = offered();
        EXPECT_TRUE(has(targets, kMarkerName));
        EXPECT_EQ(xclipOut(kMarkerName).out, bytesOf("ok"));
        for (const auto& [target, bytes] : c.served) {
            EXPECT_TRUE(has(targets, target)) << target;
            const Bytes got = xclipOut(target).out;
            EXPECT_TRUE(got == bytes) << target << ": " << got.size() << " bytes of " << bytes.size();
        }
    }
}

}  // namespace
}  // namespace pellion::test
