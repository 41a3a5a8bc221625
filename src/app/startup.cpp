#include "app/startup.h"

#include <algorithm>
#include <cstdlib>
#include <thread>

#include "app/caption.h"
#include "app/data_folder.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "paste/hot_keys.h"
#include "store/clip_file.h"
#include "store/index_files.h"
#include "store/libraries.h"
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

std::string baseName(const std::string& path) {
    const auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
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

bool StaysInDataFolder(const std::string& name, const std::string& programName) {
    static const char* const kKept[] = {"last.lib",    "install.log", "book.mrk",   "lib.dat",
                                        "pellion.exe", "pellion.hlp", "uninstal.exe", "pellion.ini",
                                        "pellion.qhp", "pellion.gid", "~.htm",      "colr22.dat"};
    static const char* const kKeptParts[] = {"bulk", "clip", "group22", "trans"};
    const std::string lower = files::toLower(name);
    // The program itself and the lock of the running copy stay too.
    if (lower == files::toLower(programName) || lower == kInstanceLockName) return true;
    if (std::any_of(std::begin(kKept), std::end(kKept), [&](const char* k) { return lower == k; })) return true;
    return std::any_of(std::begin(kKeptParts), std::end(kKeptParts),
                       [&](const char* part) { return lower.find(part) != std::string::npos; });
}

bool MigrateToLibraryFolders(ProgramState& state) {
    if (files::exists(files::resolve(state.dataFolder, "lib1"))) return false;
    const std::string folder = state.dataFolder + "lib1/";
    state.libraryFolder = folder;
    state.settings.CurrentLibrary = 1;
    SaveSettings(state);
    if (!files::makeFolder(state.dataFolder + "lib1")) return false;
    const std::string programName =
        baseName(state.startup.programFile.empty() ? files::programFile() : state.startup.programFile);
    for (const std::string& name : files::list(state.dataFolder, "*")) {
        if (StaysInDataFolder(name, programName)) continue;
        files::prepare(state.dataFolder + name);
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
    LoadClipboardClips(state);
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

StartOutcome StartProgram(ProgramState& state, const std::string& programFile, const DateTime& now,
                          const StartupCalls& calls) {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    state.dataFolder = DataFolder(programFile, xdg ? xdg : "", home ? home : "");
    state.startup.programFile = programFile;
    state.startup.programFolder = ProgramFolder(programFile);
    state.startup.helpFile = HelpFile(state.dataFolder, state.startup.programFolder);
    if (ActivateExistingInstance(state, now)) return StartOutcome::OtherCopyRunning;
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

platform::ShowState InitialShowState(const SettingsRecord& settings) {
    if (settings.HelpShown == 0 || settings.OnTop != 0) return platform::ShowState::Normal;
    return platform::ShowState::Minimised;
}

void Shutdown(ProgramState& state) { SaveSettings(state); }

}  // namespace pellion
