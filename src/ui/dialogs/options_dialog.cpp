#include "ui/dialogs/options_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "app/program_state.h"
#include "ui/logic/form_internal.h"
#include "ui/main/form_widgets.h"

namespace pellion::ui {

namespace {

// A button fills its background with the Button role.
void SetBackground(QWidget* w, Colour c) {
    QPalette p = w->palette();
    p.setColor(w->backgroundRole(), ToQColor(c));
    w->setPalette(p);
}

}  // namespace

OptionsDialog::OptionsDialog(ProgramState& ps, std::function<void()> changed, QWidget* parent)
    : QDialog(parent), ps_(ps), changed_(std::move(changed)) {
    setObjectName(QStringLiteral("Options"));
    setWindowTitle(QStringLiteral("Pellion Clipboard User Options"));
    // Above every window, as the main window's rules ask; no Cancel, so the
    // close button (like Escape and OK) just closes.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::WindowStaysOnTopHint);
    const TwipScale scale = DesktopTwipScale();
    std::map<int, QButtonGroup*> groups;  // rows 1..8, colour rows as -1..-4
    for (const OptionsControl& c : OptionsDesign()) {
        QWidget* w = create(c);
        const int left = scale.toPixels(c.rect.left), top = scale.toPixels(c.rect.top);
        w->setGeometry(left, top, scale.toPixels(c.rect.right()) - left, scale.toPixels(c.rect.bottom()) - top);
        helpOf_[w] = {c.part, c.row};
        w->installEventFilter(this);
        auto* button = qobject_cast<QAbstractButton*>(w);
        if (c.part == OptionsPart::Choice || c.part == OptionsPart::Colour) {
            const int key = c.part == OptionsPart::Choice ? c.row : -1 - c.row;
            if (!groups[key]) groups[key] = new QButtonGroup(this);
            groups[key]->addButton(button, c.index);
            (c.part == OptionsPart::Choice ? choices_ : colours_)[{c.row, c.index}] = button;
        }
        if (c.part == OptionsPart::EdgeBox) choices_[{c.row, c.index}] = button;
        const int row = c.row, index = c.index;
        switch (c.part) {
        case OptionsPart::Choice:
        case OptionsPart::EdgeBox:
            connect(button, &QAbstractButton::clicked, this, [this, row, index](bool checked) {
                if (ChooseOption(ps_, row, index, checked))
                    done(kSizeChanged);
                else
                    chosen();
            });
            break;
        case OptionsPart::Colour:
            connect(button, &QAbstractButton::clicked, this, [this, row, index] {
                ChooseColour(ps_, row, index);
                chosen();
            });
            break;
        case OptionsPart::Help:
            connect(button, &QAbstractButton::clicked, this,
                    [this, row] { detail::QuickHelp(ps_, OptionsHelpTopic(OptionsPart::Help, row)); });
            break;
        case OptionsPart::Ok: connect(button, &QAbstractButton::clicked, this, &QDialog::accept); break;
        default: break;
        }
    }
    const QSize size(scale.toPixels(kOptionsWidth), scale.toPixels(kOptionsHeight));
    setFixedSize(size);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - size.width()) / 2, area.y() + (area.height() - size.height()) / 2);
    }
    showSettings();
}

QWidget* OptionsDialog::create(const OptionsControl& c) {
    const QString caption = QString::fromStdString(c.caption);
    switch (c.part) {
    case OptionsPart::Heading:
    case OptionsPart::ColourLabel: {
        auto* label = new QLabel(caption, this);
        label->setTextFormat(Qt::PlainText);
        return label;
    }
    case OptionsPart::ColourFrame: return new QGroupBox(caption, this);
    case OptionsPart::Choice: {
        auto* button = new QRadioButton(caption, this);
        button->setAutoFillBackground(true);  // "Batch" turns red while chosen
        return button;
    }
    case OptionsPart::EdgeBox: return new QCheckBox(caption, this);
    case OptionsPart::Colour: {
        auto* button = new QRadioButton(this);
        button->setAutoFillBackground(true);
        SetBackground(button, kOptionColour[c.index]);
        return button;
    }
    default: {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        return button;
    }
    }
}

void OptionsDialog::showSettings() {
    const OptionsView v = ViewOptions(ps_.settings);
    for (auto& [at, button] : choices_) {
        const auto [row, index] = at;
        button->setChecked(row == kOptionRows ? v.edges[index] : v.choice[row - 1] == index);
    }
    for (auto& [at, button] : colours_) button->setChecked(v.colour[at.first] == at.second);
    QAbstractButton* batch = choices_.at({5, 0});
    SetBackground(batch, v.batch);
    QFont f = font();
    f.setBold(ps_.settings.FontOption != 0);
    setFont(f);
}

void OptionsDialog::chosen() {
    showSettings();
    if (changed_) changed_();
}

bool OptionsDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        if (auto it = helpOf_.find(watched); it != helpOf_.end()) {
            detail::QuickHelp(ps_, OptionsHelpTopic(it->second.first, it->second.second));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace pellion::ui
