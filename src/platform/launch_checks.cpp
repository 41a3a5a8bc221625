#include "platform/launch_checks.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>

#include "platform/shell.h"

namespace pellion::platform {

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

int programCode(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return kShellMissing;
    return S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0 ? kShellOk : kShellCannotRun;
}

}  // namespace

bool hasProgramExtension(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ext = path.substr(path.size() - 4);
    for (auto& c : ext) c = char(std::toupper(static_cast<unsigned char>(c)));
    return ext == ".EXE" || ext == ".COM" || ext == ".BAT";
}

bool isProgramFile(const std::string& path) { return hasProgramExtension(path) || isExecutableFile(path); }

int checkStartFolder(const std::string& folder) {
    if (folder.empty()) return kShellOk;
    struct stat st {};
    if (::stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || ::access(folder.c_str(), X_OK) != 0)
        return kShellNoStartFolder;
    return kShellOk;
}

int checkProgram(const std::string& argv0, const std::string& startFolder, std::string* resolved) {
    if (argv0.empty()) return kShellMissing;
    std::string path = argv0;
    if (argv0.find('/') == std::string::npos) {
        const char* env = std::getenv("PATH");
        const std::string dirs = env ? env : "/usr/local/bin:/usr/bin:/bin";
        int best = kShellMissing;
        std::size_t start = 0;
        while (start <= dirs.size()) {
            auto end = dirs.find(':', start);
            if (end == std::string::npos) end = dirs.size();
            const std::string dir = end > start ? dirs.substr(start, end - start) : ".";
            const std::string candidate = dir + "/" + argv0;
            const int code = programCode(candidate);
            if (code == kShellOk) {
                if (resolved) *resolved = candidate;
                return kShellOk;
            }
            if (code == kShellCannotRun) best = kShellCannotRun;
            start = end + 1;
        }
        return best;
    }
    if (path[0] != '/' && !startFolder.empty()) path = startFolder + (startFolder.back() == '/' ? "" : "/") + path;
    const int code = programCode(path);
    if (code == kShellOk && resolved) *resolved = path;
    return code;
}

}  // namespace pellion::platform
