#include "app/data_repair.h"

#include <filesystem>

#include "app/program_state.h"
#include "capture/monitor.h"
#include "platform/files.h"
#include "store/clip_file.h"
#include "store/fields.h"
#include "store/index_files.h"
#include "store/libraries.h"
#include "store/slot_files.h"

namespace pellion {

namespace {

// "lib" + 1..29 in any letter case.
bool isLibraryFolderName(const std::string& name) {
    const std::string lower = files::toLower(name);
    if (lower.size() < 4 || lower.size() > 5 || lower.compare(0, 3, "lib") != 0 || lower[3] == '0') return false;
    int n = 0;
    for (std::size_t i = 3; i < lower.size(); ++i) {
        if (lower[i] < '0' || lower[i] > '9') return false;
        n = n * 10 + (lower[i] - '0');
    }
    return n >= 1 && n <= kLaunchPad;
}

void removeTemporaryFilesIn(const std::string& folder) {
    for (const std::string& name : files::list(folder, "*"))
        if (files::isTemporaryName(name)) files::remove(folder + name);
}

}  // namespace

void RemoveLeftoverTemporaryFiles(const std::string& dataFolder) {
    removeTemporaryFilesIn(dataFolder);
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dataFolder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (isLibraryFolderName(name) && !it->is_symlink(ec) && it->is_directory(ec))
            removeTemporaryFilesIn(dataFolder + name + "/");
    }
}

std::string BlockedDataFile(const std::string& dataFolder) {
    for (const char* name : {"pellion.ini", "clip.dat", "trans.dat", "trans.mod", "trans.clr"}) {
        const std::string path = files::resolve(dataFolder, name);
        if (files::exists(path) && !files::isLink(path) && !files::isRegularFile(path))
            return path + " is not a file: the program cannot keep its lists there. Move it elsewhere and start again.";
    }
    return {};
}

bool RecoverClipboardClips(ProgramState& state) {
    if (state.settings.ClearOption == 0 || ClipIndexHoldsACount(state)) return false;
    if (files::isLink(FileIn(state.dataFolder, "clip.dat"))) return false;
    auto clip = [&](int n) { return SlotPath(state, {ListKind::ClipboardClips, n}); };
    auto& list = state.lists.clipboardClips;
    list = {};
    for (int n = 0; n < kClipSlots; ++n) {
        const std::string path = clip(n);
        if (!files::isRegularFile(path)) continue;
        // Gaps are closed by renames onto free names only, so nothing is
        // replaced; a clip that cannot move keeps its slot.
        int slot = list.count;
        const std::string free = clip(slot);
        if (slot != n && (files::exists(free) || files::isLink(free) || !files::rename(path, free))) slot = n;
        const auto text = ClipFileText(clip(slot));
        list.titles[slot] = field::title(MakeTitle(text ? *text : std::string(kNonTextTitle)));
        list.count = slot + 1;
    }
    if (list.count == 0) return false;
    SaveClipboardClips(state);
    const std::string found = list.count == 1 ? "the 1 clip file" : "the " + std::to_string(list.count) + " clip files";
    state.startup.notices.push_back("The list of Clipboard Clips (\"clip.dat\") was damaged or missing; it was rebuilt "
                                    "from " + found + " found, titled from their text.");
    return true;
}

}  // namespace pellion
