#include "store/index_files.h"

#include "store/fields.h"
#include "store/slot_files.h"
#include "unit/store_fixture.h"

using namespace pellion;
using namespace pellion::test;

using IndexFiles = StoreTest;

TEST_F(IndexFiles, FirstStartWritesEveryFileWithItsNewContent) {
    StartupLoader(state, {});

    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"clip.dat", "lib.dat", "lib1/", "pellion.ini", "trans.clr",
                                                             "trans.dat", "trans.mod"}));
    EXPECT_EQ(read(data("clip.dat")), concat({le16(0), blanks(450)}));
    EXPECT_EQ(read(data("trans.dat")), transIndex());
    EXPECT_EQ(read(data("trans.mod")), Bytes(8, 3));
    EXPECT_EQ(read(data("trans.clr")), Bytes(32, 0));
    EXPECT_EQ(read(data("lib.dat")),
              concat({padded("Library 1", 20), blanks(25 * 20), padded("Diary", 20), padded("Address Book", 20)}));

    EXPECT_EQ(entries(dir.path() + "lib1"), (std::vector<std::string>{"colr0.dat", "group0.dat", "group0.mod",
                                                                      "groups.clr", "groups.dat", "mode.dat"}));
    EXPECT_EQ(read(lib(1, "groups.dat")), concat({blanks(22 * 50), padded("Hot Key Clips", 50), blanks(9 * 50)}));
    EXPECT_EQ(read(lib(1, "groups.clr")), Bytes(128, 0));
    EXPECT_EQ(read(lib(1, "mode.dat")), Bytes(64, 0));
    EXPECT_EQ(read(lib(1, "group0.dat")), blanks(4800));
    EXPECT_EQ(read(lib(1, "group0.mod")), Bytes(96, 3));
    EXPECT_EQ(read(lib(1, "colr0.dat")), Bytes(384, 0));

    const auto& lists = state.lists;
    EXPECT_EQ(lists.groupStem, dir.path() + "lib1/group0.");
    EXPECT_EQ(lists.clipboardClips.count, 0);
    EXPECT_EQ(lists.transferSlots.states[5], -1);
    EXPECT_EQ(lists.groupClips.modes[95], 3);
}

TEST_F(IndexFiles, HotKeyGroupLivesInTheDataFolderWhicheverLibraryIsCurrent) {
    UseLibrary(state, 3);
    state.settings.CurrentGroup = 22;
    Bytes modes(64, 0);
    modes[44] = 2;
    put(data("mode.dat"), modes);
    Bytes libModes(64, 0);
    libModes[44] = 1;
    put(lib(3, "mode.dat"), libModes);
    Bytes titles = blanks(4800);
    std::copy_n("Signature", 9, titles.begin() + 4 * 50);
    put(data("group22.dat"), titles);

    ASSERT_TRUE(LoadCurrentGroup(state));
    EXPECT_EQ(state.settings.GroupMode, 2);
    EXPECT_EQ(state.lists.groupClips.titles[4], "Signature");
    EXPECT_EQ(state.lists.groupStem, dir.path() + "group22.");
    EXPECT_TRUE(files::exists(data("group22.mod")));
    EXPECT_TRUE(files::exists(data("colr22.dat")));
    EXPECT_FALSE(files::exists(lib(3, "group22.dat")));

    state.lists.groupClips.titles[5] = "Address";
    state.lists.groupClips.modes[5] = 4;
    state.settings.GroupMode = 3;
    ASSERT_TRUE(SaveCurrentGroup(state));
    ASSERT_TRUE(SaveGroupMode(state));
    EXPECT_EQ(ReadTitleAt(data("group22.dat"), 5), "Address");
    EXPECT_EQ(byteAt(data("group22.mod"), 5), 4);
    modes[44] = 3;
    EXPECT_EQ(read(data("mode.dat")), modes);
    EXPECT_EQ(read(lib(3, "mode.dat")), libModes);  // the library's own entry 22 is never used

    // Another library sees the same hot key clips.
    UseLibrary(state, 7);
    ASSERT_TRUE(LoadCurrentGroup(state));
    EXPECT_EQ(state.lists.groupClips.titles[5], "Address");
    EXPECT_EQ(state.settings.GroupMode, 3);
    EXPECT_FALSE(files::exists(dir.path() + "lib7"));
}

TEST_F(IndexFiles, ClearOptionZeroStartsEmptyAndRewritesTheIndex) {
    const Bytes stored = concat({le16(2), padded("first", 50), padded("second", 50), blanks(350)});
    put(data("clip.dat"), stored);

    ASSERT_TRUE(LoadClipboardClips(state));
    EXPECT_EQ(state.lists.clipboardClips.count, 2);
    EXPECT_EQ(state.lists.clipboardClips.titles[1], "second");
    EXPECT_EQ(read(data("clip.dat")), stored);

    state.settings.ClearOption = 0;
    ASSERT_TRUE(LoadClipboardClips(state));
    EXPECT_EQ(state.lists.clipboardClips.count, 0);
    EXPECT_EQ(read(data("clip.dat")), concat({le16(0), blanks(450)}));
}

