// The settings loader against any "pellion.ini": the record is repaired, the
// file it leaves is 113 bytes unless it was a short file of this version, and
// every save writes 113 bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/program_state.h"
#include "app/settings_file.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "fuzz/fuzz_folder.h"

namespace {
const std::string& folder() { return pellion::fuzz::Folder("settings"); }
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pellion;
    const std::string ini = folder() + "pellion.ini";
    if (!files::writeWhole(ini, files::Bytes(data, data + size))) return 0;
    platform::fake::FakePlatform fake;
    ProgramState state(fake.platform);
    state.dataFolder = folder();
    LoadSettings(state);
    const bool thisVersion = size >= 7 && std::memcmp(data, "PCV4.00", 7) == 0;
    if (!thisVersion && files::size(ini) != 113) std::abort();
    const platform::Point screen = ScreenSizeTwips(state);
    ValidateAgainstScreen(state.settings, screen);
    ValidateRanges(state.settings, screen);
    auto& s = state.settings;
    if (s.Layout < 0 || s.Layout > 2 || s.OnTop < 0 || s.OnTop > 1 || s.LastReducedLayout < 1 ||
        s.LastReducedLayout > 2 || s.Reserved1 == 0 || s.Reserved2 == 0 || s.ReducedTop > screen.y)
        std::abort();
    if (!SaveSettings(state) || files::size(ini) != 113) std::abort();
    return 0;
}
