// The clip settings, group naming and bulk spacing dialogs on a real display,
// driven by keys: what each key does to the dialog and to the files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
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
        ASSERT_TRUE(LoadAllLists(state));
    }
    // Shown and active, so that the focus and key events behave as for a user.
    void showActive(QWidget& w) {
        w.show();
        w.activateWindow();
        QElapsedTimer waited;
        waited.start();
        while (!w.isActiveWindow() && waited.elapsed() < 3000) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QCoreApplication::processEvents();
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
};

TEST_F(DialogsTest, EnterInTheClipTitleSavesOnlyWithATitleAndNeverTypesIntoIt) {
    ClipSettingsDialog dialog(state, {SourceList::GroupClips, 4, 0});
    showActive(dialog);
    ASSERT_EQ(QApplication::focusWidget(), dialog.titleBox());
    key(Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.titleBox()->text(), "A title is required.");
    EXPECT_EQ(dialog.titleBox()->selectedText(), "A title is required.");

    dialog.titleBox()->setText("Invoice");
    key(Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    // Group Setting and Group Clr unless chosen otherwise.
    EXPECT_EQ(read(lib(1, "group0.dat")), concat({blanks(200), padded("Invoice", 50), blanks(50 * 91)}));
    EXPECT_EQ(byteAt(lib(1, "group0.mod"), 4), 3);
    EXPECT_EQ(state.lists.groupClips.titles[4], "Invoice");
}

TEST_F(DialogsTest, GroupNamingShowsTheNameAndColourAndWritesThem) {
    state.lists.groupNames.titles[6] = "Letters";
    state.lists.groupNames.colours[6] = 0x00FF00;  // "Green"
    GroupNamingDialog dialog(state, 6);
    showActive(dialog);
    EXPECT_EQ(dialog.titleBox()->text(), "Letters");
    auto options = dialog.findChildren<QRadioButton*>();
    ASSERT_EQ(options.size(), 6);
    EXPECT_TRUE(options[1]->isChecked());
    options[4]->setChecked(true);  // "Red"
    dialog.titleBox()->clear();
    dialog.findChild<QPushButton*>()->click();
    EXPECT_EQ(state.lists.groupNames.titles[6].substr(0, 8), "Untitled");
    const Bytes colours = read(lib(1, "groups.clr"));
    ASSERT_GE(colours.size(), 28u);
    EXPECT_EQ(Bytes(colours.begin() + 24, colours.begin() + 28), le32(0x0000FF));
}

TEST_F(DialogsTest, DigitsChooseSpacingOutsideTheTextBoxAndAreTextInsideIt) {
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
}

TEST_F(DialogsTest, EscOutsideTheTextBoxCancels) {
    BulkSpacingDialog dialog(state);
    showActive(dialog);
    key(Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
