#include "app/data_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files.h"

namespace pellion {

namespace {

// Creates every missing folder of path (which ends with "/").
bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        if (!files::makeFolder(path.substr(0, slash))) return false;
    return true;
}

std::string withSlash(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    return folder == "/" ? folder : folder + "/";
}

// The folder made absolute, created when missing, and checked: ours, and a folder.
DataFolderChoice checked(std::string folder) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(folder, ec);
    if (!ec) folder = absolute.lexically_normal().string();
    folder = withSlash(folder);
    makeFolders(folder);
    struct stat st{};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {{}, "cannot use " + folder + " as the data folder: it is not a folder and cannot be created"};
    if (st.st_uid != ::geteuid())
        return {{}, "refusing the data folder " + folder + ": it belongs to another user (uid " +
                        std::to_string(st.st_uid) + "), who could read every clip and plant files in it"};
    return {folder, {}};
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine out;
    const std::string option = "--data-folder";
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out.help = true;
        } else if (a == option && i + 1 < args.size() && !args[i + 1].empty()) {
            out.dataFolder = args[++i];
        } else if (a.rfind(option + "=", 0) == 0 && a.size() > option.size() + 1) {
            out.dataFolder = a.substr(option.size() + 1);
        } else {
            out.error = a == option || a == option + "=" ? option + " needs a folder" : "unknown argument " + a;
            return out;
        }
    }
    return out;
}

std::string ProgramFolder(const std::string& programFile) {
    const auto slash = programFile.rfind('/');
    return slash == std::string::npos ? std::string() : programFile.substr(0, slash + 1);
}

DataFolderChoice ChooseDataFolder(const std::string& named, const std::string& programFile,
                                  const std::string& xdgDataHome, const std::string& home) {
    if (!named.empty()) return checked(named);
    // A build folder or ~/bin holds other people's files: the program's own
    // folder is taken only when it already holds the settings (a portable install).
    const std::string own = ProgramFolder(programFile);
    if (!own.empty() && files::isRegularFile(files::resolve(own, "pellion.ini"))) return checked(own);
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    const std::string base = !xdgDataHome.empty() && xdgDataHome[0] == '/' ? xdgDataHome
                             : !home.empty()                                ? home + "/.local/share"
                                                                            : std::string();
    if (base.empty()) return {{}, "no data folder: neither XDG_DATA_HOME nor HOME is set; use --data-folder DIR"};
    return checked(withSlash(base) + "pellion-clipboard/");
}

std::string LibraryFolder(const std::string& dataFolder, int library) {
    return files::resolve(dataFolder, "lib" + std::to_string(library)) + "/";
}

std::string ShareFolder(const std::string& programFolder) {
    // Unknown, the folder would be taken relative to wherever the program was started.
    if (programFolder.empty() || programFolder[0] != '/') return {};
#if defined(PELLION_BUILD_FOLDER) && defined(PELLION_SOURCE_DATA)
    // Run from the build folder, not installed: the files are the source tree's.
    std::error_code ec;
    if (std::filesystem::equivalent(programFolder, PELLION_BUILD_FOLDER, ec)) return withSlash(PELLION_SOURCE_DATA);
#endif
    return withSlash(std::filesystem::path(programFolder + "../share/pellion-clipboard").lexically_normal().string());
}

std::string ShippedFile(const std::string& dataFolder, const std::string& programFolder, const std::string& name) {
    const std::string here = files::resolve(dataFolder, name);
    if (files::exists(here)) return here;
    const std::string share = ShareFolder(programFolder);
    return !share.empty() && files::exists(share + name) ? share + name : here;
}

std::string HelpFile(const std::string& dataFolder, const std::string& programFolder) {
    return ShippedFile(dataFolder, programFolder, "manual/index.html");
}

}  // namespace pellion
