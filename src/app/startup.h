#pragma once
// Start-up and shutdown: the single running copy (per display by its caption,
// per data folder by its lock), the settings, the library folder and the
// clipboard marker.
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/windows.h"

namespace pellion {

struct ProgramState;
struct DateTime;
struct SettingsRecord;

struct StartupState {
    std::string programFile;
    std::string programFolder;  // ending with "/"
    files::FileLock instanceLock;  // held for the whole run
    // What the user is told once the window shows (and on standard error).
    std::vector<std::string> notices;
    std::string refusal;  // why the program did not start
};

// Names of the data folder's own files.
inline constexpr const char* kInstanceLockName = "pellion.lock";

// What the windows do at fixed points of start-up.
struct StartupCalls {
    // Creates the main window, hidden, with this caption; returns its id.
    std::function<platform::WindowId(const std::string& caption)> createMainWindow;
    // Handles pending window events (while the clipboard is busy).
    std::function<void()> processEvents;
};

// Looks for a running copy by its caption of now or of one minute earlier and
// then by the data folder's lock; fronts the copy's window when found. True
// when another copy runs: this process must end, and no file was changed.
// Otherwise the lock is held and false is returned. A copy that holds the lock
// but shows no window yet is waited for up to patience.
bool ActivateExistingInstance(ProgramState& state, const DateTime& now,
                              std::chrono::milliseconds patience = std::chrono::seconds(2));

// Writes the main window's id into the lock file, for a later copy to front.
void RecordMainWindow(ProgramState& state);

// The first run of this version in an old single-library folder: the group
// files of the old library move into "lib1". Returns whether it ran.
bool MigrateToLibraryFolders(ProgramState& state);
// Whether name (any case) is one of the old single library's group files:
// "groups.dat", "groups.clr", "mode.dat", and for a group G other than 22
// "group" + G + ".dat", ".mod", "colr" + G + ".dat" and "group" + G + "." + n.
// Nothing else moves: the folder may hold the user's own files.
bool IsOldGroupFile(const std::string& name);

// Settings, their repairs, the library folder, the move of old files, and
// the four lists with their colours, shown on the form.
void StartupLoader(ProgramState& state, const StartupCalls& calls);

enum class StartOutcome { Started, OtherCopyRunning, Refused };
// The whole start-up up to showing the main window, in dataFolder (chosen by
// ChooseDataFolder). Refused leaves its reason in state.startup.refusal.
StartOutcome StartProgram(ProgramState& state, const std::string& programFile, const std::string& dataFolder,
                          const DateTime& now, const StartupCalls& calls);

// The window in its remembered place, before it is shown: a place that
// leaves part of it beyond this screen (saved on a larger one, say) moves it
// just far enough to lie wholly on the screen, the top left corner first.
void KeepMainWindowOnScreen(ProgramState& state, platform::Point screenTwips);

// Everything else is written as it changes.
void Shutdown(ProgramState& state);

}  // namespace pellion
