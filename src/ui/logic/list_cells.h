#pragma once
// The list model shown in the main window's cells.
#include <optional>

#include "store/list_model.h"
#include "ui/logic/main_form.h"

namespace pellion::ui {

// Puts the model on the form: titles (each up to its first NUL), each cell's
// colours as the model gives them, the hot key tags, the library label, the
// Launch Pad button, the bold font option, and the rows the current group
// hides. Call after every change of the lists.
void ShowLists(ProgramState& ps);

// The list cell at a highlight position.
std::optional<CellRef> ListCellAt(int position);

// The highlight bar kept in the model: painting a cell in the highlight
// colours puts the model's bar on it, a restore takes it off, and the cell
// then shows what the model says. A cell's stored colour is never changed,
// so a restored cell shows its own colour even when it was recoloured or
// stopped being the selected group meanwhile.
class ListCells : public CellColours {
public:
    explicit ListCells(ProgramState& ps) : ps_(ps) {}
    Colour background(int position) const override;
    void paint(int position, Colour background, Colour text) override;
    void restore(int position, Colour saved, Colour text) override;

private:
    void show(const CellRef& cell);
    ProgramState& ps_;
};

}  // namespace pellion::ui
