// How long the clip viewer keeps the window from answering while it opens a
// large text clip and a large picture, against reading the same file.
//   viewer_bench [MEGABYTES]   (default 50; needs a display)
// Prints the time until the clip is shown whole (and painted once) and the
// longest stretch in which a 5 ms timer of the window's thread could not run.
#include <QApplication>
#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "store/le_bytes.h"
#include "ui/dialogs/clip_viewer_dialog.h"
#include "ui/main/form_widgets.h"

using namespace pellion;

namespace {

void WriteClip(const std::string& path, const std::string& name, const std::vector<std::uint8_t>& data) {
    files::WholeFileWriter out(path);
    std::vector<std::uint8_t> head;
    le::putI32(head, -1);
    le::putI32(head, 1);
    le::putI32(head, name.empty() ? 1 : 400);
    le::putI32(head, int(name.size()));
    head.insert(head.end(), name.begin(), name.end());
    le::putI32(head, int(data.size()));
    out.append(head);
    out.append(data);
    out.commit();
}

// Opens Transfer Slot 0 in the viewer and prints what the window's thread saw.
void Measure(ProgramState& ps, const char* what, const std::string& path) {
    std::vector<std::uint8_t> read;
    QElapsedTimer t;
    t.start();
    read = files::readAll(path).value_or(std::vector<std::uint8_t>{});
    const double readMs = t.nsecsElapsed() / 1e6;

    qint64 last = 0, worst = 0;
    QElapsedTimer clock;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        worst = std::max(worst, now - last);
        last = now;
    });
    clock.start();
    ticker.start();
    ps.clip.viewerOpen = true;
    auto* viewer = new ui::ClipViewer(ps, ui::SourceList::TransferSlots, 0, ui::DesktopTwipScale(), QSize(0, 0));
    QEventLoop loop;
    QObject::connect(viewer, &ui::ClipViewer::loadFinished, &loop, &QEventLoop::quit);
    viewer->showViewer();
    if (!viewer->loaded()) loop.exec();
    // The first paint of what was loaded.
    QCoreApplication::processEvents();
    viewer->grab();
    const double shownMs = clock.nsecsElapsed() / 1e6;
    const qint64 now = clock.nsecsElapsed();
    worst = std::max(worst, now - last);
    ticker.stop();
    std::printf("%s (%.1f MB): shown whole after %.0f ms; the window's thread was held at most %.0f ms at a time; "
                "reading the file alone took %.0f ms\n",
                what, read.size() / 1e6, shownMs, worst / 1e6, readMs);
    delete viewer;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const int megabytes = argc > 1 ? std::atoi(argv[1]) : 50;
    const std::string folder = (std::filesystem::temp_directory_path() / "pellion-viewer-bench/").string();
    std::filesystem::create_directories(folder);
    platform::fake::FakePlatform fake;
    ProgramState ps(fake.platform);
    ps.dataFolder = folder;
    ps.lists.transferSlots.titles[0] = "Bench";

    // Lines of 100 bytes, then the same size in one line (shown in pieces).
    for (const bool oneLine : {false, true}) {
        std::string line(99, 'x');
        line += oneLine ? 'x' : '\n';
        std::vector<std::uint8_t> text;
        text.reserve(std::size_t(megabytes) * 1000000 + 1);
        while (text.size() < std::size_t(megabytes) * 1000000) text.insert(text.end(), line.begin(), line.end());
        text.push_back(0);
        WriteClip(folder + "trans.0", "", text);
        Measure(ps, oneLine ? "text clip in one line" : "text clip", folder + "trans.0");
    }

    QImage picture(4000, 3000, QImage::Format_RGB32);
    // Noise, so that the file is as large as a photograph's.
    std::srand(1);
    for (int y = 0; y < picture.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) row[x] = qRgb(std::rand() & 255, std::rand() & 255, 128);
    }
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    WriteClip(folder + "trans.0", "image/png", std::vector<std::uint8_t>(png.begin(), png.end()));
    Measure(ps, "4000x3000 PNG clip", folder + "trans.0");
    std::filesystem::remove_all(folder);
    return 0;
}
