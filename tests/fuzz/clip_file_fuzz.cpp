// The clip file reader against any bytes: restores into an in-memory
// clipboard and checks that a finished restore always carries the marker.
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "store/clip_file.h"

namespace {
std::string* folderPath = nullptr;
void removeFolder() { std::filesystem::remove_all(*folderPath); }

// A folder of its own for the run, memory-backed where there is one (whole
// writes sync each file), removed at exit.
const std::string& folder() {
    if (!folderPath) {
        std::string pattern = std::string(::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") +
                              "/pellion-fuzz-clip-XXXXXX";
        if (!::mkdtemp(pattern.data())) std::abort();
        folderPath = new std::string(pattern + "/");
        std::atexit(removeFolder);
    }
    return *folderPath;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pellion;
    const std::string path = folder() + "slot";
    if (!files::writeWhole(path, files::Bytes(data, data + size))) return 0;
    platform::fake::FakePlatform fake;
    ProgramState state(fake.platform);
    state.dataFolder = folder();
    state.clip.textOnly = size % 3 == 0;
    const RestoreResult result = RestoreClipFile(state, path);
    const bool marked = fake.clipboard->bytesOf(platform::kMarkerName) == files::Bytes{'o', 'k'};
    if ((result == RestoreResult::Restored || result == RestoreResult::Truncated) && !marked) std::abort();
    std::size_t held = 0;
    for (const auto& e : fake.clipboard->content) held += e.bytes.size();
    if (held > size + 2) std::abort();  // never more than the file holds, plus "ok"
    return 0;
}
