// The program's entry: start-up in its fixed order, the main window, and the
// settings saved on the way out.
#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>

#include "app/caption.h"
#include "app/data_folder.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "help/widgets/help_wiring.h"
#include "launch/widgets/launch_wiring.h"
#include "platform/files.h"
#include "ui/logic/list_cells.h"
#include "ui/dialogs/library_dialog.h"
#include "ui/main/drag_wiring.h"
#include "ui/main/edge_strip_window.h"
#include "ui/main/form_widgets.h"
#include "ui/main/main_window.h"
#include "ui/main/monitor_timer.h"
#include "ui/main/options_wiring.h"
#include "ui/main/paste_wiring.h"
#include "ui/main/search_wiring.h"
#include "ui/main/tray_icon.h"
#include "ui/main/viewer_wiring.h"

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
        const ui::TwipScale scale = ui::DesktopTwipScale();
        return {scale.toTwips(s->geometry().width()), scale.toTwips(s->geometry().height())};
    }
};

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v ? v : "";
}

// Told once, without holding the program up: on standard error and in a
// message window that does not block the main window.
void tellUser(QWidget* parent, const std::vector<std::string>& notices) {
    for (const std::string& text : notices) {
        std::fprintf(stderr, "pellion: %s\n", text.c_str());
        auto* box = new QMessageBox(QMessageBox::Information, " Pellion Clipboard notice",
                                    QString::fromStdString(text), QMessageBox::Ok, parent);
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    }
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt has taken its own options out of argv by now.
    const CommandLine args = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (args.help || !args.error.empty()) {
        if (!args.error.empty()) std::fprintf(stderr, "pellion: %s\n", args.error.c_str());
        std::fputs(kUsage, args.help ? stdout : stderr);
        return args.help ? 0 : 2;
    }
    const DataFolderChoice data =
        ChooseDataFolder(args.dataFolder, files::programFile(), env("XDG_DATA_HOME"), env("HOME"));
    if (data.folder.empty()) {
        std::fprintf(stderr, "pellion: %s\n", data.error.c_str());
        return 1;
    }
    std::unique_ptr<platform::Platform> services = platform::makeX11Platform();
    if (!services) services = std::make_unique<platform::Platform>();
    if (!services->windows) services->windows = std::make_unique<OwnWindowsOnly>();
    // The screen in the same twips as the window, before the settings are
    // checked against it.
    services->windows->setPixelsPerTwip(ui::ScreenPixelsPerTwip(ui::DesktopTwipScale()));
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
    switch (StartProgram(state, files::programFile(), data.folder, DateTime::now(), calls)) {
    case StartOutcome::OtherCopyRunning: return 0;
    case StartOutcome::Refused: std::fprintf(stderr, "pellion: %s\n", state.startup.refusal.c_str()); return 1;
    case StartOutcome::Started: break;
    }
    window->applyState();
    ui::BindDragAndDrop(state, *window);
    ui::BindClipViewer(state, *window);
    ui::BindOptionsButton(state, *window);
    ui::BindSearch(state, *window);
    ui::BindLibraryButton(state, *window);
    ui::BindLaunchPad(state, *window);
    ui::BindHelp(state, *window);

    // The screen-edge strip, sized to its button, and its watcher.
    ui::EdgeStripWindow strip(state, *window);
    state.mainForm.hooks.hideEdgeStrip = [&] {
        ui::HideEdgeStrip(state);
        strip.apply();
    };
    state.monitor.hooks.enableEdgeTimer = [&] {
        state.edge.watching = true;
        strip.apply();
    };
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

    // Closing the window, the tray's Quit or the end of the session ends the
    // program; every list change is on disk already, only the settings are saved.
    const auto quit = [&] {
        ui::QueryUnload(state);
        QApplication::quit();
    };
    auto* tray = new ui::TrayIcon(state, *window, quit);
    state.monitor.hooks.refresh = [shown = state.monitor.hooks.refresh, tray] {
        if (shown) shown();
        tray->refresh();
    };

    // The window takes its final state at once: minimised and then restored
    // again, a first run could end up minimised.
    ui::ShowFirstRunNormally(state);
    window->applyState();
    tellUser(nullptr, state.startup.notices);

    QObject::connect(window.get(), &ui::Edit::closing, quit);
    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&] { ui::QueryUnload(state); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] { Shutdown(state); });
    return app.exec();
}
