// The clip file readers against any bytes: restores into an in-memory
// clipboard and checks that a finished restore always carries the marker;
// reads the text block.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "fuzz/fuzz_folder.h"
#include "store/clip_file.h"

namespace {
const std::string& folder() { return pellion::fuzz::Folder("clip"); }
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
    // Never more than the file holds, twice over: a Windows format may also
    // be served under its name here, and a bitmap gains its file header.
    if (held > 2 * size + 16) std::abort();
    // The text that titles a rebuilt list is a part of the file.
    if (const auto text = ClipFileText(path); text && text->size() > size) std::abort();
    return 0;
}
