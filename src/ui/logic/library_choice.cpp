#include "ui/logic/library_choice.h"

#include <algorithm>

#include "app/program_state.h"
#include "store/fields.h"
#include "store/index_files.h"
#include "store/slot_files.h"
#include "ui/logic/form_internal.h"
#include "ui/logic/list_cells.h"

namespace pellion::ui {

namespace {

std::string ShownName(const LibraryChoice& choice, int index) {
    const std::string& caption = choice.captions[index];
    return caption.empty() ? "Library " + std::to_string(index + 1) : caption;
}

// The lists of the current library again, from its folder as it is now.
void ReloadCurrentLibrary(ProgramState& ps) {
    UseLibrary(ps, ps.settings.CurrentLibrary);
    ComputeGroupStem(ps);
    FillHotKeyLabels(ps);
    PrepareGroupNames(ps);
    LoadCurrentGroup(ps);
}

constexpr int kRowsLeft = 15, kRowsTop = 1230, kRowPitch = 285, kRowHeight = 270;
constexpr int kColumnLeft[2] = {120, 2940};
constexpr int kTagWidth = 330, kItemLeft = 360, kItemWidth = 2280;

}  // namespace

TwipRect LibraryTagRect(int index) {
    const int column = index < kRowsLeft ? 0 : 1, row = index % kRowsLeft;
    return {kColumnLeft[column], kRowsTop + kRowPitch * row, kTagWidth, kRowHeight};
}

TwipRect LibraryItemRect(int index) {
    TwipRect r = LibraryTagRect(index);
    r.left += kItemLeft;
    r.width = kItemWidth;
    return r;
}

TwipRect LibraryHeadingRect(int column) { return {kColumnLeft[column] + kItemLeft, 960, kItemWidth, 240}; }

LibraryChoice OpenLibraryChoice(ProgramState& ps) {
    LibraryChoice choice;
    choice.captions = LoadLibraryNames(ps);
    choice.highlight = std::clamp<int>(ps.settings.CurrentLibrary, 1, kLibraries) - 1;
    return choice;
}

bool SaveLibraryChoice(ProgramState& ps, const LibraryChoice& choice) {
    std::array<std::string, kUserLibraries> user;
    std::copy_n(choice.captions.begin(), kUserLibraries, user.begin());
    return SaveLibraryNames(ps, user);
}

bool CanRename(int index) { return index >= 0 && index < kUserLibraries; }

bool RenameLibrary(ProgramState& ps, LibraryChoice& choice, int index, const std::string& name) {
    if (!CanRename(index)) return false;
    // What the record keeps, so the dialog shows what a reopening will.
    files::Bytes record;
    field::putText(record, field::leftTrim(name), kLibraryNameBytes);
    choice.captions[index] = field::textAt(record, 0, kLibraryNameBytes);
    return SaveLibraryChoice(ps, choice);
}

void ChooseLibrary(ProgramState& ps, LibraryChoice& choice, int index) {
    if (index < 0 || index >= kLibraries) return;
    if (index + 1 != ps.settings.CurrentLibrary) SwitchLibrary(ps, index + 1);
    ps.lists.libraryName = ShownName(choice, index);
    SaveLibraryChoice(ps, choice);
    detail::SaveSettings(ps);
    ShowLists(ps);
    RefreshModeButtons(ps);
    detail::FocusHoldfocus(ps);
}

bool MoveLibrary(ProgramState& ps, LibraryChoice& choice, int from, int to) {
    if (from < 0 || from >= kLibraries || !CanRename(to) || from == to) return false;
    if (!MoveLibraryFolder(ps.dataFolder, from + 1, to + 1)) return false;
    choice.captions[to] = choice.captions[from];
    if (CanRename(from)) choice.captions[from].clear();
    const int current = ps.settings.CurrentLibrary;
    if (current == from + 1) ps.settings.CurrentLibrary = std::int16_t(to + 1);
    SaveLibraryChoice(ps, choice);
    if (current == from + 1 || current == to + 1) {
        ReloadCurrentLibrary(ps);
        ShowLibraryName(ps);
        detail::SaveSettings(ps);
        ShowLists(ps);
        RefreshModeButtons(ps);
    }
    return true;
}

}  // namespace pellion::ui
