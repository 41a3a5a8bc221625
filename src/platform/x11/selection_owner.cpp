#include "platform/x11/selection_owner.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "platform/x11/selection_activity.h"
#include "platform/x11/selection_rules.h"

namespace pellion::platform::x11 {

namespace {

// A requestor that stops taking chunks for this long is given up.
constexpr auto kTransferPatience = std::chrono::seconds(10);
constexpr auto kPublishWait = std::chrono::seconds(3);

// Signed difference, as server times wrap.
bool notBefore(xcb_timestamp_t t, xcb_timestamp_t since) { return static_cast<std::int32_t>(t - since) >= 0; }

// Reads a stored text block through once: where its text ends, and what it
// comes to as Latin-1.
TextFacts scanText(const FileSpan& span) {
    TextFacts f;
    f.utf8 = true;
    Bytes buf(kMaxChunk);
    std::size_t carry = 0;  // the head of a character cut at the end of the last piece
    for (std::uint64_t at = 0; at < span.size;) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(buf.size() - carry, span.size - at));
        if (!span.file->readAt(span.offset + at, buf.data() + carry, n)) break;
        const auto* nul = static_cast<const std::uint8_t*>(std::memchr(buf.data() + carry, 0, n));
        const std::size_t taken = nul ? static_cast<std::size_t>(nul - (buf.data() + carry)) : n;
        const std::size_t have = carry + taken;
        at += taken;
        f.size = at;
        const std::size_t cut = nul || at == span.size ? have : utf8Cut(buf.data(), have);
        f.utf8 = f.utf8 && isValidUtf8(std::string_view(reinterpret_cast<const char*>(buf.data()), cut));
        f.latin1Size += static_cast<std::uint64_t>(
            std::count_if(buf.data(), buf.data() + cut, [](std::uint8_t c) { return (c & 0xC0) != 0x80; }));
        carry = have - cut;
        std::memmove(buf.data(), buf.data() + cut, carry);
        if (nul) break;
    }
    return f;
}

}  // namespace

SelectionOwner::SelectionOwner(std::unique_ptr<SelectionConnection> c) : c_(std::move(c)) {
    window_ = c_->createWindow(XCB_EVENT_MASK_PROPERTY_CHANGE);
    chunk_ = chunkSize(c_->maxRequestUnits());
    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    thread_ = std::thread([this] { run(); });
}

SelectionOwner::~SelectionOwner() {
    stop_ = true;
    wake();
    thread_.join();
    if (wakeFd_ >= 0) ::close(wakeFd_);
}

void SelectionOwner::wake() {
    const std::uint64_t one = 1;
    [[maybe_unused]] auto n = ::write(wakeFd_, &one, sizeof one);
}

bool SelectionOwner::publish(ContentPtr content, xcb_timestamp_t claim) {
    return publishTo(kClipboard, std::move(content), claim);
}

bool SelectionOwner::publishPrimary(ContentPtr content) {
    return publishTo(kPrimary, std::move(content), XCB_CURRENT_TIME);
}

bool SelectionOwner::publishTo(Selection selection, ContentPtr content, xcb_timestamp_t claim) {
    std::future<bool> done;
    {
        std::lock_guard lock(mutex_);
        if (stop_) return false;
        queue_.push_back({std::move(content), selection, claim, {}});
        done = queue_.back().done.get_future();
    }
    wake();
    if (done.wait_for(kPublishWait) != std::future_status::ready) return false;
    try {
        return done.get();
    } catch (const std::future_error&) {
        return false;
    }
}

void SelectionOwner::replace(ContentPtr content) {
    std::lock_guard lock(mutex_);
    if (served_[kClipboard]) served_[kClipboard] = std::move(content);
}

ContentPtr SelectionOwner::served() const {
    std::lock_guard lock(mutex_);
    return served_[kClipboard];
}

xcb_atom_t SelectionOwner::atomOf(Selection selection) const {
    return selection == kPrimary ? xcb_atom_t{XCB_ATOM_PRIMARY} : c_->atoms().clipboard;
}

