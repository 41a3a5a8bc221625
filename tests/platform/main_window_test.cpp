// The main window's widgets on a real display: the layout state applied in
// pixels, the layout buttons wired to their rules, and screenshots of each
// layout for a person to look at.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMouseEvent>
#include <QWindow>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "ui/main/main_window.h"

using namespace pellion;
using namespace pellion::ui;

namespace {

QApplication& App() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = qApp ? nullptr : new QApplication(argc, argv);
    (void)app;
    return *qApp;
}

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        App();
        ps = std::make_unique<ProgramState>(fake.platform);
        ps->mainForm.hooks.saveSettings = [this] { ++saves; };
    }
    void TearDown() override {
        edit.reset();
        QCoreApplication::processEvents();
    }

    void open(int sizeOption, int layout, int onTop) {
        ps->settings.SizeOption = static_cast<std::int16_t>(sizeOption);
        ps->settings.Layout = static_cast<std::int16_t>(layout);
        ps->settings.OnTop = static_cast<std::int16_t>(onTop);
        ps->settings.ReducedLeft = 1500;
        ps->settings.ReducedTop = 1500;
        StartInRememberedLayout(*ps);
        RefreshModeButtons(*ps);
        ps->mainForm.form.window.shown = true;
        edit = std::make_unique<Edit>(*ps);
        settle();
        // Focus events need the window to be active; the window manager
        // activates it a little after mapping.
        edit->activateWindow();
        QElapsedTimer waited;
        waited.start();
        while (!edit->isActiveWindow() && waited.elapsed() < 3000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        settle();
    }
    void settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    bool waitFor(const std::function<bool()>& done) {
        QElapsedTimer waited;
        waited.start();
        while (!done() && waited.elapsed() < 5000) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        settle();
        return done();
    }
    int px(int twips) const { return edit->scale().toPixels(twips); }
    QWidget* w(Family f, int i = 0) const { return edit->widget({f, i}); }
    QPoint at(Family f, int i = 0) const { return w(f, i)->mapTo(edit.get(), QPoint(0, 0)); }
    void press(QWidget* target, Qt::MouseButton button) {
        QMouseEvent down(QEvent::MouseButtonPress, QPointF(3, 3), target->mapToGlobal(QPointF(3, 3)), button,
                         button, Qt::NoModifier);
        QApplication::sendEvent(target, &down);
        QMouseEvent up(QEvent::MouseButtonRelease, QPointF(3, 3), target->mapToGlobal(QPointF(3, 3)), button,
                       Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(target, &up);
        settle();
    }
    // Qt's idea of what is visible agrees with the state's flags.
    void expectVisibilityOfState() {
        for (const WidgetState& s : ps->mainForm.form.widgets()) {
            bool want = s.visible;
            for (auto p = s.parent; p && want; p = ps->mainForm.form[*p].parent) want = ps->mainForm.form[*p].visible;
            EXPECT_EQ(w(s.ref.family, s.ref.index)->isVisibleTo(edit.get()), want) << ToString(s.ref);
        }
    }
    void screenshot(const char* name) {
        const auto dir = std::filesystem::temp_directory_path() / "pellion-layout-shots";
        std::filesystem::create_directories(dir);
        const auto file = dir / (std::string(name) + ".png");
        EXPECT_TRUE(edit->grab().save(QString::fromStdString(file.string()))) << file;
    }

    platform::fake::FakePlatform fake;
    std::unique_ptr<ProgramState> ps;
    std::unique_ptr<Edit> edit;
    int saves = 0;
};

}  // namespace

