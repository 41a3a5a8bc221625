// Moves 32 MB of "image/png" through the CLIPBOARD both ways and compares it
// with xclip doing the same in the same run:
//   read:  our reader against `xclip -o -t image/png`, xclip owning the data;
//   serve: `xclip -o` reading from us against reading from xclip itself.
// Prints both ratios (ours / xclip's; lower is better) and the peak memory
// the read added. Needs a display whose CLIPBOARD nobody else is using.
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "platform/clipboard.h"
#include "platform/x11/x11_clipboard.h"

namespace bench = pellion::bench;

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;
constexpr std::size_t kSize = 32u << 20;
constexpr int kRounds = 5;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

long maxRssKb() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

int finish(pid_t pid) {
    const int code = bench::finish(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let the server drop the connection
    return code;
}

// One `xclip -o -t image/png > /dev/null`, in ms; negative when it failed.
double timeXclipOut() {
    const auto t = Clock::now();
    if (finish(bench::spawn({"xclip", "-selection", "clipboard", "-o", "-t", "image/png"})) != 0) return -1;
    return ms(Clock::now() - t);
}

xcb_window_t owner(xcb_connection_t* c, xcb_atom_t clipboard) {
    auto* r = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
    const xcb_window_t w = r ? r->owner : 0;
    std::free(r);
    return w;
}

bool waitNewOwner(xcb_connection_t* c, xcb_atom_t clipboard, xcb_window_t before) {
    for (int i = 0; i < 1000; ++i) {
        const xcb_window_t w = owner(c, clipboard);
        if (w && w != before) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

struct Figures {
    double ours = 1e18, xclip = 1e18;  // best of kRounds
    long peakKb = 0;
};

void keepBest(double& best, double t) { best = t < 0 ? -1 : best < 0 ? best : std::min(best, t); }

pid_t startXclip(xcb_connection_t* c, xcb_atom_t clipboard, const char* path) {
    const xcb_window_t before = owner(c, clipboard);
    const pid_t xclip = bench::spawn({"xclip", "-selection", "clipboard", "-i", "-quiet", "-t", "image/png", path});
    return waitNewOwner(c, clipboard, before) ? xclip : -1;
}

// xclip owns the data; rounds alternate between `xclip -o` and our reader,
// so that both see the same load on the machine.
bool measureRead(pellion::platform::Clipboard& clip, xcb_connection_t* c, xcb_atom_t clipboard, const char* path,
                 Figures& f) {
    const pid_t xclip = startXclip(c, clipboard, path);
    if (xclip < 0) return false;
    const std::uint32_t png = clip.registerFormat("image/png");
    const long rssBefore = maxRssKb();
    std::size_t got = 0;
    for (int i = 0; i < kRounds; ++i) {
        keepBest(f.xclip, timeXclipOut());
        const auto t = Clock::now();
        clip.open();
        auto bytes = clip.data(png);
        clip.close();
        keepBest(f.ours, ms(Clock::now() - t));
        got = bytes ? bytes->size() : 0;
        if (i == 0) f.peakKb = maxRssKb() - rssBefore;
    }
    kill(xclip, SIGTERM);
    finish(xclip);
    if (got != kSize) std::fprintf(stderr, "read %zu bytes, expected %zu\n", got, kSize);
    return got == kSize && f.xclip > 0;
}

// `xclip -o` reads the data from us and from xclip serving it, by turns.
bool measureServe(pellion::platform::Clipboard& clip, xcb_connection_t* c, xcb_atom_t clipboard, const char* path,
                  Figures& f) {
    Bytes data(kSize);
    FILE* file = std::fopen(path, "rb");
    if (!file || std::fread(data.data(), 1, kSize, file) != kSize) return false;
    std::fclose(file);
    const std::uint32_t png = clip.registerFormat("image/png");
    for (int i = 0; i < kRounds; ++i) {
        clip.open();
        clip.empty();
        clip.setData(png, data);
        clip.close();
        keepBest(f.ours, timeXclipOut());
        const pid_t xclip = startXclip(c, clipboard, path);
        if (xclip < 0) return false;
        keepBest(f.xclip, timeXclipOut());
        kill(xclip, SIGTERM);
        finish(xclip);
    }
    return f.ours > 0 && f.xclip > 0;
}

// The data goes to a file in pieces, so that nothing big is held before the read.
bool writeData(int fd) {
    std::mt19937 gen(32);
    std::vector<std::uint32_t> piece(1u << 18);
    for (std::size_t done = 0; done < kSize; done += piece.size() * 4) {
        for (auto& v : piece) v = gen();
        if (write(fd, piece.data(), piece.size() * 4) != static_cast<ssize_t>(piece.size() * 4)) return false;
    }
    return true;
}

}  // namespace

int main() {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    auto clip = pellion::platform::x11::X11Clipboard::create();
    if (xcb_connection_has_error(c) || !clip) {
        std::fprintf(stderr, "no display\n");
        return 1;
    }
    auto* a = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, 9, "CLIPBOARD"), nullptr);
    const xcb_atom_t clipboard = a->atom;
    std::free(a);
    char path[] = "/tmp/pellion-bench-XXXXXX";
    const int fd = mkstemp(path);
    const bool written = fd >= 0 && writeData(fd);
    if (fd >= 0) close(fd);
    Figures read, serve;
    const bool ok = written && measureRead(*clip, c, clipboard, path, read) &&
                    measureServe(*clip, c, clipboard, path, serve);
    unlink(path);
    xcb_disconnect(c);
    if (!ok) {
        std::fprintf(stderr, "a transfer failed\n");
        return 1;
    }
    const double mb = kSize / 1048576.0;
    std::printf("clipboard transfer of %.0f MB \"image/png\" (best of %d)\n", mb, kRounds);
    std::printf("  read:  ours %8.1f ms   xclip -o %8.1f ms   ratio %.2f  (goal <= 1.2)\n", read.ours, read.xclip,
                read.ours / read.xclip);
    std::printf("  serve: xclip -o from us %8.1f ms   from xclip %8.1f ms   ratio %.2f  (goal <= 1.2)\n",
                serve.ours, serve.xclip, serve.ours / serve.xclip);
    std::printf("  peak memory added by the read: %.1f MB = %.2f x data  (goal <= 2.5)\n", read.peakKb / 1024.0,
                read.peakKb / 1024.0 / mb);
    return 0;
}
