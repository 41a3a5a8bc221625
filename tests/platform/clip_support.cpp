#include "platform/clip_support.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>

namespace pellion::test {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPoll{5};

template <class T>
struct Freed {
    T* p;
    ~Freed() { std::free(p); }
    T* operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

}  // namespace

Bytes randomBytes(std::size_t size, unsigned seed) {
    std::mt19937 gen(seed);
    Bytes b(size);
    for (auto& byte : b) byte = static_cast<std::uint8_t>(gen());
    return b;
}

Bytes bytesOf(const std::string& s) { return Bytes(s.begin(), s.end()); }

Bytes withNul(const std::string& s) {
    Bytes b = bytesOf(s);
    b.push_back(0);
    return b;
}

std::string tool(const std::string& name) { return std::string(PELLION_BUILD_DIR) + "/" + name; }

Ran xclipOut(const std::string& target, const std::string& selection) {
    return run({"xclip", "-selection", selection, "-o", "-t", target});
}

std::vector<std::string> xclipIn(const std::string& target, const std::string& file) {
    // -quiet keeps xclip in the foreground, so the test can end it.
    return {"xclip", "-selection", "clipboard", "-i", "-quiet", "-t", target, file};
}

std::vector<std::uint32_t> wordsOf(const Bytes& b) {
    std::vector<std::uint32_t> out(b.size() / 4);
    std::memcpy(out.data(), b.data(), out.size() * 4);
    return out;
}

Observer::Observer() {
    for (int attempt = 0; attempt < 5; ++attempt) {
        c_ = xcb_connect(nullptr, nullptr);
        if (!xcb_connection_has_error(c_)) break;
        xcb_disconnect(c_);
        settle();
    }
    root_ = xcb_setup_roots_iterator(xcb_get_setup(c_)).data->root;
}

void Observer::sync() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }

xcb_atom_t Observer::atom(const std::string& name) {
    Freed<xcb_intern_atom_reply_t> r{xcb_intern_atom_reply(
        c_, xcb_intern_atom(c_, 0, static_cast<std::uint16_t>(name.size()), name.c_str()), nullptr)};
    return r ? r->atom : 0;
}

std::optional<Bytes> Observer::property(xcb_window_t w, xcb_atom_t property, xcb_atom_t* type, bool take) {
    Freed<xcb_get_property_reply_t> r{xcb_get_property_reply(
        c_, xcb_get_property(c_, take, w, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0x1FFFFFFF), nullptr)};
    if (!r || r->type == XCB_ATOM_NONE) return std::nullopt;
    if (type) *type = r->type;
    const auto* v = static_cast<const std::uint8_t*>(xcb_get_property_value(r.p));
    return Bytes(v, v + xcb_get_property_value_length(r.p));
}

std::vector<std::uint32_t> Observer::words(xcb_window_t w, const std::string& name) {
    return wordsOf(property(w, atom(name)).value_or(Bytes{}));
}

std::uint32_t Observer::activeWindow() {
    const auto v = words(root_, "_NET_ACTIVE_WINDOW");
    return v.empty() ? 0 : v[0];
}

std::uint32_t Observer::wmState(xcb_window_t w) {
    const auto v = words(w, "WM_STATE");
    return v.empty() ? 0 : v[0];
}

bool Observer::hasNetState(xcb_window_t w, const std::string& state) {
    const auto states = words(w, "_NET_WM_STATE");
    return std::find(states.begin(), states.end(), atom(state)) != states.end();
}

void Observer::watchKeys(xcb_window_t w) {
    const std::uint32_t mask = XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE;
    xcb_change_window_attributes(c_, w, XCB_CW_EVENT_MASK, &mask);
    sync();
}

int Observer::keyPressesSeen() {
    sync();
    int presses = 0;
    while (Freed<xcb_generic_event_t> e{xcb_poll_for_event(c_)}) presses += (e->response_type & 0x7F) == XCB_KEY_PRESS;
    return presses;
}

