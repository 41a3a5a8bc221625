#include "ui/dialogs/clip_viewer_dialog.h"

#include <algorithm>
#include <limits>

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QStackedWidget>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "ui/logic/form_internal.h"

namespace pellion::ui {

namespace {

constexpr int kTitleLength = 50;
// Text goes into the box in pieces this large, so the window answers between them.
constexpr int kChunkChars = 256 * 1024;
const char* const kHelpTip = " Right click for help ";
const char* const kTitleTip = " Point to the words Clip Title(left) and right click for help ";

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

bool RightRelease(const QEvent* event) {
    return event->type() == QEvent::MouseButtonRelease &&
           static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
}

template <std::size_t N>
std::optional<int> Checked(const std::array<QRadioButton*, N>& buttons) {
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked()) return int(i);
    return std::nullopt;
}

template <std::size_t N>
bool Contains(const std::array<QRadioButton*, N>& buttons, const QObject* o) {
    return std::find(buttons.begin(), buttons.end(), o) != buttons.end();
}

}  // namespace

// The picture, fitted to the frame or at its own size in a scrolling area.
class PictureBox : public QWidget {
public:
    explicit PictureBox(QWidget* parent) : QWidget(parent) {}

    void setImage(QImage image) {
        image_ = std::move(image);
        fitted_ = QImage();
        update();
    }
    bool fit() const { return fit_; }
    void setFit(bool fit) {
        fit_ = fit;
        if (!fit_) resize(image_.size());
        update();
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        if (image_.isNull()) return;
        QPainter p(this);
        if (!fit_) {
            p.drawImage(event->rect(), image_, event->rect());
            return;
        }
        // Scaled once per size: a large picture is slow to scale smoothly.
        const QSize want = image_.size().scaled(size(), Qt::KeepAspectRatio);
        if (fitted_.size() != want && !want.isEmpty())
            fitted_ = image_.scaled(want, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        p.drawImage(QPoint((width() - fitted_.width()) / 2, (height() - fitted_.height()) / 2), fitted_);
    }

private:
    QImage image_;
    QImage fitted_;
    bool fit_ = true;
};

// Made off the window's thread: the file read, the picture decoded, the
// text turned into the box's characters.
struct ClipViewer::Loaded {
    ViewerClip clip;
    QImage image;
    QString text;
    bool broken = false;  // shown in pieces, not to be edited
};

ClipViewer::ClipViewer(ProgramState& ps, SourceList list, int slot, const TwipScale& scale, QSize frame,
                       QWidget* parent)
    : QDialog(parent), ps_(ps), scale_(scale), frame_(frame), opening_(OpenViewerOn(ps, list, slot)) {
    setObjectName(QStringLiteral("view"));
    setWindowTitle(QStringLiteral(" Clip Edit"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    QFont f = font();
    f.setBold(ps_.mainForm.form.window.bold);
    setFont(f);

    auto* column = new QVBoxLayout(this);
    buildMenu();

    view_ = new QStackedWidget(this);
    text_ = new QPlainTextEdit(view_);
    text_->setObjectName(QStringLiteral("Text1"));
    text_->setLineWrapMode(ps_.viewer.wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    text_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(text_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { editMenu_->popup(text_->viewport()->mapToGlobal(at)); });
    textNote_ = new QLabel(QString::fromUtf8(kBrokenLinesNote), this);
    textNote_->setWordWrap(true);
    textNote_->hide();
    column->addWidget(textNote_);
    view_->addWidget(text_);

    view_->addWidget(buildPictureFrame());
    column->addWidget(view_, 1);

    auto* titleRow = new QHBoxLayout;
    label1_ = new QLabel(QStringLiteral("Clip Title...."), this);
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("title"));
    title_->setMaxLength(kTitleLength);
    title_->setText(QString::fromStdString(opening_.title));
    titleRow->addWidget(label1_);
    titleRow->addWidget(title_, 1);
    column->addLayout(titleRow);
    column->addWidget(buildOptions());

    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(QStringLiteral("Save"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cancelbtn"));
    for (QPushButton* b : {ok, cancel}) b->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    column->addLayout(buttons);
    connect(ok, &QPushButton::clicked, this, [this] { save(); });
    connect(cancel, &QPushButton::clicked, this, [this] { reject(); });

    applyTips();
    for (QObject* o : std::initializer_list<QObject*>{title_, label1_, text_}) o->installEventFilter(this);
    for (auto* b : paste_) b->installEventFilter(this);
    for (auto* b : colour_) b->installEventFilter(this);

    // Nothing to edit until the clip is in the box.
    text_->setReadOnly(true);
    startLoading(opening_.path);
}

ClipViewer::~ClipViewer() {
    if (loader_) {
        loader_->wait();
        delete loader_;
    }
    // Gone with the main window: nobody is left to tell.
    ps_.clip.viewerOpen = false;
    ps_.viewer.refusePaste = false;
}

void ClipViewer::buildMenu() {
    auto* bar = new QMenuBar(this);
    layout()->setMenuBar(bar);
    editMenu_ = bar->addMenu(QStringLiteral("&Edit"));
    editMenu_->setObjectName(QStringLiteral("editmenu"));
    auto add = [this](QMenu* menu, const QString& text, auto slot) {
        QAction* a = menu->addAction(text);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    cut_ = add(editMenu_, QStringLiteral("Cut"), [this] { copySelection(true); });
    copy_ = add(editMenu_, QStringLiteral("Copy"), [this] { copySelection(false); });
    delete_ = add(editMenu_, QStringLiteral("Delete"), [this] { text_->textCursor().removeSelectedText(); });
    editMenu_->addSeparator();
    wordWrap_ = add(editMenu_, QStringLiteral("Wordwrap"), [this] { toggleWordWrap(); });
    wordWrap_->setCheckable(true);
    wordWrap_->setChecked(ps_.viewer.wordWrap);
    QMenu* size = editMenu_->addMenu(QStringLiteral("Size"));
    const bool large = ps_.settings.SizeOption == 1;
    add(size, QStringLiteral("Default"), [this, large] {
        const TwipRect s = screenTwips();
        setOuter(ViewerDefaultSize(large, s.width, s.height));
    });
    add(size, QStringLiteral("Wide"), [this, large] {
        const TwipRect s = screenTwips();
        setOuter(ViewerWideSize(large, s.width, s.height));
    });
    connect(editMenu_, &QMenu::aboutToShow, this, [this] {
        const bool selected = text_->isVisible() && text_->isEnabled() && text_->textCursor().hasSelection();
        cut_->setEnabled(selected && !text_->isReadOnly());
        copy_->setEnabled(selected);
        delete_->setEnabled(selected && !text_->isReadOnly());
        wordWrap_->setEnabled(!ps_.viewer.refusePaste);
    });
}

QWidget* ClipViewer::buildPictureFrame() {
    pictureFrame_ = new QWidget(view_);
    pictureFrame_->setObjectName(QStringLiteral("PictureFrame"));
    auto* pictureColumn = new QVBoxLayout(pictureFrame_);
    pictureColumn->setContentsMargins(0, 0, 0, 0);
    scroll_ = new QScrollArea(pictureFrame_);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setWidgetResizable(true);
    picture_ = new PictureBox(scroll_);
    scroll_->setWidget(picture_);
    pictureNote_ = new QLabel(pictureFrame_);
    pictureNote_->setWordWrap(true);
    pictureNote_->setAlignment(Qt::AlignCenter);
    pictureNote_->hide();
    stretch_ = new QPushButton(QStringLiteral("True Size"), pictureFrame_);
    stretch_->setObjectName(QStringLiteral("StretchBtn"));
    stretch_->setAutoDefault(false);
    connect(stretch_, &QPushButton::clicked, this, [this] { toggleStretch(); });
    pictureColumn->addWidget(scroll_, 1);
    pictureColumn->addWidget(pictureNote_, 1);
    pictureColumn->addWidget(stretch_, 0, Qt::AlignHCenter);
    return pictureFrame_;
}

QWidget* ClipViewer::buildOptions() {
    frame1_ = new QWidget(this);
    frame1_->setObjectName(QStringLiteral("Frame1"));
    auto* grid = new QGridLayout(frame1_);
    grid->setContentsMargins(0, 0, 0, 0);
    auto* pasteGroup = new QButtonGroup(frame1_);
    auto* colourGroup = new QButtonGroup(frame1_);
    for (int i = 0; i < kPasteOptions; ++i) {
        paste_[i] = new QRadioButton(QString::fromUtf8(PasteOptionCaption(i)), frame1_);
        pasteGroup->addButton(paste_[i]);
        grid->addWidget(paste_[i], 0, i);
    }
    for (int i = 0; i < kColourOptions; ++i) {
        colour_[i] = new QRadioButton(QString::fromUtf8(ColourOptionCaption(i)), frame1_);
        colourGroup->addButton(colour_[i]);
        grid->addWidget(colour_[i], 1, i);
    }
    grid->setColumnStretch(kColourOptions, 1);  // the options keep together on a wide window
    if (opening_.pasteOption) paste_[*opening_.pasteOption]->setChecked(true);
    if (opening_.colourOption) colour_[*opening_.colourOption]->setChecked(true);
    frame1_->setVisible(opening_.showOptions);
    return frame1_;
}

void ClipViewer::applyTips() {
    const bool tips = ps_.settings.HelpOption != 0;
    label1_->setToolTip(tips ? kHelpTip : "");
    title_->setToolTip(tips ? kTitleTip : "");
    for (auto* b : paste_) b->setToolTip(tips ? kHelpTip : "");
    for (auto* b : colour_) b->setToolTip(tips ? kHelpTip : "");
}

void ClipViewer::startLoading(const std::string& path) {
    auto loaded = std::make_shared<Loaded>();
    loader_ = QThread::create([loaded, path] {
        loaded->clip = LoadViewerClip(path);
        ViewerClip& c = loaded->clip;
        if (c.shows() == ViewerShows::Picture && !c.picture.empty())
            loaded->image.loadFromData(c.picture.data(), int(std::min<std::size_t>(c.picture.size(), std::numeric_limits<int>::max())));
        else if (c.shows() == ViewerShows::Text && (loaded->broken = HasOverlongLine(c.text)))
            loaded->text = QString::fromStdString(BreakLongLines(c.text));
        else if (c.shows() == ViewerShows::Text)
            loaded->text = QString::fromUtf8(c.text.data(), qsizetype(c.text.size()));
        c.picture.clear();
    });
    connect(loader_, &QThread::finished, this, [this, loaded] {
        loader_->deleteLater();
        loader_ = nullptr;
        showLoaded(loaded);
    });
    loader_->start();
}

void ClipViewer::showLoaded(const std::shared_ptr<Loaded>& loaded) {
    clip_ = loaded;
    const ViewerClip& c = clip_->clip;
    multiFormat_ = c.multiFormat;
    ps_.viewer.refusePaste = c.shows() == ViewerShows::Picture;
    switch (c.shows()) {
    case ViewerShows::Picture:
        setWindowTitle(QStringLiteral(" Clip Preview "));
        text_->setPlainText(QString::fromUtf8(kNonTextClip));
        text_->setEnabled(false);
        showPicture(clip_->image);
        view_->setCurrentWidget(pictureFrame_);
        finishLoading();
        return;
    case ViewerShows::Formats:
        text_->setPlainText(QString::fromUtf8(kNonTextClip) + QStringLiteral(":\n\n") +
                            QString::fromStdString(FormatList(c.formats)));
        // Read-only rather than greyed out: the list is there to be read.
        text_->setReadOnly(true);
        finishLoading();
        return;
    case ViewerShows::Text: break;
    }
    // Large text goes in piece by piece, without undo steps for the loading.
    text_->document()->setUndoRedoEnabled(false);
    chunkAt_ = 0;
    appendChunk();
}

void ClipViewer::appendChunk() {
    const QString& all = clip_->text;
    int n = std::min<int>(kChunkChars, int(all.size()) - chunkAt_);
    // Never between the two halves of a character.
    if (n > 0 && chunkAt_ + n < all.size() && all.at(chunkAt_ + n - 1).isHighSurrogate()) --n;
    if (n > 0) {
        QTextCursor end(text_->document());
        end.movePosition(QTextCursor::End);
        end.insertText(all.mid(chunkAt_, n));
        chunkAt_ += n;
    }
    if (chunkAt_ < all.size()) {
        QTimer::singleShot(0, this, [this] { appendChunk(); });
        return;
    }
    clip_->text.clear();  // the loaded text stays as bytes, for Save to compare
    text_->document()->setUndoRedoEnabled(true);
    text_->moveCursor(QTextCursor::Start);
    text_->setReadOnly(clip_->broken);
    textNote_->setVisible(clip_->broken);
    finishLoading();
}

void ClipViewer::finishLoading() {
    text_->document()->setModified(false);
    loaded_ = true;
    emit loadFinished();
}

void ClipViewer::showPicture(const QImage& image) {
    const bool ok = !image.isNull();
    picture_->setImage(image);
    scroll_->setVisible(ok);
    stretch_->setEnabled(ok);
    pictureNote_->setVisible(!ok);
    if (!ok) pictureNote_->setText(QString::fromUtf8(kDamagedPicture));
}

void ClipViewer::toggleStretch() {
    const bool fit = !picture_->fit();
    scroll_->setWidgetResizable(fit);
    picture_->setFit(fit);
    stretch_->setText(fit ? QStringLiteral("True Size") : QStringLiteral("Fit To Viewer"));
    title_->setFocus();
}

void ClipViewer::toggleWordWrap() {
    ps_.viewer.wordWrap = !ps_.viewer.wordWrap;
    text_->setLineWrapMode(ps_.viewer.wordWrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
    wordWrap_->setChecked(ps_.viewer.wordWrap);
}

void ClipViewer::copySelection(bool cut) {
    QTextCursor c = text_->textCursor();
    if (!c.hasSelection()) return;
    // Paragraph ends come out of the box as U+2029.
    QString selected = c.selectedText();
    selected.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    // No marker: the monitor files it like any other copy.
    if (ps_.platform.clipboard) ps_.platform.clipboard->setText(selected.toStdString());
    if (cut && !text_->isReadOnly()) c.removeSelectedText();
}

bool ClipViewer::insertAtCaret(const QString& text) {
    if (!loaded_ || text_->isReadOnly() || !text_->isEnabled() || view_->currentWidget() != text_) return false;
    activateWindow();
    raise();
    text_->setFocus(Qt::OtherFocusReason);
    text_->textCursor().insertText(text);
    return true;
}

void ClipViewer::focusText() {
    activateWindow();
    raise();
    if (view_->currentWidget() == text_ && text_->isEnabled())
        text_->setFocus(Qt::OtherFocusReason);
    else
        title_->setFocus(Qt::OtherFocusReason);
}

TwipRect ClipViewer::screenTwips() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    const QRect area = s ? s->geometry() : QRect(0, 0, 1024, 768);
    return {0, 0, scale_.toTwips(area.width()), scale_.toTwips(area.height())};
}

void ClipViewer::setOuter(const TwipRect& r) {
    const QSize inner(scale_.toPixels(r.width) - frame_.width(), scale_.toPixels(r.height) - frame_.height());
    resize(inner.expandedTo(minimumSize()));
    move(scale_.toPixels(r.left), scale_.toPixels(r.top));
}

TwipRect ClipViewer::outer() const {
    const QRect f = frameGeometry();
    return {scale_.toTwips(f.left()), scale_.toTwips(f.top()), scale_.toTwips(f.width()), scale_.toTwips(f.height())};
}

void ClipViewer::showViewer() {
    // Never smaller than the design allows, nor than its texts need.
    layout()->activate();
    const QSize least(scale_.toPixels(kViewerMinWidth) - frame_.width(), scale_.toPixels(kViewerMinHeight) - frame_.height());
    setMinimumSize(layout()->totalMinimumSize().expandedTo(least));
    const TwipRect s = screenTwips();
    const QSize min = minimumSize() + frame_;
    setOuter(ViewerPlacement(ps_, s.width, s.height, scale_.toTwips(min.width()), scale_.toTwips(min.height())));
    show();
    raise();
    activateWindow();
    title_->setFocus(Qt::OtherFocusReason);
    title_->selectAll();
}

void ClipViewer::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Above the main window, which may itself be kept on top.
    if (QWindow* w = windowHandle()) w->setFlag(Qt::WindowStaysOnTopHint, true);
}

bool ClipViewer::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == title_) {
        if (type == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent*>(event))) {
            save();
            return true;
        }
        if (type == QEvent::FocusIn) QTimer::singleShot(0, title_, [t = title_] { t->selectAll(); });
        return false;
    }
    if (watched == text_) {
        if (type == QEvent::KeyPress) {
            auto* e = static_cast<QKeyEvent*>(event);
            // Copies go through the program's own clipboard, so they are filed at once.
            if (e->matches(QKeySequence::Copy) || e->matches(QKeySequence::Cut)) {
                copySelection(e->matches(QKeySequence::Cut));
                return true;
            }
        }
        if (type == QEvent::FocusIn && multiFormat_ && loaded_) {
            multiFormat_ = false;
            QTimer::singleShot(0, this, [this] {
                QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Warning"), QString::fromUtf8(kMultiFormatWarning),
                                QMessageBox::Ok, this);
                box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
                box.move(frameGeometry().topLeft());
                box.exec();
                text_->setFocus(Qt::OtherFocusReason);
            });
        }
        return false;
    }
    if (type == QEvent::MouseButtonRelease && (Contains(paste_, watched) || Contains(colour_, watched)))
        QTimer::singleShot(0, title_, [t = title_] { t->setFocus(Qt::MouseFocusReason); });
    if (!RightRelease(event)) return false;
    if (watched == label1_)
        detail::QuickHelp(ps_, 12);
    else if (Contains(paste_, watched))
        detail::QuickHelp(ps_, 13);
    else if (Contains(colour_, watched))
        detail::QuickHelp(ps_, 14);
    return false;
}

void ClipViewer::keyPressEvent(QKeyEvent* event) {
    // Esc saves, as Enter in the title does.
    if (event->key() == Qt::Key_Escape) {
        save();
        return;
    }
    QDialog::keyPressEvent(event);
}

void ClipViewer::save() {
    ClipSettingsForm form{title_->text().toStdString(), Checked(paste_), Checked(colour_)};
    if (!opening_.showOptions) form.pasteOption = form.colourOption = std::nullopt;
    // Only text the user changed is written back; a clip still loading is not.
    if (loaded_ && view_->currentWidget() == text_ && text_->isEnabled() && text_->document()->isModified()) {
        std::string now = text_->toPlainText().toStdString();
        if (now != clip_->clip.text) form.editedText = std::move(now);
    }
    const OkOutcome outcome = ClipSettingsOk(ps_, opening_.held, form);
    if (!outcome.saved) {
        if (outcome.beep) QApplication::beep();
        title_->setText(QString::fromStdString(outcome.titleText));
        title_->setFocus();
        title_->selectAll();
        return;
    }
    unload();
    accept();
}

void ClipViewer::reject() {
    unload();
    QDialog::reject();
}

void ClipViewer::unload() {
    if (unloaded_) return;
    unloaded_ = true;
    if (isVisible()) RememberViewerPlace(ps_, outer());
    ps_.clip.viewerOpen = false;
    ps_.viewer.refusePaste = false;
    SaveSettings(ps_);
    emit unloaded();
}

}  // namespace pellion::ui
