#include "store/clip_file.h"

#include <gtest/gtest.h>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "unit/temp_folder.h"

using namespace pellion;
using files::Bytes;

namespace {

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
    // The clipboard's content as (name, bytes) in order; text has the name "".
    std::vector<std::pair<std::string, Bytes>> content() const {
        std::vector<std::pair<std::string, Bytes>> out;
        for (const auto& e : fake.clipboard->content) out.emplace_back(fake.clipboard->nameOf(e.id), e.bytes);
        return out;
    }
    test::TempFolder dir;
    platform::fake::FakePlatform fake;
    ProgramState state;
};

void i32(Bytes& b, std::int64_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(static_cast<std::uint64_t>(v) >> (8 * i)));
}
void text(Bytes& b, const std::string& t) { b.insert(b.end(), t.begin(), t.end()); }
// One record of the named layout.
void named(Bytes& b, std::uint32_t id, const std::string& name, const std::string& data) {
    i32(b, id);
    i32(b, static_cast<std::int64_t>(name.size()));
    text(b, name);
    i32(b, static_cast<std::int64_t>(data.size()));
    text(b, data);
}
Bytes bytes(const std::string& s) { return Bytes(s.begin(), s.end()); }
const Bytes kOk{'o', 'k'};

}  // namespace

TEST(ClipFile, EmptyClipboardGivesEightBytesAndRestoresAsMarkerAlone) {
    Fixture f;
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));
    EXPECT_FALSE(f.state.clip.hasText);

    f.fake.clipboard->copyTextFromOtherProgram("old");
    EXPECT_EQ(RestoreClipFile(f.state, f.dir.path() + "clip.tmp"), RestoreResult::Restored);
    EXPECT_EQ(f.content(), (std::vector<std::pair<std::string, Bytes>>{{"PellionClips", kOk}}));
}

TEST(ClipFile, SnapshotWritesEveryFormatInOrderWithText) {
    Fixture f;
    f.fake.clipboard->copyFromOtherProgram({{"", bytes(std::string("hi\0", 3))}, {"text/html", bytes("<b>")}});
    ASSERT_TRUE(f.snapshot());
    Bytes expected;
    i32(expected, -1);
    i32(expected, 2);
    named(expected, 1, "", std::string("hi\0", 3));
    named(expected, f.fake.clipboard->registerFormat("text/html"), "text/html", "<b>");
    EXPECT_EQ(f.tmp(), expected);
    EXPECT_TRUE(f.state.clip.hasText);
    EXPECT_EQ(f.state.clip.clipText, std::string("hi\0", 3));
}

TEST(ClipFile, ExcludedAndEmptyFormatsAreLeftOutAndTheCountMatches) {
    EXPECT_TRUE(IsExcludedFormat("Embed Source"));
    EXPECT_TRUE(IsExcludedFormat("native"));
    EXPECT_TRUE(IsExcludedFormat("Object Descriptor"));
    EXPECT_TRUE(IsExcludedFormat("application/x-hyperlink"));
    EXPECT_TRUE(IsExcludedFormat("Ole Private Data"));
    EXPECT_FALSE(IsExcludedFormat("OlePrivateData"));
    EXPECT_FALSE(IsExcludedFormat("Native Data"));
    EXPECT_FALSE(IsExcludedFormat("text/rtf"));
    EXPECT_FALSE(IsExcludedFormat(""));

    Fixture f;
    f.fake.clipboard->copyFromOtherProgram({{"Link Source", bytes("L")}, {"OBJECTLINK", bytes("O")}});
    ASSERT_TRUE(f.snapshot());
    EXPECT_EQ(f.tmp(), (Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0}));

    f.fake.clipboard->copyFromOtherProgram(
        {{"image/png", bytes("PNG")}, {"Embed Source", bytes("E")}, {"empty/x", {}}, {"text/rtf", bytes("{")}});
    ASSERT_TRUE(f.snapshot());
    Bytes expected;
    i32(expected, -1);
    i32(expected, 2);
    named(expected, f.fake.clipboard->registerFormat("image/png"), "image/png", "PNG");
    named(expected, f.fake.clipboard->registerFormat("text/rtf"), "text/rtf", "{");
    EXPECT_EQ(f.tmp(), expected);
}

TEST(ClipFile, NamedFormatRestoresUnderTheIdItsNameRegistersNow) {
    Fixture f;
    f.fake.clipboard->registerFormat("something else first");
    Bytes file;
    i32(file, -1);
    i32(file, 3);
    named(file, 0xD00D, "image/png", "PNG!");
    named(file, 0xD00E, "Link Source", "live");  // excluded on reading too
    named(file, 1, "", std::string("t\0", 2));
    EXPECT_EQ(f.restore(file), RestoreResult::Restored);
    EXPECT_EQ(f.content(), (std::vector<std::pair<std::string, Bytes>>{
                               {"image/png", bytes("PNG!")}, {"", bytes(std::string("t\0", 2))}, {"PellionClips", kOk}}));
    EXPECT_FALSE(f.fake.clipboard->isFormatAvailable(0xD00D));
}

