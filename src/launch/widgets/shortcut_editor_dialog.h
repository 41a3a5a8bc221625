#pragma once
// The shortcut editor (form LaunchPad, " Shortcut Edit"): browsing lists,
// drag labels, bookmarks, filters and the trash, laid out in twips. The
// rules are in launch/shortcut_editor; this shows them and carries the drags.
#include <QDialog>

#include <array>
#include <map>

#include "launch/shortcut_editor.h"
#include "ui/logic/clip_settings.h"
#include "ui/logic/units.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QRadioButton;

namespace pellion::ui {

class ShortcutEditorDialog : public QDialog {
    Q_OBJECT

public:
    // slot of 1000 or more: a new shortcut from clipText for slot - 1000.
    ShortcutEditorDialog(ProgramState& ps, ListKind list, int slot, const std::string& clipText,
                         QWidget* parent = nullptr);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* dragLabel(const QString& text, EditorPlace place);
    void place(QWidget* w, int left, int top, int width, int height);
    void showFolder(const std::string& folder);
    void showFiles();
    void showMarks();
    void showFields();
    bool mouse(QWidget* w, EditorPlace from, QEvent* event);
    bool dragEvent(EditorPlace to, QEvent* event);
    void startDrag(QWidget* from, EditorPlace place);
    void click(EditorPlace place);
    void hover(QLabel* label);
    void flash(QLineEdit* field, const char* text);
    void save();

    ProgramState& ps_;
    EditorState e_;
    TwipScale scale_;
    QLineEdit* file_ = nullptr;
    QLineEdit* start_ = nullptr;
    QLineEdit* command_ = nullptr;
    QLineEdit* title_ = nullptr;
    QComboBox* drives_ = nullptr;
    QListWidget* dirs_ = nullptr;
    QListWidget* files_ = nullptr;
    std::array<QLabel*, kBookmarks> folders_{};
    std::array<QLabel*, kFilters> filters_{};
    std::array<QRadioButton*, kColourOptions> colour_{};
    std::map<const QObject*, EditorPlace> places_;
    QPoint pressAt_;
    bool pressed_ = false;
    bool flashing_ = false;
};

// The small message window of a launch that failed (form Errors).
void ShowLaunchError(const std::string& message, QWidget* parent);

}  // namespace pellion::ui