Probe& Probe::shared() {
    static Probe probe;
    return probe;
}

Probe::Probe() {
    window_ = xcb_generate_id(c_);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, root_, 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    clipboard_ = atom("CLIPBOARD");
}

xcb_window_t Probe::owner() {
    Freed<xcb_get_selection_owner_reply_t> r{
        xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, clipboard_), nullptr)};
    return r ? r->owner : 0;
}

bool Probe::waitNewOwner(xcb_window_t before, std::chrono::milliseconds limit) {
    for (const auto until = Clock::now() + limit; Clock::now() < until; std::this_thread::sleep_for(kPoll))
        if (const xcb_window_t now = owner(); now != 0 && now != before) return true;
    return false;
}

bool Probe::waitNoOwner(std::chrono::milliseconds limit) {
    for (const auto until = Clock::now() + limit; Clock::now() < until; std::this_thread::sleep_for(kPoll))
        if (owner() == 0) return true;
    return false;
}

bool Probe::awaitNotify(xcb_atom_t target, xcb_atom_t& property) {
    const auto until = Clock::now() + std::chrono::seconds(3);
    for (;;) {
        while (xcb_generic_event_t* ev = xcb_poll_for_event(c_)) {
            Freed<xcb_generic_event_t> e{ev};
            if ((ev->response_type & 0x7f) != XCB_SELECTION_NOTIFY) continue;
            const auto* n = reinterpret_cast<const xcb_selection_notify_event_t*>(ev);
            if (n->target != target) continue;
            property = n->property;
            return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) return false;
        pollfd p{xcb_get_file_descriptor(c_), POLLIN, 0};
        ::poll(&p, 1, static_cast<int>(left));
    }
}

std::optional<Bytes> Probe::convert(const std::string& target, xcb_atom_t* type, xcb_atom_t into) {
    const xcb_atom_t t = atom(target);
    xcb_convert_selection(c_, window_, clipboard_, t, into ? into : atom("PROBE_VALUE"), XCB_CURRENT_TIME);
    xcb_flush(c_);
    xcb_atom_t got = 0;
    if (!awaitNotify(t, got) || got == XCB_ATOM_NONE) return std::nullopt;
    return property(window_, got, type, true);
}

std::vector<std::optional<Bytes>> Probe::multiple(const std::vector<std::string>& targets,
                                                  std::vector<std::uint32_t>& pairsAfter) {
    const xcb_atom_t pairsProperty = atom("PROBE_PAIRS");
    std::vector<std::uint32_t> pairs;
    for (std::size_t i = 0; i < targets.size(); ++i)
        pairs.insert(pairs.end(), {atom(targets[i]), atom("PROBE_" + std::to_string(i))});
    xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, pairsProperty, atom("ATOM_PAIR"), 32,
                        static_cast<std::uint32_t>(pairs.size()), pairs.data());
    pairsAfter = wordsOf(convert("MULTIPLE", nullptr, pairsProperty).value_or(Bytes{}));
    std::vector<std::optional<Bytes>> out;
    for (std::size_t i = 0; i < targets.size(); ++i) out.push_back(property(window_, pairs[2 * i + 1], nullptr, true));
    return out;
}

Owner::Owner(const std::vector<std::string>& argv) {
    Probe& probe = Probe::shared();
    const xcb_window_t before = probe.owner();
    pid_ = spawn(argv, -1);
    owns_ = probe.waitNewOwner(before);
}

Owner::~Owner() { stop(); }

void Owner::stop() { test::stop(pid_); }

TempBytesFile::TempBytesFile(const Bytes& bytes) {
    char pattern[] = "/tmp/pellion-clip-XXXXXX";
    const int fd = ::mkstemp(pattern);
    path_ = pattern;
    std::size_t done = 0;
    while (fd >= 0 && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    if (fd >= 0) ::close(fd);
}

TempBytesFile::~TempBytesFile() { ::unlink(path_.c_str()); }

}  // namespace pellion::test
