#include "store/clip_file.h"

#include <gtest/gtest.h>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "unit/temp_folder.h"

using namespace pellion;
using files::Bytes;

namespace {

// The clipboard's content as (name, bytes) in order; text has the name "".
using Content = std::vector<std::pair<std::string, Bytes>>;

Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }
const Bytes kOk{'o', 'k'};
const Bytes kEmptyFile{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0};

// Little-endian 32-bit fields, then raw text.
Bytes i32s(std::initializer_list<std::int64_t> values, const std::string& tail = "") {
    Bytes b;
    for (std::int64_t v : values)
        for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
    b.insert(b.end(), tail.begin(), tail.end());
    return b;
}
// Records of the named layout after the header -1, count.
Bytes namedFile(std::int64_t count, const std::vector<std::tuple<std::uint32_t, std::string, std::string>>& records) {
    Bytes b = i32s({-1, count});
    for (const auto& [id, name, data] : records) {
        const Bytes r = i32s({id, static_cast<std::int64_t>(name.size())}, name);
        const Bytes d = i32s({static_cast<std::int64_t>(data.size())}, data);
        b.insert(b.end(), r.begin(), r.end());
        b.insert(b.end(), d.begin(), d.end());
    }
    return b;
}

Bytes unnamedFile(const std::vector<std::pair<std::uint32_t, std::string>>& records) {
    Bytes b = i32s({static_cast<std::int64_t>(records.size())});
    for (const auto& [id, data] : records) {
        const Bytes r = i32s({id, static_cast<std::int64_t>(data.size())}, data);
        b.insert(b.end(), r.begin(), r.end());
    }
    return b;
}
std::string str(const Bytes& b) { return std::string(b.begin(), b.end()); }
Bytes utf16(const std::u16string& s) {
    Bytes b;
    for (char16_t c : s + u'\0') b.insert(b.end(), {std::uint8_t(c & 0xFF), std::uint8_t(c >> 8)});
    return b;
}
// A device-independent bitmap 2x2 with a header of headerSize bytes, then
// after bytes of masks, palette and pixels.
Bytes dib(std::uint32_t headerSize, int bits, int compression, std::size_t after) {
    Bytes b = i32s({headerSize});
    auto le16 = [&](int v) { b.insert(b.end(), {std::uint8_t(v), std::uint8_t(v >> 8)}); };
    if (headerSize == 12) {
        le16(2), le16(2), le16(1), le16(bits);
    } else {
        const Bytes rest = i32s({2, 2});
        b.insert(b.end(), rest.begin(), rest.end());
        le16(1), le16(bits);
        const Bytes c = i32s({compression});
        b.insert(b.end(), c.begin(), c.end());
        b.resize(std::min<std::size_t>(headerSize, 40), 0);
    }
    b.resize(std::min<std::size_t>(headerSize, 124) + after, 0x5A);
    return b;
}
// A bitmap file: "BM", its size, 0, where the pixels start, the bitmap.
Bytes bmpOf(const Bytes& dib, std::int64_t pixels) {
    Bytes b = i32s({14 + static_cast<std::int64_t>(dib.size()), 0, 14 + pixels});
    b.insert(b.begin(), {'B', 'M'});
    b.insert(b.end(), dib.begin(), dib.end());
    return b;
}

struct Fixture {
    Fixture() : state(fake.platform) { state.dataFolder = dir.path(); }
    Bytes tmp() const { return files::readAll(dir.path() + "clip.tmp").value_or(Bytes{}); }
    bool snapshot() {
        fake.clipboard->open();
        const bool ok = SnapshotClipboard(state);
        fake.clipboard->close();
        return ok;
    }
    RestoreResult restore(const Bytes& file) {
        files::writeWhole(dir.path() + "slot", file);
        return RestoreClipFile(state, dir.path() + "slot");
    }
    Content content() const {
        Content out;
        for (const auto& e : fake.clipboard->content) out.emplace_back(fake.clipboard->nameOf(e.id), e.bytes);
        return out;
    }
    std::uint32_t id(const std::string& name) { return fake.clipboard->registerFormat(name); }
    test::TempFolder dir;
    platform::fake::FakePlatform fake;
    ProgramState state;
};

Content marked(Content c) {
    c.emplace_back("PellionClips", kOk);
    return c;
}

}  // namespace

