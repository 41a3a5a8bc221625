#include "store/clip_file.h"

#include <gtest/gtest.h>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "unit/store_fixture.h"

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
    for (const auto& [id, name, data] : records) b = test::concat({b, test::record(id, name, bytes(data))});
    return b;
}

struct Fixture : test::TempState {
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
};

Content marked(Content c) {
    c.emplace_back("PellionClips", kOk);
    return c;
}

}  // namespace

TEST(ClipFile, SnapshotWritesEveryFormatInOrderWithText) {
    Fixture f;
    f.fake.clipboard->copyFromOtherProgram({{"", bytes(std::string("hi\0", 3))}, {"text/html", bytes("<b>")}});
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), namedFile(2, {{1, "", std::string("hi\0", 3)}, {f.id("text/html"), "text/html", "<b>"}}));
    EXPECT_TRUE(f.state.clip.hasText);
    EXPECT_EQ(f.state.clip.clipText, std::string("hi\0", 3));
}

// Excluded names in any letter case; near misses are kept. Nothing left:
// eight bytes.
TEST(ClipFile, ExcludedAndEmptyFormatsAreLeftOutAndTheCountMatches) {
    Fixture f;
    f.fake.clipboard->copyFromOtherProgram({{"Link Source", bytes("L")}, {"OBJECTLINK", bytes("O")}});
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), kEmptyFile);
    EXPECT_FALSE(f.state.clip.hasText);

    f.fake.clipboard->copyFromOtherProgram({{"image/png", bytes("PNG")}, {"Embed Source", bytes("E")}, {"native", bytes("N")},
                                            {"Ole Private Data", bytes("O")}, {"application/x-hyperlink", bytes("H")},
                                            {"empty/x", {}}, {"OlePrivateData", bytes("{")}});
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), namedFile(2, {{f.id("image/png"), "image/png", "PNG"},
                                     {f.id("OlePrivateData"), "OlePrivateData", "{"}}));
}

TEST(ClipFile, MissingFileGivesAnEmptyClipboardWithTheMarker) {
    Fixture f;
    f.fake.clipboard->copyTextFromOtherProgram("old");
    EXPECT_EQ(RestoreClipFile(f.state, f.dir.path() + "group3.7"), RestoreResult::Restored);
    EXPECT_EQ(f.content(), marked({}));
    EXPECT_FALSE(files::exists(f.dir.path() + "group3.7"));
}

// Every layout restores its whole records; a damaged file stops at the first
// record it cannot hold whole.
TEST(ClipFile, FilesRestoreTheirWholeRecordsAndStopAtDamage) {
    // A count beyond the records, and the second record cut short.
    Bytes cut = namedFile(0x7FFFFFFF, {{0xC001, "image/png", "PNG"}, {0xC002, "text/rtf", "{rtf}"}});
    cut.resize(cut.size() - 2);
    struct Case {
        const char* what;
        Bytes file;
        RestoreResult result;
        Content restored;
        std::optional<std::string> text = std::nullopt;  // kept for pasting, where checked
    } cases[] = {
        {"empty clipboard", kEmptyFile, RestoreResult::Restored, marked({})},
        {"text layout", i32s({-1, -1, 5}, "hello"), RestoreResult::Restored,
         marked({{"", bytes(std::string("hello\0", 6))}}), "hello"},
        // Under the id its name registers now; excluded formats are left out on reading too.
        {"named layout",
         namedFile(3, {{0xD00D, "image/png", "PNG!"}, {0xD00E, "Link Source", "live"}, {1, "", std::string("t\0", 2)}}),
         RestoreResult::Restored, marked({{"image/png", bytes("PNG!")}, {"", bytes(std::string("t\0", 2))}})},
        {"cut", cut, RestoreResult::Truncated, marked({{"image/png", bytes("PNG")}})},
        // Sizes that the file cannot hold are never allocated.
        {"huge size", i32s({3, 1, 0x7FFFFFF0}, "tiny"), RestoreResult::Truncated, marked({})},
        {"negative name size", i32s({-1, 1, 0xC003, -20}), RestoreResult::Truncated, marked({})},
        {"short text", i32s({-1, -1, 1000}, "abc"), RestoreResult::Truncated,
         marked({{"", bytes(std::string("abc\0", 4))}}), "abc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Fixture f;
        f.id("something else first");
        EXPECT_EQ(f.restore(c.file), c.result);
        EXPECT_EQ(f.content(), c.restored);
        if (c.text) {
            EXPECT_TRUE(f.state.clip.hasText);
            EXPECT_EQ(f.state.clip.clipText, *c.text);
        }
    }
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
