#include "platform/x11/selection_reader.h"

#include <xcb/xfixes.h>

#include <algorithm>
#include <cstring>

#include "platform/x11/selection_rules.h"

namespace pellion::platform::x11 {

namespace {

using std::chrono::milliseconds;

constexpr std::uint32_t kAllUnits = 0x1FFFFFFF;        // "the whole property" in 4-byte units
constexpr std::uint64_t kMaxBlock = (2ull << 30) - 1;  // a clip record holds at most this

// Reads and deletes a property; seq is the request's sequence number.
XcbPtr<xcb_get_property_reply_t> takeProperty(xcb_connection_t* c, xcb_window_t w, xcb_atom_t property,
                                              std::uint32_t& seq) {
    const auto cookie = xcb_get_property(c, 1, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, kAllUnits);
    seq = cookie.sequence;
    return XcbPtr<xcb_get_property_reply_t>(xcb_get_property_reply(c, cookie, nullptr));
}

}  // namespace

SelectionReader::SelectionReader(std::unique_ptr<SelectionConnection> c, ReaderTimes times) : c_(std::move(c)), times_(times) {
    xcb_connection_t* x = c_->get();
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(x, &xcb_xfixes_id);
    if (ext && ext->present) {
        XcbPtr<xcb_xfixes_query_version_reply_t> v(
            xcb_xfixes_query_version_reply(x, xcb_xfixes_query_version(x, 5, 0), nullptr));
        if (v) xfixesEvent_ = ext->first_event;
    }
    watch_ = c_->createWindow(0);
    if (xfixesEvent_)
        xcb_xfixes_select_selection_input(x, watch_, c_->atoms().clipboard,
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                              XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    owner();
}

SelectionReader::~SelectionReader() = default;

OwnerState SelectionReader::owner() {
    xcb_connection_t* x = c_->get();
    XcbPtr<xcb_get_selection_owner_reply_t> r(
        xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, c_->atoms().clipboard), nullptr));
    // Every owner change the server made before this reply is queued by now.
    drainQueued();
    const std::uint32_t w = r ? r->owner : 0;
    if (current_.window != w) current_ = {w, 0};
    return current_;
}

bool SelectionReader::applyOwnerEvent(const xcb_generic_event_t* ev) {
    if (!xfixesEvent_ || eventType(ev) != xfixesEvent_ + XCB_XFIXES_SELECTION_NOTIFY) return false;
    const auto* n = reinterpret_cast<const xcb_xfixes_selection_notify_event_t*>(ev);
    if (n->selection == c_->atoms().clipboard)
        current_ = n->owner ? OwnerState{n->owner, n->selection_timestamp} : OwnerState{};
    return true;
}

void SelectionReader::drainQueued() {
    for (const auto& ev : held_) applyOwnerEvent(ev.get());
    held_.clear();
    while (EventPtr ev{xcb_poll_for_queued_event(c_->get())}) applyOwnerEvent(ev.get());
}

EventPtr SelectionReader::nextEvent(Clock::time_point until) {
    if (held_.empty()) return c_->waitEvent(until);
    EventPtr ev = std::move(held_.front());
    held_.pop_front();
    return ev;
}

bool SelectionReader::wroteAhead(xcb_window_t win, xcb_atom_t property, std::uint32_t seq) {
    // An event carries the number of our last request the server had done
    // when it made the event: a new value from before our read means the
    // owner wrote again without waiting for us, so a piece is lost.
    while (EventPtr ev{xcb_poll_for_queued_event(c_->get())}) held_.push_back(std::move(ev));
    bool ahead = false;
    for (auto it = held_.begin(); it != held_.end();) {
        const auto* n = reinterpret_cast<const xcb_property_notify_event_t*>(it->get());
        const bool before = static_cast<std::int32_t>((*it)->full_sequence - seq) < 0;
        if (eventType(it->get()) == XCB_PROPERTY_NOTIFY && n->window == win && n->atom == property &&
            n->state == XCB_PROPERTY_NEW_VALUE && before) {
            ahead = true;
            it = held_.erase(it);
        } else {
            ++it;
        }
    }
    return ahead;
}

