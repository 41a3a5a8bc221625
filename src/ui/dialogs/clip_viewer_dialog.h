#pragma once
// The clip viewer and editor (form view): a clip's text to edit, its picture,
// or the list of its formats, with its title, paste mode and colour. It is
// modeless; the rules are in ui/logic/clip_viewer.
#include <QDialog>
#include <QImage>
#include <QSize>

#include <array>
#include <memory>

#include "ui/logic/clip_viewer.h"
#include "ui/logic/units.h"

class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStackedWidget;
class QThread;
class QWidget;

namespace pellion::ui {

class PictureBox;

class ClipViewer : public QDialog {
    Q_OBJECT

public:
    // frame: what the window manager adds around a window, in pixels.
    ClipViewer(ProgramState& ps, SourceList list, int slot, const TwipScale& scale, QSize frame,
               QWidget* parent = nullptr);
    ~ClipViewer() override;

    // Shown at the remembered place, above other windows; the clip loads
    // off the window's thread.
    void showViewer();
    // A click on a clip while the viewer is open: its text at the caret,
    // replacing the selection. False while no editable text is shown.
    bool insertAtCaret(const QString& text);
    // The beep of a main-window button that is refused while the viewer is open.
    void focusText();
    bool loaded() const { return loaded_; }

signals:
    void loadFinished();  // the whole clip is shown
    void unloaded();      // after Save or Cancel

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;  // Cancel and the close button
    void showEvent(QShowEvent* event) override;

private:
    struct Loaded;
    void buildMenu();
    QWidget* buildPictureFrame();
    QWidget* buildOptions();
    void applyTips();
    void startLoading(const std::string& path);
    void showLoaded(const std::shared_ptr<Loaded>& loaded);
    void appendChunk();
    void finishLoading();
    void showPicture(const QImage& image);
    void toggleStretch();
    void toggleWordWrap();
    void copySelection(bool cut);
    void setOuter(const TwipRect& outer);
    TwipRect outer() const;
    TwipRect screenTwips() const;
    void save();
    void unload();

    ProgramState& ps_;
    TwipScale scale_;
    QSize frame_;
    ViewerOpening opening_;
    std::shared_ptr<Loaded> clip_;
    int chunkAt_ = 0;  // how much of the text is in the box
    bool loaded_ = false;
    bool multiFormat_ = false;
    bool unloaded_ = false;
    QThread* loader_ = nullptr;

    QLabel* label1_ = nullptr;
    QLineEdit* title_ = nullptr;
    QStackedWidget* view_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLabel* textNote_ = nullptr;
    QWidget* pictureFrame_ = nullptr;
    QScrollArea* scroll_ = nullptr;
    PictureBox* picture_ = nullptr;
    QLabel* pictureNote_ = nullptr;
    QPushButton* stretch_ = nullptr;
    QWidget* frame1_ = nullptr;
    std::array<QRadioButton*, kPasteOptions> paste_{};
    std::array<QRadioButton*, kColourOptions> colour_{};
    QMenu* editMenu_ = nullptr;
    QAction* cut_ = nullptr;
    QAction* copy_ = nullptr;
    QAction* delete_ = nullptr;
    QAction* wordWrap_ = nullptr;
};

}  // namespace pellion::ui
