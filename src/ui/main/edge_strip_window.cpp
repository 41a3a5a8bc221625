#include "ui/main/edge_strip_window.h"

#include <QPushButton>

#include "app/program_state.h"
#include "ui/logic/edge_strip.h"
#include "ui/main/form_widgets.h"
#include "ui/main/main_window.h"

namespace pellion::ui {

EdgeStripWindow::EdgeStripWindow(ProgramState& ps, Edit& edit)
    // Past the window manager, as menus are: no frame, no taskbar or pager
    // entry, never the focus, and exactly where it is put.
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::BypassWindowManagerHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      ps_(ps), edit_(edit), scale_(edit.scale()) {
    setObjectName(QStringLiteral("EdgeForm"));
    setWindowTitle(QStringLiteral("Clipboard"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    button_ = new QPushButton(QStringLiteral("Clipboard"), this);
    button_->setObjectName(QStringLiteral("Btn"));
    button_->setFocusPolicy(Qt::NoFocus);
    const QSize size(scale_.toPixels(kEdgeStripWidth), scale_.toPixels(kEdgeStripHeight));
    button_->setGeometry(QRect(QPoint(0, 0), size));
    setFixedSize(size);
    // The rules work in the screen's twips: the strip as it came out.
    EdgeState& e = ps.edge;
    e.width = scale_.toTwips(size.width());
    e.height = scale_.toTwips(size.height());
    e.twipsPerPixel = 1.0 / ScreenPixelsPerTwip(scale_);
    ps.monitor.edgeStrip = winId();

    connect(button_, &QPushButton::clicked, this, [this] {
        EdgeStripClick(ps_);
        apply();
        edit_.applyState();
    });
    edgeTimer_.setInterval(kEdgeTimerMs);
    leaveTimer_.setInterval(kEdgeOffTimerMs);
    connect(&edgeTimer_, &QTimer::timeout, this, [this] {
        EdgeTimerTick(ps_);
        apply();
    });
    connect(&leaveTimer_, &QTimer::timeout, this, [this] {
        EdgeOffTimerTick(ps_);
        apply();
    });
    e.watching = true;
    apply();
}

void EdgeStripWindow::apply() {
    const EdgeState& e = ps_.edge;
    if (e.shown) {
        move(scale_.toPixels(e.place.left), scale_.toPixels(e.place.top));
        if (!isVisible()) {
            SetBold(button_, ps_.settings.FontOption != 0);
            show();
            raise();  // above every window, the topmost ones too
        }
    } else if (isVisible()) {
        hide();
    }
    if (e.watching != edgeTimer_.isActive()) e.watching ? edgeTimer_.start() : edgeTimer_.stop();
    if (e.leaveWatching != leaveTimer_.isActive()) e.leaveWatching ? leaveTimer_.start() : leaveTimer_.stop();
}

}  // namespace pellion::ui
