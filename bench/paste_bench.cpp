// The time from a click on a Clipboard Clip's cell to the paste arriving in
// the application in front, on the current display, with the real program:
//   text:   a short text clip, until the paste target has its text;
//   image:  a 32 MB "image/png" clip, until the paste target has read all of
//           it from the clipboard (its paste keystroke reads the image);
// against `xclip -o` of the same clip while the program serves it. The click
// includes the paste timer's 150 ms by design.
// Needs a display with a window manager, xdotool and xclip, and the program
// and paste_target built beside this benchmark.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "app/program_state.h"
#include "app/settings_file.h"

using pellion::bench::finish;
using pellion::bench::spawn;
using pellion::bench::stop;

namespace {

using namespace pellion;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
constexpr std::size_t kImageSize = 32u << 20;
constexpr int kTextRounds = 20, kImageRounds = 3;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// A command's first line of output, or "" when it fails.
std::string run(const std::vector<std::string>& argv) {
    int fds[2];
    if (pipe(fds) != 0) return {};
    const pid_t pid = spawn(argv, fds[1]);
    close(fds[1]);
    std::string out;
    char buf[256];
    for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, std::size_t(n));
    close(fds[0]);
    if (finish(pid) != 0) return {};
    return out.substr(0, out.find('\n'));
}

// The lines a child prints, read with a deadline.
class Lines {
public:
    explicit Lines(int fd) : fd_(fd) {}
    // The next line that starts with prefix, or "" when none came in time.
    std::string next(const std::string& prefix, std::chrono::milliseconds patience) {
        const auto deadline = Clock::now() + patience;
        for (;;) {
            for (std::size_t nl; (nl = buffer_.find('\n')) != std::string::npos;) {
                std::string line = buffer_.substr(0, nl);
                buffer_.erase(0, nl + 1);
                if (line.rfind(prefix, 0) == 0) return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) return {};
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, int(left.count())) <= 0) continue;
            char buf[4096];
            const ssize_t n = read(fd_, buf, sizeof buf);
            if (n <= 0) return {};
            buffer_.append(buf, std::size_t(n));
        }
    }

private:
    int fd_;
    std::string buffer_;
};

void put32(std::ofstream& f, std::int32_t v) {
    const unsigned char b[4] = {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
    f.write(reinterpret_cast<const char*>(b), 4);
}

// Clip files as a capture writes them (one format record each), and the
// list that names them.
bool writeClips(const std::string& folder, const std::string& text) {
    {
        std::ofstream f(folder + "clip.0", std::ios::binary);
        put32(f, -1), put32(f, 1), put32(f, 1), put32(f, 0), put32(f, std::int32_t(text.size() + 1));
        f.write(text.c_str(), std::streamsize(text.size() + 1));
    }
    {
        std::ofstream f(folder + "clip.1", std::ios::binary);
        const std::string name = "image/png";
        put32(f, -1), put32(f, 1), put32(f, 400), put32(f, std::int32_t(name.size()));
        f.write(name.data(), std::streamsize(name.size()));
        put32(f, std::int32_t(kImageSize));
        std::mt19937 gen(32);
        std::vector<std::uint32_t> piece(1u << 18);
        for (std::size_t done = 0; done < kImageSize; done += piece.size() * 4) {
            for (auto& v : piece) v = gen();
            f.write(reinterpret_cast<const char*>(piece.data()), std::streamsize(piece.size() * 4));
        }
        if (!f) return false;
    }
    std::ofstream f(folder + "clip.dat", std::ios::binary);
    f.put(2), f.put(0);
    std::string titles(9 * 50, ' ');
    titles.replace(0, text.size(), text);
    titles.replace(50, 14, "Non Text Clip.");
    f << titles;
    return bool(f);
}

// Kept on top in the compact layout, so the window stays up between clicks.
bool writeSettings(const std::string& folder) {
    platform::Platform none;
    ProgramState ps(none);
    ps.dataFolder = folder;
    ps.settings.HelpShown = 1;
    ps.settings.OnTop = 1;
    ps.settings.Layout = 2;
    ps.settings.LastReducedLayout = 2;
    return SaveSettings(ps);
}

struct Figures {
    std::vector<double> text, image;
    double xclipText = -1, xclipImage = -1;
    std::size_t textBytes = 0;
};

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

// One `xclip -o` of a target to /dev/null, in ms.
double timeXclip(const std::string& target) {
    const auto t = Clock::now();
    if (finish(spawn({"xclip", "-selection", "clipboard", "-o", "-t", target})) != 0) return -1;
    return ms(Clock::now() - t);
}

// Clicks cell `slot` once the target has been in front for a monitor tick;
// the ms until the target reports the paste, or -1.
double clickAndWait(Lines& target, const std::string& targetId, const std::string& window, int slot,
                    const std::string& expect) {
    run({"xdotool", "windowactivate", "--sync", targetId});
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));  // the monitor records the paste target
    const std::string x = std::to_string((2 * 990 + 15) / 30), y = std::to_string((2 * (240 + 240 * slot + 135) + 15) / 30);
    const auto t = Clock::now();
    run({"xdotool", "mousemove", "--window", window, x, y, "click", "1"});
    const std::string line = target.next("PASTED:", std::chrono::seconds(20));
    const double took = ms(Clock::now() - t);
    if (line != "PASTED:" + expect) {
        std::fprintf(stderr, "paste target reported '%s', expected 'PASTED:%s'\n", line.c_str(), expect.c_str());
        return -1;
    }
    return took;
}

