#pragma once
// Owns the CLIPBOARD, and at a paste also PRIMARY, and serves them on a
// connection and thread of its own, so that serving never waits for the user
// interface and never meets a read of ours on the same connection.
#include <atomic>
#include <chrono>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/x11/clip_content.h"
#include "platform/x11/selection_connection.h"

namespace pellion::platform::x11 {

class SelectionOwner {
public:
    explicit SelectionOwner(std::unique_ptr<SelectionConnection> c);
    ~SelectionOwner();
    SelectionOwner(const SelectionOwner&) = delete;
    SelectionOwner& operator=(const SelectionOwner&) = delete;

    std::uint32_t window() const { return window_; }
    // Takes the CLIPBOARD with a fresh server timestamp and serves content
    // from then on; false when ownership was not confirmed in time. With a
    // claim time instead, the server refuses the claim when anyone has taken
    // the CLIPBOARD after that time.
    bool publish(ContentPtr content, xcb_timestamp_t claim = XCB_CURRENT_TIME);
    // Serves other content under the ownership we hold (the marker added).
    void replace(ContentPtr content);
    // What we serve; nullptr while another program owns the CLIPBOARD.
    ContentPtr served() const;
    // Takes PRIMARY for content as publish() takes the CLIPBOARD; it is
    // served until another program selects something.
    bool publishPrimary(ContentPtr content);
    std::size_t chunk() const { return chunk_; }

private:
    enum Selection { kClipboard, kPrimary, kSelections };
    struct Publish {
        ContentPtr content;
        Selection selection;
        xcb_timestamp_t claim;
        std::promise<bool> done;
    };
    struct Payload {
        xcb_atom_t type = XCB_ATOM_NONE;
        std::uint8_t format = 8;
        std::shared_ptr<const void> keep;  // keeps data alive
        const std::uint8_t* data = nullptr;
        std::uint64_t size = 0;  // in bytes, as sent
        // Or the bytes are read from a file as they go out (8 bits wide),
        // turned from UTF-8 into Latin-1 when latin1.
        FileSpan file;
        bool latin1 = false;
    };
    // Bytes on their way to a requestor, written one chunk per deletion.
    struct Transfer {
        xcb_window_t requestor;
        xcb_atom_t property;
        Payload payload;
        std::uint64_t offset;  // into data, or into the file's span
        Clock::time_point last;
    };

    void run();
    void handle(const xcb_generic_event_t* ev);
    void startPublish();
    void finishPublish(xcb_timestamp_t time);
    bool publishTo(Selection selection, ContentPtr content, xcb_timestamp_t claim);
    xcb_atom_t atomOf(Selection selection) const;
    void onRequest(const xcb_selection_request_event_t* req);
    void onPropertyDeleted(xcb_window_t window, xcb_atom_t property);
    // What a request is answered from: the content and when we took it.
    struct Source {
        ContentPtr content;
        xcb_timestamp_t acquired;
    };
    bool convert(const Source& source, xcb_atom_t target, Payload& out);
    bool answer(xcb_window_t requestor, xcb_atom_t property, const Source& source, xcb_atom_t target);
    bool answerMultiple(xcb_window_t requestor, xcb_atom_t property, const Source& source);
    void write(xcb_window_t requestor, xcb_atom_t property, Payload payload);
    // The transfer's next chunk in out; 0 once all is sent (or its file fails).
    std::size_t nextChunk(Transfer& t, const std::uint8_t*& out);
    void endTransfer(std::size_t index);
    void expireTransfers();
    void wake();

    std::unique_ptr<SelectionConnection> c_;
    xcb_window_t window_ = 0;
    std::size_t chunk_ = 0;
    int wakeFd_ = -1;
    std::atomic<bool> stop_{false};

    mutable std::mutex mutex_;  // guards queue_, served_
    std::deque<Publish> queue_;
    ContentPtr served_[kSelections];

    // Serving thread only.
    std::optional<Publish> publishing_;
    xcb_timestamp_t acquired_[kSelections] = {};
    std::vector<Transfer> transfers_;
    Bytes piece_;  // a chunk read from a file
    std::thread thread_;
};

}  // namespace pellion::platform::x11
