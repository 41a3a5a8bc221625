#include "ui/logic/list_cells.h"

#include <vector>

#include "app/program_state.h"
#include "store/index_files.h"
#include "store/libraries.h"
#include "ui/logic/form_internal.h"

namespace pellion::ui {

using detail::W;

namespace {

struct ListCellFamily {
    ListKind list;
    Family family;
    int firstPosition;
};

constexpr ListCellFamily kLists[] = {
    {ListKind::ClipboardClips, Family::ClipboardClip, 0},
    {ListKind::GroupClips, Family::Item, 9},
    {ListKind::TransferSlots, Family::Trans, 105},
    {ListKind::GroupNames, Family::Group, 113},
};

Family FamilyOf(ListKind list) {
    for (const auto& l : kLists)
        if (l.list == list) return l.family;
    return Family::ClipboardClip;
}

bool Same(const CellRef& a, const CellRef& b) { return a.list == b.list && a.index == b.index; }

template <std::size_t N>
std::vector<std::string> Titles(const std::array<std::string, N>& titles) {
    return {titles.begin(), titles.end()};
}

}  // namespace

std::optional<CellRef> ListCellAt(int position) {
    const auto cell = HighlightCell(position);
    if (!cell) return std::nullopt;
    for (const auto& l : kLists)
        if (l.family == cell->family) return CellRef{l.list, cell->index};
    return std::nullopt;
}

void ShowLists(ProgramState& ps) {
    FormState& form = ps.mainForm.form;
    const ListModel& lists = ps.lists;
    FillCellCaptions(form, Family::ClipboardClip, Titles(lists.clipboardClips.titles));
    FillCellCaptions(form, Family::Trans, Titles(lists.transferSlots.titles));
    FillCellCaptions(form, Family::Group, Titles(lists.groupNames.titles));
    FillCellCaptions(form, Family::Item, Titles(lists.groupClips.titles));
    for (const auto& l : kLists) {
        for (int i = 0; i < FamilySize(l.family); ++i) {
            const CellLook look = LookOf(ps, l.list, i);
            WidgetState& cell = W(ps, l.family, i);
            cell.background = look.background;
            cell.text = look.text;
        }
    }
    // The tool tips follow the pop-up help option.
    const bool tips = ps.settings.HelpOption != 0;
    for (int n = 0; n < kHotKeyLabels; ++n) {
        WidgetState& tag = W(ps, Family::hotkey, n);
        tag.caption = lists.hotKeyLabels[n].caption;
        tag.toolTip = tips ? lists.hotKeyLabels[n].toolTip : std::string();
    }
    W(ps, Family::LibLabel).caption = lists.libraryName;
    WidgetState& launch = W(ps, Family::LaunchBtn);
    launch.selected = lists.launchPadPressed;
    launch.background = lists.launchPadPressed ? kLaunchPadPressedColour : kButtonFace;
    form.window.bold = ps.settings.FontOption != 0;
    detail::ApplyHotKeyGroupRows(ps);
}

Colour ListCells::background(int position) const {
    const auto cell = ListCellAt(position);
    return cell ? LookOf(ps_, cell->list, cell->index).background : kButtonFace;
}

void ListCells::paint(int position, Colour background, Colour) {
    const auto cell = ListCellAt(position);
    if (!cell) return;
    auto& bar = ps_.lists.highlightBar;
    const std::optional<CellRef> before = bar;
    // The selected group shows the highlight colours by itself.
    const bool selectedGroup = cell->list == ListKind::GroupNames && cell->index == ps_.settings.CurrentGroup;
    if (background == kHighlight && !selectedGroup)
        bar = *cell;
    else if (bar && Same(*bar, *cell))
        bar.reset();
    show(*cell);
    if (before && !Same(*before, *cell)) show(*before);
}

void ListCells::restore(int position, Colour, Colour) {
    const auto cell = ListCellAt(position);
    if (!cell) return;
    auto& bar = ps_.lists.highlightBar;
    if (bar && Same(*bar, *cell)) bar.reset();
    show(*cell);
}

void ListCells::show(const CellRef& cell) {
    const CellLook look = LookOf(ps_, cell.list, cell.index);
    WidgetState& w = W(ps_, FamilyOf(cell.list), cell.index);
    w.background = look.background;
    w.text = look.text;
}

}  // namespace pellion::ui
