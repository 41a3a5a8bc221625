#include "help/quick_help.h"

#include <cstdio>

#include "app/data_folder.h"
#include "app/program_state.h"
#include "platform/files.h"
#include "platform/utf8.h"

namespace pellion {

std::string CutTopic(const std::string& bytes, int topic) {
    const std::string marker = "##" + std::to_string(topic);
    const std::size_t at = bytes.find(marker);
    const std::size_t next = bytes.find("##" + std::to_string(topic + 1));
    if (at == std::string::npos || next == std::string::npos) return kHelpFileCorrupt;
    // The first character after the marker: 3 on for one digit, 4 for two.
    const std::size_t start = at + (topic <= 9 ? 3 : 4);
    if (next < 3 || next - 3 < start) return kHelpFileCorrupt;
    return bytes.substr(start, next - 3 - start);
}

std::string ToUtf8(const std::string& bytes) {
    return platform::isValidUtf8(bytes) ? bytes : platform::latin1ToUtf8(bytes);
}

std::string QuickHelpText(const ProgramState& ps, int topic) {
    const std::string path = ShippedFile(ps.dataFolder, ps.startup.programFolder, kQuickHelpFileName);
    const auto bytes = files::readAll(path);
    if (!bytes) return kHelpFileCorrupt;
    return ToUtf8(CutTopic(std::string(bytes->begin(), bytes->end()), topic));
}

bool OpenHelpDocument(ProgramState& ps, const char* name) {
    const std::string path = ShippedFile(ps.dataFolder, ps.startup.programFolder, name);
    const int code = ps.platform.shell ? ps.platform.shell->open(path, "") : platform::kShellNoAssociation;
    if (code >= platform::kShellOk) return true;
    static bool told = false;
    if (!told) {
        told = true;
        std::fprintf(stderr, "pellion: nothing opens %s (%s)\n", path.c_str(),
                     files::exists(path) ? "no application for it" : "file missing");
    }
    return false;
}

}  // namespace pellion