TEST_F(MainWindowTest, FullLargeWindowShowsAllFourLists) {
    open(1, 0, 0);
    EXPECT_EQ(edit->size(), QSize(px(12288 - 90), px(8820 - 345)));
    EXPECT_EQ(at(Family::ClipboardClip, 3), QPoint(px(390), px(960)));
    EXPECT_EQ(at(Family::Item, 95), QPoint(px(2808) + px(4860), px(216 + 252 * 31)));
    EXPECT_EQ(w(Family::Item, 95)->size(), QSize(px(4860 + 2200) - px(4860), px(216 + 252 * 31 + 276) - px(216 + 252 * 31)));
    EXPECT_EQ(at(Family::Group, 0), QPoint(px(10008) + px(72), px(216)));
    EXPECT_TRUE(w(Family::Trans, 7)->isVisible());
    EXPECT_FALSE(w(Family::TrashLabel, 0)->isVisible());
    EXPECT_FALSE(w(Family::LibBtn)->isVisible());
    EXPECT_FALSE(w(Family::SizerBtn, 0)->isVisible());
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::Label1, 8))->text(), "9");
    // The highlight bar starts on the first clip; the other cells keep their colours.
    const QPalette p = QApplication::palette();
    EXPECT_EQ(w(Family::ClipboardClip, 0)->palette().color(QPalette::Window), p.color(QPalette::Highlight));
    EXPECT_EQ(w(Family::ClipboardClip, 1)->palette().color(QPalette::Window), QColor(255, 255, 0));
    EXPECT_EQ(w(Family::Item, 1)->palette().color(QPalette::Window), QColor(0, 255, 255));
    EXPECT_FALSE(edit->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    expectVisibilityOfState();
    screenshot("full-large");
}

TEST_F(MainWindowTest, FullSmallWindowHidesRow23AndTheTransferSlots) {
    open(0, 0, 0);
    EXPECT_EQ(edit->size(), QSize(px(9624 - 90), px(6496 - 345)));
    EXPECT_FALSE(w(Family::Frame2)->isVisible());
    EXPECT_FALSE(w(Family::Item, 23)->isVisible());
    EXPECT_FALSE(w(Family::Group, 23)->isVisible());
    EXPECT_TRUE(w(Family::Group, 22)->isVisible());
    expectVisibilityOfState();
    screenshot("full-small");
}

TEST_F(MainWindowTest, StripIsTopmostWithThreeColumnsOfClips) {
    open(1, 1, 1);
    EXPECT_EQ(edit->size(), QSize(px(9600 - 90), px(1530 - 345)));
    EXPECT_EQ(at(Family::ClipboardClip, 8), QPoint(px(5390), px(2160 - 1420)));
    EXPECT_EQ(w(Family::ClipboardClip, 8)->width(), px(5390 + 2100) - px(5390));
    EXPECT_FALSE(w(Family::Ctrlframe, 1)->isVisible());
    EXPECT_TRUE(w(Family::SizerBtn, 1)->isVisible());
    EXPECT_FALSE(w(Family::TextOnlyFrame)->isVisible());
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::Label2, 2))->text(), "Modes:");
    EXPECT_TRUE(edit->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    expectVisibilityOfState();
    screenshot("strip");
}

TEST_F(MainWindowTest, CompactAndTheSizerButtons) {
    open(1, 2, 1);
    EXPECT_EQ(edit->size(), QSize(px(2844 - 90), px(3700 - 345)));
    EXPECT_EQ(w(Family::Ctrlframe, 0)->height(), px(3300));
    EXPECT_FALSE(w(Family::Frame4)->isVisible());
    screenshot("compact");
    // The strip button, then the full window button.
    qobject_cast<QAbstractButton*>(w(Family::SizerBtn, 1))->click();
    settle();
    EXPECT_EQ(ps->settings.Layout, 1);
    EXPECT_EQ(edit->size(), QSize(px(9600 - 90), px(1530 - 345)));
    qobject_cast<QAbstractButton*>(w(Family::SizerBtn, 0))->click();
    settle();
    EXPECT_EQ(ps->settings.Layout, 0);
    EXPECT_EQ(ps->settings.OnTop, 0);
    EXPECT_EQ(edit->size(), QSize(px(12288 - 90), px(8820 - 345)));
    EXPECT_TRUE(w(Family::Frame4)->isVisible());
    EXPECT_FALSE(edit->windowHandle()->flags() & Qt::WindowStaysOnTopHint);
    expectVisibilityOfState();
}

