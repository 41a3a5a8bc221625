#include "platform/x11/x11_connection.h"

#include <poll.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <cstring>

namespace pellion::platform::x11 {

namespace {

const char* const kAtomNames[] = {
    "_NET_ACTIVE_WINDOW", "_NET_CLIENT_LIST", "_NET_SUPPORTING_WM_CHECK", "_NET_SUPPORTED", "_NET_WM_NAME",
    "UTF8_STRING", "WM_STATE", "WM_CHANGE_STATE", "_NET_WM_STATE", "_NET_WM_STATE_ABOVE",
    "_NET_WM_STATE_HIDDEN", "_NET_WM_PID", "WM_CLIENT_LEADER", "WM_PROTOCOLS", "_NET_WM_PING",
    "_NET_FRAME_EXTENTS", "_PELLION_TIME", "_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
};
static_assert(std::size(kAtomNames) == std::size_t(Atom::Count));

}  // namespace

std::shared_ptr<Connection> Connection::open(const char* display) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(display, &screenNumber);
    if (!c || xcb_connection_has_error(c)) {
        if (c) xcb_disconnect(c);
        return nullptr;
    }
    auto it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem; ++i) xcb_screen_next(&it);
    if (!it.rem) {
        xcb_disconnect(c);
        return nullptr;
    }
    return std::shared_ptr<Connection>(new Connection(c, it.data));
}

Connection::Connection(xcb_connection_t* c, xcb_screen_t* screen) : c_(c), screen_(screen) {
    std::vector<xcb_intern_atom_cookie_t> cookies;
    for (const char* name : kAtomNames) cookies.push_back(xcb_intern_atom(c_, 0, std::strlen(name), name));
    for (auto cookie : cookies) {
        ReplyPtr<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(c_, cookie, nullptr));
        atoms_.push_back(reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE));
    }

    // A window of our own whose property changes tell the server time.
    helper_ = xcb_generate_id(c_);
    const std::uint32_t values[] = {1, XCB_EVENT_MASK_PROPERTY_CHANGE};
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, helper_, screen_->root, -1, -1, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                      XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    xcb_flush(c_);

    if (QCoreApplication::instance()) {
        context_ = std::make_unique<QObject>();
        notifier_ = new QSocketNotifier(xcb_get_file_descriptor(c_), QSocketNotifier::Read, context_.get());
        QObject::connect(notifier_, &QSocketNotifier::activated, context_.get(), [this] { drainEvents(true); });
        // Replies read while waiting leave events in XCB's queue without the
        // socket becoming readable again: drain before the loop sleeps.
        if (auto* dispatcher = QAbstractEventDispatcher::instance(QThread::currentThread()))
            QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, context_.get(),
                             [this] { drainEvents(false); });
    }
}

Connection::~Connection() {
    context_.reset();
    xcb_disconnect(c_);
}

bool Connection::broken() const { return xcb_connection_has_error(c_) != 0; }

xcb_atom_t Connection::intern(const std::string& name) {
    ReplyPtr<xcb_intern_atom_reply_t> reply(
        xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, name.size(), name.data()), nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}

int Connection::addListener(Listener listener) {
    listeners_[nextListener_] = std::move(listener);
    return nextListener_++;
}

void Connection::removeListener(int id) { listeners_.erase(id); }

void Connection::drain() { drainEvents(true); }

void Connection::drainEvents(bool readSocket) {
    if (broken()) {
        if (notifier_) notifier_->setEnabled(false);
        return;
    }
    for (;;) {
        EventPtr event;
        if (!backlog_.empty()) {
            event = std::move(backlog_.front());
            backlog_.pop_front();
        } else {
            event.reset(readSocket ? xcb_poll_for_event(c_) : xcb_poll_for_queued_event(c_));
        }
        if (!event) break;
        // A listener may add or remove listeners: call those present now.
        std::vector<int> ids;
        for (const auto& entry : listeners_) ids.push_back(entry.first);
        for (int id : ids) {
            auto it = listeners_.find(id);
            if (it != listeners_.end()) it->second(*event);
        }
    }
}

void Connection::sync() {
    ReplyPtr<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr));
}

EventPtr Connection::waitFor(const std::function<bool(const xcb_generic_event_t&)>& accept,
                             std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    xcb_flush(c_);
    for (;;) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(c_)) {
            EventPtr event(raw);
            if (accept(*event)) return event;
            backlog_.push_back(std::move(event));
        }
        if (broken()) return nullptr;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return nullptr;
        pollfd fd{xcb_get_file_descriptor(c_), POLLIN, 0};
        ::poll(&fd, 1, int(left.count()));
    }
}

xcb_timestamp_t Connection::serverTime() {
    const xcb_atom_t property = atom(Atom::PellionTime);
    xcb_change_property(c_, XCB_PROP_MODE_APPEND, helper_, property, XCB_ATOM_INTEGER, 32, 0, nullptr);
    auto event = waitFor(
        [&](const xcb_generic_event_t& e) {
            if ((e.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
            const auto& p = reinterpret_cast<const xcb_property_notify_event_t&>(e);
            return p.window == helper_ && p.atom == property;
        },
        std::chrono::milliseconds(500));
    if (!event) return XCB_CURRENT_TIME;
    return reinterpret_cast<xcb_property_notify_event_t*>(event.get())->time;
}

void Connection::selectRoot(std::uint32_t bits, bool on) {
    rootMask_ = on ? rootMask_ | bits : rootMask_ & ~bits;
    xcb_change_window_attributes(c_, root(), XCB_CW_EVENT_MASK, &rootMask_);
    xcb_flush(c_);
}

std::vector<std::uint32_t> Connection::words(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c_, xcb_get_property(c_, 0, window, property, type, 0, 1 << 16), nullptr));
    if (!reply || reply->format != 32 || (type != XCB_ATOM_ANY && reply->type != type)) return {};
    const auto* data = static_cast<const std::uint32_t*>(xcb_get_property_value(reply.get()));
    return {data, data + xcb_get_property_value_length(reply.get()) / 4};
}

std::optional<std::uint32_t> Connection::word(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    auto values = words(window, property, type);
    if (values.empty()) return std::nullopt;
    return values.front();
}

std::optional<std::string> Connection::bytes(xcb_window_t window, xcb_atom_t property, xcb_atom_t type) {
    ReplyPtr<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(c_, xcb_get_property(c_, 0, window, property, type, 0, 1 << 16), nullptr));
    if (!reply || reply->format != 8 || reply->type != type) return std::nullopt;
    const auto* data = static_cast<const char*>(xcb_get_property_value(reply.get()));
    return std::string(data, std::size_t(xcb_get_property_value_length(reply.get())));
}

xcb_client_message_event_t clientMessage(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1,
                                         std::uint32_t d2, std::uint32_t d3, std::uint32_t d4) {
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    event.data.data32[0] = d0;
    event.data.data32[1] = d1;
    event.data.data32[2] = d2;
    event.data.data32[3] = d3;
    event.data.data32[4] = d4;
    return event;
}

void Connection::sendToRoot(xcb_window_t window, xcb_atom_t type, std::uint32_t d0, std::uint32_t d1,
                            std::uint32_t d2, std::uint32_t d3, std::uint32_t d4) {
    const xcb_client_message_event_t event = clientMessage(window, type, d0, d1, d2, d3, d4);
    xcb_send_event(c_, 0, root(), XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
    xcb_flush(c_);
}

}  // namespace pellion::platform::x11
