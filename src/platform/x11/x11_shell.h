#pragma once
#include "platform/shell.h"

namespace pellion::platform::x11 {

// Programs start through GLib without a shell; documents, folders and URLs
// open with the desktop's default application from GIO.
class X11Shell : public Shell {
public:
    FindResult findExecutable(const std::string& document) override;
    int run(const std::string& commandLine, const std::string& startFolder) override;
    int open(const std::string& path, const std::string& startFolder) override;
    int openUrl(const std::string& url) override;
};

}  // namespace pellion::platform::x11
