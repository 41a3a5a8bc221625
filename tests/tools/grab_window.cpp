// Looks at what a window shows: saves its picture, prints pixel colours and
// how much "ink" (pixels unlike the area's commonest colour) an area holds.
//   grab_window WINDOW_ID [--png FILE] [--pixel X Y]... [--ink X Y W H]...
// Coordinates are pixels inside the window. One output line per query:
// "#rrggbb" for a pixel, a pixel count for an area.
//   grab_window --scale
// prints the dpi at which the program turns twips into pixels on this
// desktop and the screen pixels per pixel of it: "123 2".
//   grab_window --make-png W H FILE
// writes a white W x H picture with a red 300 x 300 square at its top-left
// corner, for a picture clip whose scale shows on the screen.
// Or stands for another program that holds key combinations, until killed:
//   grab_window --hold-keys alt+a ctrl+2 ...   (prints "READY" once held)
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <unistd.h>
#include <xcb/xcb_keysyms.h>

#include "ui/main/form_widgets.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <algorithm>
#include <map>
#include <string>

#include "xcb_tool.h"

namespace {

int Distance(QRgb a, QRgb b) {
    return std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
}

int Ink(const QImage& image, QRect area) {
    area = area.intersected(image.rect());
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y)];
    QRgb common = 0;
    int most = -1;
    for (const auto& [colour, n] : counts)
        if (n > most) most = n, common = colour;
    int ink = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ink += Distance(image.pixel(x, y), common) > 96;
    return ink;
}

// Grabs each "alt+x" or "ctrl+x" (x a letter or digit) on the root window.
int HoldKeys(int count, char** combos) {
    if (!tool::connect()) return 1;
    xcb_connection_t* c = tool::c;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(c);
    for (int i = 0; i < count; ++i) {
        const std::string combo = combos[i];
        const auto plus = combo.find('+');
        if (plus == std::string::npos || plus + 2 != combo.size()) return 2;
        const std::uint16_t modifier = combo.compare(0, plus, "alt") == 0 ? XCB_MOD_MASK_1 : XCB_MOD_MASK_CONTROL;
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, xcb_keysym_t(combo.back()));
        if (!codes || !codes[0]) return 1;
        xcb_generic_error_t* error = xcb_request_check(
            c, xcb_grab_key_checked(c, 1, tool::root(), modifier, codes[0], XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
        std::free(codes);
        if (error) return 1;
    }
    tool::say("READY");
    for (;;) pause();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && !std::strcmp(argv[1], "--hold-keys")) return HoldKeys(argc - 2, argv + 2);
    if (argc < 2) {
        std::fprintf(stderr, "usage: grab_window WINDOW_ID [--png FILE] [--pixel X Y]... [--ink X Y W H]...\n");
        return 2;
    }
    QApplication app(argc, argv);
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 1;
    if (!std::strcmp(argv[1], "--make-png") && argc == 5) {
        QImage picture(std::atoi(argv[2]), std::atoi(argv[3]), QImage::Format_RGB32);
        picture.fill(Qt::white);
        for (int y = 0; y < std::min(300, picture.height()); ++y)
            for (int x = 0; x < std::min(300, picture.width()); ++x) picture.setPixel(x, y, qRgb(255, 0, 0));
        return picture.save(QString::fromLocal8Bit(argv[4]), "PNG") ? 0 : 1;
    }
    if (!std::strcmp(argv[1], "--scale")) {
        std::printf("%d %d\n", int(pellion::ui::DesktopTwipScale().dpi()), int(screen->devicePixelRatio()));
        return 0;
    }
    const QImage image = screen->grabWindow(std::strtoul(argv[1], nullptr, 0)).toImage();
    if (image.isNull()) return 1;
    for (int i = 2; i < argc; ++i) {
        auto number = [&](int k) { return i + k < argc ? std::atoi(argv[i + k]) : 0; };
        if (!std::strcmp(argv[i], "--png") && i + 1 < argc) {
            if (!image.save(QString::fromLocal8Bit(argv[++i]))) return 1;
        } else if (!std::strcmp(argv[i], "--pixel")) {
            const QPoint at(number(1), number(2));
            if (!image.rect().contains(at)) {
                std::printf("outside\n");
            } else {
                const QRgb p = image.pixel(at);
                std::printf("#%02x%02x%02x\n", qRed(p), qGreen(p), qBlue(p));
            }
            i += 2;
        } else if (!std::strcmp(argv[i], "--ink")) {
            std::printf("%d\n", Ink(image, QRect(number(1), number(2), number(3), number(4))));
            i += 4;
        } else {
            std::fprintf(stderr, "unknown argument %s\n", argv[i]);
            return 2;
        }
    }
    return 0;
}