void SelectionOwner::run() {
    xcb_connection_t* x = c_->get();
    const int fd = xcb_get_file_descriptor(x);
    while (!stop_) {
        while (EventPtr ev{xcb_poll_for_event(x)}) handle(ev.get());
        if (c_->broken()) break;
        if (!publishing_) startPublish();
        expireTransfers();
        xcb_flush(x);
        if (EventPtr ev{xcb_poll_for_queued_event(x)}) {
            handle(ev.get());
            continue;
        }
        pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd_, POLLIN, 0}};
        ::poll(p, 2, transfers_.empty() && !publishing_ ? -1 : 1000);
        if (p[1].revents & POLLIN) {
            std::uint64_t v;
            [[maybe_unused]] auto n = ::read(wakeFd_, &v, sizeof v);
        }
    }
    std::lock_guard lock(mutex_);
    stop_ = true;
    if (publishing_) publishing_->done.set_value(false);
    for (auto& p : queue_) p.done.set_value(false);
    queue_.clear();
    for (auto& served : served_) served.reset();
}

void SelectionOwner::handle(const xcb_generic_event_t* ev) {
    const Atoms& a = c_->atoms();
    switch (eventType(ev)) {
    case XCB_PROPERTY_NOTIFY: {
        const auto* n = reinterpret_cast<const xcb_property_notify_event_t*>(ev);
        if (n->window == window_ && n->atom == a.stamp && n->state == XCB_PROPERTY_NEW_VALUE && publishing_)
            finishPublish(n->time);
        else if (n->state == XCB_PROPERTY_DELETE)
            onPropertyDeleted(n->window, n->atom);
        break;
    }
    case XCB_SELECTION_REQUEST:
        onRequest(reinterpret_cast<const xcb_selection_request_event_t*>(ev));
        break;
    case XCB_SELECTION_CLEAR: {
        const auto* n = reinterpret_cast<const xcb_selection_clear_event_t*>(ev);
        // A clear older than our latest ownership belongs to an earlier one.
        for (Selection sel : {kClipboard, kPrimary}) {
            if (n->selection == atomOf(sel) && n->owner == window_ && notBefore(n->time, acquired_[sel])) {
                std::lock_guard lock(mutex_);
                served_[sel].reset();
            }
        }
        break;
    }
    case 0: {  // an error: a requestor window that went away ends its transfer
        const auto* e = reinterpret_cast<const xcb_generic_error_t*>(ev);
        if (e->error_code == XCB_WINDOW) {
            const auto bad = reinterpret_cast<const xcb_window_error_t*>(ev)->bad_value;
            for (std::size_t i = transfers_.size(); i-- > 0;)
                if (transfers_[i].requestor == bad) transfers_.erase(transfers_.begin() + static_cast<long>(i));
        }
        break;
    }
    default:
        break;
    }
}

void SelectionOwner::startPublish() {
    {
        std::lock_guard lock(mutex_);
        if (queue_.empty()) return;
        publishing_.emplace(std::move(queue_.front()));
        queue_.pop_front();
    }
    if (publishing_->claim != XCB_CURRENT_TIME) {
        finishPublish(publishing_->claim);
        return;
    }
    // A zero-length append makes the server tell us its time (ICCCM 2.1).
    xcb_change_property(c_->get(), XCB_PROP_MODE_APPEND, window_, c_->atoms().stamp, XCB_ATOM_INTEGER, 32, 0,
                        nullptr);
}

void SelectionOwner::finishPublish(xcb_timestamp_t time) {
    xcb_connection_t* x = c_->get();
    const Selection sel = publishing_->selection;
    const xcb_atom_t selection = atomOf(sel);
    {
        std::lock_guard lock(mutex_);
        served_[sel] = publishing_->content;  // before we own, so the first request finds it
    }
    acquired_[sel] = time;
    xcb_set_selection_owner(x, window_, selection, time);
    XcbPtr<xcb_get_selection_owner_reply_t> r(
        xcb_get_selection_owner_reply(x, xcb_get_selection_owner(x, selection), nullptr));
    const bool ok = r && r->owner == window_;
    if (ok && sel == kClipboard) selectionActivity().ownerWindow = window_;
    if (!ok) {
        std::lock_guard lock(mutex_);
        served_[sel].reset();
    }
    publishing_->done.set_value(ok);
    publishing_.reset();
}