xcb_window_t SelectionReader::requestor() {
    if (!requestor_) requestor_ = c_->createWindow(XCB_EVENT_MASK_PROPERTY_CHANGE);
    return requestor_;
}

template <class Match>
ReadResult SelectionReader::waitFor(const OwnerState& state, milliseconds limit, Match&& match) {
    const auto until = Clock::now() + limit;
    for (;;) {
        EventPtr ev = nextEvent(until);
        if (!ev) return c_->broken() ? ReadResult::Broken : ReadResult::TimedOut;
        if (applyOwnerEvent(ev.get())) {
            if (current_ != state) return ReadResult::OwnerChanged;
            continue;
        }
        if (match(ev.get())) return ReadResult::Ok;
    }
}

ReadResult SelectionReader::fail(const OwnerState& state, ReadResult why) {
    if (why == ReadResult::TimedOut) {
        hung_ = state;
        ++stats_.timeouts;
    }
    // A late or stray write from this owner must never land in a later read.
    if (requestor_) {
        xcb_destroy_window(c_->get(), requestor_);
        xcb_flush(c_->get());
        requestor_ = 0;
    }
    return why;
}

milliseconds SelectionReader::allowance(const OwnerState& state) {
    if (budgetOwner_ != state) {
        budgetOwner_ = state;
        budgetUsed_ = wholeUsed_ = milliseconds{0};
    }
    return std::min({times_.deadline, times_.budget - budgetUsed_, times_.whole - wholeUsed_});
}

void SelectionReader::charge(milliseconds waited) {
    wholeUsed_ += waited;
    if (waited > times_.grace) budgetUsed_ += waited - times_.grace;
}

ReadResult SelectionReader::convert(const OwnerState& state, xcb_atom_t target, Bytes& out, xcb_atom_t& type) {
    out.clear();
    const ReadResult r = convert(
        state, target,
        [&out](const std::uint8_t* data, std::size_t size) {
            if (out.size() + size > kMaxBlock) return false;
            out.insert(out.end(), data, data + size);
            return true;
        },
        type);
    if (r != ReadResult::Ok) Bytes().swap(out);
    return r;
}

ReadResult SelectionReader::convert(const OwnerState& state, xcb_atom_t target, const ChunkSink& sink,
                                    xcb_atom_t& type) {
    type = XCB_ATOM_NONE;
    if (c_->broken()) return ReadResult::Broken;
    drainQueued();
    if (current_ != state) return ReadResult::OwnerChanged;
    if (state.window == 0) return ReadResult::Refused;
    if (isHung(state)) return ReadResult::Skipped;
    const milliseconds limit = allowance(state);
    if (limit <= milliseconds{0}) {
        hung_ = state;
        return ReadResult::Skipped;
    }

    ++stats_.conversions;
    xcb_connection_t* x = c_->get();
    const Atoms& a = c_->atoms();
    const xcb_window_t win = requestor();
    xcb_convert_selection(x, win, a.clipboard, target, a.transfer, XCB_CURRENT_TIME);
    xcb_flush(x);
    xcb_atom_t property = XCB_ATOM_NONE;
    const auto started = Clock::now();
    const ReadResult r = waitFor(state, limit, [&](const xcb_generic_event_t* ev) {
        if (eventType(ev) != XCB_SELECTION_NOTIFY) return false;
        const auto* n = reinterpret_cast<const xcb_selection_notify_event_t*>(ev);
        if (n->requestor != win || n->selection != a.clipboard || n->target != target) return false;
        property = n->property;
        return true;
    });
    charge(std::chrono::duration_cast<milliseconds>(Clock::now() - started));
    if (r != ReadResult::Ok) return fail(state, r);
    if (property == XCB_ATOM_NONE) return ReadResult::Refused;

    std::uint32_t seq = 0;
    auto reply = takeProperty(x, win, property, seq);
    if (!reply) return fail(state, c_->broken() ? ReadResult::Broken : ReadResult::BadSequence);
    if (reply->type == XCB_ATOM_NONE) return ReadResult::Refused;  // said yes, wrote nothing
    const auto* value = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
    const int length = xcb_get_property_value_length(reply.get());
    if (reply->type == a.incr) {
        reply.reset();
        if (wroteAhead(win, property, seq)) return fail(state, ReadResult::BadSequence);
        return receiveIncr(state, property, sink, type);
    }
    type = reply->type;
    lastFormat_ = reply->format;
    if (!sink(value, static_cast<std::size_t>(length))) return fail(state, ReadResult::BadSequence);
    return ReadResult::Ok;
}

