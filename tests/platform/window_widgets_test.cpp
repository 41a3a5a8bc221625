// The main window's widgets on a real display: the layout state applied in
// pixels, the column buttons wired to their rules, every text whole at the
// desktop's size. The layouts' sizes and states are the end-to-end test's.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>

#include <cstdlib>
#include <filesystem>
#include <memory>

#include "app/program_state.h"
#include "platform/desktop_support.h"
#include "platform/fake/fake_platform.h"
#include "ui/logic/drop_matrix.h"
#include "ui/main/main_window.h"

using namespace pellion;
using namespace pellion::ui;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        test::ensureApp();
        ps = std::make_unique<ProgramState>(fake.platform);
    }
    void TearDown() override {
        edit.reset();
        QCoreApplication::processEvents();
    }

    void open(int sizeOption, int layout, int onTop, bool bold = false) {
        ps->settings.FontOption = bold;
        ps->mainForm.form.window.bold = bold;
        ps->settings.SizeOption = static_cast<std::int16_t>(sizeOption);
        ps->settings.Layout = static_cast<std::int16_t>(layout);
        ps->settings.OnTop = static_cast<std::int16_t>(onTop);
        ps->settings.ReducedLeft = 1500;
        ps->settings.ReducedTop = 1500;
        StartInRememberedLayout(*ps);
        RefreshModeButtons(*ps);
        ps->mainForm.form.window.shown = true;
        edit = std::make_unique<Edit>(*ps);
        test::showActive(*edit);
        settle();
    }
    void settle() {
        for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    }
    int px(int twips) const { return edit->scale().toPixels(twips); }
    QWidget* w(Family f, int i = 0) const { return edit->widget({f, i}); }
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
    void screenshot(const std::string& name) {
        const auto dir = std::filesystem::path(PELLION_BUILD_DIR) / "screenshots";
        std::filesystem::create_directories(dir);
        const auto file = dir / (std::string(name) + ".png");
        EXPECT_TRUE(edit->grab().save(QString::fromStdString(file.string()))) << file;
    }

    platform::fake::FakePlatform fake;
    std::unique_ptr<ProgramState> ps;
    std::unique_ptr<Edit> edit;
};

}  // namespace

TEST_F(MainWindowTest, FullLargeWindowShowsAllFourLists) {
    open(1, 0, 0);
    EXPECT_EQ(w(Family::Item, 95)->mapTo(edit.get(), QPoint(0, 0)), QPoint(px(2808) + px(4860), px(216 + 252 * 31)));
    EXPECT_EQ(w(Family::Item, 95)->size(), QSize(px(4860 + 2200) - px(4860), px(216 + 252 * 31 + 276) - px(216 + 252 * 31)));
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::Label1, 8))->text(), "9");
    // The highlight bar starts on the first clip; the next keeps its colour.
    const QPalette p = QApplication::palette();
    EXPECT_EQ(w(Family::ClipboardClip, 0)->palette().color(QPalette::Window), p.color(QPalette::Highlight));
    EXPECT_EQ(w(Family::ClipboardClip, 1)->palette().color(QPalette::Window), QColor(255, 255, 0));
    expectVisibilityOfState();
}

// The sizes of the column view and the buttons' quick help are the
// end-to-end tests'; the highlight is seen here.
TEST_F(MainWindowTest, ColumnViewFromTheTopButton) {
    open(1, 0, 0);
    press(w(Family::TopBtn, 2), Qt::LeftButton);
    EXPECT_EQ(ps->mainForm.columnView, 2);
    EXPECT_EQ(ps->mainForm.highlight, 41);  // the focus sink moved it to the column's first cell
    expectVisibilityOfState();
}

TEST_F(MainWindowTest, CellsShowTitlesAsPlainTextUpToTheirNul) {
    open(1, 0, 0);
    edit->fillCells(Family::ClipboardClip, {std::string("<b>first</b>\0rest", 17), "second"});
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::ClipboardClip, 0))->text(), "<b>first</b>");
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::ClipboardClip, 0))->textFormat(), Qt::PlainText);
    EXPECT_EQ(qobject_cast<QLabel*>(w(Family::ClipboardClip, 1))->text(), "second");
}

