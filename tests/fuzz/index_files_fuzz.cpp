// Feeds short and garbage content as every index and library file, with
// garbage settings, then loads all lists, applies the colours and goes into
// and out of the Launch Pad. Traps when the model leaves its ranges.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "store/index_files.h"
#include "store/libraries.h"
#include "store/slot_files.h"

namespace fs = std::filesystem;
using namespace pellion;

namespace {

const char* const kNames[] = {
    "clip.dat",        "trans.dat",       "trans.mod",       "trans.clr",      "bulk.dat",        "lib.dat",
    "last.lib",        "mode.dat",        "group22.dat",     "group22.mod",    "colr22.dat",      "lib3/groups.dat",
    "lib3/groups.clr", "lib3/mode.dat",   "lib3/group5.dat", "lib3/group5.mod", "lib3/colr5.dat", "lib3/last.grp",
    "lib27/groups.dat", "lib27/last.grp", "Lib28/Groups.dat", "lib29/last.grp", "lib1/last.grp",
};
const int kLibraryChoices[] = {3, 27, 28, 29, 1, 0, -7, 31000};

// One data folder for the whole run, on tmpfs when there is one, removed at exit.
struct FuzzFolder {
    FuzzFolder() {
        const bool shm = ::access("/dev/shm", W_OK) == 0;
        std::string pattern = (shm ? std::string("/dev/shm") : fs::temp_directory_path().string()) + "/pellion-fuzz-lists-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern + "/";
    }
    ~FuzzFolder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string path;
};

const std::string& folder() {
    static const FuzzFolder f;
    return f.path;
}

void check(bool ok) {
    if (!ok) __builtin_trap();
}

void checkModel(const ProgramState& s) {
    const auto& l = s.lists;
    check(l.clipboardClips.count >= 0 && l.clipboardClips.count <= kClipSlots);
    check(s.settings.CurrentGroup >= 0 && s.settings.CurrentGroup < kGroups);
    check(s.settings.CurrentLibrary >= 1 && s.settings.CurrentLibrary <= 29);
    check(s.settings.GroupMode >= 0 && s.settings.GroupMode <= 3);
    check(s.settings.BulkCount >= 0 && s.settings.BulkCount <= kBulkSlots);
    for (auto m : l.transferSlots.modes) check(m <= kModeFormFilling);
    for (auto m : l.groupClips.modes) check(m <= kModeFormFilling);
    for (auto st : l.transferSlots.states) check(st == -1 || st == 1);
    for (auto c : l.groupClips.colours) check(c <= 0xFFFFFF);
    for (auto c : l.groupNames.colours) check(c <= 0xFFFFFF);
    for (const auto& t : l.groupClips.titles) check(t.size() <= kTitleBytes && t.find('\0') == std::string::npos);
    for (const auto& t : l.clipboardClips.titles) check(t.size() <= kTitleBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static platform::fake::FakePlatform fake;
    FuzzedDataProvider in(data, size);
    const std::string& dir = folder();
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(dir, ec)) fs::remove_all(entry.path(), ec);
    for (const char* sub : {"lib3", "lib27", "Lib28", "lib29", "lib1"}) fs::create_directory(dir + sub, ec);

    for (const char* name : kNames) {
        if (!in.ConsumeBool()) continue;
        const std::string content = in.ConsumeRandomLengthString(2000);
        files::writeWhole(dir + name, content);
    }

    ProgramState state(fake.platform);
    state.dataFolder = dir;
    // Start-up reads the settings from their file, as the program does.
    SettingsRecord settings;
    settings.CurrentLibrary = std::int16_t(kLibraryChoices[in.ConsumeIntegralInRange<int>(0, 7)]);
    settings.CurrentGroup = in.ConsumeBool() ? in.ConsumeIntegral<std::int16_t>() : 5;
    settings.BulkCount = in.ConsumeIntegral<std::int16_t>();
    settings.ClearOption = in.ConsumeIntegralInRange<std::int16_t>(0, 1);
    files::writeWhole(dir + "pellion.ini", EncodeSettings(settings));

    StartupLoader(state, {});
    checkModel(state);
    ApplyListColours(state);
    ReadSlotEntry(state, {ListKind::GroupClips, in.ConsumeIntegralInRange<int>(-2, 100), 5});
    ToggleLaunchPad(state);
    checkModel(state);
    ToggleLaunchPad(state);
    checkModel(state);
    return 0;
}
