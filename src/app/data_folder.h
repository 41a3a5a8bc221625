#pragma once
// Where the program keeps its files.
#include <string>

namespace pellion {

// The folder of programFile, ending with "/".
std::string ProgramFolder(const std::string& programFile);

// The program's folder when it is writable; otherwise the per-user folder
// (xdgDataHome, else home + "/.local/share", + "/pellion-clipboard/"), created
// when missing. Ends with "/". Empty arguments count as unset.
std::string DataFolder(const std::string& programFile, const std::string& xdgDataHome, const std::string& home);
// The same for the running program and its environment.
std::string DataFolder();

// dataFolder + "lib" + number + "/", using an existing folder of any case.
std::string LibraryFolder(const std::string& dataFolder, int library);

// A file shipped with the program: in the data folder when there, else in the
// install's share folder beside the program's folder, else the data folder's path.
std::string ShippedFile(const std::string& dataFolder, const std::string& programFolder, const std::string& name);
std::string HelpFile(const std::string& dataFolder, const std::string& programFolder);

}  // namespace pellion
