#pragma once
// What we serve while we own the CLIPBOARD: the blocks of one clip, shared
// read-only between the caller, the serving thread and running transfers.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/clipboard.h"

namespace pellion::platform::x11 {

struct ClipContent {
    struct Block {
        std::uint32_t id;  // kTextFormat, kOemTextFormat or an atom
        Bytes bytes;
    };
    std::vector<Block> blocks;  // in the order they were set

    const Bytes* find(std::uint32_t id) const {
        auto it = std::find_if(blocks.begin(), blocks.end(), [id](const Block& b) { return b.id == id; });
        return it == blocks.end() ? nullptr : &it->bytes;
    }
    void set(std::uint32_t id, Bytes bytes) {
        auto it = std::find_if(blocks.begin(), blocks.end(), [id](const Block& b) { return b.id == id; });
        if (it != blocks.end()) it->bytes = std::move(bytes);
        else blocks.push_back({id, std::move(bytes)});
    }
    // The block behind the text targets: format 1, else format 7.
    const Bytes* text() const {
        const Bytes* t = find(kTextFormat);
        return t ? t : find(kOemTextFormat);
    }
};

using ContentPtr = std::shared_ptr<const ClipContent>;

}  // namespace pellion::platform::x11
