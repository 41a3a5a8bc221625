#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "app/caption.h"
#include "app/data_folder.h"
#include "app/data_repair.h"
#include "capture/monitor.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "platform/fake/fake_platform.h"
#include "unit/store_fixture.h"
#include "unit/temp_folder.h"

using namespace pellion;

namespace {

const DateTime kNow{2026, 12, 5, 6, 17, 7};

struct Fixture {
    explicit Fixture(const std::string& folder) : state(fake.platform) { state.dataFolder = folder; }
    platform::fake::FakePlatform fake;
    ProgramState state;
};

void touch(const std::string& path, const std::string& text = "x") { std::ofstream(path) << text; }

}  // namespace

// A folder named on the command line is refused end to end; here the
// per-user one.
TEST(DataFolder, FolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "handing a folder to another user needs root";
    test::TempFolder dir;
    files::makeFolder(dir.path() + "pellion-clipboard");
    ASSERT_EQ(::chown((dir.path() + "pellion-clipboard").c_str(), 65534, 65534), 0);
    const DataFolderChoice chosen = ChooseDataFolder("", dir.path() + "pellion", dir.path(), "");
    EXPECT_TRUE(chosen.folder.empty());
    EXPECT_NE(chosen.error.find("belongs to another user"), std::string::npos) << chosen.error;
}

// The installed share folder is found by the install script; a data
// folder's own copy comes first, in any case. Library folders in any case are
// the index tests'.
TEST(DataFolder, ShippedFilesResolveAnyCase) {
    test::TempFolder dir;
    const std::string program = dir.path() + "bin/";
    files::makeFolder(program);
    files::makeFolder(dir.path() + "share");
    files::makeFolder(dir.path() + "share/pellion-clipboard");
    touch(dir.path() + "share/pellion-clipboard/pellion.qhp");
    touch(dir.path() + "Pellion.QHP");
    EXPECT_EQ(ShippedFile(dir.path(), program, "pellion.qhp"), dir.path() + "Pellion.QHP");
}

// Near misses of the old names stay; a link, modes and the library number
// are checked where a real start migrates a folder.
TEST(Migration, OnlyTheOldLibrarysGroupFilesMoveIntoLib1) {
    test::TempFolder dir;
    Fixture f(dir.path());
    f.state.startup.programFile = dir.path() + "pellion";
    const std::vector<std::string> moved = {"group3.dat", "Groups.dat", "GROUPS.CLR", "Mode.dat", "Colr3.dat",
                                            "group3.7", "group0.95", "Group31.MOD", "colr0.dat"};
    const std::vector<std::string> kept = {
        "trans.dat", "Trans.mod", "clip.dat", "clip.4", "Bulk.5", "group22.dat", "group22.3", "Colr22.dat", "lib.dat",
        "Last.Lib", "book.mrk", "pellion.hlp", "pellion.qhp", "pellion", "pellion.lock", "~.htm", "pellion.ini",
        // what else a folder holds: a build, the user's own files
        "notes.txt", ".hidden", "CMakeCache.txt", "Makefile", "unit_tests", "group3.txt", "group3.96", "group03.dat",
        "group32.dat", "group3.07", "colr3.txt", "mode.dat.bak", "groups.dat~"};
    for (const auto& n : moved) touch(dir.path() + n, n);
    for (const auto& n : kept) touch(dir.path() + n, n);
    ::chmod((dir.path() + "Mode.dat").c_str(), 0400);  // moved, and made writable
    files::makeFolder(dir.path() + "group6.dat");        // no data file: stays

    ASSERT_TRUE(MigrateToLibraryFolders(f.state));
    EXPECT_EQ(f.state.libraryFolder, dir.path() + "lib1/");
    for (const auto& n : moved) {
        EXPECT_FALSE(files::exists(dir.path() + n)) << n;
        EXPECT_EQ(*files::readAll(dir.path() + "lib1/" + n), files::Bytes(n.begin(), n.end())) << n;
    }
    for (const auto& n : kept) {
        EXPECT_TRUE(files::exists(dir.path() + n)) << n;
        EXPECT_FALSE(files::exists(dir.path() + "lib1/" + n)) << n;
    }
    struct stat st{};
    ASSERT_EQ(::stat((dir.path() + "lib1/Mode.dat").c_str(), &st), 0);
    EXPECT_TRUE(st.st_mode & S_IWUSR);
    EXPECT_TRUE(files::isFolder(dir.path() + "group6.dat"));

    // Once any spelling of the folder is there, it never runs again.
    test::TempFolder other;
    Fixture g(other.path());
    files::makeFolder(other.path() + "LIB1");
    touch(other.path() + "group3.dat");
    EXPECT_FALSE(MigrateToLibraryFolders(g.state));
    EXPECT_TRUE(files::exists(other.path() + "group3.dat"));
}