namespace {

// How much of a widget the window shows: its rectangle cut by every container.
QRect ShownPart(QWidget* w, QWidget* window) {
    QRect shown(w->mapTo(window, QPoint(0, 0)), w->size());
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        shown &= QRect(p == window ? QPoint(0, 0) : p->mapTo(window, QPoint(0, 0)), p->size());
    return shown;
}

// What a widget's text needs, or nothing for a widget without text. Buttons
// and boxes draw a frame of a few pixels around it.
std::optional<QSize> TextNeeds(QWidget* w, int shownWidth) {
    const QFontMetrics m(w->font());
    if (auto* label = qobject_cast<QLabel*>(w)) {
        if (label->text().isEmpty()) return std::nullopt;
        const int margin = 2 * (label->frameWidth() + std::max(0, label->indent()));
        if (!label->wordWrap()) return QSize(m.horizontalAdvance(label->text()) + margin, m.height());
        int widest = 0;
        for (const QString& word : label->text().split(QLatin1Char(' ')))
            widest = std::max(widest, m.horizontalAdvance(word) + margin);
        const QRect wrapped =
            m.boundingRect(QRect(0, 0, std::min(shownWidth, label->contentsRect().width()), 1000),
                           Qt::TextWordWrap, label->text());
        return QSize(widest, wrapped.height());
    }
    if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        if (button->text().isEmpty()) return std::nullopt;
        return QSize(m.horizontalAdvance(button->text()) + 4, m.height() + 2);
    }
    if (auto* box = qobject_cast<QGroupBox*>(w)) return QSize(m.horizontalAdvance(box->title()) + 16, m.height());
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return QSize(m.horizontalAdvance(edit->text()) + 8, m.height() + 2);
    return std::nullopt;
}

struct LayoutCase {
    const char* name;
    int sizeOption, layout, onTop, column;
};

class EveryText : public MainWindowTest,
                  public ::testing::WithParamInterface<std::tuple<LayoutCase, bool>> {};

}  // namespace

// Every caption, label, button and option text of the layout is drawn in the
// desktop's font size (bold or not) and has the room it needs; the drop
// targets as a drag shows them too.
TEST_P(EveryText, IsWholeAtTheDesktopSize) {
    const auto& [layout, bold] = GetParam();
    open(layout.sizeOption, layout.layout, layout.onTop, bold);
    if (layout.column) {
        ps->settings.OnTop = 1;
        SetColumnView(*ps, layout.column);
    }
    if (layout.layout == 0 && !layout.column) ShowDropTargets(*ps, DragSource::Alt);
    edit->applyState();
    settle();
    const int desktopPixels = QFontInfo(QApplication::font()).pixelSize();
    int texts = 0;
    for (const WidgetState& state : ps->mainForm.form.widgets()) {
        QWidget* w = edit->widget(state.ref);
        if (!ps->mainForm.form.isShown(state.ref) || !w->isVisibleTo(edit.get())) continue;
        const QRect shown = ShownPart(w, edit.get());
        const auto needs = TextNeeds(w, shown.width());
        if (!needs) continue;
        ++texts;
        const std::string name = w->objectName().toStdString();
        EXPECT_EQ(QFontInfo(w->font()).pixelSize(), desktopPixels) << name << " is drawn at another size";
        EXPECT_EQ(w->font().bold(), bold) << name;
        EXPECT_LE(needs->width(), shown.width()) << name << " cut across";
        EXPECT_LE(needs->height(), shown.height()) << name << " cut below";
    }
    EXPECT_GE(texts, layout.column ? 1 : 8);
    screenshot(std::string("text-") + layout.name + (bold ? "-bold" : ""));
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, EveryText,
    ::testing::Combine(::testing::Values(LayoutCase{"large", 1, 0, 0, 0}, LayoutCase{"small", 0, 0, 0, 0},
                                         LayoutCase{"strip", 1, 1, 1, 0}, LayoutCase{"compact", 1, 2, 1, 0},
                                         LayoutCase{"column", 1, 0, 0, 3}),
                       ::testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "Bold" : "Normal");
    });

// A Group Clips cell shows at least as many letters of a 50-letter title as
// the design's cell held in the design's font.
TEST_F(MainWindowTest, GroupClipsCellShowsAsManyLettersAsTheDesign) {
    open(1, 0, 0);
    const QString title = QStringLiteral("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWX");
    edit->fillCells(Family::Item, {title.toStdString()});
    auto* cell = qobject_cast<QLabel*>(w(Family::Item, 0));
    const int room = cell->contentsRect().width() - std::max(0, cell->indent());
    const QFontMetrics m(cell->font());
    int shown = 0;
    while (shown < title.size() && m.horizontalAdvance(title.left(shown + 1)) <= room) ++shown;
    const int designed = static_cast<int>((2200 / 15.0 - 4) / kDesignLetterWidth);
    EXPECT_GE(shown, designed) << "cell of " << room << " px";
    std::printf("group clip cell: %d px inside, %d of 50 letters shown, the design's %d\n", room, shown, designed);
}
