#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel window(" Pellion Clipboard");
    window.setWindowTitle(" Pellion Clipboard");
    window.show();
    return app.exec();
}
