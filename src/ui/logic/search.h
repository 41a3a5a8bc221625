#pragma once
// Search of the titles of the groups and group clips of every library. The
// scan is plain file reading with no program state, so it can run on a
// thread of its own while the window keeps answering.
#include <optional>
#include <string>

#include "ui/logic/form_design.h"

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

// Where the next scan resumes. Libraries are walked in a circle from the one
// current when the search began, up to endLibrary.
struct SearchCursor {
    int library = 1;
    int group = 0;      // the group whose clip titles are scanned next
    int titleCell = 0;  // the next group title to look at; 32 once done
    int clipCell = 0;   // the next clip title of `group`
    int endLibrary = 29;
};

struct SearchHit {
    int library = 0;
    int group = 0;   // the group to select: the one whose title or clip matched
    int cell = -1;   // the matching clip's cell 0..95; -1 for a group title
    bool operator==(const SearchHit&) const = default;
};

// A new search from the current library round to the one before it.
SearchCursor StartSearch(int currentLibrary);
// Letters a-z in upper case; other bytes as they are.
std::string SearchKey(std::string text);

// The next title holding `key` (as SearchKey gives it) from the cursor on,
// and the cursor moved past it; nullopt once endLibrary is done. A match
// lies inside one title. The Small window sees what it shows: group titles
// 0..22 and clip cells in rows 0..22 of the first two columns. The shared
// "Hot Key Clips" titles are looked at once, with the library the search
// began in (library 1 when that is the Launch Pad).
std::optional<SearchHit> ScanTitles(const std::string& dataFolder, const std::string& key, bool smallWindow,
                                    SearchCursor& cursor);

// Makes the hit's library and group current, as a click would, and gives
// the place of the pointer beside the hit's cell, in window twips.
struct SearchPointer {
    TwipRect rect;
    bool pointsLeft = true;  // at a clip's right end; a group's pointer points right
};
SearchPointer ShowSearchHit(ProgramState& ps, const SearchHit& hit);

}  // namespace pellion::ui
