// The application that receives pastes in the end-to-end tests.
//   paste_target TITLE            one line; Enter prints it
//   paste_target --multi TITLE    several lines; Ctrl+Enter prints them all
//   paste_target --report TITLE   one line; each paste keystroke (Shift+Insert,
//                                 Ctrl+V) reads the whole clipboard and prints
//                                 "PASTED:" the type taken and its size: the
//                                 first image type on offer, else the text
// Each submission is printed as "SUBMIT:" and the text, with "\n" for new
// lines, and flushed at once. Tab moves the focus to a second field, which
// prints "TAB" when it gets it, so that a test can see a Tab arrive.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
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

// Takes the paste itself, so that an image arrives as completely as text.
class PasteReporter : public QLineEdit {
protected:
    void keyPressEvent(QKeyEvent* e) override {
        const bool shiftInsert = e->key() == Qt::Key_Insert && e->modifiers() == Qt::ShiftModifier;
        const bool ctrlV = e->key() == Qt::Key_V && e->modifiers() == Qt::ControlModifier;
        if (!shiftInsert && !ctrlV) {
            QLineEdit::keyPressEvent(e);
            return;
        }
        const QMimeData* data = QApplication::clipboard()->mimeData();
        QString type = "text";
        qsizetype size = -1;
        for (const QString& format : data ? data->formats() : QStringList()) {
            if (!format.startsWith("image/")) continue;
            type = format;
            size = data->data(format).size();
            break;
        }
        if (size < 0) {
            const QString text = QApplication::clipboard()->text();
            size = text.toUtf8().size();
            insert(text);
        }
        std::printf("PASTED:%s %lld\n", type.toUtf8().constData(), static_cast<long long>(size));
        std::fflush(stdout);
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
    bool multi = false, report = false;
    QString title = "Paste Target";
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromUtf8(argv[i]);
        if (arg == "--multi") multi = true;
        else if (arg == "--report") report = true;
        else title = arg;
    }
    QWidget window;
    window.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&window);
    QWidget* field = nullptr;
    if (multi) {
        field = new MultiLine;
    } else {
        auto* line = report ? new PasteReporter : new QLineEdit;
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
