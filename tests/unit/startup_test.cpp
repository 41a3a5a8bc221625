#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <map>

#include "app/caption.h"
#include "app/data_folder.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "platform/fake/fake_platform.h"
#include "unit/temp_folder.h"

using namespace pellion;
using platform::ShowState;

namespace {

const DateTime kNow{2026, 12, 5, 6, 17, 7};

struct Fixture {
    explicit Fixture(const std::string& folder) : state(fake.platform) { state.dataFolder = folder; }
    platform::fake::FakePlatform fake;
    ProgramState state;
};

void touch(const std::string& path, const std::string& text = "x") { std::ofstream(path) << text; }

// Every entry below folder with its bytes and modification time.
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat st{};
        ::stat(e.path().c_str(), &st);
        std::string item = std::to_string(st.st_mtim.tv_sec) + "." + std::to_string(st.st_mtim.tv_nsec) + ":";
        if (e.is_regular_file()) {
            const auto bytes = files::readAll(e.path().string()).value_or(files::Bytes{});
            item.append(bytes.begin(), bytes.end());
        }
        out[e.path().string()] = item;
    }
    return out;
}

}  // namespace

TEST(DataFolder, ProgramFolderWhenWritableElsePerUserFolder) {
    test::TempFolder dir;
    EXPECT_EQ(DataFolder(dir.path() + "pellion", "", ""), dir.path());
    const std::string missing = dir.path() + "not-here/pellion";
    EXPECT_EQ(DataFolder(missing, dir.path() + "xdg", dir.path()), dir.path() + "xdg/pellion-clipboard/");
    EXPECT_TRUE(files::isFolder(dir.path() + "xdg/pellion-clipboard"));
    // A relative XDG_DATA_HOME is ignored.
    EXPECT_EQ(DataFolder(missing, "rel", dir.path() + "home"), dir.path() + "home/.local/share/pellion-clipboard/");
    EXPECT_TRUE(files::isFolder(dir.path() + "home/.local/share/pellion-clipboard"));
}

TEST(DataFolder, LibraryAndShippedFilesResolveAnyCase) {
    test::TempFolder dir;
    files::makeFolder(dir.path() + "Lib3");
    EXPECT_EQ(LibraryFolder(dir.path(), 3), dir.path() + "Lib3/");
    EXPECT_EQ(LibraryFolder(dir.path(), 27), dir.path() + "lib27/");

    const std::string program = dir.path() + "bin/";
    files::makeFolder(program);
    EXPECT_EQ(HelpFile(dir.path(), program), dir.path() + "pellion.hlp");
    files::makeFolder(dir.path() + "share");
    files::makeFolder(dir.path() + "share/pellion-clipboard");
    touch(dir.path() + "share/pellion-clipboard/pellion.hlp");
    EXPECT_EQ(HelpFile(dir.path(), program), program + "../share/pellion-clipboard/pellion.hlp");
    touch(dir.path() + "Pellion.HLP");
    EXPECT_EQ(HelpFile(dir.path(), program), dir.path() + "Pellion.HLP");
}

TEST(SingleInstance, CaptionOfNowOrOneMinuteEarlierFrontsTheRunningCopy) {
    for (const std::string& caption : {MainCaption(kNow), EarlierCaption(kNow)}) {
        test::TempFolder dir;
        Fixture f(dir.path());
        const auto other = f.fake.windows->add(caption);
        f.fake.windows->show(other, ShowState::Minimised);
        EXPECT_TRUE(ActivateExistingInstance(f.state, kNow, {}));
        EXPECT_EQ(f.fake.windows->frontedLog, std::vector<platform::WindowId>{other});
        EXPECT_EQ(f.fake.windows->windows[other].state, ShowState::Normal);
        EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
    }
}

TEST(SingleInstance, HeldLockKeepsASecondCopyOutEvenWithAnOldCaption) {
    test::TempFolder dir;
    Fixture first(dir.path());
    ASSERT_FALSE(ActivateExistingInstance(first.state, kNow, {}));
    ASSERT_TRUE(files::exists(dir.path() + "pellion.lock"));

    Fixture second(dir.path());
    // The first copy has not shown its window yet: the second still leaves.
    auto before = snapshot(dir.path());
    EXPECT_TRUE(ActivateExistingInstance(second.state, kNow, {}));
    EXPECT_TRUE(second.fake.windows->frontedLog.empty());
    EXPECT_EQ(snapshot(dir.path()), before);

    // Its caption is two minutes old, but it recorded its window.
    const auto window = second.fake.windows->add(" Pellion Clipboard          Saturday  5th Dec 26   5:05");
    first.state.mainWindow = window;
    RecordMainWindow(first.state);
    before = snapshot(dir.path());
    Fixture third(dir.path());
    third.fake.platform.windows = std::move(second.fake.platform.windows);
    EXPECT_TRUE(ActivateExistingInstance(third.state, kNow, {}));
    EXPECT_EQ(second.fake.windows->frontedLog, std::vector<platform::WindowId>{window});
    EXPECT_EQ(snapshot(dir.path()), before);

    first.state.startup.instanceLock.release();
    Fixture fourth(dir.path());
    EXPECT_FALSE(ActivateExistingInstance(fourth.state, kNow, {}));
}

