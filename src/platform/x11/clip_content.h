#pragma once
// What we serve while we own the CLIPBOARD: the blocks of one clip, shared
// read-only between the caller, the serving thread and running transfers.
// A large block restored from a clip file stays in that file and is read
// from it piece by piece as it is asked for.
#include <algorithm>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/clipboard.h"

namespace pellion::platform::x11 {

// Blocks up to this size are read into memory; larger ones stay in their file.
inline constexpr std::uint64_t kHeldInMemory = 1u << 20;

// What serving a stored text block needs before its first byte goes out.
struct TextFacts {
    std::uint64_t size = 0;        // bytes before the first NUL
    bool utf8 = false;             // they are valid UTF-8
    std::uint64_t latin1Size = 0;  // their length as Latin-1 when utf8
};

// A block left in its file. Its text facts are found by reading it through,
// once, when a text target is first asked for.
struct StoredBlock {
    FileSpan span;
    std::once_flag scanned;
    TextFacts facts;
};

struct ClipContent {
    struct Block {
        std::uint32_t id;  // kTextFormat, kOemTextFormat or an atom
        Bytes bytes;
        std::shared_ptr<StoredBlock> stored;  // set when the bytes lie in a file instead

        // The whole block; nullopt when its file can no longer be read.
        std::optional<Bytes> read() const {
            if (!stored) return bytes;
            Bytes out(stored->span.size);
            if (!stored->span.file->readAt(stored->span.offset, out.data(), out.size())) return std::nullopt;
            return out;
        }
    };
    std::vector<Block> blocks;  // in the order they were set

    const Block* find(std::uint32_t id) const {
        auto it = std::find_if(blocks.begin(), blocks.end(), [id](const Block& b) { return b.id == id; });
        return it == blocks.end() ? nullptr : &*it;
    }
    void set(Block block) {
        auto it = std::find_if(blocks.begin(), blocks.end(), [&](const Block& b) { return b.id == block.id; });
        if (it != blocks.end()) *it = std::move(block);
        else blocks.push_back(std::move(block));
    }
    void set(std::uint32_t id, Bytes bytes) { set(Block{id, std::move(bytes), nullptr}); }
    // The block behind the text targets: format 1, else format 7.
    const Block* text() const {
        const Block* t = find(kTextFormat);
        return t ? t : find(kOemTextFormat);
    }
};

using ContentPtr = std::shared_ptr<const ClipContent>;

}  // namespace pellion::platform::x11
