#include "ui/dialogs/library_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>

#include "app/program_state.h"
#include "ui/logic/form_internal.h"
#include "ui/logic/list_cells.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

namespace {

QLabel* MakeCell(QWidget* parent, const QString& text, Qt::Alignment align) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAutoFillBackground(true);
    label->setFrameShape(QFrame::Box);
    label->setAlignment(align | Qt::AlignVCenter);
    label->setMouseTracking(true);
    return label;
}

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

}  // namespace

LibraryDialog::LibraryDialog(ProgramState& ps, const TwipScale& scale, QWidget* parent)
    : QDialog(parent), ps_(ps), choice_(OpenLibraryChoice(ps)) {
    setObjectName(QStringLiteral("LibForm"));
    setWindowTitle(QStringLiteral(" Library Selection"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    QFont f = font();
    f.setBold(ps_.mainForm.form.window.bold);
    setFont(f);
    setMouseTracking(true);
    // Twips on the main window's scale, which grows with the desktop font,
    // so every name keeps its size and fits.
    auto place = [&scale](QWidget* w, const TwipRect& r) {
        const int left = scale.toPixels(r.left), top = scale.toPixels(r.top);
        w->setGeometry(left, top, scale.toPixels(r.right()) - left, scale.toPixels(r.bottom()) - top);
    };
    const LibraryDialogDesign& d = kLibraryDialogDesign;
    setFixedSize(scale.toPixels(d.width), scale.toPixels(d.height));

    auto* title = new QLabel(QStringLiteral("Library Selection"), this);
    QFont big = title->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.25);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);
    place(title, d.title);
    place(new QLabel(QStringLiteral("Left Click.....Select Library."), this), d.leftClick);
    place(new QLabel(QStringLiteral("Right click...Name library."), this), d.rightClick);
    for (int c = 0; c < 2; ++c) place(new QLabel(QStringLiteral("Name"), this), LibraryHeadingRect(c));

    for (int i = 0; i < kLibraries; ++i) {
        tags_[i] = MakeCell(this, QString::number(i + 1), Qt::AlignHCenter);
        tags_[i]->setObjectName(QStringLiteral("hotkey%1").arg(i));
        items_[i] = MakeCell(this, QString::fromStdString(choice_.captions[i]), Qt::AlignLeft);
        items_[i]->setObjectName(QStringLiteral("Item%1").arg(i));
        items_[i]->setIndent(3);
        place(tags_[i], LibraryTagRect(i));
        place(items_[i], LibraryItemRect(i));
        tags_[i]->installEventFilter(this);
        items_[i]->installEventFilter(this);
        paintItem(i, i == choice_.highlight);
    }

    auto* help = new QPushButton(QStringLiteral("Help"), this);
    help->setObjectName(QStringLiteral("Command1"));
    help->setAutoDefault(false);
    help->setFocusPolicy(Qt::NoFocus);
    help->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
    place(help, d.help);
    connect(help, &QPushButton::clicked, this, [this] { detail::QuickHelp(ps_, 24); });
    cancel_ = new QLabel(QStringLiteral("Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cancelbtn"));
    cancel_->setFrameShape(QFrame::Panel);
    cancel_->setFrameShadow(QFrame::Raised);
    cancel_->setAlignment(Qt::AlignCenter);
    cancel_->setMouseTracking(true);
    place(cancel_, d.cancel);
    cancel_->installEventFilter(this);

    getName_ = new QLineEdit(this);
    getName_->setObjectName(QStringLiteral("GetName"));
    getName_->setMaxLength(int(kLibraryNameBytes));
    getName_->setFrame(false);
    getName_->hide();
    getName_->installEventFilter(this);
}

int LibraryDialog::indexOf(const QObject* widget) const {
    for (int i = 0; i < kLibraries; ++i)
        if (widget == items_[i] || widget == tags_[i]) return i;
    return -1;
}

int LibraryDialog::indexAt(QPoint global) const { return indexOf(childAt(mapFromGlobal(global))); }

void LibraryDialog::paintItem(int index, bool highlighted) {
    const QPalette app = QApplication::palette();
    for (QLabel* label : {items_[index], tags_[index]}) {
        QPalette p = label->palette();
        p.setColor(QPalette::Window, highlighted ? app.color(QPalette::Highlight) : QColor(Qt::white));
        p.setColor(QPalette::WindowText, highlighted ? app.color(QPalette::HighlightedText) : QColor(Qt::black));
        label->setPalette(p);
    }
}

void LibraryDialog::setHighlight(int index) {
    if (index < 0 || index == choice_.highlight) return;
    paintItem(choice_.highlight, false);
    choice_.highlight = index;
    paintItem(index, true);
}

