#pragma once
// Where the program keeps its files.
#include <string>
#include <vector>

namespace pellion {

// The folder of programFile, ending with "/".
std::string ProgramFolder(const std::string& programFile);

// What the command line asks for: "--data-folder DIR" (or "--data-folder=DIR")
// and "--help". args are the arguments after the program's name.
struct CommandLine {
    std::string dataFolder;  // empty when not given
    bool help = false;
    std::string error;  // an unknown or incomplete argument
};
CommandLine ParseCommandLine(const std::vector<std::string>& args);
inline constexpr const char* kUsage =
    "Usage: pellion [--data-folder DIR]\n"
    "  --data-folder DIR  keep every file of the program in DIR (created when missing)\n";

// The data folder, in this order: the folder named on the command line; the
// program's own folder when it already holds "pellion.ini" (any case), a
// portable install; otherwise xdgDataHome (when absolute, else home +
// "/.local/share") + "/pellion-clipboard/". A missing folder is created 0700.
// A folder that another user owns is refused: its owner could read every clip
// and plant files. Empty arguments count as unset.
struct DataFolderChoice {
    std::string folder;  // absolute, ending with "/"; empty when refused
    std::string error;   // why it was refused, for standard error
};
DataFolderChoice ChooseDataFolder(const std::string& named, const std::string& programFile,
                                  const std::string& xdgDataHome, const std::string& home);

// dataFolder + "lib" + number + "/", using an existing folder of any case.
std::string LibraryFolder(const std::string& dataFolder, int library);

// The install's share folder for a program in programFolder (".../bin/"):
// ".../share/pellion-clipboard/"; empty when programFolder is unknown. A
// program run from the build folder it was built in reads the source tree's
// data folder instead.
std::string ShareFolder(const std::string& programFolder);

// A file shipped with the program: in the data folder when there, else in the
// share folder, else the data folder's path.
std::string ShippedFile(const std::string& dataFolder, const std::string& programFolder, const std::string& name);
// The manual, the help that F1 opens.
std::string HelpFile(const std::string& dataFolder, const std::string& programFolder);

}  // namespace pellion
