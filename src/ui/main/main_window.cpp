#include "ui/main/main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>

#include "ui/main/form_widgets.h"

namespace pellion::ui {

namespace {

MouseButton ToButton(Qt::MouseButton b) {
    switch (b) {
    case Qt::LeftButton: return MouseButton::Left;
    case Qt::RightButton: return MouseButton::Right;
    case Qt::MiddleButton: return MouseButton::Middle;
    default: return MouseButton::None;
    }
}

MouseButton HeldButton(Qt::MouseButtons held) {
    if (held & Qt::LeftButton) return MouseButton::Left;
    if (held & Qt::RightButton) return MouseButton::Right;
    if (held & Qt::MiddleButton) return MouseButton::Middle;
    return MouseButton::None;
}

WindowShow ToShow(Qt::WindowStates s) {
    if (s & Qt::WindowMinimized) return WindowShow::Minimised;
    if (s & Qt::WindowMaximized) return WindowShow::Maximised;
    return WindowShow::Normal;
}

Qt::WindowStates ToQt(WindowShow s) {
    switch (s) {
    case WindowShow::Minimised: return Qt::WindowMinimized;
    case WindowShow::Maximised: return Qt::WindowMaximized;
    default: return Qt::WindowNoState;
    }
}

}  // namespace

Edit::Edit(ProgramState& ps, QWidget* parent) : QWidget(parent), ps_(ps), scale_(DesktopTwipScale()) {
    setWindowTitle(QStringLiteral(" Pellion Clipboard"));  // until the state gives the caption
    const auto& widgets = ps_.mainForm.form.widgets();
    widgets_.reserve(widgets.size());
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        const WidgetState& w = widgets[i];
        QWidget* parentWidget = w.parent ? widgets_[slots_.at(*w.parent)] : this;
        QWidget* created = CreateFormWidget(w, parentWidget, scale_);
        created->setObjectName(QString::fromStdString(ToString(w.ref)));
        created->installEventFilter(this);
        widgets_.push_back(created);
        slots_[w.ref] = i;
        refs_[created] = w.ref;
        connectHandlers(w, created);
    }
    applied_.resize(widgets.size());
    appliedOnce_.assign(widgets.size(), false);
    if (ps_.mainWindow == 0) ps_.mainWindow = nativeId_ = winId();
    applyState();
}

void Edit::connectHandlers(const WidgetState& w, QWidget* widget) {
    auto* button = qobject_cast<QAbstractButton*>(widget);
    if (!button) return;
    const WidgetRef ref = w.ref;
    if (ref.family == Family::SizerBtn) {
        connect(button, &QAbstractButton::clicked, this, [this, ref] {
            SizerBtn_Click(ps_, ref.index);
            applyState();
        });
    } else if (ref.family == Family::Minimize) {
        connect(button, &QAbstractButton::clicked, this, [this] {
            Minimize_Click(ps_);
            applyState();
        });
    } else if (button->isCheckable()) {
        // A click toggles the button by itself; what it shows is the state's.
        connect(button, &QAbstractButton::clicked, this, [this, ref, button] {
            button->setChecked(ps_.mainForm.form[ref].selected);
        });
    }
}

QWidget* Edit::widget(WidgetRef ref) const {
    auto it = slots_.find(ref);
    return it == slots_.end() ? nullptr : widgets_[it->second];
}

void Edit::fillCells(Family family, const std::vector<std::string>& titles) {
    FillCellCaptions(ps_.mainForm.form, family, titles);
    applyState();
}

QRect Edit::toPixels(const TwipRect& r) const {
    // Edges converted separately, so neighbouring cells meet without gaps.
    const int left = scale_.toPixels(r.left), top = scale_.toPixels(r.top);
    return QRect(left, top, scale_.toPixels(r.right()) - left, scale_.toPixels(r.bottom()) - top);
}

QSize Edit::clientPixels() const {
    const TwipRect client = ps_.mainForm.form.clientRect();
    return QSize(std::max(1, scale_.toPixels(client.width)), std::max(1, scale_.toPixels(client.height)));
}

void Edit::applyState() {
    if (applying_) {
        reapply_ = true;
        return;
    }
    applying_ = true;
    do {
        reapply_ = false;
        const bool bold = ps_.mainForm.form.window.bold;
        const bool boldChanged = bold != appliedBold_;
        appliedBold_ = bold;
        for (std::size_t i = 0; i < widgets_.size(); ++i) applyWidget(i, boldChanged);
        applyWindow();
        applyRequests();
    } while (reapply_);
    applying_ = false;
}

