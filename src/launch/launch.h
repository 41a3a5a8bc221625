#pragma once
// Starting what a shortcut record names: a program with its command line in
// its start folder, or a document or folder with the desktop's default
// application. Nothing a record holds ever goes through a shell.
#include <string>

namespace pellion {

struct ProgramState;

struct LaunchOutcome {
    int code = 0;         // 33 or more: started
    std::string message;  // for the user when it failed: what, then why
    bool ok() const;
};

// The shortcut in the slot file at path. The main window minimises first
// unless it is kept on top; a failure brings it back up, on top, for the
// message.
LaunchOutcome LaunchShortcut(ProgramState& ps, const std::string& recordPath);

// The message for a launch result, naming the record's file, start folder
// or command line where that is the reason.
std::string LaunchMessage(int code, const std::string& file, const std::string& start, const std::string& command);

}  // namespace pellion
