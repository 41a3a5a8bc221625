#include "app/data_folder.h"

#include <cstdlib>

#include "platform/files.h"

namespace pellion {

namespace {

// Creates every missing folder of path (which ends with "/").
bool makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1))
        if (!files::makeFolder(path.substr(0, slash))) return false;
    return true;
}

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

}  // namespace

std::string ProgramFolder(const std::string& programFile) {
    const auto slash = programFile.rfind('/');
    return slash == std::string::npos ? std::string() : programFile.substr(0, slash + 1);
}

std::string DataFolder(const std::string& programFile, const std::string& xdgDataHome, const std::string& home) {
    const std::string own = ProgramFolder(programFile);
    if (!own.empty() && files::isWritableFolder(own)) return own;
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    std::string base = !xdgDataHome.empty() && xdgDataHome[0] == '/' ? xdgDataHome
                       : !home.empty()                                ? home + "/.local/share"
                                                                      : std::string();
    if (base.empty()) return own.empty() ? std::string("./") : own;
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    const std::string folder = base + "/pellion-clipboard/";
    makeFolders(folder);
    return folder;
}

std::string DataFolder() { return DataFolder(files::programFile(), env("XDG_DATA_HOME"), env("HOME")); }

std::string LibraryFolder(const std::string& dataFolder, int library) {
    return files::resolve(dataFolder, "lib" + std::to_string(library)) + "/";
}

std::string ShippedFile(const std::string& dataFolder, const std::string& programFolder, const std::string& name) {
    const std::string here = files::resolve(dataFolder, name);
    if (files::exists(here)) return here;
    const std::string shared = programFolder + "../share/pellion-clipboard/" + name;
    return files::exists(shared) ? shared : here;
}

std::string HelpFile(const std::string& dataFolder, const std::string& programFolder) {
    return ShippedFile(dataFolder, programFolder, "pellion.hlp");
}

}  // namespace pellion
