#pragma once
// The clip settings dialog (form Settings) and the group naming dialog (form
// Groupnamer). They show the options and hand what the user chose to the
// rules in ui/logic/clip_settings.
#include <QDialog>

#include <array>

#include "ui/logic/clip_settings.h"

class QAbstractButton;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace pellion::ui {

// Title, paste mode and colour of a clip just dropped into a group. There is
// no cancel: the dialog closes only once a title is saved.
class ClipSettingsDialog : public QDialog {
    Q_OBJECT

public:
    ClipSettingsDialog(ProgramState& ps, ClipSettings held, QWidget* parent = nullptr);

    QLineEdit* titleBox() const { return title_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override {}  // Esc and the close button do not leave without settings

private:
    void ok();
    ClipSettingsForm form() const;

    ProgramState& ps_;
    ClipSettings held_;
    QLabel* label1_ = nullptr;
    QLineEdit* title_ = nullptr;
    std::array<QRadioButton*, kPasteOptions> paste_{};
    std::array<QRadioButton*, kColourOptions> colour_{};
    bool enterPressed_ = false;  // in the title box: only then does its release confirm
};

// The title and colour of a group; OK writes them at once.
class GroupNamingDialog : public QDialog {
    Q_OBJECT

public:
    GroupNamingDialog(ProgramState& ps, int group, QWidget* parent = nullptr);

    QLineEdit* titleBox() const { return title_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ok();

    ProgramState& ps_;
    int group_;
    QLineEdit* title_ = nullptr;
    std::array<QRadioButton*, kColourOptions> colour_{};
};

}  // namespace pellion::ui
