// Time of a search for an absent term over all 29 libraries with every
// group and clip titled, warm and with the page cache dropped for the title
// files, against `cat` of the same files to /dev/null.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "platform/files.h"
#include "ui/logic/search.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kRuns = 21;

std::string Titles(int count, const std::string& stem) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        std::string t = stem + " title " + std::to_string(i);
        t.resize(50, ' ');
        out += t;
    }
    return out;
}

// Drops the files' pages from the cache (clean pages need no privileges).
void Evict(const std::vector<std::string>& paths) {
    for (const auto& p : paths) {
        const int fd = ::open(p.c_str(), O_RDONLY);
        if (fd < 0) continue;
        ::posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
        ::close(fd);
    }
}

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double TimeSearch(const std::string& data) {
    const auto start = Clock::now();
    pellion::ui::SearchCursor cursor = pellion::ui::StartSearch(1);
    const auto hit = pellion::ui::ScanTitles(data, pellion::ui::SearchKey("absent term"), false, cursor);
    const double ms = Ms(Clock::now() - start);
    if (hit) std::printf("unexpected hit in library %d\n", hit->library);
    return ms;
}

double TimeCat(const std::vector<std::string>& paths) {
    std::vector<std::string> argv{"cat"};
    argv.insert(argv.end(), paths.begin(), paths.end());
    const auto start = Clock::now();
    pellion::bench::finish(pellion::bench::spawn(argv));
    return Ms(Clock::now() - start);
}

}  // namespace

int main() {
    char pattern[] = "/var/tmp/pellion-search-bench-XXXXXX";
    if (!::mkdtemp(pattern)) return 1;
    const std::string data = std::string(pattern) + "/";
    std::vector<std::string> paths;
    long titles = 0, bytes = 0;
    auto put = [&](const std::string& path, const std::string& content) {
        pellion::files::writeWhole(path, content);
        paths.push_back(path);
        titles += long(content.size() / 50);
        bytes += long(content.size());
    };
    put(data + "group22.dat", Titles(96, "hot key"));  // shared by every library
    for (int lib = 1; lib <= 29; ++lib) {
        const std::string folder = data + "lib" + std::to_string(lib) + "/";
        pellion::files::makeFolder(folder);
        put(folder + "groups.dat", Titles(32, "group"));
        for (int g = 0; g < 32; ++g)
            if (g != 22) put(folder + "group" + std::to_string(g) + ".dat", Titles(96, "clip " + std::to_string(g)));
    }
    std::printf("search_bench: %ld titles in %zu files, %.2f MB\n", titles, paths.size(), bytes / 1e6);

    std::vector<double> warmSearch, warmCat, coldSearch, coldCat;
    TimeSearch(data);
    TimeCat(paths);
    for (int i = 0; i < kRuns; ++i) {
        warmSearch.push_back(TimeSearch(data));
        warmCat.push_back(TimeCat(paths));
    }
    for (int i = 0; i < kRuns / 3; ++i) {
        Evict(paths);
        coldSearch.push_back(TimeSearch(data));
        Evict(paths);
        coldCat.push_back(TimeCat(paths));
    }
    const double ws = Median(warmSearch), wc = Median(warmCat), cs = Median(coldSearch), cc = Median(coldCat);
    std::printf("warm: search %.2f ms, cat %.2f ms, ratio %.2f (median of %d)\n", ws, wc, ws / wc, kRuns);
    std::printf("cold: search %.2f ms, cat %.2f ms, ratio %.2f (median of %d, cache dropped per file)\n", cs, cc,
                cs / cc, kRuns / 3);
    std::error_code ec;
    std::filesystem::remove_all(pattern, ec);
    return 0;
}