void Edit::applyWidget(std::size_t slot, bool boldChanged) {
    const WidgetState& w = ps_.mainForm.form.widgets()[slot];
    WidgetState& was = applied_[slot];
    QWidget* widget = widgets_[slot];
    const bool first = !appliedOnce_[slot];
    if (first || w.rect != was.rect) widget->setGeometry(toPixels(w.rect));
    if (first || w.visible != was.visible) widget->setHidden(!w.visible);
    if (first || w.caption != was.caption) SetWidgetCaption(widget, w.caption);
    if (first || w.toolTip != was.toolTip) widget->setToolTip(QString::fromStdString(w.toolTip));
    if (first || boldChanged) SetBold(widget, appliedBold_);
    if (first || w.background != was.background || w.text != was.text)
        SetWidgetColours(widget, w.kind, ToQColor(w.background), ToQColor(w.text));
    if (auto* button = qobject_cast<QAbstractButton*>(widget); button && button->isCheckable())
        button->setChecked(w.selected);
    was = w;
    appliedOnce_[slot] = true;
}

void Edit::applyWindow() {
    FormWindow& w = ps_.mainForm.form.window;
    if (!w.caption.empty() && w.caption != appliedCaption_) {
        setWindowTitle(QString::fromStdString(w.caption));
        appliedCaption_ = w.caption;
    }
    const QSize client = clientPixels();
    const bool resized = client != appliedClient_;
    if (resized) {
        setFixedSize(client);
        appliedClient_ = client;
    }
    const QPoint pos(scale_.toPixels(w.left), scale_.toPixels(w.top));
    if (w.show == WindowShow::Normal && (pos != appliedPos_ || resized)) {
        move(pos);
        appliedPos_ = pos;
    }
    // Shown first, then minimised: a state set before the first mapping does
    // not reach the window manager once the native window exists.
    if (w.shown && !isVisible()) {
        show();
        placeFrame(QPoint(scale_.toPixels(w.left), scale_.toPixels(w.top)), 400);
        appliedTopmost_ = appliedSkipTaskbar_ = -1;  // a window manager may drop the states on mapping
    } else if (!w.shown && isVisible()) {
        hide();
    }
    const Qt::WindowStates want = ToQt(w.show);
    if ((windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) != want)
        setWindowState((windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized)) | want);
    if (windowHandle() && appliedTopmost_ != static_cast<int>(w.topmost)) {
        // On the window handle: QWidget::setWindowFlag would hide the window.
        windowHandle()->setFlag(Qt::WindowStaysOnTopHint, w.topmost);
        appliedTopmost_ = w.topmost;
    }
    if (auto* windows = ps_.platform.windows.get();
        windows && windowHandle() && appliedSkipTaskbar_ != static_cast<int>(w.skipTaskbar)) {
        windows->setSkipTaskbar(windowHandle()->winId(), w.skipTaskbar);
        appliedSkipTaskbar_ = w.skipTaskbar;
    }
    // Qt replaces the native window at a show when the stay-on-top hint
    // changed while it was hidden (as at every start on top): the program,
    // and a second copy that looks for us, must know the window that is up.
    if (windowHandle() && nativeId_ != 0 && ps_.mainWindow == nativeId_) {
        const auto id = static_cast<platform::WindowId>(windowHandle()->winId());
        if (id != nativeId_) {
            ps_.mainWindow = nativeId_ = id;
            emit windowIdChanged();
        }
    }
}

// Placed before the window manager framed it, the window's inside went where
// its frame's corner should be (the title bar above the screen at Top 0):
// once the frame is known, the window goes there again.
void Edit::placeFrame(QPoint want, int triesLeft) {
    if (!isVisible()) return;
    // A first run shows the window minimised and restores it at once; until
    // the window manager has framed it, the frame's place is not known.
    const bool normal = windowState() == Qt::WindowNoState;
    bool framed = normal && frameGeometry() != geometry();
    // Where the frame really is: Qt's own idea of it can lag behind the
    // window manager's (its frame margins too, so that it would never see the
    // window framed), and then a move to the same place would do nothing.
    QPoint at = pos();
    if (auto* windows = ps_.platform.windows.get(); windows && normal) {
        const platform::Rect r = windows->windowRect(winId());
        const qreal ratio = devicePixelRatioF();
        if (r.right > r.left) {
            framed = framed || r.right - r.left > qRound(width() * ratio) || r.bottom - r.top > qRound(height() * ratio);
            if (framed) at = QPoint(qRound(r.left / ratio), qRound(r.top / ratio));
        }
    }
    if (framed && at == want) return;
    if (framed) {
        // Qt skips a move to where it believes the window already is.
        if (pos() == want) move(want + QPoint(0, 1));
        appliedPos_ = want;
        move(want);
    }
    // A move made while the window manager is still mapping or restoring the
    // window may be passed over: look again until the frame is in place.
    if (triesLeft > 0) QTimer::singleShot(50, this, [this, want, triesLeft] { placeFrame(want, triesLeft - 1); });
}

