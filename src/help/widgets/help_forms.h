#pragma once
// The quick-help window, which shows one topic, and the help menu window,
// which leads to the manual, the overview topics and the tutorial.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace pellion {
struct ProgramState;
}

namespace pellion::ui {

class HelpForm : public QDialog {
    Q_OBJECT

public:
    HelpForm(ProgramState& ps, int topic, QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPlainTextEdit* text_;
};

class MainHelpForm : public QDialog {
    Q_OBJECT

public:
    explicit MainHelpForm(ProgramState& ps, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openManual();

    ProgramState& ps_;
    QPushButton* helpBtn_;
};

// The quick-help window on the topic, modal, over the window that asked.
void ShowQuickHelp(ProgramState& ps, int topic);

}  // namespace pellion::ui
