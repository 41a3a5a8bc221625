#pragma once
// Reads the CLIPBOARD of another program on its own connection, with a
// deadline on every wait, INCR transfers (ICCCM 2.7.2), and a memory of the
// owner that stopped answering, so that a hung owner costs one deadline.
#include <chrono>
#include <deque>
#include <optional>
#include <vector>

#include "platform/clipboard.h"
#include "platform/x11/selection_connection.h"

namespace pellion::platform::x11 {

// Who owns the CLIPBOARD: window plus the selection timestamp that XFixes
// reported; the timestamp is 0 for an owner that predates our watch.
struct OwnerState {
    std::uint32_t window = 0;
    std::uint32_t timestamp = 0;
    bool operator==(const OwnerState&) const = default;
};

enum class ReadResult {
    Ok,
    Refused,       // the owner answered with no property
    TimedOut,      // no progress within the deadline; the owner is now taken as hung
    OwnerChanged,  // a new owner, or the owner went away, during or before the read
    BadSequence,   // the owner broke the INCR protocol or sent too much
    Skipped,       // this owner hung before or used up its time; not asked
    Broken,        // the connection to the display is gone
};

struct ReaderTimes {
    std::chrono::milliseconds deadline{1000};  // no progress for this long ends a read
    std::chrono::milliseconds budget{1000};    // slow answers of one owner, summed, before it counts as hung
    std::chrono::milliseconds grace{50};       // an answer this quick costs nothing of the budget
};

class SelectionReader {
public:
    SelectionReader(std::unique_ptr<SelectionConnection> c, ReaderTimes times);
    ~SelectionReader();

    SelectionConnection& connection() { return *c_; }
    // A round trip to the server; applies every owner change reported so far.
    OwnerState owner();
    bool isHung(const OwnerState& state) const { return hung_ && *hung_ == state; }

    // The owner's targets in its order (meta targets included).
    ReadResult targets(const OwnerState& state, std::vector<xcb_atom_t>& out);
    // One target's bytes exactly as sent, and the type the owner gave them.
    ReadResult convert(const OwnerState& state, xcb_atom_t target, Bytes& out, xcb_atom_t& type);

    struct Stats {
        int conversions = 0;
        int incrTransfers = 0;
        int timeouts = 0;
    };
    const Stats& stats() const { return stats_; }

private:
    template <class Match>
    ReadResult waitFor(const OwnerState& state, std::chrono::milliseconds limit, Match&& match);
    ReadResult receiveIncr(const OwnerState& state, xcb_atom_t property, std::uint64_t sizeHint, Bytes& out,
                           xcb_atom_t& type);
    ReadResult fail(const OwnerState& state, ReadResult why);
    bool applyOwnerEvent(const xcb_generic_event_t* ev);
    void drainQueued();
    bool wroteAhead(xcb_window_t win, xcb_atom_t property, std::uint32_t seq);
    EventPtr nextEvent(Clock::time_point until);
    xcb_window_t requestor();

    std::unique_ptr<SelectionConnection> c_;
    ReaderTimes times_;
    std::uint8_t xfixesEvent_ = 0;  // 0 without XFixes
    xcb_window_t watch_ = 0;
    xcb_window_t requestor_ = 0;
    OwnerState current_;
    std::deque<EventPtr> held_;  // read ahead of a reply, not yet handled
    std::optional<OwnerState> hung_;
    OwnerState budgetOwner_;
    std::chrono::milliseconds budgetUsed_{0};
    Stats stats_;
};

}  // namespace pellion::platform::x11