TEST(ClipFile, EmptyClipboardGivesEightBytesAndRestoresAsMarkerAlone) {
    Fixture f;
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), kEmptyFile);
    EXPECT_FALSE(f.state.clip.hasText);

    f.fake.clipboard->copyTextFromOtherProgram("old");
    EXPECT_EQ(RestoreClipFile(f.state, f.dir.path() + "clip.tmp"), RestoreResult::Restored);
    EXPECT_EQ(f.content(), marked({}));
}

TEST(ClipFile, SnapshotWritesEveryFormatInOrderWithText) {
    Fixture f;
    f.fake.clipboard->copyFromOtherProgram({{"", bytes(std::string("hi\0", 3))}, {"text/html", bytes("<b>")}});
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), namedFile(2, {{1, "", std::string("hi\0", 3)}, {f.id("text/html"), "text/html", "<b>"}}));
    EXPECT_TRUE(f.state.clip.hasText);
    EXPECT_EQ(f.state.clip.clipText, std::string("hi\0", 3));
}

TEST(ClipFile, ExcludedAndEmptyFormatsAreLeftOutAndTheCountMatches) {
    for (const char* name : {"Embed Source", "native", "Object Descriptor", "application/x-hyperlink",
                             "Ole Private Data"})
        EXPECT_TRUE(IsExcludedFormat(name)) << name;
    for (const char* name : {"OlePrivateData", "Native Data", "text/rtf", ""}) EXPECT_FALSE(IsExcludedFormat(name)) << name;

    Fixture f;
    f.fake.clipboard->copyFromOtherProgram({{"Link Source", bytes("L")}, {"OBJECTLINK", bytes("O")}});
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), kEmptyFile);

    f.fake.clipboard->copyFromOtherProgram(
        {{"image/png", bytes("PNG")}, {"Embed Source", bytes("E")}, {"empty/x", {}}, {"text/rtf", bytes("{")}});
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), namedFile(2, {{f.id("image/png"), "image/png", "PNG"}, {f.id("text/rtf"), "text/rtf", "{"}}));
}

TEST(ClipFile, NamedFormatRestoresUnderTheIdItsNameRegistersNow) {
    Fixture f;
    f.id("something else first");
    const Bytes file = namedFile(3, {{0xD00D, "image/png", "PNG!"},
                                     {0xD00E, "Link Source", "live"},  // excluded on reading too
                                     {1, "", std::string("t\0", 2)}});
    EXPECT_EQ(f.restore(file), RestoreResult::Restored);
    EXPECT_EQ(f.content(), marked({{"image/png", bytes("PNG!")}, {"", bytes(std::string("t\0", 2))}}));
    EXPECT_FALSE(f.fake.clipboard->isFormatAvailable(0xD00D));
}

TEST(ClipFile, TextLayoutRestores) {
    Fixture f;
    EXPECT_EQ(f.restore(i32s({-1, -1, 5}, "hello")), RestoreResult::Restored);
    EXPECT_EQ(f.content(), marked({{"", bytes(std::string("hello\0", 6))}}));
    EXPECT_TRUE(f.state.clip.hasText);
    EXPECT_EQ(f.state.clip.clipText, "hello");
}

