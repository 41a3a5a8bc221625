#include "ui/logic/search.h"

#include <cstring>
#include <filesystem>
#include <unordered_map>

#include "app/program_state.h"
#include "platform/files.h"
#include "store/libraries.h"
#include "ui/logic/form_internal.h"
#include "ui/logic/list_cells.h"

namespace pellion::ui {

namespace {

constexpr int kSmallRows = 23;  // rows 0..22 show in the Small window
constexpr int kPointerWidth = 732, kPointerHeight = 300;

int NextLibrary(int library) { return library % kLibraries + 1; }

// The files of one folder by their lower-case names: one directory read per
// library instead of a case-blind look-up for every group file.
class FolderNames {
public:
    explicit FolderNames(const std::string& folder) : folder_(folder) {
        std::error_code ec;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const std::string name = it->path().filename().string();
            names_.emplace(files::toLower(name), name);
        }
    }
    std::optional<std::string> path(const std::string& lowerName) const {
        auto it = names_.find(lowerName);
        if (it == names_.end()) return std::nullopt;
        return folder_ + it->second;
    }

private:
    std::string folder_;
    std::unordered_map<std::string, std::string> names_;
};

// The titles of a file in upper case, or nothing when it cannot be read.
std::optional<std::string> TitleBlock(const std::optional<std::string>& path, std::size_t titles) {
    if (!path || !files::isRegularFile(*path)) return std::nullopt;
    auto bytes = files::readAt(*path, 0, titles * kTitleBytes);
    if (!bytes) return std::nullopt;
    return SearchKey(std::string(bytes->begin(), bytes->end()));
}

// The first title from `from` on that holds key wholly and that `shown`
// accepts.
template <typename Shown>
std::optional<int> FindTitle(const std::string& block, const std::string& key, int from, Shown shown) {
    const std::size_t end = block.size();
    std::size_t p = std::size_t(from) * kTitleBytes;
    while (p + key.size() <= end) {
        const void* at = ::memmem(block.data() + p, end - p, key.data(), key.size());
        if (!at) return std::nullopt;
        const std::size_t q = static_cast<const char*>(at) - block.data();
        const int title = int(q / kTitleBytes);
        if (q % kTitleBytes + key.size() <= std::size_t(kTitleBytes) && shown(title)) return title;
        p = q + 1;
    }
    return std::nullopt;
}

}  // namespace

SearchCursor StartSearch(int currentLibrary) {
    if (currentLibrary < 1 || currentLibrary > kLibraries) currentLibrary = 1;
    SearchCursor c;
    c.library = currentLibrary;
    c.endLibrary = currentLibrary == 1 ? kLibraries : currentLibrary - 1;
    return c;
}

std::string SearchKey(std::string text) {
    for (char& ch : text)
        if (ch >= 'a' && ch <= 'z') ch = char(ch - 'a' + 'A');
    return text;
}

std::optional<SearchHit> ScanTitles(const std::string& dataFolder, const std::string& key, bool smallWindow,
                                    SearchCursor& c) {
    if (key.empty() || key.size() > std::size_t(kTitleBytes)) return std::nullopt;
    const int groups = smallWindow ? kSmallRows : kGroups;
    const int start = NextLibrary(c.endLibrary);
    const int hotKeyLibrary = start == kLaunchPad ? 1 : start;
    auto cellShown = [smallWindow](int cell) { return !smallWindow || (cell < 64 && cell % 32 < kSmallRows); };

    for (int round = 0; round <= kLibraries; ++round) {
        const int library = c.library;
        const FolderNames folder(LibraryFolderFor(dataFolder, library));
        if (c.titleCell < groups) {
            // Group 22 of the Launch Pad is no group a user can select.
            auto titleShown = [library](int g) { return !(library == kLaunchPad && g == kHotKeyGroup); };
            if (auto block = TitleBlock(folder.path("groups.dat"), std::size_t(groups))) {
                if (auto g = FindTitle(*block, key, c.titleCell, titleShown)) {
                    c.titleCell = *g + 1;
                    return SearchHit{library, *g, -1};
                }
            }
            c.titleCell = kGroups;
        }
        for (int g = c.group; g < groups; ++g) {
            std::optional<std::string> path;
            if (g != kHotKeyGroup)
                path = folder.path("group" + std::to_string(g) + ".dat");
            else if (library == hotKeyLibrary)
                path = FolderNames(dataFolder).path("group22.dat");
            auto block = TitleBlock(path, kGroupSlots);
            auto cell = block ? FindTitle(*block, key, c.clipCell, cellShown) : std::nullopt;
            if (!cell) {
                c.clipCell = 0;
                continue;
            }
            if (*cell + 1 < kGroupSlots) {
                c.group = g;
                c.clipCell = *cell + 1;
            } else if (g + 1 < kGroups) {
                c.group = g + 1;
                c.clipCell = 0;
            } else {
                c = SearchCursor{NextLibrary(library), 0, 0, 0, c.endLibrary};
            }
            return SearchHit{library, g, *cell};
        }
        if (library == c.endLibrary) {
            c.group = groups;
            return std::nullopt;
        }
        c = SearchCursor{NextLibrary(library), 0, 0, 0, c.endLibrary};
    }
    return std::nullopt;
}

SearchPointer ShowSearchHit(ProgramState& ps, const SearchHit& hit) {
    if (hit.library != ps.settings.CurrentLibrary) SwitchLibrary(ps, hit.library);
    if (hit.group != ps.settings.CurrentGroup) SelectGroup(ps, hit.group);
    detail::SaveSettings(ps);
    ShowLists(ps);
    RefreshModeButtons(ps);

    const FormState& form = ps.mainForm.form;
    SearchPointer pointer;
    if (hit.cell >= 0) {
        const TwipRect cell = form.absoluteRect({Family::Item, hit.cell});
        pointer.rect = {cell.right() - 146, cell.top - 16, kPointerWidth, kPointerHeight};
    } else {
        const TwipRect cell = form.absoluteRect({Family::Group, hit.group});
        pointer.rect = {cell.left - 966, cell.top - 16, kPointerWidth, kPointerHeight};
        pointer.pointsLeft = false;
    }
    return pointer;
}

}  // namespace pellion::ui
