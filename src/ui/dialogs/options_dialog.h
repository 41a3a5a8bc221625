#pragma once
// The Options dialog (form Options): the controls of its design, each
// choice handed to the rules in ui/logic/options at once.
#include <QDialog>

#include <functional>
#include <map>
#include <utility>

#include "ui/logic/options.h"

class QAbstractButton;

namespace pellion::ui {

class OptionsDialog : public QDialog {
    Q_OBJECT

public:
    // changed: the main window shows the settings again.
    OptionsDialog(ProgramState& ps, std::function<void()> changed, QWidget* parent = nullptr);

    // exec() result when a new window size closed the dialog.
    static constexpr int kSizeChanged = 2;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* create(const OptionsControl& c);
    void showSettings();
    void chosen();

    ProgramState& ps_;
    std::function<void()> changed_;
    std::map<std::pair<int, int>, QAbstractButton*> choices_;  // (row 1..9, index)
    std::map<std::pair<int, int>, QAbstractButton*> colours_;  // (colour row, index)
    std::map<QObject*, std::pair<OptionsPart, int>> helpOf_;   // what a right click asks for
};

}  // namespace pellion::ui
