#include "ui/main/tray_icon.h"

#include <QActionGroup>
#include <QMenu>
#include <QPainter>
#include <QSystemTrayIcon>

#include "app/program_state.h"
#include "capture/capture_modes.h"
#include "ui/main/main_window.h"
#include "ui/main/options_wiring.h"

namespace pellion::ui {

namespace {

// A clipboard; crossed out while capture is off, with a red "B" in bulk.
QIcon Picture(int captureMode) {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 40, 20), 1.5));
    p.setBrush(QColor(170, 120, 60));
    p.drawRoundedRect(QRectF(5, 3, 22, 27), 3, 3);
    p.setBrush(captureMode == 1 ? QColor(200, 200, 200) : QColor(255, 255, 255));
    p.drawRect(QRectF(8, 8, 16, 19));
    p.setBrush(QColor(120, 120, 130));
    p.drawRoundedRect(QRectF(11, 1, 10, 6), 2, 2);
    p.setPen(QPen(QColor(90, 90, 90), 1.5));
    for (int y = 13; y <= 23; y += 5) p.drawLine(QPointF(11, y), QPointF(21, y));
    if (captureMode == 1) {
        p.setPen(QPen(QColor(220, 0, 0), 3.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4, 28), QPointF(28, 4));
    } else if (captureMode == 2) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(220, 0, 0));
        p.drawEllipse(QRectF(14, 14, 18, 18));
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setPixelSize(14);
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(14, 14, 18, 18), Qt::AlignCenter, QStringLiteral("B"));
    }
    return QIcon(pixmap);
}

}  // namespace

TrayIcon::TrayIcon(ProgramState& ps, Edit& edit, std::function<void()> quit)
    : QObject(&edit), ps_(ps), edit_(edit) {
    icon_ = new QSystemTrayIcon(this);
    auto* menu = new QMenu(&edit);
    auto* group = new QActionGroup(menu);
    const char* names[3] = {"Normal", "Off", "Bulk"};
    for (int k = 0; k < 3; ++k) {
        modes_[k] = menu->addAction(QString::fromUtf8(names[k]));
        modes_[k]->setCheckable(true);
        group->addAction(modes_[k]);
        // Choosing the mode in force changes nothing (the button would
        // switch back to Normal).
        connect(modes_[k], &QAction::triggered, this, [this, k] {
            if (ps_.settings.CaptureMode != k) CaptureModeClick(ps_, k);
            edit_.applyState();
            refresh();
        });
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Options")), &QAction::triggered, this, [this] {
        OpenOptions(ps_, edit_);
        refresh();
    });
    connect(menu->addAction(QStringLiteral("Help")), &QAction::triggered, this, [this] {
        if (ps_.keys.openHelp) ps_.keys.openHelp();
    });
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("Quit")), &QAction::triggered, this, std::move(quit));
    connect(menu, &QMenu::aboutToShow, this, &TrayIcon::refresh);
    icon_->setContextMenu(menu);
    connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
        if (why != QSystemTrayIcon::Trigger) return;
        BringUpWindow(ps_);
        edit_.applyState();
    });
    refresh();
    // Shown by Qt whenever the desktop has a tray, also one that starts later.
    icon_->show();
}

void TrayIcon::refresh() {
    const int mode = ps_.settings.CaptureMode;
    if (mode >= 0 && mode < 3) modes_[mode]->setChecked(true);
    const int shown = mode * 1000 + ps_.settings.BulkCount;
    if (shown == shown_) return;
    shown_ = shown;
    icon_->setIcon(Picture(mode));
    QString tip = QStringLiteral("Pellion Clipboard");
    if (mode == 1) tip += QStringLiteral(": capture off");
    if (mode == 2) tip += QStringLiteral(": bulk capture, %1 held").arg(ps_.settings.BulkCount);
    icon_->setToolTip(tip);
}

}  // namespace pellion::ui
