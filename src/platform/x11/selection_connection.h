#pragma once
// One private XCB connection with the atoms the clipboard uses. Each
// connection is used by one thread only, so its event queue is never read
// behind another thread's back.
#include <xcb/xcb.h>

#include "platform/x11/xcb_ptr.h"

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pellion::platform::x11 {

using Clock = std::chrono::steady_clock;

struct Atoms {
    xcb_atom_t clipboard, targets, timestamp, multiple, saveTargets, incr, atomPair, null, utf8String, text,
        compoundText, textPlain, textPlainUtf8, marker, transfer, stamp;
};

class SelectionConnection {
public:
    // nullptr when there is no display to connect to.
    static std::unique_ptr<SelectionConnection> open();
    ~SelectionConnection();
    SelectionConnection(const SelectionConnection&) = delete;
    SelectionConnection& operator=(const SelectionConnection&) = delete;

    xcb_connection_t* get() const { return c_; }
    bool broken() const { return xcb_connection_has_error(c_) != 0; }
    const Atoms& atoms() const { return atoms_; }
    // Largest request in 4-byte units (BIG-REQUESTS when the server has it).
    std::uint32_t maxRequestUnits() const { return maxRequest_; }

    // An unmapped window that only receives the given events.
    xcb_window_t createWindow(std::uint32_t eventMask);

    xcb_atom_t intern(std::string_view name);
    xcb_atom_t lookUp(std::string_view name);  // an existing atom only; 0 when none
    std::string atomName(xcb_atom_t atom);  // "" when the atom does not exist
    void loadNames(const std::vector<xcb_atom_t>& atoms);  // one round trip for many

    // The next event, reading the socket as needed; nullptr when the deadline
    // passes, the connection breaks or wakeFd (when given) becomes readable.
    EventPtr waitEvent(Clock::time_point deadline, int wakeFd = -1);

private:
    explicit SelectionConnection(xcb_connection_t* c);
    xcb_connection_t* c_;
    xcb_window_t root_ = 0;
    std::uint32_t maxRequest_ = 0;
    Atoms atoms_{};
    void remember(xcb_atom_t atom, std::string name);
    std::unordered_map<xcb_atom_t, std::string> names_;
    std::unordered_map<std::string, xcb_atom_t> byName_;
};

inline std::uint8_t eventType(const xcb_generic_event_t* ev) { return ev->response_type & 0x7f; }

}  // namespace pellion::platform::x11
