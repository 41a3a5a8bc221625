#pragma once
// The CLIPBOARD on X11 through private XCB connections: one serves our own
// selection on a thread of its own, the other reads other programs. While we
// own the CLIPBOARD, reads are answered from what we serve.
//
// Text is format 1 (UTF-8 and one NUL); every other target is a named format
// whose id is its atom. Each read of another program has a deadline; an owner
// that misses it is not asked again until the CLIPBOARD changes hands.
//
// The marker: setData of the "PellionClips" id without empty() while another
// program owns the CLIPBOARD records that owner and its selection timestamp
// (from XFixes). isFormatAvailable(marker) is true while that same ownership
// lasts, while the owner offers the marker itself (we own it with the marker),
// and while nobody owns the CLIPBOARD: an empty CLIPBOARD has nothing to
// capture, so it counts as seen.
//
// A paste keystroke: terminals paste PRIMARY on Shift+Insert, so what we own
// on the CLIPBOARD is then offered as PRIMARY too, until another program
// selects something. Nothing reads PRIMARY for capture.
#include <chrono>
#include <memory>

#include "platform/clipboard.h"

namespace pellion::platform::x11 {

class X11Clipboard : public Clipboard {
public:
    struct Options {
        std::chrono::milliseconds deadline{1000};  // no progress for this long ends a read
        std::chrono::milliseconds budget{1000};    // slow waits on one owner, summed over its whole transfer
        std::chrono::milliseconds whole{30000};    // all waiting on one owner, quick waits included
    };
    // nullptr without a display.
    static std::unique_ptr<X11Clipboard> create(Options options);
    static std::unique_ptr<X11Clipboard> create() { return create(Options{}); }
    ~X11Clipboard() override;

    bool open() override;
    void close() override;
    std::vector<ClipFormat> formats() override;
    std::optional<Bytes> data(std::uint32_t id) override;
    void empty() override;
    bool setData(std::uint32_t id, Bytes bytes) override;
    // A block over 1 MB is served from the file, read as each requestor asks.
    bool setDataFrom(std::uint32_t id, const FileSpan& span) override;
    std::uint32_t registerFormat(const std::string& name) override;
    bool isFormatAvailable(std::uint32_t id) override;
    void setText(const std::string& text) override;
    void yieldToCopiesSince(const OwnerStamp& gone) override;
    std::optional<OwnerStamp> owner() override;
    std::optional<std::uint64_t> readData(std::uint32_t id, const ChunkSink& sink) override;
    // One handle per clipboard, made with it (so that both know the same
    // owner times); its reads never take this handle's lock.
    std::unique_ptr<Clipboard> readingHandle() override;
    bool watchOwner(std::function<void()> changed) override;
    bool offerToPasteKey() override;

    // What the reader did so far, for tests and measurements.
    struct Stats {
        int conversions = 0;
        int incrTransfers = 0;
        int timeouts = 0;
    };
    Stats stats() const;

private:
    struct Impl;
    explicit X11Clipboard(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d_;
};

}  // namespace pellion::platform::x11
