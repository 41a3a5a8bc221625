#include "store/libraries.h"

#include "store/index_files.h"
#include "store/slot_files.h"
#include "unit/store_fixture.h"

using namespace pellion;
using namespace pellion::test;

namespace {

class Libraries : public StoreTest {
protected:
    Libraries() { StartupLoader(state, {}); }
};

}  // namespace

TEST_F(Libraries, FirstSwitchToLibraryFiveCreatesItsGroupFiles) {
    ASSERT_TRUE(SwitchLibrary(state, 5));
    EXPECT_EQ(state.settings.CurrentLibrary, 5);
    EXPECT_EQ(state.libraryFolder, dir.path() + "lib5/");
    EXPECT_EQ(read(lib(5, "groups.clr")), Bytes(128, 0));  // the names file's bytes are the index tests'
    EXPECT_EQ(state.lists.libraryName, "Library 5");
    EXPECT_EQ(read(lib(1, "last.grp")), le16(0));
    EXPECT_TRUE(files::exists(lib(5, "group0.dat")));
}

TEST_F(Libraries, NewGroupColoursAreTheDefaultNotTheOldLibrarys) {
    state.lists.groupNames.colours[4] = 0x0000FF;
    ASSERT_TRUE(SaveGroupColours(state));
    ASSERT_TRUE(SwitchLibrary(state, 6));
    EXPECT_EQ(state.lists.groupNames.colours[4], 0u);
    EXPECT_EQ(LookOf(state, ListKind::GroupNames, 4).background, 0xFFFFFFu);
}

TEST_F(Libraries, AddressBookHasItsLetterGroups) {
    ASSERT_TRUE(SwitchLibrary(state, kAddressBook));
    const std::vector<std::string> want = {" A", " B", " C", " D", " E", " F", " G", " H", " I", " J", " K",
                                           " L", " M", " N", " O", " P - Q", " R", " S", " T", " U - V - W",
                                           " X - Y - Z"};
    Bytes expected;
    for (const std::string& name : want) expected = concat({expected, padded(name, 50)});
    EXPECT_EQ(state.lists.groupNames.titles[20], " X - Y - Z");
    expected = concat({expected, blanks(50), padded("Hot Key Clips", 50), blanks(450)});
    EXPECT_EQ(read(lib(28, "groups.dat")), expected);
    EXPECT_EQ(state.lists.libraryName, "Address Book");
}

TEST_F(Libraries, DiaryGroupsAreTheMonths) {
    state.settings.CurrentGroup = 1;
    ASSERT_TRUE(SwitchLibrary(state, kDiary));
    EXPECT_EQ(state.lists.groupNames.titles[0], "January");
    EXPECT_EQ(state.lists.groupNames.titles[11], "December");
    EXPECT_EQ(state.lists.groupNames.titles[12], "");
    EXPECT_EQ(ReadTitleAt(lib(27, "groups.dat"), 8), "September");
    EXPECT_EQ(state.lists.libraryName, "Diary");
}

TEST_F(Libraries, LeavingTheLaunchPadWithoutAUsableLastLibGoesToLibraryOne) {
    ASSERT_TRUE(SwitchLibrary(state, kLaunchPad));
    put(data("last.lib"), concat({le16(500), padded("Nowhere", 20)}));
    ASSERT_TRUE(ToggleLaunchPad(state));
    EXPECT_EQ(state.settings.CurrentLibrary, 1);
    EXPECT_EQ(state.lists.libraryName, "Library 1");
    ASSERT_TRUE(SwitchLibrary(state, kLaunchPad));
    put(data("last.lib"), Bytes{3});
    ASSERT_TRUE(ToggleLaunchPad(state));
    EXPECT_EQ(state.settings.CurrentLibrary, 1);
}

TEST_F(Libraries, NamesFileRecordsAndFallbacks) {
    std::array<std::string, kUserLibraries> names;
    names[0] = "Work";
    names[3] = "A name far longer than twenty bytes";
    ASSERT_TRUE(SaveLibraryNames(state, names));
    const Bytes saved = read(data("lib.dat"));
    ASSERT_EQ(saved.size(), 580u);
    EXPECT_EQ(Bytes(saved.begin() + 60, saved.begin() + 80), bytesOf("A name far longer th"));
    EXPECT_EQ(Bytes(saved.begin() + 520, saved.end()),
              concat({padded("Diary", 20), padded("Address Book", 20), padded("Launch Pad", 20)}));
    EXPECT_EQ(LibraryName(state, 2), "Library 2");

    put(data("lib.dat"), Bytes{});  // an empty names file is created again
    state.settings.CurrentLibrary = 1;
    ShowLibraryName(state);
    EXPECT_EQ(state.lists.libraryName, "Library 1");
    EXPECT_EQ(files::size(data("lib.dat")), 560);

    // A short names file keeps its records when the switch completes it.
    put(data("lib.dat"), concat({padded("Alpha", 20), bytesOf("Beta")}));
    ASSERT_TRUE(SwitchLibrary(state, 2));
    EXPECT_EQ(state.lists.libraryName, "Beta");
    EXPECT_EQ(files::size(data("lib.dat")), 580);
    EXPECT_EQ(LibraryName(state, 1), "Alpha");
}
