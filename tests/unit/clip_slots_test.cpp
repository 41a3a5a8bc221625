#include "store/slot_files.h"

#include "store/index_files.h"
#include "unit/store_fixture.h"

using namespace pellion;
using namespace pellion::test;

namespace {

class SlotFiles : public StoreTest {
protected:
    SlotFiles() { StartupLoader(state, {}); }

    // A clip file with recognisable content, as capture or a drop leaves it.
    void clip(const SlotRef& at, const std::string& content) { put(SlotPath(state, at), bytesOf(content)); }
    std::string content(const SlotRef& at) {
        Bytes b = read(SlotPath(state, at));
        return std::string(b.begin(), b.end());
    }
    SlotRef transfer(int n) { return {ListKind::TransferSlots, n}; }
    SlotRef recent(int n) { return {ListKind::ClipboardClips, n}; }
    SlotRef inGroup(int g, int n) { return {ListKind::GroupClips, n, g}; }
};

}  // namespace

// The ordinary paths are those of every drop; here the rest.
TEST_F(SlotFiles, SlotPathsFollowTheListsAndTheirFolders) {
    EXPECT_EQ(SlotPath(state, {ListKind::GroupClips, 1, 4, dir.path() + "lib9/"}), dir.path() + "lib9/group4.1");
    EXPECT_EQ(SlotPath(state, recent(9)), "");
    EXPECT_EQ(SlotPath(state, {ListKind::Bulk, 96}), "");
    EXPECT_EQ(SlotPath(state, inGroup(32, 0)), "");
    put(data("Bulk.2"), bytesOf("x"));
    EXPECT_EQ(SlotPath(state, {ListKind::Bulk, 2}), dir.path() + "Bulk.2");
}

TEST_F(SlotFiles, IndexEntriesArePatchedInPlaceKeepingTheLayout) {
    const std::string titles = lib(1, "group5.dat");
    EXPECT_EQ(ReadTitleAt(titles, 3), "");  // missing file
    ASSERT_TRUE(WriteTitleAt(titles, 3, "Third"));
    EXPECT_EQ(read(titles), concat({blanks(150), padded("Third", 50)}));
    ASSERT_TRUE(WriteTitleAt(titles, 1, "One"));
    EXPECT_EQ(read(titles), concat({blanks(50), padded("One", 50), blanks(50), padded("Third", 50)}));
    EXPECT_EQ(ReadTitleAt(titles, 1), "One");

    const std::string modes = lib(1, "group5.mod");
    ASSERT_TRUE(WriteModeAt(modes, 4, 2));
    EXPECT_EQ(read(modes), (Bytes{3, 3, 3, 3, 2}));
    ASSERT_TRUE(WriteModeAt(modes, 0, 250));
    EXPECT_EQ(ReadModeAt(modes, 0), 3);
}

TEST_F(SlotFiles, ClipboardClipCopiedIntoTheLoadedGroupKeepsTheTargetsModeAndColour) {
    state.lists.clipboardClips.titles[2] = "Recent text";
    state.lists.clipboardClips.count = 3;
    clip(recent(2), "clip two");
    state.lists.groupClips.modes[7] = 4;
    state.lists.groupClips.colours[7] = 0x0000FF;
    ASSERT_TRUE(SaveCurrentGroup(state));

    ASSERT_TRUE(CopyClipToSlot(state, recent(2), {ListKind::GroupClips, 7}));
    EXPECT_EQ(content({ListKind::GroupClips, 7}), "clip two");
    EXPECT_EQ(content(recent(2)), "clip two");
    EXPECT_EQ(state.lists.groupClips.titles[7], "Recent text");
    EXPECT_EQ(ReadTitleAt(lib(1, "group0.dat"), 7), "Recent text");
    EXPECT_EQ(ReadModeAt(lib(1, "group0.mod"), 7), 4);
    EXPECT_EQ(ReadColourAt(lib(1, "colr0.dat"), 7), 0x0000FFu);
}

TEST_F(SlotFiles, GroupClipMovedToAnUnopenedGroupTakesItsEntry) {
    state.lists.groupClips.titles[1] = "Moving";
    state.lists.groupClips.modes[1] = 2;
    state.lists.groupClips.colours[1] = 0x00FFFF;
    ASSERT_TRUE(SaveCurrentGroup(state));
    clip({ListKind::GroupClips, 1}, "payload");

    // Group 6 has never been opened: its index files appear in full.
    ASSERT_TRUE(MoveClipToSlot(state, {ListKind::GroupClips, 1}, inGroup(6, 40)));
    EXPECT_EQ(content(inGroup(6, 40)), "payload");
    Bytes titles = blanks(4800);
    std::copy_n("Moving", 6, titles.begin() + 40 * 50);
    EXPECT_EQ(read(lib(1, "group6.dat")), titles);
    Bytes modes(96, 3);
    modes[40] = 2;
    EXPECT_EQ(read(lib(1, "group6.mod")), modes);
    EXPECT_EQ(read(lib(1, "colr6.dat")), concat({Bytes(160, 0), le32(0x00FFFF), Bytes(220, 0)}));
    EXPECT_FALSE(files::exists(lib(1, "group0.1")));
    EXPECT_EQ(read(lib(1, "colr0.dat")), Bytes(384, 0));
}

TEST_F(SlotFiles, FailedCopiesChangeNothing) {
    state.lists.transferSlots.titles[0] = "Keep me";
    clip(transfer(0), "old");
    ASSERT_TRUE(SaveTransferSlots(state));
    const Bytes before = read(data("trans.dat"));

    // The source title has no clip file behind it.
    state.lists.groupClips.titles[3] = "Ghost";
    EXPECT_FALSE(CopyClipToSlot(state, {ListKind::GroupClips, 3}, transfer(0)));
    EXPECT_FALSE(MoveClipToSlot(state, {ListKind::GroupClips, 3}, transfer(0)));
    EXPECT_EQ(content(transfer(0)), "old");
    EXPECT_EQ(state.lists.groupClips.titles[3], "Ghost");
    EXPECT_EQ(read(data("trans.dat")), before);

    // A group reference holds no clip; a Clipboard Clip is never a target.
    ASSERT_TRUE(StoreGroupReference(state, 4, 22));
    EXPECT_FALSE(CopyClipToSlot(state, transfer(4), {ListKind::GroupClips, 0}));
    EXPECT_FALSE(CopyClipToSlot(state, transfer(0), recent(0)));
    EXPECT_FALSE(MoveClipToSlot(state, recent(0), transfer(1)));
}

TEST_F(SlotFiles, DeletingATransferSlotEmptiesItAndRewritesItsIndex) {
    state.lists.transferSlots.titles[6] = "Going";
    state.lists.transferSlots.modes[6] = 1;
    state.lists.transferSlots.colours[6] = 0x00FF00;
    clip(transfer(6), "x");
    ASSERT_TRUE(StoreGroupReference(state, 5, 3));
    ASSERT_TRUE(DeleteClip(state, transfer(6)));
    ASSERT_TRUE(DeleteClip(state, transfer(5)));
    EXPECT_FALSE(files::exists(data("trans.6")));
    EXPECT_EQ(read(data("trans.dat")), transIndex());
    EXPECT_EQ(read(data("trans.mod")), Bytes(8, 3));
    EXPECT_EQ(read(data("trans.clr")), Bytes(32, 0));
    EXPECT_EQ(state.lists.transferSlots.referenceFolders[5], "");
    EXPECT_FALSE(DeleteClip(state, recent(0)));
}
