// What the clip viewer shows of a clip file, and what its Save leaves on disk.
#include "ui/logic/clip_viewer.h"

#include "store/slot_files.h"
#include "unit/store_fixture.h"

using namespace pellion;
using namespace pellion::test;
using ui::SourceList;
using ui::ViewerShows;

namespace {

const Bytes kText = bytesOf(std::string("héllo", 6) + '\0');
const Bytes kPng = bytesOf("\x89PNG\r\n\x1a\n....");
// A 1x1 24-bit device-independent bitmap: 40-byte header, one padded pixel.
const Bytes kDib = concat({le32(40), le32(1), le32(1), le16(1), le16(24), le32(0), le32(4), le32(0), le32(0), le32(0),
                           le32(0), Bytes{0, 0, 255, 0}});

Bytes cut(Bytes b, std::size_t n) {
    b.resize(b.size() - n);
    return b;
}

}  // namespace

TEST(ClipViewer, WhatAClipFileShows) {
    TempFolder dir;
    struct Case {
        const char* what;
        Bytes file;
        ViewerShows shows;
        bool multiFormat;
        std::string text;
        std::string picture;  // the picture's type
        bool damaged;
    } cases[] = {
        {"empty file: empty text to type", {}, ViewerShows::Text, false, "", "", false},
        {"text-only layout", textOnlyClip("hi"), ViewerShows::Text, false, "hi", "", false},
        {"text with its locale", namedClip({record(16, "", le32(9)), record(1, "", kText)}), ViewerShows::Text, false, "héllo",
         "", false},
        {"picture before the text wins", namedClip({record(300, "image/png", kPng), record(1, "", kText)}),
         ViewerShows::Picture, true, "héllo", "image/png", false},
        {"formats after the text are not looked at", namedClip({record(1, "", kText), record(300, "image/png", kPng)}),
         ViewerShows::Text, false, "héllo", "", false},
        {"a Windows bitmap shows as a bitmap file", namedClip({record(8, "", kDib)}), ViewerShows::Picture, true, "",
         "image/bmp", false},
        {"neither text nor picture: the formats", namedClip({record(301, "text/html", bytesOf("<b>x</b>")),
                                                         record(302, "application/x-custom", Bytes(1234, 7))}),
         ViewerShows::Formats, true, "", "", false},
        {"a picture cut short", cut(namedClip({record(300, "image/jpeg", Bytes(100, 1))}), 40),
         ViewerShows::Picture, true, "", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string path = dir.path() + "clip";
        ASSERT_TRUE(files::writeWhole(path, c.file));
        const ui::ViewerClip clip = ui::LoadViewerClip(path);
        EXPECT_EQ(clip.shows(), c.shows);
        EXPECT_EQ(clip.multiFormat, c.multiFormat);
        EXPECT_EQ(clip.text, c.text);
        EXPECT_EQ(clip.pictureFormat, c.picture);
        EXPECT_EQ(clip.damaged, c.damaged);
    }
}

// Lines too long for the text box are shown in pieces, each character whole.
TEST(ClipViewer, OverlongLinesAreCutBetweenCharacters) {
    EXPECT_FALSE(ui::HasOverlongLine(std::string(100000, 'x') + "\n" + std::string(100000, 'y')));
    EXPECT_TRUE(ui::HasOverlongLine("a\n" + std::string(100001, 'x')));
    const std::string a(1999, 'a');
    EXPECT_EQ(ui::BreakLongLines(a + "éb\nshort"), a + "é\nb\nshort");
}

class ViewerSaveTest : public StoreTest {
protected:
    ViewerSaveTest() { StartupLoader(state, {}); }
};

// Save keeps the clip file byte for byte unless the text was edited; edited
// text replaces every format with the text alone.
TEST_F(ViewerSaveTest, OnlyEditedTextRewritesTheClipFile) {
    const Bytes multi = namedClip({record(301, "text/html", bytesOf("<i>a</i>")), record(1, "", kText)});
    put(data("trans.2"), multi);
    state.lists.transferSlots.states[2] = kSlotHoldsClip;
    ui::ViewerOpening o = ui::OpenViewerOn(state, SourceList::TransferSlots, 2);
    EXPECT_EQ(o.title, "Untitled");
    EXPECT_EQ(o.colourOption, ui::kColourOptions - 1);  // no colour of its own: "Group Clr"

    EXPECT_TRUE(ui::ClipSettingsOk(state, o.held, {"Kept", 1, 2}).saved);
    EXPECT_EQ(read(data("trans.2")), multi);
    EXPECT_EQ(state.lists.transferSlots.titles[2], "Kept");
    EXPECT_EQ(byteAt(data("trans.mod"), 2), 1);

    EXPECT_TRUE(ui::ClipSettingsOk(state, o.held, {"Edited", 1, 2, std::string("new")}).saved);
    EXPECT_EQ(read(data("trans.2")), textOnlyClip("new"));
}

TEST(ClipViewer, PlacementKeepsTheWindowWholeOnTheScreen) {
    platform::fake::FakePlatform fake;
    ProgramState ps{fake.platform};
    struct Case {
        float left, top, width, height;
        ui::TwipRect want;
    } cases[] = {
        {100, 200, 6852, 5672, {100, 200, 6852, 5672}},
        {-500, 30000, 6852, 5672, {0, 15000 - 5672, 6852, 5672}},  // off the screen: back on it
        {100, 100, 1000, 1000, {100, 100, 3045, 3900}},             // never below the least size
        {0, 0, 90000, 90000, {0, 0, 20000, 15000}},                 // never larger than the screen
    };
    for (const Case& c : cases) {
        ps.settings.ViewerLeft = c.left, ps.settings.ViewerTop = c.top;
        ps.settings.ViewerWidth = c.width, ps.settings.ViewerHeight = c.height;
        EXPECT_EQ(ui::ViewerPlacement(ps, 20000, 15000), c.want) << c.left << "," << c.top;
    }
}