void SelectionOwner::onRequest(const xcb_selection_request_event_t* req) {
    const Atoms& a = c_->atoms();
    // Obsolete requestors name no property and mean the target's name.
    const xcb_atom_t property = req->property != XCB_ATOM_NONE ? req->property : req->target;
    const Selection sel = req->selection == XCB_ATOM_PRIMARY ? kPrimary : kClipboard;
    Source source;
    {
        std::lock_guard lock(mutex_);
        source = {served_[sel], acquired_[sel]};
    }
    selectionActivity().requested();
    bool ok = false;
    if (source.content && req->selection == atomOf(sel) && req->owner == window_ &&
        (req->time == XCB_CURRENT_TIME || notBefore(req->time, source.acquired))) {
        ok = req->target == a.multiple ? answerMultiple(req->requestor, req->property, source)
                                       : answer(req->requestor, property, source, req->target);
    }
    xcb_selection_notify_event_t n{};
    n.response_type = XCB_SELECTION_NOTIFY;
    n.time = req->time;
    n.requestor = req->requestor;
    n.selection = req->selection;
    n.target = req->target;
    n.property = ok ? property : xcb_atom_t{XCB_ATOM_NONE};
    xcb_send_event(c_->get(), 0, req->requestor, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&n));
}

bool SelectionOwner::answer(xcb_window_t requestor, xcb_atom_t property, const Source& source,
                            xcb_atom_t target) {
    Payload p;
    if (!convert(source, target, p)) return false;
    write(requestor, property, std::move(p));
    return true;
}

bool SelectionOwner::answerMultiple(xcb_window_t requestor, xcb_atom_t property, const Source& source) {
    if (property == XCB_ATOM_NONE) return false;
    xcb_connection_t* x = c_->get();
    XcbPtr<xcb_get_property_reply_t> r(xcb_get_property_reply(
        x, xcb_get_property(x, 0, requestor, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 0x10000), nullptr));
    if (!r || r->format != 32) return false;
    const auto* value = static_cast<const std::uint32_t*>(xcb_get_property_value(r.get()));
    std::vector<std::uint32_t> pairs(value, value + xcb_get_property_value_length(r.get()) / 4);
    // Each pair names a target and where to put it; a refused one becomes None.
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const bool ok = pairs[i + 1] != XCB_ATOM_NONE && pairs[i] != c_->atoms().multiple &&
                        answer(requestor, pairs[i + 1], source, pairs[i]);
        if (!ok) pairs[i] = XCB_ATOM_NONE;
    }
    xcb_change_property(x, XCB_PROP_MODE_REPLACE, requestor, property, c_->atoms().atomPair, 32,
                        static_cast<std::uint32_t>(pairs.size()), pairs.data());
    return true;
}

bool SelectionOwner::convert(const Source& source, xcb_atom_t target, Payload& out) {
    const Atoms& a = c_->atoms();
    const ContentPtr& content = source.content;
    const ClipContent::Block* text = content->text();
    const bool textTarget = target == a.utf8String || target == XCB_ATOM_STRING || target == a.text ||
                            target == a.textPlain || target == a.textPlainUtf8;
    if (target == a.targets) {
        auto list = std::make_shared<std::vector<std::uint32_t>>(
            std::vector<std::uint32_t>{a.targets, a.timestamp, a.multiple, a.saveTargets});
        if (text) list->insert(list->end(), {a.utf8String, XCB_ATOM_STRING, a.text, a.textPlain, a.textPlainUtf8});
        for (const auto& b : content->blocks)
            if (b.id > kLastPredefinedAtom && std::find(list->begin(), list->end(), b.id) == list->end())
                list->push_back(b.id);
        out = {XCB_ATOM_ATOM, 32, list, reinterpret_cast<const std::uint8_t*>(list->data()), list->size() * 4, {},
               false};
    } else if (target == a.timestamp) {
        auto stamp = std::make_shared<std::uint32_t>(source.acquired);
        out = {XCB_ATOM_INTEGER, 32, stamp, reinterpret_cast<const std::uint8_t*>(stamp.get()), 4, {}, false};
    } else if (target == a.saveTargets) {
        out = {a.null, 32, nullptr, nullptr, 0, {}, false};  // nothing to save elsewhere: acknowledged
    } else if (textTarget && text && text->stored) {
        StoredBlock& stored = *text->stored;
        std::call_once(stored.scanned, [&] { stored.facts = scanText(stored.span); });
        const TextFacts& f = stored.facts;
        out = {target == a.text ? a.utf8String : target, 8, nullptr, nullptr, f.size, stored.span, false};
        out.file.size = f.size;
        if (target == XCB_ATOM_STRING && f.utf8) {
            out.size = f.latin1Size;
            out.latin1 = true;
        }
    } else if (textTarget && text) {
        const std::string_view utf8 = textOfBlock(text->bytes);
        if (target == XCB_ATOM_STRING) {
            auto latin1 = std::make_shared<std::string>(utf8ToLatin1(utf8));
            out = {XCB_ATOM_STRING, 8, latin1, reinterpret_cast<const std::uint8_t*>(latin1->data()),
                   latin1->size(), {}, false};
        } else {
            const xcb_atom_t type = target == a.text ? a.utf8String : target;
            out = {type, 8, content, reinterpret_cast<const std::uint8_t*>(utf8.data()), utf8.size(), {}, false};
        }
    } else {
        const ClipContent::Block* b = target > kLastPredefinedAtom ? content->find(target) : nullptr;
        if (!b) return false;
        if (b->stored) out = {target, 8, nullptr, nullptr, b->stored->span.size, b->stored->span, false};
        else out = {target, 8, content, b->bytes.data(), b->bytes.size(), {}, false};
    }
    return true;
}

