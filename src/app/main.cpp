// The program's entry: start-up in its fixed order, the main window, and the
// settings saved on the way out.
#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include "app/caption.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "platform/files.h"
#include "ui/logic/list_cells.h"
#include "ui/main/drag_wiring.h"
#include "ui/main/main_window.h"
#include "ui/main/monitor_timer.h"
#include "ui/main/paste_wiring.h"

namespace {

using namespace pellion;

// Stands in when the display offers no windows service: it knows the
// program's own windows only, so the caption search finds nothing and the
// data folder's lock alone keeps a second copy out.
class OwnWindowsOnly : public platform::Windows {
public:
    platform::WindowId foreground() override {
        QWidget* w = QApplication::activeWindow();
        return w ? w->winId() : 0;
    }
    bool bringToFront(platform::WindowId id) override {
        QWidget* w = QWidget::find(id);
        if (!w) return false;
        w->raise();
        w->activateWindow();
        return true;
    }
    bool isOwnWindow(platform::WindowId id) override { return QWidget::find(id) != nullptr; }
    platform::WindowId findByTitle(const std::string&) override { return 0; }
    void show(platform::WindowId id, platform::ShowState state) override {
        QWidget* w = QWidget::find(id);
        if (!w) return;
        if (state == platform::ShowState::Normal) w->showNormal();
        else if (state == platform::ShowState::Minimised) w->showMinimized();
        else w->hide();
    }
    void setTopmost(platform::WindowId id, bool topmost) override {
        QWidget* w = QWidget::find(id);
        if (w && w->windowHandle()) w->windowHandle()->setFlag(Qt::WindowStaysOnTopHint, topmost);
    }
    platform::Rect windowRect(platform::WindowId id) override {
        QWidget* w = QWidget::find(id);
        if (!w) return {};
        const QRect r = w->frameGeometry();
        return {r.left(), r.top(), r.right() + 1, r.bottom() + 1};
    }
    platform::Point pointer() override { return {QCursor::pos().x(), QCursor::pos().y()}; }
    platform::Point screenSizeTwips() override {
        const QScreen* s = QGuiApplication::primaryScreen();
        if (!s) return {1024 * 15, 768 * 15};
        const double twips = 15.0 * s->logicalDotsPerInch() / 96.0;
        return {static_cast<int>(s->geometry().width() * twips), static_cast<int>(s->geometry().height() * twips)};
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::unique_ptr<platform::Platform> services = platform::makeX11Platform();
    if (!services) services = std::make_unique<platform::Platform>();
    if (!services->windows) services->windows = std::make_unique<OwnWindowsOnly>();
    ProgramState state(*services);
    ui::ListCells cells(state);
    state.mainForm.cellColours = &cells;
    state.mainForm.hooks.saveSettings = [&] { SaveSettings(state); };
    state.keys.groupClick = [&](int group) { ui::Group_Click(state, group, ui::MouseButton::Left); };

    // Start-up in its fixed order; the window exists, hidden, from the
    // caption on and shows the lists as they load.
    std::unique_ptr<ui::Edit> window;
    StartupCalls calls;
    calls.createMainWindow = [&](const std::string& caption) {
        state.mainForm.form.window.caption = caption;
        window = std::make_unique<ui::Edit>(state);
        QObject::connect(window.get(), &ui::Edit::windowIdChanged, [&] { RecordMainWindow(state); });
        ui::BindPasteServices(state, *window);
        return state.mainWindow;
    };
    calls.processEvents = [] { QCoreApplication::processEvents(); };
    if (StartProgram(state, files::programFile(), DateTime::now(), calls) == StartOutcome::OtherCopyRunning) return 0;
    window->applyState();
    ui::BindDragAndDrop(state, *window);

    // The screen-edge strip and its timer come here, before the layout.
    QCoreApplication::processEvents();
    ui::ShowAtStartup(state);
    KeepMainWindowOnScreen(state, ScreenSizeTwips(state));

    // The clipboard monitor is enabled last; its tick keeps the caption on
    // the current minute, which a second copy looks for.
    state.monitor.hooks.setCaption = [&](const std::string& caption) {
        state.mainForm.form.window.caption = caption;
        window->applyState();
    };
    StartMonitorTimer(&app, state, window.get());

    // The window takes its final state at once: minimised and then restored
    // again, a first run could end up minimised.
    ui::ShowFirstRunNormally(state);
    window->applyState();

    // Closing the window or the end of the session ends the program; every
    // list change is on disk already, only the settings are saved.
    QObject::connect(window.get(), &ui::Edit::closing, [&] {
        ui::QueryUnload(state);
        QApplication::quit();
    });
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&] { ui::QueryUnload(state); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] { Shutdown(state); });
    return app.exec();
}
