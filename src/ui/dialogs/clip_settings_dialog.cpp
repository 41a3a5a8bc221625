#include "ui/dialogs/clip_settings_dialog.h"

#include <algorithm>

#include <QApplication>
#include <QMouseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include "app/program_state.h"
#include "ui/logic/form_internal.h"

namespace pellion::ui {

namespace {

constexpr int kTitleLength = 50;
const char* const kHelpTip = " Right click for help ";
const char* const kTitleTip = " Point to the words Clip Title(left) and right click for help ";

bool IsEnter(const QEvent* event) {
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool RightRelease(const QEvent* event) {
    return event->type() == QEvent::MouseButtonRelease &&
           static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
}

template <std::size_t N>
QGroupBox* OptionColumn(QWidget* parent, std::array<QRadioButton*, N>& buttons, const char* (*caption)(int)) {
    auto* box = new QGroupBox(parent);
    auto* column = new QVBoxLayout(box);
    for (std::size_t i = 0; i < N; ++i) {
        buttons[i] = new QRadioButton(QString::fromUtf8(caption(int(i))), box);
        column->addWidget(buttons[i]);
    }
    column->addStretch();
    return box;
}

template <std::size_t N>
std::optional<int> Checked(const std::array<QRadioButton*, N>& buttons) {
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked()) return int(i);
    return std::nullopt;
}

bool MouseRelease(const QEvent* event) { return event->type() == QEvent::MouseButtonRelease; }

// After a click on an option the name can be typed on: the title box takes
// the focus with its text kept and the caret at its end. It happens once the
// option has taken the release; taking the focus before would cancel the click.
void FocusTitleLater(QDialog* dialog, QLineEdit* title) {
    QTimer::singleShot(0, dialog, [title] {
        title->setFocus(Qt::MouseFocusReason);
        title->deselect();
        title->end(false);
    });
}

void ApplyBold(QWidget* dialog, bool bold) {
    QFont f = dialog->font();
    f.setBold(bold);
    dialog->setFont(f);
}

}  // namespace

ClipSettingsDialog::ClipSettingsDialog(ProgramState& ps, ClipSettings held, QWidget* parent)
    : QDialog(parent), ps_(ps), held_(std::move(held)) {
    setWindowTitle(QStringLiteral(" Clip Settings"));
    // A dialog's title bar: no minimise or maximise, and no close button,
    // since only a title closes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setObjectName(QStringLiteral("Settings"));
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);  // a form of fixed size: nothing to maximise
    label1_ = new QLabel(QStringLiteral("Clip Title...."), this);
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("title"));
    title_->setMaxLength(kTitleLength);
    title_->setMinimumWidth(fontMetrics().averageCharWidth() * 36);
    grid->addWidget(label1_, 0, 0);
    grid->addWidget(title_, 0, 1);

    auto* frame1 = new QWidget(this);
    auto* options = new QHBoxLayout(frame1);
    options->setContentsMargins(0, 0, 0, 0);
    options->addWidget(OptionColumn(frame1, paste_, PasteOptionCaption));
    options->addWidget(OptionColumn(frame1, colour_, ColourOptionCaption));
    grid->addWidget(frame1, 1, 0, 1, 2);

    auto* command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setAutoDefault(false);
    grid->addWidget(command1, 2, 1, Qt::AlignRight);
    connect(command1, &QPushButton::clicked, this, [this] { ok(); });

    paste_[kModeGroupSetting]->setChecked(true);
    colour_[kColourOptions - 1]->setChecked(true);  // "Group Clr"
    const bool tips = ps_.settings.HelpOption != 0;
    label1_->setToolTip(tips ? kHelpTip : "");
    title_->setToolTip(tips ? kTitleTip : "");
    for (auto* b : paste_) b->setToolTip(tips ? kHelpTip : "");
    for (auto* b : colour_) b->setToolTip(tips ? kHelpTip : "");
    ApplyBold(this, ps_.mainForm.form.window.bold);

    title_->installEventFilter(this);
    label1_->installEventFilter(this);
    for (auto* b : paste_) b->installEventFilter(this);
    for (auto* b : colour_) b->installEventFilter(this);
    title_->setFocus();
}

