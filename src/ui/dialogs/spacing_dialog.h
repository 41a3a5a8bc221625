#pragma once
// The bulk paste spacing dialog: options "1" to "7", the user text from
// "spacer.txt", OK and Cancel. Its rules are in capture/bulk_paste.
#include <QDialog>

#include <array>

#include "capture/bulk_paste.h"

class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace pellion::ui {

class BulkSpacingDialog : public QDialog {
    Q_OBJECT

public:
    explicit BulkSpacingDialog(ProgramState& ps, QWidget* parent = nullptr);

    // Shown modally, centred, above every window: kSpacingGoOn or kSpacingCancelled.
    int run();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    void choose(int value);
    void ok();

    ProgramState& ps_;
    std::array<QRadioButton*, kSpacingOptions> options_{};
    QPlainTextEdit* text_ = nullptr;
    QPushButton* ok_ = nullptr;
};

// The dialog as BulkPaste asks for it.
pellion::SpacingDialog SpacingDialogRunner(ProgramState& ps);

}  // namespace pellion::ui
