// List changes cut short. A process stopped (as by kill -9) before any one of
// a change's steps on disk, then started again: every title names its own
// clip, and nothing stored before is lost but the clip a full list shifts
// out. A full disk: the change does not happen, and the user is told once.
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <set>

#include "capture/save_notice.h"
#include "store/fields.h"
#include "store/group_files.h"
#include "store/list_journal.h"
#include "unit/lists_scene.h"
#include "unit/monitor_fixture.h"

using namespace pellion;
using namespace pellion::test;

namespace {

// A scene whose capture is waiting in "clip.tmp" as "new".
void MakeScene(const std::string& folder, int clips) {
    Scene scene(folder, clips);
    EXPECT_TRUE(files::writeWhole(folder + "clip.tmp", std::string("new")));
}

void DragOnto(ProgramState& ps, ui::DragItem item, ui::DropOn on) { Scene::DragAndDrop(ps, item, ui::MouseButton::Left, on); }

// The lists a start reads from folder.
void Start(ProgramState& ps, const std::string& folder) {
    ps.dataFolder = folder;
    LoadSettings(ps);
    StartupLoader(ps, {});
}

// Every title the lists on disk hold, as a fresh start reads them, each
// checked against the file it names.
std::multiset<std::string> StoredTitles(const std::string& folder) {
    EXPECT_TRUE(ReplayListJournal(folder));
    platform::fake::FakePlatform fake;
    ProgramState ps{fake.platform};
    Start(ps, folder);
    std::multiset<std::string> titles;
    auto check = [&](const std::string& title, const SlotRef& slot) {
        if (title.empty()) return;
        titles.insert(title);
        const Bytes b = files::readAll(SlotPath(ps, slot)).value_or(Bytes{});
        EXPECT_EQ(std::string(b.begin(), b.end()), title) << "titled " << title;
    };
    const auto& l = ps.lists;
    for (int n = 0; n < l.clipboardClips.count; ++n) check(l.clipboardClips.titles[n], {ListKind::ClipboardClips, n});
    for (int n = 0; n < kTransferSlots; ++n) check(l.transferSlots.titles[n], {ListKind::TransferSlots, n});
    for (int g = 0; g < kGroups; ++g) {
        const Bytes index = files::readAll(GroupTitlesPath(GroupFolder(ps, g), g)).value_or(Bytes{});
        for (int n = 0; n < kGroupSlots; ++n) check(field::textAt(index, n * 50, 50), {ListKind::GroupClips, n, g});
    }
    for (int n = 0; n < ps.settings.BulkCount; ++n) check(l.bulkTitles[n], {ListKind::Bulk, n});
    EXPECT_FALSE(files::exists(folder + kListJournalName));
    EXPECT_TRUE(files::list(folder, "pellion.journal.*").empty());
    return titles;
}

// Runs change in a child over folder, stopped (as by kill -9, exit status 2)
// at the first step where stop says so; returns the child's exit status and
// how many steps it took.
std::pair<int, int> RunInChild(const std::string& folder, const std::function<bool(ProgramState&)>& change,
                               const std::function<bool(int)>& stop) {
    const std::string counted = folder + "../steps";
    const pid_t child = ::fork();
    if (child == 0) {
        platform::fake::FakePlatform fake;
        ProgramState ps{fake.platform};
        Start(ps, folder);
        int step = 0;
        SetListStepHook([&] {
            if (stop(++step)) ::_exit(2);
        });
        const bool ok = change(ps);
        files::writeWhole(counted, std::to_string(step));
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return {-1, 0};
    const Bytes n = files::readAll(counted).value_or(Bytes{'0'});
    return {WEXITSTATUS(status), std::stoi(std::string(n.begin(), n.end()))};
}

bool FileNew(ProgramState& ps) { return FileCapturedClip(ps, "new"); }

struct Interrupted {
    const char* name;
    int clips;  // Clipboard Clips at the start
    std::function<bool(ProgramState&)> change;
    std::set<std::string> mayGo = {};  // titles the change itself removes
};

void PrintTo(const Interrupted& c, std::ostream* os) { *os << c.name; }

class StoppedChange : public ::testing::TestWithParam<Interrupted> {};

TEST_P(StoppedChange, LeavesEveryTitleWithItsOwnClipAfterARestart) {
    const Interrupted& c = GetParam();
    const bool inMemory = std::filesystem::is_directory("/dev/shm");
    TempFolder dir(inMemory ? std::filesystem::path("/dev/shm") : std::filesystem::temp_directory_path());
    const std::string start = dir.path() + "start/";
    std::filesystem::create_directory(start);
    MakeScene(start, c.clips);
    const std::multiset<std::string> before = StoredTitles(start);
    // The change from a fresh copy, stopped before step stopAt (0: never).
    const std::string folder = dir.path() + "run/";
    auto run = [&](int stopAt) {
        std::filesystem::remove_all(folder);
        std::filesystem::copy(start, folder, std::filesystem::copy_options::recursive);
        return RunInChild(folder, c.change, [stopAt](int step) { return step == stopAt; });
    };
    auto nothingLost = [&](int stopAt) {
        const std::multiset<std::string> after = StoredTitles(folder);
        for (const std::string& title : before)
            EXPECT_TRUE(c.mayGo.count(title) || after.count(title)) << title << " lost, stopped at step " << stopAt;
    };
    const auto [whole, steps] = run(0);
    ASSERT_EQ(whole, 0) << "the change failed";
    ASSERT_GT(steps, 2);
    nothingLost(0);
    // Every step near either end; in between the steps repeat one pattern
    // per slot, so every fifth one covers them (and keeps the long moves quick).
    for (int stopAt = 1; stopAt <= steps; ++stopAt) {
        if (stopAt > 12 && stopAt < steps - 12 && stopAt % 5 != 0) continue;
        ASSERT_EQ(run(stopAt).first, 2) << "not stopped at step " << stopAt;
        nothingLost(stopAt);
        if (::testing::Test::HasFailure()) FAIL() << "stopped before step " << stopAt;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lists, StoppedChange,
    ::testing::Values(
        Interrupted{"CaptureIntoAFullList", 9, FileNew, {"clip 0"}},
        Interrupted{"CaptureIntoAListWithRoom", 4, FileNew},
        Interrupted{"GroupMovedOntoAnEmptyName", 0,
                    [](ProgramState& ps) {
                        DragOnto(ps, {ui::DragSource::Group, 5}, {ui::DropTarget::GroupName, 7});
                        return ps.lists.groupNames.titles[5].empty();
                    }},
        Interrupted{"GroupClipMovedToTheShownGroup", 0,
                    [](ProgramState& ps) {
                        return MoveClipToSlot(ps, {ListKind::GroupClips, 2, 5}, {ListKind::GroupClips, 9});
                    }},
        Interrupted{"BulkCacheMovedIntoAGroup", 0,
                    [](ProgramState& ps) {
                        DragOnto(ps, {ui::DragSource::Bulk, 0}, {ui::DropTarget::GroupName, 8});
                        return ps.settings.BulkCount == 0;
                    }},
        Interrupted{"GroupEmptiedOnTheTrash", 0,
                    [](ProgramState& ps) {
                        DragOnto(ps, {ui::DragSource::Group, 5}, {ui::DropTarget::Trash});
                        return ps.lists.groupNames.titles[5].empty();
                    },
                    {"gamma", "delta"}},
        Interrupted{"BulkCacheCleared", 0, [](ProgramState& ps) { return ClearBulkCache(ps); }, {"bulk 0", "bulk 1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ListJournal, NamingAFileOutsideTheDataFolderIsRefusedWhole) {
    TempFolder dir;
    const std::string folder = dir.path() + "data/";
    std::filesystem::create_directory(folder);
    MakeScene(folder, 9);
    const std::multiset<std::string> before = StoredTitles(folder);
    // Stopped once the journal is written, before anything moved.
    ASSERT_EQ(RunInChild(folder, FileNew, [&](int) { return files::exists(folder + kListJournalName); }).first, 2);
    Bytes journal = files::readAll(folder + kListJournalName).value_or(Bytes{});
    const std::string inside = "clip.0", outside = "../v.0";
    auto at = std::search(journal.begin(), journal.end(), inside.begin(), inside.end());
    ASSERT_NE(at, journal.end());
    std::copy(outside.begin(), outside.end(), at);
    ASSERT_TRUE(files::writeWhole(folder + kListJournalName, journal));

    EXPECT_EQ(StoredTitles(folder), before);
    EXPECT_FALSE(files::exists(dir.path() + "v.0"));
}

// A data folder on a small file system of its own, filled up on demand.
class FullDisk : public MonitorTest {
protected:
    FullDisk() {
        disk = dir.path() + "disk/";
        std::filesystem::create_directory(disk);
        mounted = ::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=1m,mode=0700") == 0;
        state.dataFolder = disk;
        UseLibrary(state, 1);
        StartupLoader(state, {});
        state.monitor.hooks.setCaption = [this](const std::string& c) { shownCaption = c; };
    }
    ~FullDisk() override {
        if (mounted) ::umount2(disk.c_str(), MNT_DETACH);
    }
    // Leaves room for exactly this many bytes of whole pages.
    void leaveRoom(std::int64_t bytes) {
        files::remove(disk + "filler");
        const std::int64_t page = 4096, room = (bytes + page - 1) / page * page;
        ASSERT_TRUE(files::writeWhole(disk + "filler", Bytes(std::size_t(files::freeBytes(disk) - room), 'f')));
        ASSERT_EQ(files::freeBytes(disk), room);
    }

    std::string disk, shownCaption;
    bool mounted = false;
};

TEST_F(FullDisk, CaptureThatCannotBeFiledLeavesTheListAsItWasAndTellsOnce) {
    if (!mounted) GTEST_SKIP() << "mounting a small file system needs root";
    for (int n = 0; n < 4; ++n) ASSERT_EQ(capture("clip " + std::to_string(n)), TickOutcome::Captured);
    const Bytes index = read(disk + "clip.dat");
    // Room for the snapshot, none for anything after it.
    const std::string big(40000, 'x');
    leaveRoom(20 + big.size() + 1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(capture(big), TickOutcome::Failed);
    EXPECT_EQ(capture(big + "y"), TickOutcome::Failed);
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(told.begin(), told.end(), '\n'), 1) << told;
    EXPECT_NE(told.find("copies are not saved"), std::string::npos) << told;
    EXPECT_NE(shownCaption.find(kNotSavedNotice), std::string::npos) << shownCaption;

    EXPECT_EQ(read(disk + "clip.dat"), index);
    EXPECT_EQ(state.lists.clipboardClips.count, 4);
    EXPECT_EQ(files::list(disk, "clip.*"), (std::vector<std::string>{"clip.0", "clip.1", "clip.2", "clip.3", "clip.dat"}));
    EXPECT_TRUE(files::list(disk, "pellion.journal*").empty());

    files::remove(disk + "filler");
    EXPECT_EQ(capture("room again"), TickOutcome::Captured);
    EXPECT_EQ(title(4), "room again");
    EXPECT_EQ(shownCaption.find(kNotSavedNotice), std::string::npos) << shownCaption;
}

TEST_F(FullDisk, GroupThatCannotBeCopiedWholeChangesNothing) {
    if (!mounted) GTEST_SKIP() << "mounting a small file system needs root";
    Scene scene(disk, 0);
    ASSERT_TRUE(files::writeWhole(SlotPath(scene.state, {ListKind::GroupClips, 95, 5}), Bytes(100000, 'g')));
    leaveRoom(2 * 4096);
    const auto before = scene.snapshot();
    DragOnto(scene.state, {ui::DragSource::Group, 5}, {ui::DropTarget::GroupName, 7});
    EXPECT_EQ(scene.state.lists.groupNames.titles[7], "");
    EXPECT_EQ(scene.state.lists.groupNames.titles[5], "Other");
    EXPECT_EQ(scene.snapshot(), before);
}

}  // namespace