void LibraryDialog::startRename(int index) {
    if (!CanRename(index)) return;
    renaming_ = index;
    getName_->setGeometry(items_[index]->geometry());
    getName_->setText(QString::fromStdString(choice_.captions[index]));
    getName_->selectAll();
    getName_->show();
    getName_->raise();
    getName_->setFocus();
    cancel_->setText(QStringLiteral("Type name and press Enter"));
}

void LibraryDialog::finishRename() {
    if (renaming_ < 0) return;
    RenameLibrary(ps_, choice_, renaming_, getName_->text().toStdString());
    items_[renaming_]->setText(QString::fromStdString(choice_.captions[renaming_]));
    renaming_ = -1;
    cancel_->setText(QStringLiteral("Cancel"));
    getName_->clear();
    getName_->hide();
}

// Onto "Cancel": the names are kept and the dialog goes.
void LibraryDialog::leave() {
    SaveLibraryChoice(ps_, choice_);
    reject();
}

bool LibraryDialog::mouse(int index, bool onItem, QEvent* event) {
    auto* e = static_cast<QMouseEvent*>(event);
    const QPoint global = e->globalPosition().toPoint();
    switch (event->type()) {
    case QEvent::MouseMove:
        if (dragSource_ >= 0 && (e->buttons() & Qt::LeftButton)) {
            if ((global - pressAt_).manhattanLength() >= QApplication::startDragDistance()) dragging_ = true;
            if (dragging_) setHighlight(indexAt(global));
        } else if (renaming_ < 0) {
            setHighlight(index);
        }
        return true;
    case QEvent::MouseButtonPress:
        if (renaming_ >= 0) return true;
        if (e->button() == Qt::LeftButton) {
            setHighlight(index);
            dragSource_ = onItem ? index : -1;
            pressAt_ = global;
            dragging_ = false;
        }
        return true;
    case QEvent::MouseButtonRelease: {
        if (renaming_ >= 0) return true;
        if (e->button() == Qt::RightButton) {
            if (onItem) startRename(index);
            return true;
        }
        if (e->button() != Qt::LeftButton) return true;
        const int source = dragSource_;
        const bool dragged = dragging_;
        dragSource_ = -1;
        dragging_ = false;
        if (dragged) {
            const int target = indexAt(global);
            if (target >= 0 && MoveLibrary(ps_, choice_, source, target)) {
                for (int i : {source, target}) items_[i]->setText(QString::fromStdString(choice_.captions[i]));
            }
            return true;
        }
        if (source < 0) return true;  // a click on a number only moves the highlight
        ChooseLibrary(ps_, choice_, choice_.highlight);
        accept();
        return true;
    }
    default: return false;
    }
}

bool LibraryDialog::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == getName_) {
        if (type == QEvent::KeyPress && IsEnter(static_cast<QKeyEvent*>(event))) {
            finishRename();
            return true;
        }
        return false;
    }
    if (watched == cancel_) {
        if (type == QEvent::MouseMove && renaming_ < 0 && pointerWasElsewhere_) leave();
        return false;
    }
    const bool mouseEvent = type == QEvent::MouseMove || type == QEvent::MouseButtonPress ||
                            type == QEvent::MouseButtonRelease || type == QEvent::MouseButtonDblClick;
    const int index = indexOf(watched);
    if (index < 0 || !mouseEvent) return QDialog::eventFilter(watched, event);
    pointerWasElsewhere_ = true;
    if (type == QEvent::MouseButtonDblClick) return true;
    return mouse(index, watched == items_[index], event);
}

void LibraryDialog::keyPressEvent(QKeyEvent* event) {
    // Enter makes no sound and chooses nothing; Escape leaves, dropping an edit.
    if (IsEnter(event)) return;
    if (event->key() == Qt::Key_Escape) {
        reject();
        return;
    }
    QDialog::keyPressEvent(event);
}

void LibraryDialog::mouseMoveEvent(QMouseEvent* event) {
    pointerWasElsewhere_ = true;
    QDialog::mouseMoveEvent(event);
}

void BindLibraryButton(ProgramState& ps, Edit& edit) {
    auto* button = qobject_cast<QAbstractButton*>(edit.widget({Family::LibBtn, 0}));
    if (!button) return;
    QObject::connect(button, &QAbstractButton::clicked, &edit, [&ps, &edit] {
        LibraryDialog dialog(ps, edit.scale(), &edit);
        dialog.move(edit.frameGeometry().topLeft());
        dialog.exec();
        // The label shows the name again, not "Change".
        ps.mainForm.form[{Family::LibBtn, 0}].visible = false;
        ShowLists(ps);
        RefreshModeButtons(ps);
        detail::FocusHoldfocus(ps);
        edit.applyState();
    });
}

}  // namespace pellion::ui
