#pragma once
// The checks that decide a launch result before anything is started, so that
// a bad shortcut gets its own code instead of a generic spawn failure.
#include <string>

namespace pellion::platform {

// ".EXE", ".COM" or ".BAT" at the end of the name, in any case.
bool hasProgramExtension(const std::string& path);
// A program extension, or a regular file the user may execute.
bool isProgramFile(const std::string& path);

// kShellOk for an empty folder (stay where we are) or one that can be
// entered; kShellNoStartFolder otherwise, also for a file.
int checkStartFolder(const std::string& folder);

// The program of argv[0]: a name without "/" is looked up in PATH, a relative
// path is taken from the start folder. kShellMissing when it is not there,
// kShellCannotRun when it is not an executable regular file.
int checkProgram(const std::string& argv0, const std::string& startFolder, std::string* resolved = nullptr);

}  // namespace pellion::platform