void SelectionOwner::write(xcb_window_t requestor, xcb_atom_t property, Payload p) {
    xcb_connection_t* x = c_->get();
    if (!p.file.file && (p.format != 8 || p.size <= chunk_)) {
        xcb_change_property(x, XCB_PROP_MODE_REPLACE, requestor, property, p.type, p.format,
                            static_cast<std::uint32_t>(p.size / (p.format / 8)), p.data);
        return;
    }
    // INCR: announce the size, then one chunk each time the requestor
    // deletes the property (ICCCM 2.7.2).
    for (std::size_t i = transfers_.size(); i-- > 0;)
        if (transfers_[i].requestor == requestor && transfers_[i].property == property)
            transfers_.erase(transfers_.begin() + static_cast<long>(i));
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_change_window_attributes(x, requestor, XCB_CW_EVENT_MASK, &mask);
    const auto size = static_cast<std::uint32_t>(std::min<std::uint64_t>(p.size, UINT32_MAX));
    xcb_change_property(x, XCB_PROP_MODE_REPLACE, requestor, property, c_->atoms().incr, 32, 1, &size);
    transfers_.push_back({requestor, property, std::move(p), 0, Clock::now()});
}

std::size_t SelectionOwner::nextChunk(Transfer& t, const std::uint8_t*& out) {
    const Payload& p = t.payload;
    if (!p.file.file) {
        const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk_, p.size - t.offset));
        out = p.data + t.offset;
        t.offset += n;
        return n;
    }
    auto n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk_, p.file.size - t.offset));
    piece_.resize(n);
    if (n == 0 || !p.file.file->readAt(p.file.offset + t.offset, piece_.data(), n)) return 0;
    if (p.latin1) {
        // Whole characters only; the rest of a cut one starts the next chunk.
        const std::size_t cut = t.offset + n < p.file.size ? utf8Cut(piece_.data(), n) : n;
        const std::string latin1 = utf8ToLatin1(std::string_view(reinterpret_cast<const char*>(piece_.data()), cut));
        std::memcpy(piece_.data(), latin1.data(), latin1.size());
        t.offset += cut;
        n = latin1.size();
    } else {
        t.offset += n;
    }
    out = piece_.data();
    return n;
}

void SelectionOwner::onPropertyDeleted(xcb_window_t window, xcb_atom_t property) {
    auto it = std::find_if(transfers_.begin(), transfers_.end(),
                           [&](const Transfer& t) { return t.requestor == window && t.property == property; });
    if (it == transfers_.end()) return;
    Transfer& t = *it;
    t.last = Clock::now();
    const std::uint8_t* data = nullptr;
    const std::size_t n = nextChunk(t, data);
    xcb_change_property(c_->get(), XCB_PROP_MODE_REPLACE, window, property, t.payload.type, 8,
                        static_cast<std::uint32_t>(n), data);
    // The zero-length write after the last chunk ends the transfer.
    if (n == 0) endTransfer(static_cast<std::size_t>(it - transfers_.begin()));
}

void SelectionOwner::endTransfer(std::size_t index) {
    const xcb_window_t requestor = transfers_[index].requestor;
    transfers_.erase(transfers_.begin() + static_cast<long>(index));
    const bool more = std::any_of(transfers_.begin(), transfers_.end(),
                                  [&](const Transfer& t) { return t.requestor == requestor; });
    if (!more) {
        const std::uint32_t none = 0;
        xcb_change_window_attributes(c_->get(), requestor, XCB_CW_EVENT_MASK, &none);
    }
}

void SelectionOwner::expireTransfers() {
    const auto now = Clock::now();
    for (std::size_t i = transfers_.size(); i-- > 0;)
        if (now - transfers_[i].last > kTransferPatience) endTransfer(i);
}

}  // namespace pellion::platform::x11
