#pragma once
// Finding and starting programs and documents. Results are codes:
// 33 or more success, 2 file or folder missing, 5 cannot run,
// 31 no association, 99 start folder missing.
#include <string>
#include <vector>

namespace pellion::platform {

inline constexpr int kShellOk = 33, kShellMissing = 2, kShellCannotRun = 5, kShellNoAssociation = 31,
                     kShellNoStartFolder = 99;
// A command line that cannot be split into arguments (unbalanced quotes).
inline constexpr int kShellBadCommandLine = 11;

struct FindResult {
    int code = kShellNoAssociation;
    std::string program;  // the command that opens the document
};

// A place the shortcut editor lists as a drive: the root, the home folder and
// the removable and network mounts a user sees.
struct Drive {
    std::string name;  // as the desktop shows it
    std::string path;
};

class Shell {
public:
    virtual ~Shell() = default;
    virtual FindResult findExecutable(const std::string& document) = 0;
    // The program with its arguments split from one line with shell-style
    // quoting, started without a shell.
    virtual int run(const std::string& program, const std::string& arguments, const std::string& startFolder) = 0;
    // A document or folder, with the desktop's default application; a
    // desktop entry file starts as the desktop starts it.
    virtual int open(const std::string& path, const std::string& startFolder) = 0;
    virtual int openUrl(const std::string& url) = 0;
    virtual std::vector<Drive> drives() = 0;
};

}  // namespace pellion::platform