ReadResult SelectionReader::receiveIncr(const OwnerState& state, xcb_atom_t property, const ChunkSink& sink,
                                        xcb_atom_t& type) {
    ++stats_.incrTransfers;
    xcb_connection_t* x = c_->get();
    const xcb_window_t win = requestor_;
    for (;;) {
        // Every chunk's wait is charged to the owner: its budget covers the
        // whole transfer, so an owner that trickles runs out like one that hangs.
        const milliseconds limit = allowance(state);
        if (limit <= milliseconds{0}) return fail(state, ReadResult::TimedOut);
        const auto started = Clock::now();
        // Taking the previous value deleted it, which tells the owner to write the next.
        ReadResult r = waitFor(state, limit, [&](const xcb_generic_event_t* ev) {
            if (eventType(ev) != XCB_PROPERTY_NOTIFY) return false;
            const auto* n = reinterpret_cast<const xcb_property_notify_event_t*>(ev);
            return n->window == win && n->atom == property && n->state == XCB_PROPERTY_NEW_VALUE;
        });
        charge(std::chrono::duration_cast<milliseconds>(Clock::now() - started));
        std::uint32_t seq = 0;
        XcbPtr<xcb_get_property_reply_t> reply;
        if (r == ReadResult::Ok) {
            reply = takeProperty(x, win, property, seq);
            // A value gone already, or a newer one announced before our read:
            // the owner wrote without waiting for us.
            if (!reply || reply->type == XCB_ATOM_NONE || wroteAhead(win, property, seq))
                r = c_->broken() ? ReadResult::Broken : ReadResult::BadSequence;
        }
        if (r != ReadResult::Ok) return fail(state, r);
        const int length = xcb_get_property_value_length(reply.get());
        type = reply->type;
        lastFormat_ = reply->format;
        if (length == 0) return ReadResult::Ok;
        const auto* value = static_cast<const std::uint8_t*>(xcb_get_property_value(reply.get()));
        if (!sink(value, static_cast<std::size_t>(length))) return fail(state, ReadResult::BadSequence);
    }
}

bool SelectionReader::waitOwnerChange(int wakeFd) {
    for (;;) {
        EventPtr ev = c_->waitEvent(Clock::time_point::max(), wakeFd);
        if (!ev) return false;
        const OwnerState before = current_;
        if (applyOwnerEvent(ev.get()) && current_ != before) return true;
    }
}

ReadResult SelectionReader::targets(const OwnerState& state, std::vector<xcb_atom_t>& out) {
    out.clear();
    Bytes raw;
    xcb_atom_t type = XCB_ATOM_NONE;
    const ReadResult r = convert(state, c_->atoms().targets, raw, type);
    if (r != ReadResult::Ok) return r;
    const auto atoms = targetsOfReply(c_->atomName(type), lastFormat_, raw,
                                      [this](std::string_view name) { return c_->lookUp(name); });
    out.assign(atoms.begin(), atoms.end());
    return ReadResult::Ok;
}

}  // namespace pellion::platform::x11