ClipSettingsForm ClipSettingsDialog::form() const {
    return {title_->text().toStdString(), Checked(paste_), Checked(colour_)};
}

void ClipSettingsDialog::ok() {
    const OkOutcome outcome = ClipSettingsOk(ps_, held_, form());
    if (outcome.saved) {
        accept();
        return;
    }
    if (outcome.beep) QApplication::beep();
    title_->setText(QString::fromStdString(outcome.titleText));
    title_->setFocus();
    title_->selectAll();
}

bool ClipSettingsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == title_) {
        // Enter saves on its release and never reaches the box; a release
        // whose press went elsewhere is not this box's.
        if (event->type() == QEvent::KeyPress && IsEnter(event)) {
            enterPressed_ = true;
            return true;
        }
        if (event->type() == QEvent::KeyRelease && IsEnter(event)) {
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat() && enterPressed_) {
                enterPressed_ = false;
                ok();
            }
            return true;
        }
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
            title_->selectAll();
        if (event->type() == QEvent::FocusOut) enterPressed_ = false;
        return false;
    }
    const bool paste = std::find(paste_.begin(), paste_.end(), watched) != paste_.end();
    const bool colour = std::find(colour_.begin(), colour_.end(), watched) != colour_.end();
    if (MouseRelease(event) && (paste || colour)) FocusTitleLater(this, title_);
    if (!RightRelease(event)) return false;
    if (watched == label1_)
        detail::QuickHelp(ps_, 12);
    else if (paste)
        detail::QuickHelp(ps_, 13);
    else if (colour)
        detail::QuickHelp(ps_, 14);
    return false;
}

GroupNamingDialog::GroupNamingDialog(ProgramState& ps, int group, QWidget* parent)
    : QDialog(parent), ps_(ps), group_(group) {
    setWindowTitle(QStringLiteral(" Group Title"));
    // The close button cancels: nothing is written.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setObjectName(QStringLiteral("Groupnamer"));
    auto* grid = new QGridLayout(this);
    grid->setSizeConstraint(QLayout::SetFixedSize);  // a form of fixed size: nothing to maximise
    grid->addWidget(new QLabel(QStringLiteral("Group Title..."), this), 0, 0);
    title_ = new QLineEdit(this);
    title_->setObjectName(QStringLiteral("title"));
    title_->setMaxLength(kTitleLength);
    title_->setMinimumWidth(fontMetrics().averageCharWidth() * 36);
    grid->addWidget(title_, 0, 1);
    grid->addWidget(OptionColumn(this, colour_, ColourOptionCaption), 1, 0, 1, 2);
    auto* command1 = new QPushButton(QStringLiteral("OK"), this);
    command1->setDefault(true);
    grid->addWidget(command1, 2, 1, Qt::AlignRight);
    connect(command1, &QPushButton::clicked, this, [this] { ok(); });

    if (group_ >= 0 && group_ < kGroups) {
        std::string name = ps_.lists.groupNames.titles[group_];
        name.erase(name.find_last_not_of(' ') + 1);
        title_->setText(QString::fromStdString(name));
        if (auto option = ColourOptionOf(ps_.lists.groupNames.colours[group_])) colour_[*option]->setChecked(true);
    }
    ApplyBold(this, ps_.mainForm.form.window.bold);
    title_->installEventFilter(this);
    for (auto* b : colour_) b->installEventFilter(this);
    title_->setFocus();
}

void GroupNamingDialog::ok() {
    SaveGroupNaming(ps_, group_, title_->text().toStdString(), Checked(colour_));
    accept();
}

bool GroupNamingDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == title_) {
        if (event->type() == QEvent::FocusIn && static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
            title_->selectAll();
        return false;
    }
    if (MouseRelease(event)) FocusTitleLater(this, title_);
    return false;
}

}  // namespace pellion::ui