void Edit::applyRequests() {
    FormWindow& w = ps_.mainForm.form.window;
    if (w.raiseRequest) {
        w.raiseRequest = false;
        raise();
        // The platform's request carries what a window manager needs to let
        // a program that is not in front come forward; Qt's is the fallback.
        auto* windows = ps_.platform.windows.get();
        if (!windows || !windows->bringToFront(ps_.mainWindow)) activateWindow();
    }
    if (w.processEventsRequest) {
        w.processEventsRequest = false;
        QCoreApplication::processEvents();
    }
    const FocusRequest focus = w.focusRequest;
    w.focusRequest = FocusRequest::None;
    QWidget* sink = widget({Family::Holdfocus, 0});
    if (focus == FocusRequest::Holdfocus) {
        // The buttons never take the focus, so the sink may hold it already;
        // giving it the focus must still run its handler.
        if (focusWidget() == sink) {
            Holdfocus_GotFocus(ps_);
            reapply_ = true;
        } else {
            sink->setFocus(Qt::OtherFocusReason);
        }
    } else if (focus == FocusRequest::Window) {
        activateWindow();
        sink->setFocus(Qt::ActiveWindowFocusReason);
    }
}

bool Edit::eventFilter(QObject* watched, QEvent* event) {
    auto it = refs_.find(watched);
    if (it == refs_.end()) return QWidget::eventFilter(watched, event);
    const WidgetRef ref = it->second;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return mouse(ref, event);
    case QEvent::FocusIn:
        if (ref.family == Family::Holdfocus) {
            Holdfocus_GotFocus(ps_);
            applyState();
        }
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

bool Edit::mouse(WidgetRef ref, QEvent* event) {
    auto* e = static_cast<QMouseEvent*>(event);
    const MouseAction action = event->type() == QEvent::MouseButtonPress     ? MouseAction::Press
                               : event->type() == QEvent::MouseButtonRelease ? MouseAction::Release
                               : event->type() == QEvent::MouseMove          ? MouseAction::Move
                                                                              : MouseAction::DoubleClick;
    const MouseButton button = action == MouseAction::Move ? HeldButton(e->buttons()) : ToButton(e->button());
    const bool consumed = WidgetMouse(ps_, ref, action, button);
    // Moves change nothing but the library label's "Change" button.
    if (action != MouseAction::Move || ref.family == Family::LibLabel) applyState();
    if (consumed) return true;
    const Kind kind = ps_.mainForm.form[ref].kind;
    if (kind == Kind::Cell || kind == Kind::Tag) {
        const QPoint px = e->position().toPoint();
        emit cellMouse(ref, action, button, QPoint(scale_.toTwips(px.x()), scale_.toTwips(px.y())));
    } else {
        emit widgetMouse(ref, action, button);
    }
    // A right button has asked for this widget's quick help; a button does
    // nothing with it, and its frame must not ask for its own as well.
    if (button == MouseButton::Right && kind != Kind::TextBox) return true;
    // Buttons and the search box act on their events; the event of a label
    // or frame ends here rather than reaching its container as well.
    switch (kind) {
    case Kind::Button:
    case Kind::Option:
    case Kind::Switch:
    case Kind::TextBox: return false;
    default: return true;
    }
}

void Edit::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    ps_.mainForm.form.window.show = ToShow(windowState());
    Form_Resize(ps_);
    applyState();
}

void Edit::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized)) return;
    // The window's outer position, as the rules and the settings keep it.
    FormWindow& w = ps_.mainForm.form.window;
    appliedPos_ = pos();
    w.left = scale_.toTwips(appliedPos_.x());
    w.top = scale_.toTwips(appliedPos_.y());
}

void Edit::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}

}  // namespace pellion::ui
