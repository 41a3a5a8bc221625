// The program's entry: start-up in its fixed order, the main window, and the
// settings saved on the way out.
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>
#include <QWindow>

#include "app/caption.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "app/startup.h"
#include "platform/files.h"
#include "ui/main/monitor_timer.h"

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

// Stands in for the main window until it has its lists: it carries the
// caption that a second copy looks for.
class MainWindow : public QWidget {
public:
    explicit MainWindow(ProgramState& state) : state_(state) {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QString::fromUtf8(kProgramName).trimmed(), this));
        resize(480, 120);
    }

protected:
    void closeEvent(QCloseEvent* event) override {
        Shutdown(state_);
        event->accept();
        QApplication::quit();
    }

private:
    ProgramState& state_;
};

void keepOnScreen(QWidget& window) {
    const QScreen* s = window.screen();
    if (!s) return;
    const QRect screen = s->geometry();
    if (window.y() >= screen.bottom() + 1 || window.x() >= screen.right() + 1) window.move(0, 0);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::unique_ptr<platform::Platform> services = platform::makeX11Platform();
    if (!services) services = std::make_unique<platform::Platform>();
    if (!services->windows) services->windows = std::make_unique<OwnWindowsOnly>();
    ProgramState state(*services);

    std::unique_ptr<MainWindow> window;
    StartupCalls calls;
    calls.createMainWindow = [&](const std::string& caption) {
        window = std::make_unique<MainWindow>(state);
        window->setWindowTitle(QString::fromStdString(caption));
        return static_cast<platform::WindowId>(window->winId());
    };
    calls.keepMainWindowOnScreen = [&](platform::Point) {
        if (window) keepOnScreen(*window);
    };
    calls.processEvents = [] { QCoreApplication::processEvents(); };

    if (StartProgram(state, files::programFile(), DateTime::now(), calls) == StartOutcome::OtherCopyRunning) return 0;

    if (InitialShowState(state.settings) == platform::ShowState::Minimised) window->showMinimized();
    else window->show();

    // The caption shows the current minute; a second copy looks for it.
    QTimer captionTimer;
    QObject::connect(&captionTimer, &QTimer::timeout, [&] {
        const QString caption = QString::fromStdString(MainCaption(DateTime::now()));
        if (window->windowTitle() != caption) window->setWindowTitle(caption);
    });
    captionTimer.start(1000);

    StartMonitorTimer(&app, state, window.get());

    QObject::connect(&app, &QGuiApplication::commitDataRequest, [&] { Shutdown(state); });
    QObject::connect(&app, &QCoreApplication::aboutToQuit, [&] { Shutdown(state); });
    return app.exec();
}
