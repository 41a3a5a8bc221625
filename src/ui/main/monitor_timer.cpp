#include "ui/main/monitor_timer.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include "app/program_state.h"
#include "capture/monitor.h"
#include "ui/main/main_window.h"

namespace pellion {

QTimer* StartMonitorTimer(QObject* parent, ProgramState& ps, QWidget* mainWindow) {
    MonitorHooks& hooks = ps.monitor.hooks;
    QPointer<QWidget> window(mainWindow);
    if (!hooks.setCaption) {
        hooks.setCaption = [window](const std::string& caption) {
            if (window) window->setWindowTitle(QString::fromStdString(caption));
        };
    }
    if (!hooks.refresh) {
        hooks.refresh = [window] {
            if (auto* form = qobject_cast<ui::Edit*>(window.data())) form->applyState();
        };
    }
    if (!hooks.processEvents) hooks.processEvents = [] { QCoreApplication::processEvents(); };
    // A pending paste keeps the monitor off so that it never captures what it pastes.
    if (!ps.paste.hooks.monitorTimer) ps.paste.hooks.monitorTimer = [&ps](bool on) { ps.monitor.enabled = on; };

    auto* timer = new QTimer(parent);
    timer->setInterval(1000);
    QObject::connect(timer, &QTimer::timeout, timer, [&ps] { MonitorTick(ps); });
    // Reads run on a thread of their own; what they find, and each change of
    // the clipboard's owner, come back to this thread through the timer. The
    // worker and the watch stop with the program state and the clipboard,
    // before the timer goes with the application.
    StartReadWorker(
        ps,
        [timer, &ps] { QMetaObject::invokeMethod(timer, [&ps] { MonitorReadArrived(ps); }, Qt::QueuedConnection); },
        [timer, &ps] { QMetaObject::invokeMethod(timer, [&ps] { MonitorOwnerChanged(ps); }, Qt::QueuedConnection); });
    ps.monitor.enabled = true;
    timer->start();
    return timer;
}

}  // namespace pellion
