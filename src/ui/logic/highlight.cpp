// The highlight bar: one cell of the four lists painted in the desktop's
// highlight colours, with the cell's own background remembered.
#include "ui/logic/form_internal.h"

namespace pellion::ui {

namespace {

constexpr int kFirstGroupPosition = 113;

// The form's own cells, used until the list model plugs in.
class FormCells : public CellColours {
public:
    explicit FormCells(FormState& form) : form_(form) {}
    Colour background(int position) const override { return form_[*HighlightCell(position)].background; }
    void paint(int position, Colour background, Colour text) override {
        WidgetState& cell = form_[*HighlightCell(position)];
        cell.background = background;
        cell.text = text;
    }

private:
    FormState& form_;
};

template <typename F>
void WithCells(ProgramState& ps, F f) {
    MainForm& m = ps.mainForm;
    if (m.cellColours) {
        f(*m.cellColours);
    } else {
        FormCells cells(m.form);
        f(cells);
    }
}

// The selected group keeps the highlight colours as its own, so its text
// goes back to the highlight text colour rather than black.
void RestoreOldCell(MainForm& m, CellColours& cells) {
    const bool selectedGroup = m.highlight >= kFirstGroupPosition && m.savedCellColour == kHighlight;
    cells.restore(m.highlight, m.savedCellColour, selectedGroup ? kHighlightText : kBlack);
}

}  // namespace

std::optional<WidgetRef> HighlightCell(int p) {
    if (p < 0 || p >= kHighlightPositions) return std::nullopt;
    if (p <= 8) return WidgetRef{Family::ClipboardClip, p};
    if (p <= 104) return WidgetRef{Family::Item, p - 9};
    if (p <= 112) return WidgetRef{Family::Trans, p - 105};
    return WidgetRef{Family::Group, p - kFirstGroupPosition};
}

void MoveHighlight(ProgramState& ps, int position) {
    MainForm& m = ps.mainForm;
    if (!HighlightCell(position) || position == m.highlight) return;
    WithCells(ps, [&](CellColours& cells) {
        RestoreOldCell(m, cells);
        m.highlight = position;
        m.savedCellColour = cells.background(position);
        cells.paint(position, kHighlight, kHighlightText);
    });
}

void RestoreHighlightedCell(ProgramState& ps) {
    WithCells(ps, [&](CellColours& cells) { RestoreOldCell(ps.mainForm, cells); });
}

void ResetHighlight(ProgramState& ps) {
    MainForm& m = ps.mainForm;
    WithCells(ps, [&](CellColours& cells) {
        RestoreOldCell(m, cells);
        m.savedCellColour = static_cast<Colour>(ps.settings.ClipboardClipsColour);
        m.highlight = 0;
        cells.paint(0, kHighlight, kHighlightText);
        const int group = ps.settings.CurrentGroup;
        if (group >= 0 && group < 32) cells.paint(kFirstGroupPosition + group, kHighlight, kHighlightText);
    });
}

}  // namespace pellion::ui