TEST(ClipFile, TextOnlyRestoresFormatsOneAndSevenAndTheMarker) {
    Fixture f;
    Bytes file;
    i32(file, -1);
    i32(file, 3);
    named(file, 1, "", std::string("a\0", 2));
    named(file, 0xC123, "image/png", "PNG");
    named(file, 7, "", std::string("b\0", 2));
    f.state.clip.textOnly = true;
    EXPECT_EQ(f.restore(file), RestoreResult::Restored);
    ASSERT_EQ(f.fake.clipboard->content.size(), 3u);
    EXPECT_EQ(f.fake.clipboard->content[0].id, 1u);
    EXPECT_EQ(f.fake.clipboard->content[1].id, 7u);
    EXPECT_EQ(f.fake.clipboard->content[2].bytes, kOk);
}

TEST(ClipFile, TextAndUnnamedLayoutsRestore) {
    Fixture f;
    Bytes b;
    i32(b, -1);
    i32(b, -1);
    i32(b, 5);
    text(b, "hello");
    EXPECT_EQ(f.restore(b), RestoreResult::Restored);
    EXPECT_EQ(f.content(), (std::vector<std::pair<std::string, Bytes>>{{"", bytes(std::string("hello\0", 6))},
                                                                      {"PellionClips", kOk}}));
    EXPECT_TRUE(f.state.clip.hasText);
    EXPECT_EQ(f.state.clip.clipText, "hello");

    Bytes c;
    i32(c, 2);
    i32(c, 1);
    i32(c, 3);
    text(c, std::string("ab\0", 3));
    i32(c, 7);
    i32(c, 2);
    text(c, "xy");
    EXPECT_EQ(f.restore(c), RestoreResult::Restored);
    ASSERT_EQ(f.fake.clipboard->content.size(), 3u);
    EXPECT_EQ(f.fake.clipboard->content[0].bytes, bytes(std::string("ab\0", 3)));
    EXPECT_EQ(f.fake.clipboard->content[1].id, 7u);
    EXPECT_EQ(f.fake.clipboard->content[2].bytes, kOk);
}

TEST(ClipFile, SnapshotAndRestoreRoundTrip) {
    Fixture f;
    const std::vector<std::pair<std::string, Bytes>> clip = {
        {"", bytes(std::string("x\0", 2))}, {"image/png", Bytes(100000, 0xAB)}, {"text/uri-list", bytes("file:///a")}};
    f.fake.clipboard->copyFromOtherProgram(clip);
    ASSERT_TRUE(f.snapshot());
    f.fake.clipboard->copyTextFromOtherProgram("something else");
    EXPECT_EQ(RestoreClipFile(f.state, f.dir.path() + "clip.tmp"), RestoreResult::Restored);
    auto expected = clip;
    expected.emplace_back("PellionClips", kOk);
    EXPECT_EQ(f.content(), expected);
}

TEST(ClipFile, MissingFileGivesAnEmptyClipboardWithTheMarker) {
    Fixture f;
    f.fake.clipboard->copyTextFromOtherProgram("old");
    EXPECT_EQ(RestoreClipFile(f.state, f.dir.path() + "group3.7"), RestoreResult::Restored);
    EXPECT_EQ(f.content(), (std::vector<std::pair<std::string, Bytes>>{{"PellionClips", kOk}}));
    EXPECT_FALSE(files::exists(f.dir.path() + "group3.7"));
}

TEST(ClipFile, DamagedFilesRestoreTheirWholeRecordsAndStop) {
    Fixture f;
    Bytes good;
    named(good, 0xC001, "image/png", "PNG");

    Bytes cut;  // a count beyond the records, and the second record cut short
    i32(cut, -1);
    i32(cut, 0x7FFFFFFF);
    cut.insert(cut.end(), good.begin(), good.end());
    named(cut, 0xC002, "text/rtf", "{rtf}");
    cut.resize(cut.size() - 2);
    EXPECT_EQ(f.restore(cut), RestoreResult::Truncated);
    EXPECT_EQ(f.content(), (std::vector<std::pair<std::string, Bytes>>{{"image/png", bytes("PNG")}, {"PellionClips", kOk}}));

    Bytes huge;  // sizes that the file cannot hold are never allocated
    i32(huge, 3);
    i32(huge, 1);
    i32(huge, 0x7FFFFFF0);
    text(huge, "tiny");
    EXPECT_EQ(f.restore(huge), RestoreResult::Truncated);
    EXPECT_EQ(f.content(), (std::vector<std::pair<std::string, Bytes>>{{"PellionClips", kOk}}));

    Bytes badName;
    i32(badName, -1);
    i32(badName, 1);
    i32(badName, 0xC003);
    i32(badName, -20);
    EXPECT_EQ(f.restore(badName), RestoreResult::Truncated);

    Bytes shortText;
    i32(shortText, -1);
    i32(shortText, -1);
    i32(shortText, 1000);
    text(shortText, "abc");
    EXPECT_EQ(f.restore(shortText), RestoreResult::Truncated);
    EXPECT_EQ(f.state.clip.clipText, "abc");
}

TEST(ClipFile, BusyClipboardChangesNothing) {
    Fixture f;
    f.fake.clipboard->copyTextFromOtherProgram("keep");
    const auto before = f.content();
    f.fake.clipboard->failOpen = true;
    Bytes file;
    i32(file, 0);
    EXPECT_EQ(f.restore(file), RestoreResult::Busy);
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
    EXPECT_EQ(f.state.clip.markerId, f.fake.clipboard->registerFormat("PellionClips"));
    EXPECT_EQ(f.content(), (std::vector<std::pair<std::string, Bytes>>{{"", bytes(std::string("before\0", 7))},
                                                                      {"PellionClips", kOk}}));
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