bool measure(const std::string& build, const std::string& folder, Figures& f) {
    const std::string text = "paste bench text";
    f.textBytes = text.size();
    if (!writeSettings(folder) || !writeClips(folder, text)) return false;

    int fds[2];
    if (pipe(fds) != 0) return false;
    const pid_t target = spawn({build + "/paste_target", "--report", "Paste Bench Target"}, fds[1]);
    close(fds[1]);
    Lines lines(fds[0]);
    const std::string ready = lines.next("READY ", std::chrono::seconds(10));
    const pid_t program = spawn({build + "/pellion", "--data-folder", folder});
    bool ok = false;
    std::string window;
    for (int i = 0; i < 100 && window.empty(); ++i) {
        window = run({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(program), "--name",
                      "^ Pellion Clipboard"});
        if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    if (!ready.empty() && !window.empty()) {
        const std::string targetId = ready.substr(6);
        run({"xdotool", "windowmove", "--sync", targetId, "700", "600"});
        ok = true;
        for (int i = 0; ok && i < kTextRounds; ++i) {
            const double t = clickAndWait(lines, targetId, window, 0, "text " + std::to_string(text.size()));
            ok = t > 0;
            f.text.push_back(t);
        }
        f.xclipText = timeXclip("UTF8_STRING");
        for (int i = 0; ok && i < kImageRounds; ++i) {
            const double t = clickAndWait(lines, targetId, window, 1, "image/png " + std::to_string(kImageSize));
            ok = t > 0;
            f.image.push_back(t);
        }
        f.xclipImage = timeXclip("image/png");
    }
    stop(program);
    stop(target);
    close(fds[0]);
    return ok && f.xclipText > 0 && f.xclipImage > 0;
}

}  // namespace

int main() {
    const std::string build = fs::canonical("/proc/self/exe").parent_path().string();
    if (!std::getenv("DISPLAY") || !fs::exists(build + "/pellion") || !fs::exists(build + "/paste_target")) {
        std::fprintf(stderr, "needs a display, and pellion and paste_target in %s\n", build.c_str());
        return 1;
    }
    char pattern[] = "/tmp/pellion-paste-bench-XXXXXX";
    const std::string folder = std::string(mkdtemp(pattern)) + "/";
    Figures f;
    const bool ok = measure(build, folder, f);
    fs::remove_all(folder);
    if (!ok) {
        std::fprintf(stderr, "a measurement failed\n");
        return 1;
    }
    auto list = [](const std::vector<double>& v) {
        std::string s;
        for (double t : v) s += (s.empty() ? "" : ", ") + std::to_string(int(t + 0.5));
        return s;
    };
    std::printf("paste: click on a Clipboard Clip to the paste in the target (paste timer 150 ms included)\n");
    std::printf("  text (%zu bytes):   median %.0f ms  [%s]  xclip -o of the same: %.1f ms\n", f.textBytes,
                median(f.text), list(f.text).c_str(), f.xclipText);
    std::printf("  image (%.0f MB):     median %.0f ms  [%s]  xclip -o of the same: %.1f ms\n",
                kImageSize / 1048576.0, median(f.image), list(f.image).c_str(), f.xclipImage);
    return 0;
}
