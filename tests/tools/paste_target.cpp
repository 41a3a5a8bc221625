// The application that receives pastes in the end-to-end tests.
//   paste_target TITLE            one line; Enter prints it
//   paste_target --multi TITLE    several lines; Ctrl+Enter prints them all
// Each submission is printed as "SUBMIT:" and the text, with "\n" for new
// lines, and flushed at once. Tab moves the focus to a second field, which
// prints "TAB" when it gets it, so that a test can see a Tab arrive.
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

namespace {

void submit(const QString& text) {
    QString escaped = text;
    escaped.replace("\\", "\\\\").replace("\n", "\\n");
    std::printf("SUBMIT:%s\n", escaped.toUtf8().constData());
    std::fflush(stdout);
}

class MultiLine : public QPlainTextEdit {
protected:
    void keyPressEvent(QKeyEvent* e) override {
        if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::ControlModifier)) {
            submit(toPlainText());
            return;
        }
        QPlainTextEdit::keyPressEvent(e);
    }
};

class TabCatcher : public QLineEdit {
protected:
    void focusInEvent(QFocusEvent* e) override {
        std::printf("TAB\n");
        std::fflush(stdout);
        QLineEdit::focusInEvent(e);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    bool multi = false;
    QString title = "Paste Target";
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromUtf8(argv[i]);
        if (arg == "--multi") multi = true;
        else title = arg;
    }
    QWidget window;
    window.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&window);
    QWidget* field = nullptr;
    if (multi) {
        field = new MultiLine;
    } else {
        auto* line = new QLineEdit;
        QObject::connect(line, &QLineEdit::returnPressed, [line] { submit(line->text()); });
        field = line;
    }
    field->setObjectName("field");
    layout->addWidget(field);
    auto* next = new TabCatcher;
    next->setObjectName("next");
    layout->addWidget(next);
    window.resize(400, multi ? 240 : 90);
    window.show();
    window.activateWindow();
    field->setFocus();
    std::printf("READY %llu\n", static_cast<unsigned long long>(window.winId()));
    std::fflush(stdout);
    return app.exec();
}
