// The title search over real library folders: order, wrap-round, what the
// Small window hides, spaces, the shared Hot Key Clips titles.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <vector>

#include "platform/files.h"
#include "ui/logic/search.h"
#include "unit/temp_folder.h"

namespace pellion::ui {
namespace {

struct Title {
    int library;  // 0: the data folder (the shared group 22)
    int group;    // -1: the library's group titles, "groups.dat"
    int cell;
    std::string text;
};

struct Case {
    const char* name;
    std::vector<Title> titles;
    int current;
    bool small;
    std::string term;
    std::vector<SearchHit> hits;  // in order; then nothing more is found
};

void Seed(const std::string& data, const std::vector<Title>& titles) {
    std::map<std::string, std::string> contents;
    for (const Title& t : titles) {
        std::string folder = t.library ? data + "lib" + std::to_string(t.library) + "/" : data;
        files::makeFolder(folder);
        const std::string path = folder + (t.group < 0 ? "groups.dat" : "group" + std::to_string(t.group) + ".dat");
        std::string& bytes = contents[path];
        if (bytes.empty()) bytes.assign(t.group < 0 ? 1600 : 4800, ' ');
        bytes.replace(std::size_t(t.cell) * 50, t.text.size(), t.text);
    }
    for (const auto& [path, bytes] : contents) ASSERT_TRUE(files::writeWhole(path, bytes));
}

TEST(Search, FindsTitlesInOrderRoundEveryLibrary) {
    const std::string x49(49, 'x');
    const Case cases[] = {
        {"wraps from the last cell of library 29 to library 1",
         {{29, 31, 95, "zebra"}, {1, 0, 0, "Zebra crossing"}, {20, 3, 4, "zeb ra"}},
         20, false, "zebra", {{29, 31, 95}, {1, 0, 0}}},
        {"the Small window finds only rows 0..22 of the first two columns and groups 0..22",
         {{1, 0, 23, "hidden"}, {1, 0, 31, "hidden"}, {1, 0, 64, "hidden"}, {1, 0, 40, "hidden"},
          {1, -1, 25, "hidden"}, {1, 25, 0, "hidden"}, {1, 0, 22, "hidden"}},
         1, true, "HIDDEN", {{1, 0, 22}, {1, 0, 40}}},
        {"a term of spaces matches trailing spaces, never across two titles",
         {{5, 2, 0, x49}, {5, 2, 1, " " + x49}, {5, 2, 2, x49.substr(1)}, {5, 2, 3, "ab"}},
         5, false, "  ", {{5, 2, 2}, {5, 2, 3}, {5, 2, 4}}},
        {"the shared Hot Key Clips titles are searched once, with the starting library",
         {{0, 22, 5, "hot one"}, {3, 0, 0, ""}, {4, 0, 0, ""}},
         3, false, "HOT ONE", {{3, 22, 5}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempFolder dir;
        Seed(dir.path(), c.titles);
        SearchCursor cursor = StartSearch(c.current);
        const std::string key = SearchKey(c.term);
        for (const SearchHit& want : c.hits) {
            const auto hit = ScanTitles(dir.path(), key, c.small, cursor);
            ASSERT_TRUE(hit.has_value());
            EXPECT_EQ(*hit, want) << hit->library << "/" << hit->group << "/" << hit->cell;
        }
        if (c.term.find_first_not_of(' ') == std::string::npos) continue;  // spaces go on matching
        EXPECT_FALSE(ScanTitles(dir.path(), key, c.small, cursor).has_value());
    }
}

}  // namespace
}  // namespace pellion::ui
