#pragma once
// Reads the CLIPBOARD of another program on its own connection, with a
// deadline on every wait, INCR transfers (ICCCM 2.7.2), a time budget for
// each owner's whole transfer, and a memory of the owner that stopped
// answering, so that a hung or trickling owner costs about one budget.
#include <chrono>
#include <deque>
#include <functional>
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
    // Slow waits on one owner, summed over all its answers and INCR chunks,
    // before it counts as hung.
    std::chrono::milliseconds budget{1000};
    std::chrono::milliseconds grace{50};       // a wait this short costs nothing of the budget
    // All time spent reading one owner, quick waits included: an owner that
    // trickles just under the grace still ends.
    std::chrono::milliseconds whole{30000};
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
    // Waits for the CLIPBOARD to change hands: true when it did, false when
    // wakeFd became readable or the connection broke. For a reader kept only
    // for watching.
    bool waitOwnerChange(int wakeFd);

    // One target's bytes exactly as sent, and the type the owner gave them.
    ReadResult convert(const OwnerState& state, xcb_atom_t target, Bytes& out, xcb_atom_t& type);
    // The same handed to sink as the pieces arrive; type and lastFormat()
    // are those of the piece sink is given. A sink that refuses a piece ends
    // the read with BadSequence; what it took belongs to nothing.
    ReadResult convert(const OwnerState& state, xcb_atom_t target, const ChunkSink& sink, xcb_atom_t& type);

    struct Stats {
        int conversions = 0;
        int incrTransfers = 0;
        int timeouts = 0;
    };
    const Stats& stats() const { return stats_; }
    // The property format (8, 16, 32) of the last reply taken.
    std::uint8_t lastFormat() const { return lastFormat_; }

private:
    template <class Match>
    ReadResult waitFor(const OwnerState& state, std::chrono::milliseconds limit, Match&& match);
    ReadResult receiveIncr(const OwnerState& state, xcb_atom_t property, const ChunkSink& sink, xcb_atom_t& type);
    // How long the next wait on this owner may take; zero when its time is up.
    std::chrono::milliseconds allowance(const OwnerState& state);
    void charge(std::chrono::milliseconds waited);
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
    std::chrono::milliseconds wholeUsed_{0};
    Stats stats_;
    std::uint8_t lastFormat_ = 0;
};

}  // namespace pellion::platform::x11
