#include "app/startup.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "app/caption.h"
#include "app/data_folder.h"
#include "app/data_repair.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "paste/hot_keys.h"
#include "store/clip_file.h"
#include "store/index_files.h"
#include "store/libraries.h"
#include "store/list_journal.h"
#include "store/slot_files.h"
#include "ui/logic/keyboard.h"
#include "ui/logic/list_cells.h"

namespace pellion {

namespace {

constexpr int kLastLibrary = kLaunchPad;

void front(platform::Windows& windows, platform::WindowId window) {
    windows.show(window, platform::ShowState::Normal);
    windows.bringToFront(window);
}

platform::WindowId findByCaption(platform::Windows* windows, const DateTime& now) {
    if (!windows) return 0;
    platform::WindowId found = windows->findByTitle(MainCaption(now));
    return found ? found : windows->findByTitle(EarlierCaption(now));
}

// The window the lock holder recorded; read only, so nothing changes.
platform::WindowId recordedWindow(const std::string& lockPath) {
    const auto bytes = files::readAt(lockPath, 0, 32);
    if (!bytes) return 0;
    const std::string text(bytes->begin(), bytes->end());
    return std::strtoull(text.c_str(), nullptr, 10);
}

}  // namespace

bool ActivateExistingInstance(ProgramState& state, const DateTime& now, std::chrono::milliseconds patience) {
    auto* windows = state.platform.windows.get();
    if (platform::WindowId found = findByCaption(windows, now)) {
        front(*windows, found);
        return true;
    }
    // The caption misses a copy whose monitor has not renamed its window for
    // over a minute; the lock does not.
    const std::string lockPath = files::resolve(state.dataFolder, kInstanceLockName);
    if (state.startup.instanceLock.acquire(lockPath) != files::FileLock::Result::Busy) return false;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        platform::WindowId window = findByCaption(windows, now);
        if (!window) window = recordedWindow(lockPath);
        if (window && windows) {
            front(*windows, window);
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

void RecordMainWindow(ProgramState& state) {
    state.startup.instanceLock.setContent(std::to_string(state.mainWindow) + "\n");
}

namespace {

// Decimal digits without a leading zero, at most max; -1 otherwise.
int numberIn(const std::string& text, int max) {
    if (text.empty() || text.size() > 2 || (text.size() > 1 && text[0] == '0')) return -1;
    int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return -1;
        n = n * 10 + (c - '0');
    }
    return n <= max ? n : -1;
}

// name without prefix, when it starts with it.
bool strip(std::string& name, const std::string& prefix) {
    if (name.rfind(prefix, 0) != 0) return false;
    name.erase(0, prefix.size());
    return true;
}

bool isGroup(const std::string& digits) {
    const int g = numberIn(digits, kGroups - 1);
    return g >= 0 && g != kHotKeyGroup;
}

}  // namespace

bool IsOldGroupFile(const std::string& name) {
    std::string rest = files::toLower(name);
    if (rest == "groups.dat" || rest == "groups.clr" || rest == "mode.dat") return true;
    if (strip(rest, "colr")) return rest.size() > 4 && rest.ends_with(".dat") && isGroup(rest.substr(0, rest.size() - 4));
    if (!strip(rest, "group")) return false;
    const auto dot = rest.find('.');
    if (dot == std::string::npos || !isGroup(rest.substr(0, dot))) return false;
    const std::string ending = rest.substr(dot + 1);
    return ending == "dat" || ending == "mod" || numberIn(ending, kGroupSlots - 1) >= 0;
}

bool MigrateToLibraryFolders(ProgramState& state) {
    if (files::exists(files::resolve(state.dataFolder, "lib1"))) return false;
    const std::string folder = state.dataFolder + "lib1/";
    state.libraryFolder = folder;
    state.settings.CurrentLibrary = 1;
    SaveSettings(state);
    if (!files::makeFolder(state.dataFolder + "lib1")) return false;
    // files::list leaves links out; prepare refuses them too.
    for (const std::string& name : files::list(state.dataFolder, "*")) {
        if (!IsOldGroupFile(name) || !files::prepare(state.dataFolder + name)) continue;
        files::rename(state.dataFolder + name, folder + name);
    }
    return true;
}

void StartupLoader(ProgramState& state, const StartupCalls&) {
    SettingsRecord& s = state.settings;
    LoadSettings(state);
    state.lists.launchPadPressed = s.CurrentLibrary == kLaunchPad;
    const platform::Point screen = ScreenSizeTwips(state);
    ValidateAgainstScreen(s, screen);
    // A damaged record must not point at a folder no library owns, nor at a
    // group that no list has.
    if (s.CurrentLibrary < 1 || s.CurrentLibrary > kLastLibrary) s.CurrentLibrary = 1;
    if (s.CurrentGroup < 0 || s.CurrentGroup >= kGroups) s.CurrentGroup = 0;
    state.libraryFolder = LibraryFolder(state.dataFolder, s.CurrentLibrary);
    MigrateToLibraryFolders(state);
    FillHotKeyLabels(state);
    PrepareGroupNames(state);  // creates the library folder
    ValidateRanges(s, screen);
    ui::RefreshModeButtons(state);
    ComputeGroupStem(state);
    ShowLibraryName(state);
    if (!RecoverClipboardClips(state)) LoadClipboardClips(state);
    LoadTransferSlots(state);
    LoadCurrentGroup(state);
    LoadBulkCache(state);
    // The keyboard hook's keys: the user's paste keystroke, then the hot keys.
    ConnectHookEvents(state);
    SetPasteKeyDetection(state);
    HotKeysOn(state);
    ShowHotKeySwitch(state);
    ui::SetHelpCaptions(state);
    ApplyListColours(state);
    ui::ShowLists(state);
    ui::RefreshModeButtons(state);  // the current group's paste mode is read with it
}

StartOutcome StartProgram(ProgramState& state, const std::string& programFile, const std::string& dataFolder,
                          const DateTime& now, const StartupCalls& calls) {
    state.dataFolder = dataFolder;
    state.startup.programFile = programFile;
    state.startup.programFolder = ProgramFolder(programFile);
    if (ActivateExistingInstance(state, now)) return StartOutcome::OtherCopyRunning;
    state.startup.refusal = BlockedDataFile(state.dataFolder);
    if (!state.startup.refusal.empty()) return StartOutcome::Refused;
    // Without the lock another copy may be in the middle of a change.
    if (state.startup.instanceLock.held()) {
        // A list change that a crash cut short is finished before anything
        // reads the lists or clears temporary files away.
        ReplayListJournal(state.dataFolder);
        RemoveLeftoverTemporaryFiles(state.dataFolder);
    }
    if (calls.createMainWindow) state.mainWindow = calls.createMainWindow(MainCaption(now));
    RecordMainWindow(state);
    StartupLoader(state, calls);
    RegisterMarker(state, calls.processEvents);
    return StartOutcome::Started;
}

void KeepMainWindowOnScreen(ProgramState& state, platform::Point screen) {
    ui::FormWindow& w = state.mainForm.form.window;
    w.left = std::max(0, std::min(w.left, screen.x - w.width));
    w.top = std::max(0, std::min(w.top, screen.y - w.height));
}

void Shutdown(ProgramState& state) { SaveSettings(state); }

}  // namespace pellion
