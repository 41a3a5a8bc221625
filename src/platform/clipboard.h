#pragma once
// The system clipboard as the clip store sees it: a set of formats, each a
// block of bytes, opened and closed around every use.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace pellion::platform {

using Bytes = std::vector<std::uint8_t>;

// Format 1 is plain text without a name (UTF-8 followed by one NUL); every
// other format is a named one whose id is only valid in this run.
inline constexpr std::uint32_t kTextFormat = 1;
inline constexpr std::uint32_t kOemTextFormat = 7;
inline constexpr const char* kMarkerName = "PellionClips";

// Who put the current content on the clipboard: the owner's window and the
// time it took ownership. A new copy by the same program has a new time.
struct OwnerStamp {
    std::uint64_t window = 0;
    std::uint32_t time = 0;
    bool operator==(const OwnerStamp&) const = default;
};

// Takes a format's bytes piece by piece as they arrive; false stops the read.
// A null piece (size 0) drops what came so far: the format starts over, as
// when text is read again in another encoding.
using ChunkSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

// A stretch of a file opened once: it holds what was there at opening,
// whatever renames follow.
struct FileSpan {
    std::shared_ptr<files::Reader> file;
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
};

struct ClipFormat {
    std::uint32_t id = 0;
    std::string name;  // empty for text
};

class Clipboard {
public:
    virtual ~Clipboard() = default;

    // May fail (another user of the clipboard, or no connection).
    virtual bool open() = 0;
    // Publishes what was set since open(); a restore takes ownership here.
    virtual void close() = 0;

    // The formats on offer, in the owner's order, without meta targets.
    virtual std::vector<ClipFormat> formats() = 0;
    // One format's bytes exactly as sent; nullopt when the owner gave none.
    virtual std::optional<Bytes> data(std::uint32_t id) = 0;

    virtual void empty() = 0;
    // Without a prior empty() this adds to the current content (the marker).
    virtual bool setData(std::uint32_t id, Bytes bytes) = 0;
    // As setData, with the bytes left in a file: a platform that can serves a
    // large one from there as it is asked for, never holding it whole.
    virtual bool setDataFrom(std::uint32_t id, const FileSpan& span) {
        Bytes bytes(span.size);
        if (!span.file || !span.file->readAt(span.offset, bytes.data(), bytes.size())) return false;
        return setData(id, std::move(bytes));
    }
    virtual std::uint32_t registerFormat(const std::string& name) = 0;
    virtual bool isFormatAvailable(std::uint32_t id) = 0;
    // Clears the clipboard and sets plain text; works without open().
    virtual void setText(const std::string& text) = 0;
    // Until the next close(), what this program puts on the clipboard stands
    // in for the owner stamped gone, which has left: it is taken only when
    // nobody has copied since, and a copy made since is not marked as seen.
    virtual void yieldToCopiesSince(const OwnerStamp& gone) { (void)gone; }
    // The current owner (the one seen at open() while open); nullopt when
    // nobody owns the clipboard or the platform cannot tell.
    virtual std::optional<OwnerStamp> owner() { return std::nullopt; }

    // One format's bytes handed to sink as they arrive, so that a large
    // transfer (text too) is never held whole; the size, or nullopt when the
    // owner gave none or sink stopped the read (what sink took then belongs
    // to nothing).
    virtual std::optional<std::uint64_t> readData(std::uint32_t id, const ChunkSink& sink) {
        auto bytes = data(id);
        if (!bytes || (!bytes->empty() && !sink(bytes->data(), bytes->size()))) return std::nullopt;
        return bytes->size();
    }
    // A second handle for reads on a thread of its own: it waits on other
    // programs without holding this one up, and shares this one's marks and
    // our own content. nullptr when the platform has none.
    virtual std::unique_ptr<Clipboard> readingHandle() { return nullptr; }
    // Calls changed, from another thread, each time the clipboard changes
    // hands; false when the platform cannot tell (the caller then polls).
    virtual bool watchOwner(std::function<void()> changed) {
        (void)changed;
        return false;
    }
    // Just before a paste keystroke, with the clipboard closed: what this
    // program put on the clipboard is also offered wherever that keystroke
    // may take its paste from (on X11 terminals paste the PRIMARY selection
    // on Shift+Insert). False when this program owns nothing to offer.
    virtual bool offerToPasteKey() { return false; }
};

}  // namespace pellion::platform
