#include "launch/launch.h"

#include "app/program_state.h"
#include "launch/shortcut_files.h"
#include "platform/launch_checks.h"

namespace pellion {

namespace {

using namespace platform;

bool EndsWithIgnoringCase(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && files::toLower(text.substr(text.size() - end.size())) == end;
}

std::string NameOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void ShowFailure(ProgramState& ps) {
    ui::FormWindow& w = ps.mainForm.form.window;
    w.show = ui::WindowShow::Normal;
    w.showRequest = true;
    w.raiseRequest = true;
    w.processEventsRequest = true;
}

}  // namespace

// 99 is above the success threshold but is the launcher's own failure.
bool LaunchOutcome::ok() const { return code >= kShellOk && code != kShellNoStartFolder; }

std::string LaunchMessage(int code, const std::string& file, const std::string& start, const std::string& command) {
    const std::string quoted = "\"" + file + "\"";
    switch (code) {
    case kShellMissing:
    case 3: return "The executable file or folder no longer exists !\nNothing is found at " + quoted + ".";
    case kShellCannotRun:
        return "Cannot run Application - it is not a program you may run !\n" + quoted +
               " is not marked as executable, or it is no program this system can start.";
    case kShellNoAssociation:
        return "There is no association for this file type !\nNo application is set to open files like \"" +
               NameOf(file) + "\".";
    case kShellNoStartFolder:
        return "The start in folder does not exist !\nThe folder \"" + start + "\" cannot be entered.";
    case kShellBadCommandLine:
        return "Cannot run Application - a quote in the Command Line is never closed !\nCommand Line: " + command;
    default: return code >= kShellOk ? std::string() : "Cannot run Application - Unknown Error !";
    }
}

LaunchOutcome LaunchShortcut(ProgramState& ps, const std::string& recordPath) {
    const auto record = ReadShortcut(recordPath);
    const ShortcutRecord r = record.value_or(ShortcutRecord{});
    if (ps.settings.OnTop == 0) ps.mainForm.form.window.show = ui::WindowShow::Minimised;

    int code = kShellMissing;
    Shell* shell = ps.platform.shell.get();
    if (!files::exists(r.file)) {
        code = kShellMissing;
    } else if (!shell) {
        code = kShellCannotRun;
    } else if (EndsWithIgnoringCase(r.file, ".desktop")) {
        // Before the program test: desktop entries are often executable.
        code = shell->open(r.file, r.start);
    } else if (isProgramFile(r.file)) {
        code = shell->run(r.file, r.command, r.start);
    } else {
        // Documents and folders open where they are; start folder and
        // command line belong to programs.
        code = shell->open(r.file, "");
    }
    LaunchOutcome outcome{code, LaunchMessage(code, r.file, r.start, r.command)};
    if (!outcome.ok()) ShowFailure(ps);
    return outcome;
}

}  // namespace pellion
