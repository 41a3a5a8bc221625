#include "ui/main/form_widgets.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QScreen>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>

namespace pellion::ui {

namespace {

// The pictures of the layout buttons: an outline of the window shape that
// the button leads to.
QIcon LayoutIcon(WidgetRef ref, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(90, 120, 200));
    const int w = size.width(), h = size.height();
    QRect shape;
    if (ref.family == Family::TopBtn) {
        // [0] toggles the reduced window, [1..3] a single column.
        shape = ref.index == 0 ? QRect(w / 4, h / 4, w / 2, h / 2) : QRect(w / 2 - 2, 1, 4, h - 3);
    } else {
        switch (ref.index) {
        case 0: shape = QRect(1, 1, w - 3, h - 3); break;          // full
        case 1: shape = QRect(1, h / 2 - 2, w - 3, 4); break;      // strip
        default: shape = QRect(w / 2 - 3, 1, 6, h - 3); break;     // compact
        }
    }
    p.drawRect(shape);
    return QIcon(pixmap);
}

QLabel* MakeLabel(const WidgetState& w, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);  // titles come from other programs' clipboard text
    label->setAutoFillBackground(true);
    switch (w.kind) {
    case Kind::Cell:
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setFrameShape(QFrame::Box);
        label->setIndent(2);
        label->setMouseTracking(true);
        break;
    case Kind::Tag:
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::Box);
        label->setMouseTracking(true);
        break;
    case Kind::DropLabel:
        label->setAlignment(Qt::AlignCenter);
        break;
    default:
        label->setMouseTracking(true);
        if (w.ref.family == Family::Label2) {
            label->setAutoFillBackground(false);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            label->setWordWrap(true);  // "Clip Capturing :" takes two lines where one is too short
        }
        if (w.ref.family == Family::LibLabel) {
            label->setFrameShape(QFrame::Box);
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        break;
    }
    return label;
}

QPushButton* MakeButton(const WidgetState& w, QWidget* parent, const TwipScale& scale) {
    auto* button = new QPushButton(parent);
    button->setFocusPolicy(Qt::NoFocus);  // the focus stays with Holdfocus
    button->setStyleSheet(QStringLiteral("QPushButton { padding: 0px; }"));
    if (w.kind == Kind::Option || w.kind == Kind::Switch) button->setCheckable(true);
    if (w.ref.family == Family::TopBtn || w.ref.family == Family::SizerBtn) {
        const QSize icon(std::max(4, scale.toPixels(w.rect.width) - 4), std::max(4, scale.toPixels(w.rect.height) - 4));
        button->setIcon(LayoutIcon(w.ref, icon));
        button->setIconSize(icon);
    }
    return button;
}

}  // namespace

TwipScale DesktopTwipScale() {
    const QFontMetricsF m(QApplication::font());
    const QString letters = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    const FontMeasure font{m.lineSpacing(), m.horizontalAdvance(letters) / letters.size()};
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return TwipScale(DesignDpi(96.0, font, 0, 0));
    const QRect area = screen->geometry();
    return TwipScale(DesignDpi(screen->logicalDotsPerInchY(), font, area.width(), area.height()));
}

double ScreenPixelsPerTwip(const TwipScale& scale) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return scale.dpi() / 1440.0 * (screen ? screen->devicePixelRatio() : 1.0);
}

QWidget* CreateFormWidget(const WidgetState& w, QWidget* parent, const TwipScale& scale) {
    switch (w.kind) {
    case Kind::Frame: {
        // Opaque, so a panel hides what lies beneath it (the column view).
        QWidget* frame = w.caption.empty() ? new QWidget(parent) : new QGroupBox(parent);
        frame->setAutoFillBackground(true);
        // The caption sits on the panel's top line, so the cells placed below
        // it clear the line at any font size.
        if (!w.caption.empty())
            frame->setStyleSheet(QStringLiteral(
                "QGroupBox { border: 1px solid palette(mid); margin-top: 0.5em; background-color: palette(window); }"
                "QGroupBox::title { subcontrol-origin: margin; left: 6px; padding: 0 2px; }"));
        return frame;
    }
    case Kind::Button:
    case Kind::Option:
    case Kind::Switch: return MakeButton(w, parent, scale);
    case Kind::TextBox: {
        auto* box = new QLineEdit(parent);
        box->setFocusPolicy(Qt::ClickFocus);  // the window's first focus goes to Holdfocus
        box->setContextMenuPolicy(Qt::PreventContextMenu);  // a right click asks for help instead
        return box;
    }
    case Kind::FocusSink: {
        auto* sink = new QWidget(parent);
        sink->setFocusPolicy(Qt::StrongFocus);
        return sink;
    }
    default: return MakeLabel(w, parent);
    }
}

void SetWidgetCaption(QWidget* widget, const std::string& caption) {
    const QString text = QString::fromStdString(caption);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(text);
    else if (auto* box = qobject_cast<QGroupBox*>(widget))
        box->setTitle(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(text);
}

void SetBold(QWidget* widget, bool bold) {
    QFont f = widget->font();
    if (f.bold() == bold) return;
    f.setBold(bold);
    widget->setFont(f);
}

void SetWidgetColours(QWidget* widget, Kind kind, QColor background, QColor text) {
    QPalette p = widget->palette();
    switch (kind) {
    case Kind::Button:
    case Kind::Option:
    case Kind::Switch:
        p.setColor(QPalette::Button, background);
        p.setColor(QPalette::ButtonText, text);
        break;
    case Kind::TextBox:
        p.setColor(QPalette::Base, background);
        p.setColor(QPalette::Text, text);
        break;
    case Kind::Frame:
    case Kind::FocusSink: return;  // frames keep the desktop's look
    default:
        p.setColor(QPalette::Window, background);
        p.setColor(QPalette::WindowText, text);
        break;
    }
    widget->setPalette(p);
}

Rgb DesktopColour(int index) {
    const QPalette p = QApplication::palette();
    QColor c;
    switch (index) {
    case 0x0D: c = p.color(QPalette::Highlight); break;
    case 0x0E: c = p.color(QPalette::HighlightedText); break;
    case 0x0F: c = p.color(QPalette::Button); break;
    default: c = p.color(QPalette::Window); break;
    }
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

}  // namespace pellion::ui
