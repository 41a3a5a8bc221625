#pragma once
#include <optional>

#include "platform/shell.h"

namespace pellion::platform::x11 {

// Programs start through GLib without a shell; documents, folders and URLs
// open with the desktop's default application from GIO.
class X11Shell : public Shell {
public:
    FindResult findExecutable(const std::string& document) override;
    int run(const std::string& program, const std::string& arguments, const std::string& startFolder) override;
    int open(const std::string& path, const std::string& startFolder) override;
    int openUrl(const std::string& url) override;
    std::vector<Drive> drives() override;
};

// Arguments as GLib splits them with shell quoting, nothing expanded;
// nullopt for a line it refuses (an open quote).
std::optional<std::vector<std::string>> SplitArguments(const std::string& line);

}  // namespace pellion::platform::x11