TEST_F(MainWindowTest, ColumnViewFromTheTopButton) {
    open(1, 0, 0);
    press(w(Family::TopBtn, 2), Qt::LeftButton);
    EXPECT_EQ(ps->mainForm.columnView, 2);
    EXPECT_EQ(ps->mainForm.highlight, 41);  // the focus sink moved it to the column's first cell
    EXPECT_EQ(edit->width(), px(2500 - 90));
    EXPECT_EQ(at(Family::Item, 32), QPoint(px(108), px(216)));
    EXPECT_FALSE(w(Family::Ctrlframe, 0)->isVisible());
    EXPECT_FALSE(w(Family::hotkey, 0)->isVisible());
    expectVisibilityOfState();
    screenshot("column");
    int topic = 0;
    ps->mainForm.hooks.quickHelp = [&](int t) { topic = t; };
    press(w(Family::TopBtn, 2), Qt::RightButton);
    EXPECT_EQ(topic, 37);
    EXPECT_EQ(ps->mainForm.columnView, 2);
    press(w(Family::TopBtn, 2), Qt::LeftButton);
    EXPECT_EQ(ps->mainForm.columnView, 0);
    EXPECT_EQ(edit->width(), px(12288 - 90));
    EXPECT_EQ(at(Family::Item, 32), QPoint(px(2808) + px(2628), px(216)));
}

TEST_F(MainWindowTest, CellsShowTitlesAsPlainTextUpToTheirNul) {
    open(1, 0, 0);
    edit->fillCells(Family::ClipboardClip, {std::string("<b>first</b>\0rest", 17), "second"});
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::ClipboardClip, 0))->text(), "<b>first</b>");
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::ClipboardClip, 0))->textFormat(), Qt::PlainText);
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::ClipboardClip, 1))->text(), "second");
    WidgetRef seen{Family::Optionbutton, -1};
    MouseButton seenButton = MouseButton::None;
    QObject::connect(edit.get(), &Edit::cellMouse, [&](WidgetRef cell, MouseAction action, MouseButton button, QPoint) {
        if (action == MouseAction::Release) {
            seen = cell;
            seenButton = button;
        }
    });
    press(w(Family::Item, 40), Qt::RightButton);
    EXPECT_EQ(seen, (WidgetRef{Family::Item, 40}));
    EXPECT_EQ(seenButton, MouseButton::Right);
}

TEST_F(MainWindowTest, MinimiseButtonAndTheFocusSink) {
    open(1, 0, 0);
    MoveHighlight(*ps, 30);
    edit->applyState();
    QFocusEvent focus(QEvent::FocusIn, Qt::OtherFocusReason);
    QApplication::sendEvent(w(Family::Holdfocus), &focus);
    EXPECT_EQ(ps->mainForm.highlight, 0);
    EXPECT_EQ(w(Family::Item, 21)->palette().color(QPalette::Window), QColor(0, 255, 255));
    qobject_cast<QAbstractButton*>(w(Family::Minimize))->click();
    // The window manager carries each request out on its own time, and
    // reports the states it passes through: wait until it has done so.
    EXPECT_TRUE(waitFor([&] { return !edit->windowHandle()->isExposed(); }));
    EXPECT_TRUE(edit->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(ps->mainForm.form.window.show, WindowShow::Minimised);
    BringUpWindow(*ps);
    edit->applyState();
    EXPECT_TRUE(waitFor([&] { return edit->windowHandle()->isExposed(); }));
    EXPECT_FALSE(edit->windowState() & Qt::WindowMinimized);
    EXPECT_EQ(ps->mainForm.form.window.show, WindowShow::Normal);
}
