#pragma once
// The library selection dialog (form LibForm): all 29 libraries; a left
// click chooses one, a right click renames a user library, a drag moves a
// library's contents onto an empty number. Rules in ui/logic/library_choice.
#include <QDialog>

#include <array>

#include "ui/logic/library_choice.h"
#include "ui/logic/units.h"

class QLabel;
class QLineEdit;

namespace pellion::ui {

class Edit;

class LibraryDialog : public QDialog {
    Q_OBJECT

public:
    LibraryDialog(ProgramState& ps, const TwipScale& scale, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    int indexOf(const QObject* widget) const;
    int indexAt(QPoint global) const;
    void setHighlight(int index);
    void paintItem(int index, bool highlighted);
    void startRename(int index);
    void finishRename();
    void leave();
    bool mouse(int index, bool onItem, QEvent* event);

    ProgramState& ps_;
    LibraryChoice choice_;
    std::array<QLabel*, kLibraries> items_{};
    std::array<QLabel*, kLibraries> tags_{};
    QLineEdit* getName_ = nullptr;
    QLabel* cancel_ = nullptr;
    int renaming_ = -1;     // the item whose name is edited
    int dragSource_ = -1;   // the item the left button went down on
    QPoint pressAt_;
    bool dragging_ = false;
    bool pointerWasElsewhere_ = false;  // "Cancel" acts only on a pointer that came to it
};

// The main window's "Change" button opens the dialog.
void BindLibraryButton(ProgramState& ps, Edit& edit);

}  // namespace pellion::ui
