#pragma once
// Whole groups on disk: a group's 96 slot files and its three index files
// copied onto another group, or deleted; the bulk cache moved into a group.
#include <string>

namespace pellion {

struct ProgramState;

// Copies group `from` of the library folder fromLibrary (empty: the current
// library) onto group `to` of the current library: each slot file is copied
// when the source has one, else the target's is deleted, and the title, mode
// and colour index files the same way, titles last. Refused for a group onto
// itself; a copy that cannot finish leaves the target without files.
bool CopyGroupFiles(ProgramState& ps, int from, const std::string& fromLibrary, int to);

// Deletes a group's slot files and its title, mode and colour index files.
bool DeleteGroupFiles(ProgramState& ps, int group, const std::string& library = {});

// The bulk cache becomes the first clips of the loaded group: bulk file n is
// renamed to slot n with the bulk title, Group Setting and the default
// colour; the bulk index goes, BulkCount 0 and the capture mode "Normal".
// When a clip cannot be copied (a full disk) group and cache stay as they were.
bool MoveBulkIntoLoadedGroup(ProgramState& ps);

}  // namespace pellion
