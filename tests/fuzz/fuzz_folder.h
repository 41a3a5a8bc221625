#pragma once
// A folder of its own for a fuzz run, memory-backed where there is one (whole
// writes sync each file), removed at exit. Ends with "/".
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace pellion::fuzz {

inline const std::string& Folder(const char* name) {
    static std::string* path = nullptr;
    if (!path) {
        std::string pattern = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + "/pellion-fuzz-" +
                              name + "-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        path = new std::string(pattern + "/");
        std::atexit([] { std::filesystem::remove_all(*path); });
    }
    return *path;
}

}  // namespace pellion::fuzz
