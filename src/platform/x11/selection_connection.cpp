#include "platform/x11/selection_connection.h"

#include <poll.h>

#include <algorithm>
#include <thread>

#include "platform/clipboard.h"

namespace pellion::platform::x11 {

std::unique_ptr<SelectionConnection> SelectionConnection::open() {
    // The X server may drop a connection made just as another one closes;
    // a few quick retries get past that.
    for (int attempt = 0; attempt < 5; ++attempt) {
        xcb_connection_t* c = xcb_connect(nullptr, nullptr);
        const int error = c ? xcb_connection_has_error(c) : XCB_CONN_ERROR;
        if (!error) return std::unique_ptr<SelectionConnection>(new SelectionConnection(c));
        if (c) xcb_disconnect(c);
        if (error != XCB_CONN_ERROR) break;  // no display, or refused: retrying will not help
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

SelectionConnection::SelectionConnection(xcb_connection_t* c) : c_(c) {
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
    maxRequest_ = xcb_get_maximum_request_length(c_);
    const char* names[] = {"CLIPBOARD", "TARGETS", "TIMESTAMP", "MULTIPLE", "SAVE_TARGETS", "INCR", "ATOM_PAIR",
                           "NULL", "UTF8_STRING", "TEXT", "COMPOUND_TEXT", "text/plain", "text/plain;charset=utf-8",
                           kMarkerName, "PELLION_TRANSFER", "PELLION_STAMP"};
    constexpr std::size_t n = sizeof(names) / sizeof(names[0]);
    static_assert(n == sizeof(Atoms) / sizeof(xcb_atom_t));
    xcb_intern_atom_cookie_t cookies[n];
    for (std::size_t i = 0; i < n; ++i)
        cookies[i] = xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(std::string_view(names[i]).size()), names[i]);
    xcb_atom_t* out = &atoms_.clipboard;
    for (std::size_t i = 0; i < n; ++i) {
        XcbPtr<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(c_, cookies[i], nullptr));
        out[i] = r ? r->atom : xcb_atom_t{XCB_ATOM_NONE};
        if (r) remember(r->atom, names[i]);
    }
}

SelectionConnection::~SelectionConnection() { xcb_disconnect(c_); }

xcb_window_t SelectionConnection::createWindow(std::uint32_t eventMask) {
    const xcb_window_t w = xcb_generate_id(c_);
    const std::uint32_t values[] = {eventMask};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, w, root_, -10, -10, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, values);
    xcb_flush(c_);
    return w;
}

xcb_atom_t SelectionConnection::intern(std::string_view name) {
    if (name.empty() || name.size() > 0xFFFF) return XCB_ATOM_NONE;
    if (auto it = byName_.find(std::string(name)); it != byName_.end()) return it->second;
    XcbPtr<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    if (!r) return XCB_ATOM_NONE;
    remember(r->atom, std::string(name));
    return r->atom;
}

xcb_atom_t SelectionConnection::lookUp(std::string_view name) {
    if (name.empty() || name.size() > 0xFFFF) return XCB_ATOM_NONE;
    if (auto it = byName_.find(std::string(name)); it != byName_.end()) return it->second;
    XcbPtr<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 1, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    if (!r || r->atom == XCB_ATOM_NONE) return XCB_ATOM_NONE;
    remember(r->atom, std::string(name));
    return r->atom;
}

void SelectionConnection::remember(xcb_atom_t atom, std::string name) {
    byName_[name] = atom;
    names_[atom] = std::move(name);
}

std::string SelectionConnection::atomName(xcb_atom_t atom) {
    loadNames({atom});
    auto it = names_.find(atom);
    return it == names_.end() ? std::string() : it->second;
}

void SelectionConnection::loadNames(const std::vector<xcb_atom_t>& atoms) {
    std::vector<std::pair<xcb_atom_t, xcb_get_atom_name_cookie_t>> asked;
    for (xcb_atom_t a : atoms)
        if (a != XCB_ATOM_NONE && !names_.count(a)) asked.emplace_back(a, xcb_get_atom_name(c_, a));
    for (const auto& [atom, cookie] : asked) {
        xcb_generic_error_t* err = nullptr;
        XcbPtr<xcb_get_atom_name_reply_t> r(xcb_get_atom_name_reply(c_, cookie, &err));
        std::free(err);
        if (r) remember(atom, std::string(xcb_get_atom_name_name(r.get()), xcb_get_atom_name_name_length(r.get())));
    }
}

EventPtr SelectionConnection::waitEvent(Clock::time_point deadline, int wakeFd) {
    for (;;) {
        if (xcb_generic_event_t* ev = xcb_poll_for_event(c_)) return EventPtr(ev);
        if (broken()) return nullptr;
        int timeout = -1;
        if (deadline != Clock::time_point::max()) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0) return nullptr;
            timeout = static_cast<int>(std::min<long long>(left, 1 << 30));
        }
        pollfd p[2] = {{xcb_get_file_descriptor(c_), POLLIN, 0}, {wakeFd, POLLIN, 0}};
        ::poll(p, wakeFd >= 0 ? 2 : 1, timeout);
        if (wakeFd >= 0 && (p[1].revents & POLLIN)) return nullptr;
    }
}

}  // namespace pellion::platform::x11