// What a crash or another program leaves behind, met at the next start.
TEST(Startup, LeftoversOfACrashGoAndPlantedThingsStay) {
    test::TempFolder dir, elsewhere;
    Fixture f(dir.path());
    const std::vector<std::string> ours = {"clip.tmp", "CLIP.TMP.part123", "clip.dat.part9", "lib1/group3.dat.part55",
                                           "Lib7/x.TMP", "pellion.ini.part0"};
    const std::vector<std::string> theirs = {"notes.part", "clip.tmp.partial", "lib1/group3.dat", "other/clip.tmp",
                                             "lib30/clip.tmp", "lib1/part12"};
    for (std::string sub : {"lib1", "Lib7", "other", "lib30"}) files::makeFolder(dir.path() + sub);
    for (const auto& n : ours) touch(dir.path() + n);
    for (const auto& n : theirs) touch(dir.path() + n);
    // Links at the lock and at a temporary name, to a file of the user.
    const std::string victim = elsewhere.path() + "victim";
    touch(victim, "victim bytes");
    for (std::string n : {"pellion.lock", "old.tmp"})
        ASSERT_EQ(::symlink(victim.c_str(), (dir.path() + n).c_str()), 0);

    ASSERT_EQ(StartProgram(f.state, dir.path() + "pellion", dir.path(), kNow, {}), StartOutcome::Started);
    EXPECT_FALSE(f.state.startup.instanceLock.held());
    for (const auto& n : theirs) EXPECT_TRUE(files::exists(dir.path() + n)) << n;
    EXPECT_EQ(*files::readAll(victim), files::Bytes({'v', 'i', 'c', 't', 'i', 'm', ' ', 'b', 'y', 't', 'e', 's'}));
    EXPECT_TRUE(files::isLink(dir.path() + "pellion.lock"));
    EXPECT_TRUE(files::isLink(dir.path() + "old.tmp"));
    // Without its lock a copy cannot know that the temporary files are not another's.
    EXPECT_TRUE(files::exists(dir.path() + "clip.tmp"));

    ASSERT_EQ(::unlink((dir.path() + "pellion.lock").c_str()), 0);
    Fixture g(dir.path());
    ASSERT_EQ(StartProgram(g.state, dir.path() + "pellion", dir.path(), kNow, {}), StartOutcome::Started);
    for (const auto& n : ours) EXPECT_FALSE(files::exists(dir.path() + n)) << n;
    for (const auto& n : theirs) EXPECT_TRUE(files::exists(dir.path() + n)) << n;
}

TEST(Startup, AFolderWhereAListIndexBelongsIsRefusedUntouched) {
    for (std::string name : {"clip.dat", "Trans.dat"}) {
        test::TempFolder dir;
        Fixture f(dir.path());
        files::makeFolder(dir.path() + name);
        touch(dir.path() + name + "/inside");
        EXPECT_EQ(StartProgram(f.state, dir.path() + "pellion", dir.path(), kNow, {}), StartOutcome::Refused);
        EXPECT_NE(f.state.startup.refusal.find(dir.path() + name + " is not a file"), std::string::npos)
            << f.state.startup.refusal;
        EXPECT_TRUE(files::exists(dir.path() + name + "/inside"));
        EXPECT_FALSE(files::exists(dir.path() + "pellion.ini"));
    }
}
