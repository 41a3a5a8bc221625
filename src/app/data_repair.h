#pragma once
// Start-up repairs of a data folder that a crash, a damaged disk or another
// program left in a bad state. None of them deletes a clip.
#include <string>

namespace pellion {

struct ProgramState;

// Removes our own temporary files ("*.tmp", "<name>.partNNN": see
// files::isTemporaryName) from the data folder and the library folders. Only
// while this copy holds the data folder's lock: another copy's files are in use.
void RemoveLeftoverTemporaryFiles(const std::string& dataFolder);

// A data file of the data folder that is something else than a file (a
// folder where "clip.dat" belongs): the program could not record anything
// there. Empty when all is well, else the message for standard error.
std::string BlockedDataFile(const std::string& dataFolder);

// "clip.dat" missing or damaged while clip files are there: the list is
// rebuilt from the files present, in slot order and without gaps, each titled
// from its text as a capture titles it, so no capture overwrites them. Adds a
// notice for the user. Returns whether it rebuilt.
bool RecoverClipboardClips(ProgramState& state);

}  // namespace pellion
