// The clipboard monitor's costs, measured in one run on the current display:
//   idle tick:  CPU time of a tick that finds the clipboard unchanged;
//   capture:    a tick that captures a 32 MB "image/png" copy until its clip
//               is filed, against `xclip -o` of the same target to /dev/null
//               and to a new file in the same folder;
//   program:    the real program, with the screen-edge strip watching all
//               four edges: CPU use and resident memory over N idle seconds
//               (default 60; `monitor_bench 10` for a quick run); latency
//               from `xclip -i` returning to the new clip's entry in
//               "clip.dat" (50 short texts, one at a time); a burst of 100
//               distinct copies made as fast as xclip can (which became
//               clips, in order); a 32 MB "image/png" copy until its clip file
//               is complete, with the peak resident memory it added.
// Needs a display whose CLIPBOARD nobody else is using, xclip, and the
// program built beside this benchmark.
#include <fcntl.h>
#include <signal.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench_support.h"
#include "app/program_state.h"
#include "app/settings_file.h"
#include "capture/monitor.h"
#include "platform/files.h"
#include "store/clip_file.h"
#include "store/libraries.h"

namespace bench = pellion::bench;

namespace {

using namespace pellion;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;
constexpr std::size_t kImageSize = 32u << 20;
constexpr int kRounds = 5;

double ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Starts argv with its output written to the file out.
pid_t spawn(const std::vector<std::string>& argv, const std::string& out = "/dev/null") {
    const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const pid_t pid = bench::spawn(argv, fd);
    if (fd >= 0) close(fd);
    return pid;
}

void stop(pid_t pid) {
    bench::stop(pid);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));  // let the server drop its connection
}

struct Display {
    xcb_connection_t* c = nullptr;
    xcb_atom_t clipboard = 0;

    xcb_window_t owner() const {
        auto* r = xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, clipboard), nullptr);
        const xcb_window_t w = r ? r->owner : 0;
        std::free(r);
        return w;
    }
    // xclip serving path as target; -1 when it never took the clipboard.
    pid_t copy(const std::string& target, const std::string& path) const {
        const xcb_window_t before = owner();
        const pid_t xclip = spawn({"xclip", "-selection", "clipboard", "-quiet", "-i", "-t", target, path});
        for (int i = 0; i < 1000; ++i) {
            const xcb_window_t w = owner();
            if (w && w != before) return xclip;
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        stop(xclip);
        return -1;
    }
};

// One `xclip -o -t image/png` into out (a new file, as a shell's `>` of a
// name that is not there makes), in ms; negative when it failed.
double timeXclipOut(const std::string& out) {
    if (out != "/dev/null") fs::remove(out);
    const auto t = Clock::now();
    if (bench::finish(spawn({"xclip", "-selection", "clipboard", "-o", "-t", "image/png"}, out)) != 0) return -1;
    return ms(Clock::now() - t);
}

void keepBest(double& best, double t) { best = (t < 0 || best < 0) ? -1 : std::min(best, t); }

bool writeImage(const std::string& path) {
    std::ofstream f(path, std::ios::binary);
    std::mt19937 gen(32);
    std::vector<std::uint32_t> piece(1u << 18);
    for (std::size_t done = 0; done < kImageSize; done += piece.size() * 4) {
        for (auto& v : piece) v = gen();
        f.write(reinterpret_cast<const char*>(piece.data()), std::streamsize(piece.size() * 4));
    }
    return bool(f);
}

struct InProcess {
    double idleCpuUs = 0, idleWallUs = 0;
    double capture = 1e18, xclipNull = 1e18, xclipFile = 1e18;
};

