#pragma once
// One XCB connection shared by the windows, keystrokes and hooks services,
// fed by Qt's event loop: a socket notifier and the dispatcher's
// about-to-block signal drain every queued event to the listeners, on the
// thread that created it.
#include <xcb/xcb.h>

#include "platform/x11/xcb_ptr.h"

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QObject;
class QSocketNotifier;

namespace pellion::platform::x11 {


enum class Atom {
    NetActiveWindow, NetClientList, NetSupportingWmCheck, NetSupported, NetWmName, Utf8String, WmState,
    WmChangeState, NetWmState, NetWmStateAbove, NetWmStateHidden, NetWmPid, WmClientLeader, WmProtocols,
    NetWmPing, NetFrameExtents, PellionTime, NetWmStateSkipTaskbar, NetWmStateSkipPager, Count
};

// A 32-bit client message, the form window managers and clients expect.
xcb_client_message_event_t clientMessage(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1 = 0,
                                         std::uint32_t d2 = 0, std::uint32_t d3 = 0, std::uint32_t d4 = 0);

class Connection {
public:
    // nullptr when no display can be opened.
    static std::shared_ptr<Connection> open(const char* display = nullptr);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    xcb_connection_t* xcb() const { return c_; }
    xcb_window_t root() const { return screen_->root; }
    const xcb_screen_t& screen() const { return *screen_; }
    xcb_atom_t atom(Atom a) const { return atoms_[std::size_t(a)]; }
    xcb_atom_t intern(const std::string& name);
    bool broken() const;

    using Listener = std::function<void(const xcb_generic_event_t&)>;
    int addListener(Listener listener);
    void removeListener(int id);
    // Hands every event received so far to the listeners.
    void drain();
    // A round trip: every request sent before has been carried out.
    void sync();
    // Waits for an event the predicate accepts; the others stay queued for the
    // listeners.
    EventPtr waitFor(const std::function<bool(const xcb_generic_event_t&)>& accept, std::chrono::milliseconds timeout);
    // The server's current time, from a property change on our own window.
    xcb_timestamp_t serverTime();
    // Adds or removes event-mask bits we select on the root window.
    void selectRoot(std::uint32_t bits, bool on);

    // Property values; empty when missing or of another type/format.
    std::vector<std::uint32_t> words(xcb_window_t window, xcb_atom_t property, xcb_atom_t type = XCB_ATOM_ANY);
    std::optional<std::string> bytes(xcb_window_t window, xcb_atom_t property, xcb_atom_t type);
    std::optional<std::uint32_t> word(xcb_window_t window, xcb_atom_t property, xcb_atom_t type = XCB_ATOM_ANY);

    // Sends a 32-bit client message to the root window, as the window manager
    // expects its requests.
    void sendToRoot(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1 = 0,
                    std::uint32_t d2 = 0, std::uint32_t d3 = 0, std::uint32_t d4 = 0);

private:
    Connection(xcb_connection_t* c, xcb_screen_t* screen);
    void drainEvents(bool readSocket);

    xcb_connection_t* c_;
    xcb_screen_t* screen_;
    xcb_window_t helper_ = 0;
    std::uint32_t rootMask_ = 0;
    std::vector<xcb_atom_t> atoms_;
    std::deque<EventPtr> backlog_;
    std::map<int, Listener> listeners_;
    int nextListener_ = 1;
    std::unique_ptr<QObject> context_;
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace pellion::platform::x11