TEST_F(IndexFiles, TransferSlotGroupReferencesComeBackEmpty) {
    Bytes trans = concat({padded("kept clip", 50), padded("group ref", 50), padded("odd state", 50), blanks(250)});
    for (int s : {-1, 0, 99, -1, -1, -1, -1, -1}) trans = concat({trans, le16(s)});
    put(data("trans.dat"), trans);

    ASSERT_TRUE(LoadTransferSlots(state));
    const auto& t = state.lists.transferSlots;
    EXPECT_EQ(t.titles[0], "kept clip");
    EXPECT_EQ(t.states[0], -1);
    for (int n : {1, 2}) {
        EXPECT_EQ(t.titles[n], "") << n;
        EXPECT_EQ(t.states[n], 1) << n;
    }
}

TEST_F(IndexFiles, ColourEqualToTheListDefaultIsStoredAsZeroAndColoursAreReadBack) {
    StartupLoader(state, {});
    state.settings.TransferSlotsColour = 0x00FF00;
    state.lists.transferSlots.colours[1] = 0x00FF00;  // the default: follows later changes
    state.lists.transferSlots.colours[2] = 0x0000FF;
    state.settings.GroupClipsColour = 0xFFFF00;
    state.lists.groupClips.colours[0] = 0xFFFF00;
    state.lists.groupClips.colours[3] = 0x00FFFF;
    ASSERT_TRUE(SaveTransferSlots(state));
    ASSERT_TRUE(SaveCurrentGroup(state));

    EXPECT_EQ(read(data("trans.clr")), concat({Bytes(8, 0), le32(0x0000FF), Bytes(20, 0)}));
    EXPECT_EQ(read(lib(1, "colr0.dat")), concat({Bytes(12, 0), le32(0x00FFFF), Bytes(368, 0)}));

    // A new default recolours the cells stored as 0; stored colours and the
    // font option are read again, a highlight saved by mistake is no colour.
    state.settings.TransferSlotsColour = 0xFFFFFF;
    state.settings.FontOption = 1;
    state.settings.ClipboardClipsColour = 0x00FF00;
    ASSERT_TRUE(files::patch(lib(1, "groups.clr"), 4 * 5, le32(0xFFFF00)));  // as the group dialog writes it
    ASSERT_TRUE(files::patch(lib(1, "colr0.dat"), 4 * 7, le32(0x8000000D)));
    const ListLook look = ApplyListColours(state);
    EXPECT_EQ(look.transferSlots[1].background, 0xFFFFFFu);
    EXPECT_EQ(look.transferSlots[2].background, 0x0000FFu);
    EXPECT_TRUE(look.bold);
    EXPECT_EQ(look.clipboardClips[8].background, 0x00FF00u);
    EXPECT_EQ(look.groupNames[5].background, 0xFFFF00u);
    EXPECT_EQ(look.groupNames[0].background, kHighlight);
    EXPECT_EQ(look.groupClips[7].background, 0xFFFF00u);
    EXPECT_EQ(state.lists.groupNames.colours[5], 0xFFFF00u);
}

TEST_F(IndexFiles, HighlightedCellsAreSavedWithTheirOwnColour) {
    StartupLoader(state, {});
    state.lists.transferSlots.colours[3] = 0x00FFFF;
    state.lists.highlightBar = CellRef{ListKind::TransferSlots, 3};
    state.lists.groupNames.colours[0] = 0x0000FF;  // group 0 is current: shown highlighted
    ASSERT_TRUE(SaveTransferSlots(state));
    ASSERT_TRUE(SaveGroupColours(state));
    EXPECT_EQ(read(data("trans.clr")), concat({Bytes(12, 0), le32(0x00FFFF), Bytes(16, 0)}));
    EXPECT_EQ(read(lib(1, "groups.clr")), concat({le32(0x0000FF), Bytes(124, 0)}));
    EXPECT_EQ(LookOf(state, ListKind::GroupClips, 500).background, 0xFFFFFFu);  // outside the list: no crash
}

