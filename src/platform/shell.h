#pragma once
// Finding and starting programs and documents. Results are codes:
// 33 or more success, 2 file or folder missing, 5 cannot run,
// 31 no association, 99 start folder missing.
#include <string>

namespace pellion::platform {

inline constexpr int kShellOk = 33, kShellMissing = 2, kShellCannotRun = 5, kShellNoAssociation = 31,
                     kShellNoStartFolder = 99;
// A command line that cannot be split into arguments (unbalanced quotes).
inline constexpr int kShellBadCommandLine = 11;

struct FindResult {
    int code = kShellNoAssociation;
    std::string program;  // the command that opens the document
};

class Shell {
public:
    virtual ~Shell() = default;
    virtual FindResult findExecutable(const std::string& document) = 0;
    // A command line split with shell-style quoting, started without a shell.
    virtual int run(const std::string& commandLine, const std::string& startFolder) = 0;
    // A document or folder, with the desktop's default application.
    virtual int open(const std::string& path, const std::string& startFolder) = 0;
    virtual int openUrl(const std::string& url) = 0;
};

}  // namespace pellion::platform
