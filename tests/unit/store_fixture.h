#pragma once
// A whole program state over a temporary data folder, with byte helpers for
// checking index files exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/program_state.h"
#include "platform/fake/fake_platform.h"
#include "platform/files.h"
#include "app/startup.h"
#include "store/libraries.h"
#include "store/slot_files.h"
#include "unit/temp_folder.h"

namespace pellion::test {

using files::Bytes;

inline Bytes bytesOf(const std::string& text) { return Bytes(text.begin(), text.end()); }
inline Bytes blanks(std::size_t n) { return Bytes(n, ' '); }
inline Bytes concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}
// text padded with blanks to width.
inline Bytes padded(const std::string& text, std::size_t width) {
    Bytes out = bytesOf(text);
    out.resize(width, ' ');
    return out;
}
inline Bytes le16(int v) { return {std::uint8_t(v & 0xFF), std::uint8_t((v >> 8) & 0xFF)}; }
inline Bytes le32(std::uint32_t v) {
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}
// A record of a clip file's named layout: id, name, data.
inline Bytes record(std::uint32_t id, const std::string& name, const Bytes& data) {
    return concat({le32(id), le32(std::uint32_t(name.size())), bytesOf(name), le32(std::uint32_t(data.size())), data});
}
inline Bytes namedClip(std::initializer_list<Bytes> records) {
    Bytes out = concat({le32(0xFFFFFFFF), le32(std::uint32_t(records.size()))});
    for (const Bytes& r : records) out = concat({out, r});
    return out;
}
// Text as a capture stores it: one record of format 1, with its NUL.
inline Bytes textClip(const std::string& text) { return namedClip({record(1, "", concat({bytesOf(text), Bytes{0}}))}); }
// The text-only layout an edit saves: -1, -1, size, the text.
inline Bytes textOnlyClip(const std::string& text) {
    return concat({le32(0xFFFFFFFF), le32(0xFFFFFFFF), le32(std::uint32_t(text.size())), bytesOf(text)});
}
// trans.dat with the given 400 bytes of titles and every slot's state -1.
inline Bytes transIndex(const Bytes& titles = blanks(400)) {
    Bytes out = titles;
    for (int n = 0; n < 8; ++n) out = concat({out, le16(-1)});
    return out;
}

// A program state over a temporary data folder.
struct TempState {
    TempState() { state.dataFolder = dir.path(); }
    TempFolder dir;
    platform::fake::FakePlatform fake;
    ProgramState state{fake.platform};
};

class StoreTest : public ::testing::Test, protected TempState {
protected:
    StoreTest() { UseLibrary(state, 1); }

    std::string data(const std::string& name) const { return dir.path() + name; }
    std::string lib(int n, const std::string& name) const { return dir.path() + "lib" + std::to_string(n) + "/" + name; }
    Bytes read(const std::string& path) const { return files::readAll(path).value_or(Bytes{}); }
    // One byte of a file, -1 when the file is shorter.
    int byteAt(const std::string& path, std::size_t i) const {
        const Bytes b = read(path);
        return i < b.size() ? b[i] : -1;
    }
    // A clip file holding this text in a slot.
    void putText(const SlotRef& slot, const std::string& text) const { put(SlotPath(state, slot), textClip(text)); }
    void put(const std::string& path, const Bytes& bytes) const {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        ASSERT_TRUE(files::writeWhole(path, bytes));
    }
    // Every entry of a folder, sorted; folders end with "/".
    std::vector<std::string> entries(const std::string& folder) const {
        std::vector<std::string> out;
        for (const auto& e : std::filesystem::directory_iterator(folder))
            out.push_back(e.path().filename().string() + (e.is_directory() ? "/" : ""));
        std::sort(out.begin(), out.end());
        return out;
    }
};

}  // namespace pellion::test