// Clips made on Windows: the formats that mean something here are served as
// that, the rest is left out, and the marker always follows.
TEST(ClipFile, WindowsFormatsRestoreAsWhatTheyMean) {
    const std::string text = str(utf16(u"Gr\u00fc\u00dfe \u20ac\r\nline 2 \U0001F600"));
    const std::string utf8 = std::string("Gr\xc3\xbc\xc3\x9f" "e \xe2\x82\xac\r\nline 2 \xf0\x9f\x98\x80") + '\0';
    const std::string ansi = std::string("Gr\xfc\xdf" "e \x80\r\nline 2 ?") + '\0';
    const std::string oem = std::string("Gr\x81\xe1" "e ?\r\nline 2 ?") + '\0';
    const std::string html =
        "Version:0.9\r\nStartHTML:000089\r\nEndHTML:000170\r\nStartFragment:000123\r\nEndFragment:000134\r\n"
        "<html><body>\r\n<!--StartFragment--><b>bold</b><!--EndFragment-->\r\n</body>\r\n</html>";
    const std::string document = html.substr(89);
    std::string noFragment = html, badFragment = html;
    noFragment.replace(noFragment.find("StartFragment"), 5, "Other");
    badFragment.replace(badFragment.find("000134"), 6, "009999");
    // Bitmaps and where their pixels start: header, colour masks, palette.
    const Bytes palette8 = dib(40, 8, 0, 1024 + 4), fields = dib(40, 32, 3, 12 + 16), v5 = dib(124, 32, 3, 16);
    const Bytes core4 = dib(12, 4, 0, 48 + 8), broken = dib(999, 24, 0, 12);
    const std::uint32_t locale = 16, bitmap = 2, metafile = 3, files = 15, registered = 0xC0FF;
    struct Case {
        const char* what;
        Bytes file;
        Content restored;
        bool textOnly = false;
    } cases[] = {
        {"text copied there", namedFile(4, {{13, "", text}, {locale, "", "\x07\x04\0\0"}, {1, "", ansi}, {7, "", oem}}),
         marked({{"", bytes(utf8)}, {"", bytes(oem)}})},
        {"text alone", namedFile(1, {{1, "", std::string("a\0", 2)}}), marked({{"", bytes(std::string("a\0", 2))}})},
        {"HTML", namedFile(3, {{1, "", "x"}, {13, "", text}, {0xC0A1, "HTML Format", html}}),
         marked({{"", bytes(utf8)}, {"HTML Format", bytes(html)}, {"text/html", bytes("<b>bold</b>")}})},
        {"HTML without a fragment", namedFile(1, {{0xC0A1, "HTML Format", noFragment}}),
         marked({{"HTML Format", bytes(noFragment)}, {"text/html", bytes(document)}})},
        {"HTML pointing past its end", namedFile(1, {{0xC0A1, "HTML Format", badFragment}}),
         marked({{"HTML Format", bytes(badFragment)}, {"text/html", bytes(document)}})},
        {"HTML beside text/html", namedFile(2, {{0xC0A1, "HTML Format", html}, {0xC0A2, "text/html", "<i>"}}),
         marked({{"HTML Format", bytes(html)}, {"text/html", bytes("<i>")}})},
        {"rich text", namedFile(1, {{0xC0A3, "Rich Text Format", "{\\rtf1 x}"}}),
         marked({{"Rich Text Format", bytes("{\\rtf1 x}")}, {"text/rtf", bytes("{\\rtf1 x}")}})},
        {"bitmap with palette, and its V5 twin", namedFile(2, {{8, "", str(palette8)}, {17, "", str(v5)}}),
         marked({{"image/bmp", bmpOf(palette8, 40 + 1024)}})},
        {"bitmap with colour masks", namedFile(1, {{8, "", str(fields)}}), marked({{"image/bmp", bmpOf(fields, 40 + 12)}})},
        {"V5 bitmap alone", namedFile(1, {{17, "", str(v5)}}), marked({{"image/bmp", bmpOf(v5, 124)}})},
        {"oldest bitmap header", namedFile(1, {{8, "", str(core4)}}), marked({{"image/bmp", bmpOf(core4, 12 + 48)}})},
        {"damaged bitmap, V5 taken", namedFile(2, {{8, "", str(broken)}, {17, "", str(v5)}}),
         marked({{"image/bmp", bmpOf(v5, 124)}})},
        {"text only", namedFile(3, {{1, "", "a"}, {0xC123, "image/png", "PNG"}, {7, "", "b"}}),
         marked({{"", bytes("a")}, {"", bytes("b")}}), true},
        {"text only, Windows", namedFile(3, {{13, "", text}, {0xC0A1, "HTML Format", html}, {8, "", str(fields)}}),
         marked({{"", bytes(utf8)}}), true},
        {"unnamed layout", unnamedFile({{13, text}, {locale, "x"}, {bitmap, "b"}, {metafile, "m"}, {8, str(core4)},
                                         {files, "f"}, {registered, "r"}, {7, "o"}}),
         marked({{"", bytes(utf8)}, {"image/bmp", bmpOf(core4, 12 + 48)}, {"", bytes("o")}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.state.clip.textOnly = c.textOnly;
        EXPECT_EQ(f.restore(c.file), RestoreResult::Restored);
        EXPECT_EQ(f.content(), c.restored);
    }
}

TEST(ClipFile, SnapshotAndRestoreRoundTrip) {
    Fixture f;
    const Content clip = {
        {"", bytes(std::string("x\0", 2))}, {"image/png", Bytes(100000, 0xAB)}, {"text/uri-list", bytes("file:///a")}};
    f.fake.clipboard->copyFromOtherProgram(clip);
    ASSERT_TRUE(f.snapshot());
    f.fake.clipboard->copyTextFromOtherProgram("something else");
    EXPECT_EQ(RestoreClipFile(f.state, f.dir.path() + "clip.tmp"), RestoreResult::Restored);
    EXPECT_EQ(f.content(), marked(clip));
}

TEST(ClipFile, MissingFileGivesAnEmptyClipboardWithTheMarker) {
    Fixture f;
    f.fake.clipboard->copyTextFromOtherProgram("old");
    EXPECT_EQ(RestoreClipFile(f.state, f.dir.path() + "group3.7"), RestoreResult::Restored);
    EXPECT_EQ(f.content(), marked({}));
    EXPECT_FALSE(files::exists(f.dir.path() + "group3.7"));
}

TEST(ClipFile, DamagedFilesRestoreTheirWholeRecordsAndStop) {
    // A count beyond the records, and the second record cut short.
    Bytes cut = namedFile(0x7FFFFFFF, {{0xC001, "image/png", "PNG"}, {0xC002, "text/rtf", "{rtf}"}});
    cut.resize(cut.size() - 2);
    struct Case {
        const char* what;
        Bytes file;
        Content restored;
    } cases[] = {
        {"cut", cut, marked({{"image/png", bytes("PNG")}})},
        // Sizes that the file cannot hold are never allocated.
        {"huge size", i32s({3, 1, 0x7FFFFFF0}, "tiny"), marked({})},
        {"negative name size", i32s({-1, 1, 0xC003, -20}), marked({})},
        {"short text", i32s({-1, -1, 1000}, "abc"), marked({{"", bytes(std::string("abc\0", 4))}})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        EXPECT_EQ(f.restore(c.file), RestoreResult::Truncated);
        EXPECT_EQ(f.content(), c.restored);
    }
    Fixture f;
    f.restore(cases[3].file);
    EXPECT_EQ(f.state.clip.clipText, "abc");
}

TEST(ClipFile, BusyClipboardChangesNothing) {
    Fixture f;
    f.fake.clipboard->copyTextFromOtherProgram("keep");
    const auto before = f.content();
    f.fake.clipboard->failOpen = true;
    EXPECT_EQ(f.restore(i32s({0})), RestoreResult::Busy);
    EXPECT_EQ(f.content(), before);
}

TEST(ClipFile, FailedSnapshotLeavesNoStaleFile) {
    Fixture f;
    files::makeFolder(f.dir.path() + "clip.tmp");  // cannot be replaced by a file
    f.fake.clipboard->copyTextFromOtherProgram("new");
    EXPECT_FALSE(f.snapshot());
    EXPECT_FALSE(files::exists(f.dir.path() + "clip.tmp"));
}

TEST(ClipFile, RegisterMarkerRetriesAndKeepsTheContent) {
    Fixture f;
    f.fake.clipboard->copyTextFromOtherProgram("before");
    f.fake.clipboard->failOpen = true;
    int tries = 0;
    auto events = [&] {
        if (++tries == 3) f.fake.clipboard->failOpen = false;
    };
    ASSERT_TRUE(RegisterMarker(f.state, events));
    EXPECT_EQ(tries, 3);
    EXPECT_EQ(f.state.clip.markerId, f.id("PellionClips"));
    EXPECT_EQ(f.content(), marked({{"", bytes(std::string("before\0", 7))}}));
    EXPECT_FALSE(f.fake.clipboard->isOpen);

    Fixture g;
    g.fake.clipboard->failOpen = true;
    EXPECT_FALSE(RegisterMarker(g.state, {}, std::chrono::milliseconds(60)));
    EXPECT_TRUE(g.fake.clipboard->content.empty());
}

TEST(ClipFile, AfterARestoreTheMainWindowStepsBack) {
    Fixture f;
    f.state.mainWindow = f.fake.windows->add("main", true);
    auto& window = f.fake.windows->windows[f.state.mainWindow];
    EXPECT_EQ(FollowUpRestore(f.state, 1000), AfterRestore::Nothing);
    f.state.settings.OnTop = 1;
    EXPECT_EQ(FollowUpRestore(f.state, 5), AfterRestore::Nothing);
    EXPECT_EQ(window.state, platform::ShowState::Normal);
    f.state.settings.OnTop = 0;
    EXPECT_EQ(FollowUpRestore(f.state, 5), AfterRestore::Minimised);
    EXPECT_EQ(window.state, platform::ShowState::Minimised);
    f.state.clip.viewerOpen = true;
    EXPECT_EQ(FollowUpRestore(f.state, 5), AfterRestore::FocusViewer);
}