TEST_F(IndexFiles, ShortFilesAndOutOfRangeValuesAreReadAsFarAsTheyGo) {
    put(data("clip.dat"), concat({le16(200), padded("only one", 50)}));
    put(data("trans.dat"), bytesOf("abc"));
    put(data("trans.mod"), Bytes{250, 1});
    put(data("trans.clr"), le32(0xFF000000));
    put(lib(1, "mode.dat"), le16(250));
    put(lib(1, "group0.mod"), Bytes{4, 9});
    put(lib(1, "groups.dat"), bytesOf("Short"));

    StartupLoader(state, {});
    const auto& lists = state.lists;
    EXPECT_EQ(lists.clipboardClips.count, 9);
    EXPECT_EQ(lists.clipboardClips.titles[0], "only one");
    EXPECT_EQ(lists.clipboardClips.titles[8], "");
    EXPECT_EQ(lists.transferSlots.titles[0], "abc");
    EXPECT_EQ(lists.transferSlots.states[0], -1);
    EXPECT_EQ(std::vector<int>(lists.transferSlots.modes.begin(), lists.transferSlots.modes.begin() + 3),
              (std::vector<int>{3, 1, 3}));
    EXPECT_EQ(lists.transferSlots.colours[0], 0u);
    EXPECT_EQ(state.settings.GroupMode, 0);
    EXPECT_EQ(lists.groupClips.modes[0], 4);
    EXPECT_EQ(lists.groupClips.modes[1], 3);
    EXPECT_EQ(lists.groupNames.titles[0], "Short");
    EXPECT_EQ(lists.groupNames.titles[22], "");
    // Existing files are read, not rewritten.
    EXPECT_EQ(read(data("trans.dat")), bytesOf("abc"));
    EXPECT_EQ(read(lib(1, "groups.dat")), bytesOf("Short"));

    for (const Bytes& count : {le16(-5), Bytes{7}}) {  // negative; not even a whole count
        put(data("clip.dat"), count);
        ASSERT_TRUE(LoadClipboardClips(state));
        EXPECT_EQ(lists.clipboardClips.count, 0);
    }
}

TEST_F(IndexFiles, SavingAShortModeFileKeepsItsEntriesAndCompletesTheLayout) {
    state.settings.CurrentGroup = 3;
    put(lib(1, "mode.dat"), concat({le16(1), le16(2)}));
    state.settings.GroupMode = 2;
    ASSERT_TRUE(SaveGroupMode(state));
    EXPECT_EQ(read(lib(1, "mode.dat")), concat({le16(1), le16(2), le16(0), le16(2), Bytes(56, 0)}));
    state.settings.GroupMode = 250;  // never stored out of range
    ASSERT_TRUE(SaveGroupMode(state));
    EXPECT_EQ(byteAt(lib(1, "mode.dat"), 6), 0);
}

TEST_F(IndexFiles, CaseVariantsAreUsedAsTheyAreWithoutASecondFile) {
    put(dir.path() + "Lib1/Groups.dat", concat({padded("Mixed Case", 50), blanks(1550)}));
    put(dir.path() + "Lib1/Mode.dat", concat({le16(2), Bytes(62, 0)}));
    put(data("Trans.dat"), transIndex(concat({padded("Old Trans", 50), blanks(350)})));

    UseLibrary(state, 1);
    EXPECT_EQ(state.libraryFolder, dir.path() + "Lib1/");
    StartupLoader(state, {});
    EXPECT_EQ(state.lists.groupNames.titles[0], "Mixed Case");
    EXPECT_EQ(state.settings.GroupMode, 2);
    EXPECT_EQ(state.lists.transferSlots.titles[0], "Old Trans");

    state.lists.groupNames.titles[1] = "Second";
    state.settings.GroupMode = 1;
    state.lists.transferSlots.titles[1] = "New Trans";
    ASSERT_TRUE(SaveGroupNames(state));
    ASSERT_TRUE(SaveGroupMode(state));
    ASSERT_TRUE(SaveTransferSlots(state));
    EXPECT_EQ(ReadTitleAt(dir.path() + "Lib1/Groups.dat", 1), "Second");
    EXPECT_EQ(byteAt(dir.path() + "Lib1/Mode.dat", 0), 1);
    EXPECT_EQ(ReadTitleAt(data("Trans.dat"), 1), "New Trans");
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"Lib1/", "Trans.dat", "clip.dat", "lib.dat", "pellion.ini",
                                                             "trans.clr", "trans.mod"}));
    EXPECT_EQ(entries(dir.path() + "Lib1"), (std::vector<std::string>{"Groups.dat", "Mode.dat", "colr0.dat",
                                                                      "group0.dat", "group0.mod", "groups.clr"}));
}

TEST(TitleFields, Utf8IsCutAtACharacterBoundaryAndReadUpToTheFirstNul) {
    const std::string e = "\xC3\xA9";  // two bytes
    const std::string longer = std::string(49, 'x') + e;
    EXPECT_EQ(field::fit(longer, 50), std::string(49, 'x') + " ");
    EXPECT_EQ(field::fit(std::string(48, 'x') + e, 50), std::string(48, 'x') + e);
    EXPECT_EQ(field::title(longer), std::string(49, 'x'));
    EXPECT_EQ(field::title("abc\0def" + std::string(3, ' ')), "abc");
    EXPECT_EQ(field::title(std::string("abc\0def", 7)), "abc");
    const std::string euro = "\xE2\x82\xAC";  // three bytes
    EXPECT_EQ(field::fit(std::string(48, 'y') + euro, 50), std::string(48, 'y') + "  ");
    const std::uint8_t stored[6] = {'h', 'i', ' ', 0, 'z', ' '};
    EXPECT_EQ(field::text(stored, 6), "hi");
    // Bytes that are not UTF-8 are cut where the field ends.
    EXPECT_EQ(field::fit(std::string(60, '\xB0'), 50), std::string(50, '\xB0'));
}
