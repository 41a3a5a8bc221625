// The clip settings, group naming and bulk spacing dialogs on a real display,
// driven by keys and by real clicks: what each does to the dialog and to the
// files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/desktop_support.h"
#include "store/index_files.h"
#include "ui/dialogs/clip_settings_dialog.h"
#include "ui/dialogs/spacing_dialog.h"
#include "unit/store_fixture.h"

using namespace pellion;
using namespace pellion::test;
using namespace pellion::ui;

namespace {

class DialogsTest : public StoreTest {
protected:
    void SetUp() override {
        if (!std::getenv("DISPLAY")) GTEST_SKIP() << "no display";
        ensureApp();
        StartupLoader(state, {});
    }
    // A key pressed and released on the widget that has the focus.
    void key(int code, const QString& text = {}) {
        QWidget* to = QApplication::focusWidget();
        ASSERT_NE(to, nullptr);
        QKeyEvent down(QEvent::KeyPress, code, Qt::NoModifier, text);
        QApplication::sendEvent(to, &down);
        QKeyEvent up(QEvent::KeyRelease, code, Qt::NoModifier, text);
        QApplication::sendEvent(QApplication::focusWidget(), &up);
        QCoreApplication::processEvents();
    }
    // A click of the pointer, through the X server, on the option's circle
    // (at its left; the rest of a wide option's row is no part of it).
    void click(QWidget* w) {
        const QPoint at = w->mapToGlobal(QPoint(8, w->height() / 2));
        ASSERT_EQ(xdotool({"mousemove", std::to_string(at.x()), std::to_string(at.y()), "click", "1"}), 0);
        spinFor(100);
    }
    // After a click on an option: the option is chosen and the title box has
    // the focus, its text whole and the caret at its end.
    void expectChosenAndBackInTitle(QRadioButton* option, QLineEdit* title, const QString& text) {
        EXPECT_TRUE(spinUntil([&] { return QApplication::focusWidget() == title; })) << option->text().toStdString();
        EXPECT_TRUE(option->isChecked()) << option->text().toStdString();
        EXPECT_EQ(title->text(), text);
        EXPECT_FALSE(title->hasSelectedText());
        EXPECT_EQ(title->cursorPosition(), text.size());
    }
};

TEST_F(DialogsTest, ClickedOptionsAreTakenAndTypingGoesOnInTheClipTitle) {
    ClipSettingsDialog dialog(state, {SourceList::GroupClips, 4, 0});
    showActive(dialog);
    auto options = dialog.findChildren<QRadioButton*>();
    ASSERT_EQ(options.size(), std::size_t(kPasteOptions + kColourOptions));
    ASSERT_EQ(xdotool({"type", "Invoice"}), 0);
    ASSERT_TRUE(spinUntil([&] { return dialog.titleBox()->text() == "Invoice"; }));
    click(options[1]);                  // "Next Click"
    expectChosenAndBackInTitle(options[1], dialog.titleBox(), "Invoice");
    click(options[kPasteOptions + 4]);  // "Red"
    expectChosenAndBackInTitle(options[kPasteOptions + 4], dialog.titleBox(), "Invoice");
    ASSERT_EQ(xdotool({"type", " 7"}), 0);
    ASSERT_EQ(xdotool({"key", "Return"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !dialog.isVisible(); }));
    EXPECT_EQ(read(lib(1, "group0.dat")), concat({blanks(200), padded("Invoice 7", 50), blanks(50 * 91)}));
    EXPECT_EQ(byteAt(lib(1, "group0.mod"), 4), 1);
    const Bytes colours = read(lib(1, "colr0.dat"));
    ASSERT_GE(colours.size(), 20u);
    EXPECT_EQ(Bytes(colours.begin() + 16, colours.begin() + 20), le32(0x0000FF));
}

TEST_F(DialogsTest, GroupNamingTakesAClickedColour) {
    state.lists.groupNames.titles[6] = "Letters";
    state.lists.groupNames.colours[6] = 0x00FF00;  // "Green"
    GroupNamingDialog dialog(state, 6);
    showActive(dialog);
    auto options = dialog.findChildren<QRadioButton*>();
    ASSERT_EQ(options.size(), 6);
    EXPECT_TRUE(options[1]->isChecked());
    click(options[4]);  // "Red"
    expectChosenAndBackInTitle(options[4], dialog.titleBox(), "Letters");
    ASSERT_EQ(xdotool({"key", "Return"}), 0);
    ASSERT_TRUE(spinUntil([&] { return !dialog.isVisible(); }));
    const Bytes colours = read(lib(1, "groups.clr"));
    ASSERT_GE(colours.size(), 28u);
    EXPECT_EQ(Bytes(colours.begin() + 24, colours.begin() + 28), le32(0x0000FF));
}

TEST_F(DialogsTest, SpacingKeysActOutsideTheTextBoxAndAreTextInsideIt) {
    state.settings.BulkSpacing = 0;
    BulkSpacingDialog dialog(state);
    showActive(dialog);
    auto* ok = dialog.findChild<QPushButton*>();
    auto* text = dialog.findChild<QPlainTextEdit*>();
    ASSERT_EQ(QApplication::focusWidget(), ok);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("spacing0")->isChecked());
    EXPECT_TRUE(files::exists(data("spacer.txt")));

    key(Qt::Key_2, "2");
    EXPECT_EQ(state.settings.BulkSpacing, 1);
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("spacing1")->isChecked());
    EXPECT_EQ(QApplication::focusWidget(), ok);

    // "User supplied text" sends the focus to the text box, where digits are text.
    key(Qt::Key_4, "4");
    EXPECT_EQ(state.settings.BulkSpacing, 3);
    ASSERT_EQ(QApplication::focusWidget(), text);
    key(Qt::Key_6, "6");
    EXPECT_EQ(state.settings.BulkSpacing, 3);
    EXPECT_EQ(text->toPlainText(), "6");
    // Esc inside the text box does not cancel.
    key(Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());

    // OK with an empty text stays open; with a text it writes "spacer.txt".
    text->clear();
    ok->click();
    EXPECT_TRUE(dialog.isVisible());
    text->setPlainText("--");
    ok->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(read(data("spacer.txt")), bytesOf("--"));

    BulkSpacingDialog again(state);  // Esc outside the text box cancels
    showActive(again);
    key(Qt::Key_Escape);
    EXPECT_FALSE(again.isVisible());
}

}  // namespace
