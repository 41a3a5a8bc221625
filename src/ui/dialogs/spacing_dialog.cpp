#include "ui/dialogs/spacing_dialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "app/program_state.h"

namespace pellion::ui {

namespace {

// The dialog's key, as the rules name it; 0 for keys they do not know.
char KeyOf(const QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) return kEscapeKey;
    // Digits of the main keyboard and of the keypad alike.
    if (e->key() >= Qt::Key_0 && e->key() <= Qt::Key_9) return char('0' + (e->key() - Qt::Key_0));
    return 0;
}

}  // namespace

BulkSpacingDialog::BulkSpacingDialog(ProgramState& ps, QWidget* parent) : QDialog(parent), ps_(ps) {
    setWindowTitle(QStringLiteral(" Bulk Paste"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);  // a form of fixed size: nothing to maximise
    for (int i = 0; i < kSpacingOptions; ++i) {
        options_[i] = new QRadioButton(QString::number(i + 1), this);
        options_[i]->setObjectName(QStringLiteral("spacing%1").arg(i));
        grid->addWidget(options_[i], i, 0);
        grid->addWidget(new QLabel(QString::fromUtf8(SpacingLabel(i)), this), i, 1);
        connect(options_[i], &QRadioButton::clicked, this, [this, i] { choose(i); });
    }
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("spacer"));
    text_->setTabChangesFocus(true);
    text_->setMaximumHeight(fontMetrics().height() * 4);
    grid->addWidget(text_, kSpacingOptions, 0, 1, 2);
    auto* buttons = new QHBoxLayout;
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    grid->addLayout(buttons, kSpacingOptions + 1, 0, 1, 2);
    connect(ok_, &QPushButton::clicked, this, [this] { ok(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    const int spacing = ps_.settings.BulkSpacing;
    if (spacing >= 0 && spacing < kSpacingOptions) options_[spacing]->setChecked(true);
    text_->setPlainText(QString::fromStdString(LoadSpacerText(ps_)));
    ok_->setFocus();
}

int BulkSpacingDialog::run() {
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
    ok_->setFocus();
    // The close button and Esc reject as Cancel does.
    return exec() == QDialog::Accepted ? kSpacingGoOn : kSpacingCancelled;
}

void BulkSpacingDialog::choose(int value) {
    options_[value]->setChecked(true);
    if (ChooseSpacing(ps_, value)) text_->setFocus();
    else ok_->setFocus();
}

void BulkSpacingDialog::ok() {
    const SpacingOk outcome = SpacingDialogOk(ps_, text_->toPlainText().toStdString());
    if (outcome.beep) QApplication::beep();
    if (outcome.close) accept();
    else text_->setFocus();
}

void BulkSpacingDialog::keyPressEvent(QKeyEvent* e) {
    // Esc acts on its release, and not from the text box.
    if (e->key() == Qt::Key_Escape) return;
    QDialog::keyPressEvent(e);
}

// Keys the focused widget left alone arrive here.
void BulkSpacingDialog::keyReleaseEvent(QKeyEvent* e) {
    if (e->isAutoRepeat()) return;
    const SpacingKeyAction action = SpacingDialogKey(KeyOf(e), text_->hasFocus());
    if (action.cancel) reject();
    else if (action.option) choose(*action.option);
    else QDialog::keyReleaseEvent(e);
}

pellion::SpacingDialog SpacingDialogRunner(ProgramState& ps) {
    return [&ps] {
        BulkSpacingDialog dialog(ps);
        return dialog.run();
    };
}

}  // namespace pellion::ui