TEST(Migration, OldSingleLibraryMovesIntoLib1) {
    test::TempFolder dir;
    Fixture f(dir.path());
    f.state.startup.programFile = dir.path() + "pellion";
    const std::vector<std::string> moved = {"group3.dat", "Groups.dat", "Mode.dat", "Colr3.dat", "group3.7", "notes.txt"};
    const std::vector<std::string> kept = {"trans.dat", "Trans.mod", "clip.dat", "clip.4", "Bulk.5", "group22.dat",
                                           "group22.3", "Colr22.dat", "lib.dat", "Last.Lib", "book.mrk", "pellion.hlp",
                                           "pellion.qhp", "pellion", "pellion.lock", "~.htm", "pellion.ini"};
    for (const auto& n : moved) touch(dir.path() + n, n);
    for (const auto& n : kept) touch(dir.path() + n, n);
    f.state.settings.CurrentLibrary = 4;

    ASSERT_TRUE(MigrateToLibraryFolders(f.state));
    EXPECT_EQ(f.state.libraryFolder, dir.path() + "lib1/");
    EXPECT_EQ(DecodeSettings(*files::readAll(dir.path() + "pellion.ini")).CurrentLibrary, 1);
    for (const auto& n : moved) {
        EXPECT_FALSE(files::exists(dir.path() + n)) << n;
        EXPECT_EQ(*files::readAll(dir.path() + "lib1/" + n), files::Bytes(n.begin(), n.end())) << n;
    }
    for (const auto& n : kept) EXPECT_TRUE(files::exists(dir.path() + n)) << n;

    // Once any spelling of the folder is there, it never runs again.
    test::TempFolder other;
    Fixture g(other.path());
    files::makeFolder(other.path() + "LIB1");
    touch(other.path() + "group3.dat");
    EXPECT_FALSE(MigrateToLibraryFolders(g.state));
    EXPECT_TRUE(files::exists(other.path() + "group3.dat"));
}

TEST(Startup, FirstRunInAnEmptyFolder) {
    test::TempFolder dir;
    Fixture f(dir.path());
    f.fake.clipboard->copyTextFromOtherProgram("before start");
    std::string captionSeen;
    StartupCalls calls;
    calls.createMainWindow = [&](const std::string& caption) {
        captionSeen = caption;
        return f.fake.windows->add(caption, true);
    };
    ASSERT_EQ(StartProgram(f.state, dir.path() + "pellion", kNow, calls), StartOutcome::Started);
    EXPECT_EQ(captionSeen, MainCaption(kNow));
    EXPECT_EQ(files::size(dir.path() + "pellion.ini"), 113);
    EXPECT_TRUE(files::isFolder(dir.path() + "lib1"));
    EXPECT_EQ(f.state.libraryFolder, dir.path() + "lib1/");
    EXPECT_EQ(f.state.settings.Reserved1, 4584);
    EXPECT_EQ(f.state.settings.Reserved2, 5532);
    const auto lock = *files::readAll(dir.path() + "pellion.lock");
    EXPECT_EQ(std::string(lock.begin(), lock.end()), std::to_string(f.state.mainWindow) + "\n");
    // What was on the clipboard stays, marked as seen.
    EXPECT_EQ(f.fake.clipboard->bytesOf("PellionClips"), (files::Bytes{'o', 'k'}));
    EXPECT_TRUE(f.fake.clipboard->bytesOf("").has_value());
    EXPECT_EQ(InitialShowState(f.state.settings), ShowState::Normal);

    // A second copy started now finds the first by its caption and changes nothing.
    const auto before = snapshot(dir.path());
    Fixture second(dir.path());
    second.fake.platform.windows = std::move(f.fake.platform.windows);
    EXPECT_EQ(StartProgram(second.state, dir.path() + "pellion", kNow, calls), StartOutcome::OtherCopyRunning);
    EXPECT_EQ(f.fake.windows->frontedLog, std::vector<platform::WindowId>{f.state.mainWindow});
    EXPECT_EQ(snapshot(dir.path()), before);
}

TEST(Startup, DamagedLibraryNumberFallsBackToTheFirstLibrary) {
    test::TempFolder dir;
    Fixture f(dir.path());
    SettingsRecord r = DefaultSettings({28800, 16200});
    r.CurrentLibrary = -3;
    files::writeWhole(dir.path() + "pellion.ini", EncodeSettings(r));
    files::makeFolder(dir.path() + "lib1");
    StartupLoader(f.state, {});
    EXPECT_EQ(f.state.settings.CurrentLibrary, 1);
    EXPECT_EQ(f.state.libraryFolder, dir.path() + "lib1/");
}

TEST(Startup, StartsMinimisedUnlessOnTopOrFirstRun) {
    SettingsRecord r;
    r.HelpShown = 1;
    EXPECT_EQ(InitialShowState(r), ShowState::Minimised);
    r.OnTop = 1;
    EXPECT_EQ(InitialShowState(r), ShowState::Normal);
    r.OnTop = 0;
    r.HelpShown = 0;
    EXPECT_EQ(InitialShowState(r), ShowState::Normal);
}