// The monitor over the real platform in a folder of its own.
bool measureInProcess(const Display& d, const std::string& folder, const std::string& image, InProcess& r) {
    auto platform = platform::makeX11Platform();
    if (!platform) return false;
    ProgramState ps(*platform);
    ps.dataFolder = folder;
    UseLibrary(ps, 1);
    RegisterMarker(ps, {});
    ps.monitor.enabled = true;

    // Idle: a text copy captured, then ticks that find it unchanged.
    const std::string text = folder + "text.txt";
    files::writeWhole(text, std::string("idle tick"));
    const pid_t textOwner = d.copy("UTF8_STRING", text);
    if (textOwner < 0 || MonitorTick(ps) != TickOutcome::Captured) return false;
    constexpr int kIdleTicks = 500;
    const double cpu0 = cpuMs();
    const auto wall0 = Clock::now();
    for (int i = 0; i < kIdleTicks; ++i)
        if (MonitorTick(ps) != TickOutcome::Seen) return false;
    r.idleCpuUs = (cpuMs() - cpu0) * 1e3 / kIdleTicks;
    r.idleWallUs = ms(Clock::now() - wall0) * 1e3 / kIdleTicks;
    stop(textOwner);

    // Capture: rounds alternate with xclip -o so both see the same load.
    for (int i = 0; i < kRounds; ++i) {
        const pid_t xclip = d.copy("image/png", image);
        if (xclip < 0) return false;
        keepBest(r.xclipNull, timeXclipOut("/dev/null"));
        keepBest(r.xclipFile, timeXclipOut(folder + "xclip.out"));
        const auto t = Clock::now();
        const TickOutcome o = MonitorTick(ps);
        keepBest(r.capture, o == TickOutcome::Captured ? ms(Clock::now() - t) : -1);
        stop(xclip);
        const int newest = ps.lists.clipboardClips.count - 1;
        if (files::size(folder + "clip." + std::to_string(newest)) != std::int64_t(kImageSize) + 29) return false;
        // Each round writes into space freed by the last, as xclip's output file does.
        ClearClipboardClips(ps);
    }
    return r.capture > 0 && r.xclipNull > 0 && r.xclipFile > 0;
}

// utime + stime of a process in ms, and its resident memory in kB.
bool processUse(pid_t pid, double& cpu, long& rssKb) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return false;
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string f;
    unsigned long long utime = 0, stime = 0;
    for (int i = 3; fields >> f; ++i) {
        if (i == 14) utime = std::stoull(f);
        if (i == 15) {
            stime = std::stoull(f);
            break;
        }
    }
    cpu = double(utime + stime) * 1000.0 / double(sysconf(_SC_CLK_TCK));
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0) rssKb = std::stol(line.substr(6));
    return true;
}

