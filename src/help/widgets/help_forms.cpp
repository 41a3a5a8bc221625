#include "help/widgets/help_forms.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <array>

#include "app/program_state.h"
#include "help/quick_help.h"

namespace pellion::ui {

namespace {

struct MenuItem {
    const char* caption;
    int topic;
};
constexpr std::array<MenuItem, 8> kMenuItems{{{"New User Essential Information", 25},
                                              {"Multi-clipboard Basics", 26},
                                              {"Clip Library Basics", 27},
                                              {"Bulk Basics", 30},
                                              {"WWW Bookmark Basics", 31},
                                              {"Duplication Basics", 32},
                                              {"Keyboard  Basics", 34},
                                              {"Backup Basics", 35}}};

// Bold by the font option, on top of every window.
void Dress(QDialog& dialog, const ProgramState& ps) {
    QFont f = dialog.font();
    f.setBold(ps.settings.FontOption != 0);
    dialog.setFont(f);
    dialog.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint);
}

void Centre(QDialog& dialog) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        dialog.move(area.center() - dialog.rect().center());
    }
}

QLabel* Paragraph(const char* text, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    return label;
}

}  // namespace

HelpForm::HelpForm(ProgramState& ps, int topic, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Pellion Clipboard Quick Help"));
    Dress(*this, ps);
    text_ = new QPlainTextEdit(this);
    text_->setObjectName(QStringLiteral("Text1"));
    // Selected with the mouse or the arrow keys and copied; never changed.
    text_->setReadOnly(true);
    text_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    text_->setPlainText(QString::fromStdString(QuickHelpText(ps, topic)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    text_->installEventFilter(this);
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(ok, 0, Qt::AlignHCenter);
    const QFontMetrics m(font());
    resize(m.averageCharWidth() * 72, m.lineSpacing() * 26);
    Centre(*this);
    text_->setFocus();
}

bool HelpForm::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the text would press OK; the text keeps it, as it keeps letters.
    if (watched == text_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) return true;
    }
    return QDialog::eventFilter(watched, event);
}

MainHelpForm::MainHelpForm(ProgramState& ps, QWidget* parent) : QDialog(parent), ps_(ps) {
    setObjectName(QStringLiteral("MainHelpForm"));
    setWindowTitle(QStringLiteral(" Pellion Help"));
    Dress(*this, ps);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Paragraph("There are three forms of help available for Pellion Clipboard", this));

    auto* manualRow = new QHBoxLayout;
    manualRow->addWidget(Paragraph("For the manual  press Enter or click here.", this), 1);
    helpBtn_ = new QPushButton(QStringLiteral("Help"), this);
    helpBtn_->setObjectName(QStringLiteral("HelpBtn"));
    helpBtn_->setAutoDefault(false);
    connect(helpBtn_, &QPushButton::clicked, this, &MainHelpForm::openManual);
    manualRow->addWidget(helpBtn_);
    layout->addLayout(manualRow);

    layout->addWidget(Paragraph(
        "There is also a quick help system. Point to any button or frame caption in the Pellion program windows "
        "and right click for quick help on that item. Mouse pause over captions tell you where to right click for "
        "help on other areas. When you are familiar with the quick help, you can turn off the mouse pause over "
        "captions from the Options window.",
        this));
    layout->addWidget(Paragraph("You can also click on the following items for quick help.", this));
    for (std::size_t i = 0; i < kMenuItems.size(); ++i) {
        auto* item = new QPushButton(QString::fromUtf8(kMenuItems[i].caption), this);
        item->setObjectName(QStringLiteral("Label4_%1").arg(i + 1));
        item->setFlat(true);
        item->setAutoDefault(false);
        // Shown as links, which is what they are; the one with the focus highlighted.
        item->setStyleSheet(QStringLiteral(
            "QPushButton { text-align: left; padding: 2px 2px 2px 2em; border: none; color: palette(link); }"
            "QPushButton:focus { color: palette(highlighted-text); background: palette(highlight); }"));
        QFont underlined = item->font();
        underlined.setUnderline(true);
        item->setFont(underlined);
        item->setCursor(Qt::PointingHandCursor);
        item->setProperty("topic", kMenuItems[i].topic);
        // Any mouse button opens the topic.
        item->installEventFilter(this);
        connect(item, &QPushButton::clicked, this, [this, topic = kMenuItems[i].topic] { ShowQuickHelp(ps_, topic); });
        layout->addWidget(item);
    }
    auto* tutorial = new QPushButton(QStringLiteral("Click here for the Tutorial"), this);
    tutorial->setObjectName(QStringLiteral("TutorialBtn"));
    tutorial->setAutoDefault(false);
    connect(tutorial, &QPushButton::clicked, this, [this] {
        if (OpenHelpDocument(ps_, kTutorialFileName)) close();
    });
    layout->addWidget(tutorial, 0, Qt::AlignHCenter);
    const QFontMetrics m(font());
    setMinimumWidth(m.averageCharWidth() * 70);
    adjustSize();
    Centre(*this);
}

void MainHelpForm::openManual() {
    OpenHelpDocument(ps_, kManualFileName);
    QCoreApplication::processEvents();
    close();
}

void MainHelpForm::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openManual();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool MainHelpForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* e = static_cast<QMouseEvent*>(event);
        auto* item = qobject_cast<QPushButton*>(watched);
        // The left button clicks as buttons do; the others open the topic here.
        if (item && e->button() != Qt::LeftButton && item->rect().contains(e->position().toPoint())) {
            ShowQuickHelp(ps_, item->property("topic").toInt());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void ShowQuickHelp(ProgramState& ps, int topic) {
    HelpForm form(ps, topic, QApplication::activeWindow());
    form.exec();
}

}  // namespace pellion::ui