// Peak resident memory since the last reset, in kB; resets it when asked.
long peakRssKb(pid_t pid, bool reset) {
    const std::string proc = "/proc/" + std::to_string(pid) + "/";
    if (reset) {
        std::ofstream(proc + "clear_refs") << "5";
        return 0;
    }
    std::ifstream status(proc + "status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Tells of each new "clip.dat" in a data folder (the program replaces it
// by a rename) and reads the Clipboard Clips' titles from it.
class IndexWatch {
public:
    explicit IndexWatch(const std::string& folder) : folder_(folder), fd_(inotify_init1(IN_CLOEXEC | IN_NONBLOCK)) {
        inotify_add_watch(fd_, folder.c_str(), IN_MOVED_TO | IN_CLOSE_WRITE);
    }
    ~IndexWatch() { close(fd_); }
    // How many times "clip.dat" was replaced before until (0 when it was not).
    int wait(Clock::time_point until) {
        for (;;) {
            alignas(inotify_event) char buf[8192];
            int seen = 0;
            for (ssize_t n; (n = read(fd_, buf, sizeof buf)) > 0;) {
                for (char* p = buf; p < buf + n;) {
                    const auto* e = reinterpret_cast<const inotify_event*>(p);
                    if (e->len && std::string(e->name) == "clip.dat") ++seen;
                    p += sizeof(inotify_event) + e->len;
                }
            }
            if (seen) return seen;
            const int left = int(std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count());
            if (left <= 0) return 0;
            pollfd p{fd_, POLLIN, 0};
            poll(&p, 1, left);
        }
    }
    // Oldest first, trailing blanks cut.
    std::vector<std::string> titles() const {
        std::ifstream f(folder_ + "clip.dat", std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
        std::vector<std::string> out;
        if (bytes.size() < 2) return out;
        const int count = std::min(9, (unsigned char)bytes[0] | (unsigned char)bytes[1] << 8);
        for (int i = 0; i < count && bytes.size() >= std::size_t(2 + 50 * (i + 1)); ++i) {
            std::string t = bytes.substr(2 + 50 * i, 50);
            t = t.substr(0, t.find('\0'));
            t.erase(t.find_last_not_of(' ') + 1);
            out.push_back(t);
        }
        return out;
    }

private:
    std::string folder_;
    int fd_;
};

// `xclip -i` of a file as a user runs it: it returns once it owns the
// CLIPBOARD and serves it from the background until the next copy.
bool copyText(const std::string& path) {
    return bench::finish(spawn({"xclip", "-selection", "clipboard", "-i", path})) == 0;
}

struct ProgramFigures {
    double cpuPercent = 0;
    long rssKb = 0;
    double imageMs = -1, imageXclipMs = -1;  // copy to complete clip file; xclip -o to a new file
    long imagePeakKb = 0;                    // peak resident memory above idle meanwhile
    std::vector<double> latency;             // ms, one per copy
    int burstCopies = 0, burstClips = 0;     // copies made; times "clip.dat" was rewritten
    std::vector<int> burstSeen;              // the copies seen among the titles, in order
    double burstSeconds = 0;
};

bool measureImage(const Display& d, pid_t pid, const std::string& folder, const std::string& image,
                  ProgramFigures& f) {
    peakRssKb(pid, true);
    const auto t = Clock::now();
    const pid_t xclip = d.copy("image/png", image);
    while (xclip >= 0 && ms(Clock::now() - t) < 10000) {
        if (files::size(folder + "clip.0") == std::int64_t(kImageSize) + 29) {
            f.imageMs = ms(Clock::now() - t);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    f.imagePeakKb = peakRssKb(pid, false) - f.rssKb;
    if (xclip >= 0) f.imageXclipMs = timeXclipOut(folder + "xclip.out");
    fs::remove(folder + "xclip.out");
    if (xclip >= 0) stop(xclip);
    return f.imageMs > 0 && f.imageXclipMs > 0;
}

bool measureLatency(const std::string& folder, IndexWatch& watch, ProgramFigures& f) {
    constexpr int kCopies = 50;
    const std::string path = folder + "copy.txt";
    for (int i = 0; i < kCopies; ++i) {
        const std::string text = "latency copy " + std::to_string(i);
        files::writeWhole(path, text);
        watch.wait(Clock::now());  // what came before is not this copy's
        if (!copyText(path)) return false;
        const auto t = Clock::now();
        while (watch.titles().empty() || watch.titles().back() != text)
            if (!watch.wait(t + std::chrono::seconds(3))) return false;
        f.latency.push_back(ms(Clock::now() - t));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

void measureBurst(const std::string& folder, IndexWatch& watch, ProgramFigures& f) {
    constexpr int kCopies = 100;
    std::vector<std::string> paths;
    for (int i = 0; i < kCopies; ++i) {
        paths.push_back(folder + "burst" + std::to_string(i) + ".txt");
        files::writeWhole(paths.back(), "burst copy " + std::to_string(i));
    }
    watch.wait(Clock::now());
    // The titles are read as often as the index changes, so that each clip
    // is seen before nine later ones push it out.
    std::vector<std::vector<std::string>> lists;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        auto quiet = Clock::now() + std::chrono::seconds(3600);
        while (Clock::now() < quiet) {
            if (const int n = watch.wait(Clock::now() + std::chrono::milliseconds(100))) {
                f.burstClips += n;
                lists.push_back(watch.titles());
                quiet = Clock::now() + std::chrono::seconds(2);
            } else if (done && quiet > Clock::now() + std::chrono::seconds(2)) {
                quiet = Clock::now() + std::chrono::seconds(2);
            }
        }
    });
    const auto t = Clock::now();
    for (const auto& path : paths) f.burstCopies += copyText(path) ? 1 : 0;
    f.burstSeconds = ms(Clock::now() - t) / 1000.0;
    done = true;
    reader.join();
    for (const auto& list : lists)
        for (const auto& title : list) {
            if (title.rfind("burst copy ", 0) != 0) continue;
            const int n = std::atoi(title.c_str() + 11);
            if (std::find(f.burstSeen.begin(), f.burstSeen.end(), n) == f.burstSeen.end()) f.burstSeen.push_back(n);
        }
}

bool measureProgram(const Display& d, const std::string& program, const std::string& folder,
                    const std::string& image, int seconds, ProgramFigures& f) {
    // All four screen edges watched: the strip's pointer polling counts too.
    SettingsRecord settings = DefaultSettings({1024 * 15, 768 * 15});
    settings.DockTop = settings.DockBottom = settings.DockLeft = settings.DockRight = 1;
    if (!files::writeWhole(folder + "pellion.ini", EncodeSettings(settings))) return false;
    const pid_t pid = spawn({program, "--data-folder", folder});
    std::this_thread::sleep_for(std::chrono::seconds(3));  // start-up done, window shown
    double cpu0 = 0, cpu1 = 0;
    long rss = 0;
    if (!processUse(pid, cpu0, rss)) return false;
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    if (!processUse(pid, cpu1, f.rssKb)) return false;
    f.cpuPercent = (cpu1 - cpu0) / (seconds * 1000.0) * 100.0;

    IndexWatch watch(folder);
    const bool ok = measureImage(d, pid, folder, image, f) && measureLatency(folder, watch, f);
    if (ok) measureBurst(folder, watch, f);
    stop(pid);
    return ok;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) return -1;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, std::size_t(p * double(v.size())))];
}

}  // namespace

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 60;
    const std::string program = (fs::canonical("/proc/self/exe").parent_path() / "pellion").string();
    Display d;
    d.c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(d.c) || !fs::exists(program)) {
        std::fprintf(stderr, "needs a display and %s\n", program.c_str());
        return 1;
    }
    auto* a = xcb_intern_atom_reply(d.c, xcb_intern_atom(d.c, 0, 9, "CLIPBOARD"), nullptr);
    d.clipboard = a->atom;
    std::free(a);

    char pattern[] = "/tmp/pellion-monitor-bench-XXXXXX";
    const std::string root = std::string(mkdtemp(pattern)) + "/";
    const std::string image = root + "image.png";
    fs::create_directories(root + "lib/");
    fs::create_directories(root + "app/");
    InProcess in;
    ProgramFigures prog;
    const bool ok = writeImage(image) && measureInProcess(d, root + "lib/", image, in) &&
                    measureProgram(d, program, root + "app/", image, seconds, prog);
    fs::remove_all(root);
    xcb_disconnect(d.c);
    if (!ok) {
        std::fprintf(stderr, "a measurement failed\n");
        return 1;
    }
    std::printf("clipboard monitor\n");
    std::printf("  idle tick: %.1f us CPU, %.1f us wall  (goal < 1000 us CPU)\n", in.idleCpuUs, in.idleWallUs);
    std::printf("  capture of %.0f MB \"image/png\" (best of %d): tick %.1f ms; xclip -o to /dev/null %.1f ms "
                "(ratio %.2f), to a new file %.1f ms (ratio %.2f)  (goal <= 1.1)\n",
                kImageSize / 1048576.0, kRounds, in.capture, in.xclipNull, in.capture / in.xclipNull, in.xclipFile,
                in.capture / in.xclipFile);
    std::printf("  program idle for %d s, all four screen edges watched: %.3f%% of one core, %.1f MB resident  (goals < 0.2%%, < 60 MB)\n", seconds,
                prog.cpuPercent, prog.rssKb / 1024.0);
    std::printf("  program: 32 MB \"image/png\" copy to complete clip file %.0f ms, xclip -o to a new file %.0f ms "
                "(ratio %.2f); peak resident memory %.1f MB above idle  (goals <= 1.1, <= 40 MB)\n",
                prog.imageMs, prog.imageXclipMs, prog.imageMs / prog.imageXclipMs, prog.imagePeakKb / 1024.0);
    std::printf("  program: xclip -i returning to the clip in \"clip.dat\", %zu short texts: median %.1f ms, "
                "worst %.1f ms  (goals <= 20, <= 60)\n",
                prog.latency.size(), percentile(prog.latency, 0.5), percentile(prog.latency, 1.0));
    const bool inOrder = std::is_sorted(prog.burstSeen.begin(), prog.burstSeen.end());
    std::printf("  program: burst of %d copies in %.2f s: %d became clips (%zu seen among the titles, %s); "
                "a one-second tick would have taken about %.0f\n",
                prog.burstCopies, prog.burstSeconds, prog.burstClips, prog.burstSeen.size(),
                inOrder ? "in order" : "NOT in order", std::floor(prog.burstSeconds) + 1);
    return 0;
}
