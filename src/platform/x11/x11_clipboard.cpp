#include "platform/x11/x11_clipboard.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/x11/clip_content.h"
#include "platform/x11/selection_owner.h"
#include "platform/x11/selection_reader.h"
#include "platform/x11/selection_rules.h"

namespace pellion::platform::x11 {

namespace {

// Another owner's content that we marked as seen, shared by every handle.
struct Marks {
    std::mutex mutex;
    std::optional<OwnerState> marked;
    bool is(const OwnerState& s) {
        std::lock_guard lock(mutex);
        return marked == s;
    }
    void set(const OwnerState& s) {
        std::lock_guard lock(mutex);
        marked = s;
    }
};

// Tells of each change of the CLIPBOARD's owner from a thread of its own.
class OwnerWatch {
public:
    OwnerWatch(std::unique_ptr<SelectionReader> reader, std::function<void()> changed)
        : reader_(std::move(reader)), changed_(std::move(changed)) {
        if (::pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
        thread_ = std::thread([this] {
            while (!stop_ && !reader_->connection().broken())
                if (reader_->waitOwnerChange(wake_[0]) && !stop_) changed_();
        });
    }
    ~OwnerWatch() {
        stop_ = true;
        if (wake_[1] >= 0) (void)!::write(wake_[1], "x", 1);
        thread_.join();
        for (int fd : wake_)
            if (fd >= 0) ::close(fd);
    }

private:
    std::unique_ptr<SelectionReader> reader_;
    std::function<void()> changed_;
    int wake_[2] = {-1, -1};
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace

struct X11Clipboard::Impl {
    std::mutex mutex;
    std::unique_ptr<SelectionReader> reader;
    std::shared_ptr<SelectionOwner> owner;
    std::shared_ptr<Marks> marks;
    xcb_atom_t marker = XCB_ATOM_NONE;
    ReaderTimes times;
    // Made with this handle, so that their view of owner times starts with ours.
    std::unique_ptr<SelectionReader> spareReader, watchReader;
    std::unique_ptr<OwnerWatch> watch;

    bool isOpen = false;
    OwnerState session;                     // the owner when opened
    ContentPtr own;                         // what we served when opened, if we owned
    std::shared_ptr<ClipContent> pending;   // content built since open()
    bool emptied = false;                   // pending replaces ours, else it extends it
    // The selection time of an owner that left, when what we publish stands
    // in for it: the server then refuses us if anyone has copied since.
    xcb_timestamp_t yieldAfter = XCB_CURRENT_TIME;

    // Another owner's offer, asked once per ownership.
    std::optional<OwnerState> listedFor;
    std::vector<xcb_atom_t> targets;        // text and named targets, in its order
    std::vector<ClipFormat> offered;

    struct View {
        OwnerState state;
        ContentPtr local;  // set when the answer is ours to give
    };

    SelectionConnection& conn() { return reader->connection(); }
    bool ours(const OwnerState& s) const { return s.window != 0 && s.window == owner->window(); }

    View view() {
        View v;
        if (isOpen) {
            v.state = session;
            if (pending) v.local = pending;
            else if (ours(session)) v.local = own ? own : std::make_shared<ClipContent>();
            return v;
        }
        v.state = reader->owner();
        if (ours(v.state)) {
            v.local = owner->served();
            if (!v.local) v.local = std::make_shared<ClipContent>();
        }
        return v;
    }

    std::vector<ClipFormat> formatsOf(const ClipContent& c) {
        std::vector<ClipFormat> out;
        for (const auto& b : c.blocks)
            out.push_back({b.id, b.id == kTextFormat || b.id == kOemTextFormat ? std::string() : conn().atomName(b.id)});
        return out;
    }

    void list(const OwnerState& state) {
        if (listedFor == state) return;
        listedFor = state;
        targets.clear();
        offered.clear();
        std::vector<xcb_atom_t> all;
        const ReadResult r = reader->targets(state, all);
        if (r == ReadResult::Refused) {
            // An owner without TARGETS (older than ICCCM 2) can still give text.
            all = {conn().atoms().utf8String, XCB_ATOM_STRING};
        }
        conn().loadNames(all);
        bool text = false;
        for (xcb_atom_t atom : all) {
            if (std::find(targets.begin(), targets.end(), atom) != targets.end()) continue;
            const std::string name = conn().atomName(atom);
            switch (classifyTarget(name, atom)) {
            case TargetKind::Text:
                if (!text) offered.push_back({kTextFormat, {}});
                text = true;
                targets.push_back(atom);
                break;
            case TargetKind::Named:
                offered.push_back({atom, name});
                targets.push_back(atom);
                break;
            default:
                break;
            }
        }
    }

    // Adds a block to what close() publishes; false when it cannot be ours.
    bool put(ClipContent::Block block);

    bool offers(xcb_atom_t atom) const { return std::find(targets.begin(), targets.end(), atom) != targets.end(); }

    TextEncoding encodingOf(const std::string& target, xcb_atom_t type) {
        const Atoms& a = conn().atoms();
        if (type == a.utf8String) return TextEncoding::Utf8;
        if (type == XCB_ATOM_STRING) return TextEncoding::Latin1;
        if (type == a.compoundText) return TextEncoding::Compound;
        if (target == "STRING") return TextEncoding::Latin1;
        if (target == "COMPOUND_TEXT") return TextEncoding::Compound;
        // text/plain and TEXT under some other type: UTF-8 when it reads as UTF-8.
        return TextEncoding::Guess;
    }

    // Format 1 handed to sink as it arrives, from the first text target
    // that gives text: its size, or nullopt. An attempt that ends after sink
    // took something tells sink to drop it (a null piece) before the next.
    std::optional<std::uint64_t> readText(const OwnerState& state, const ChunkSink& sink) {
        std::vector<std::pair<int, xcb_atom_t>> ranked;
        for (xcb_atom_t atom : targets) {
            const int rank = textRank(conn().atomName(atom));
            if (rank >= 0) ranked.emplace_back(rank, atom);
        }
        std::sort(ranked.begin(), ranked.end());
        for (const auto& [rank, atom] : ranked) {
            const std::string name = conn().atomName(atom);
            bool latin1 = false;  // a guess proved wrong: read again as Latin-1
            for (;;) {
                std::uint64_t size = 0;
                const TextFold::Out out = [&](const std::uint8_t* data, std::size_t n) {
                    size += n;
                    return sink(data, n);
                };
                std::optional<TextFold> fold;
                TextFold::Result why = TextFold::Result::Ok;
                xcb_atom_t type = XCB_ATOM_NONE;
                // The reply's type is known at its first piece: anything but
                // text ends the read there.
                const auto start = [&] {
                    if (!isTextReply(conn().atomName(type), reader->lastFormat())) return false;
                    fold.emplace(latin1 ? TextEncoding::Latin1 : encodingOf(name, type));
                    return true;
                };
                const ReadResult r = reader->convert(
                    state, atom,
                    [&](const std::uint8_t* data, std::size_t n) {
                        if (!fold && !start()) return false;
                        why = fold->piece(data, n, out);
                        return why == TextFold::Result::Ok;
                    },
                    type);
                if (r == ReadResult::Ok && (fold || start())) {
                    why = fold->finish(out);
                    if (why == TextFold::Result::Ok) return size;
                }
                if (why == TextFold::Result::Refused) return std::nullopt;
                if (size > 0) sink(nullptr, 0);
                if (why == TextFold::Result::NotUtf8 && !latin1) {
                    latin1 = true;
                    continue;
                }
                // The owner is gone or not answering: no other target will do better.
                if (r != ReadResult::Ok && r != ReadResult::Refused && r != ReadResult::BadSequence) return std::nullopt;
                break;
            }
        }
        return std::nullopt;
    }
};

X11Clipboard::X11Clipboard(std::unique_ptr<Impl> impl) : d_(std::move(impl)) {}
X11Clipboard::~X11Clipboard() {
    // The watch calls back until it is stopped; stop it before the rest goes.
    d_->watch.reset();
}

std::unique_ptr<X11Clipboard> X11Clipboard::create(Options options) {
    auto readConn = SelectionConnection::open();
    auto ownConn = SelectionConnection::open();
    auto spareConn = SelectionConnection::open();
    auto watchConn = SelectionConnection::open();
    if (!readConn || !ownConn || !spareConn || !watchConn) return nullptr;
    auto d = std::make_unique<Impl>();
    d->marker = readConn->atoms().marker;
    d->times.deadline = options.deadline;
    d->times.budget = options.budget;
    d->times.whole = options.whole;
    d->reader = std::make_unique<SelectionReader>(std::move(readConn), d->times);
    d->spareReader = std::make_unique<SelectionReader>(std::move(spareConn), d->times);
    d->watchReader = std::make_unique<SelectionReader>(std::move(watchConn), d->times);
    d->owner = std::make_shared<SelectionOwner>(std::move(ownConn));
    d->marks = std::make_shared<Marks>();
    return std::unique_ptr<X11Clipboard>(new X11Clipboard(std::move(d)));
}

std::unique_ptr<Clipboard> X11Clipboard::readingHandle() {
    std::lock_guard lock(d_->mutex);
    if (!d_->spareReader) return nullptr;  // one per clipboard
    auto d = std::make_unique<Impl>();
    d->marker = d_->marker;
    d->times = d_->times;
    d->reader = std::move(d_->spareReader);
    d->owner = d_->owner;
    d->marks = d_->marks;
    return std::unique_ptr<X11Clipboard>(new X11Clipboard(std::move(d)));
}

bool X11Clipboard::watchOwner(std::function<void()> changed) {
    std::lock_guard lock(d_->mutex);
    if (!d_->watchReader || !changed) return false;
    d_->watch = std::make_unique<OwnerWatch>(std::move(d_->watchReader), std::move(changed));
    return true;
}

bool X11Clipboard::open() {
    std::lock_guard lock(d_->mutex);
    if (d_->isOpen) return false;
    if (d_->conn().broken()) {
        d_->yieldAfter = XCB_CURRENT_TIME;
        return false;
    }
    d_->session = d_->reader->owner();
    d_->own = d_->ours(d_->session) ? d_->owner->served() : nullptr;
    d_->pending.reset();
    d_->emptied = false;
    d_->isOpen = true;
    return true;
}

void X11Clipboard::close() {
    std::lock_guard lock(d_->mutex);
    const xcb_timestamp_t yieldAfter = std::exchange(d_->yieldAfter, XCB_CURRENT_TIME);
    if (!d_->isOpen) return;
    d_->isOpen = false;
    if (d_->pending) {
        if (d_->emptied) d_->owner->publish(d_->pending, yieldAfter);
        else d_->owner->replace(d_->pending);
    }
    d_->pending.reset();
    d_->own.reset();
    d_->emptied = false;
}

std::vector<ClipFormat> X11Clipboard::formats() {
    std::lock_guard lock(d_->mutex);
    const Impl::View v = d_->view();
    if (v.local) return d_->formatsOf(*v.local);
    if (!v.state.window) return {};
    d_->list(v.state);
    return d_->offered;
}

std::optional<Bytes> X11Clipboard::data(std::uint32_t id) {
    std::lock_guard lock(d_->mutex);
    const Impl::View v = d_->view();
    if (v.local) {
        const ClipContent::Block* b = id == kTextFormat ? v.local->text() : v.local->find(id);
        return b ? b->read() : std::nullopt;
    }
    if (!v.state.window) return std::nullopt;
    d_->list(v.state);
    if (id == kTextFormat) {
        Bytes text;
        const auto got = d_->readText(v.state, [&text](const std::uint8_t* data, std::size_t n) {
            if (!data) text.clear();
            else text.insert(text.end(), data, data + n);
            return true;
        });
        return got ? std::optional<Bytes>(std::move(text)) : std::nullopt;
    }
    if (!d_->offers(id) || textRank(d_->conn().atomName(id)) >= 0) return std::nullopt;
    Bytes bytes;
    xcb_atom_t type = XCB_ATOM_NONE;
    if (d_->reader->convert(v.state, id, bytes, type) != ReadResult::Ok) return std::nullopt;
    return bytes;
}

std::optional<std::uint64_t> X11Clipboard::readData(std::uint32_t id, const ChunkSink& sink) {
    std::unique_lock lock(d_->mutex);
    const Impl::View v = d_->view();
    const bool foreign = !v.local && v.state.window;
    if (foreign) d_->list(v.state);
    if (!foreign) {
        // Our own blocks are handed over as data() reads them.
        lock.unlock();
        return Clipboard::readData(id, sink);
    }
    if (id == kTextFormat) return d_->readText(v.state, sink);
    if (!d_->offers(id) || textRank(d_->conn().atomName(id)) >= 0) return std::nullopt;
    std::uint64_t size = 0;
    xcb_atom_t type = XCB_ATOM_NONE;
    const ReadResult r = d_->reader->convert(
        v.state, id,
        [&](const std::uint8_t* data, std::size_t n) {
            size += n;
            return sink(data, n);
        },
        type);
    if (r != ReadResult::Ok) return std::nullopt;
    return size;
}

void X11Clipboard::empty() {
    std::lock_guard lock(d_->mutex);
    if (!d_->isOpen) return;
    d_->pending = std::make_shared<ClipContent>();
    d_->emptied = true;
}

bool X11Clipboard::setData(std::uint32_t id, Bytes bytes) {
    std::lock_guard lock(d_->mutex);
    return d_->put({id, std::move(bytes), nullptr});
}

bool X11Clipboard::setDataFrom(std::uint32_t id, const FileSpan& span) {
    if (span.size <= kHeldInMemory) return Clipboard::setDataFrom(id, span);
    if (!span.file) return false;
    std::lock_guard lock(d_->mutex);
    auto stored = std::make_shared<StoredBlock>();
    stored->span = span;
    return d_->put({id, {}, std::move(stored)});
}

bool X11Clipboard::Impl::put(ClipContent::Block block) {
    const std::uint32_t id = block.id;
    if (!isOpen || !isServableId(id)) return false;
    if (id > kLastPredefinedAtom && conn().atomName(id).empty()) return false;
    if (pending) {
        pending->set(std::move(block));
        return true;
    }
    if (ours(session)) {
        pending = std::make_shared<ClipContent>(own ? *own : ClipContent{});
        pending->set(std::move(block));
        return true;
    }
    if (!session.window) {
        if (id == marker) return true;  // nothing there to mark: an empty CLIPBOARD counts as seen
        pending = std::make_shared<ClipContent>();
        emptied = true;
        pending->set(std::move(block));
        return true;
    }
    if (id != marker) return false;  // another program's content cannot be extended
    // A copy made after the owner we stand in for left is new: not seen.
    if (yieldAfter != XCB_CURRENT_TIME) return false;
    marks->set(session);
    return true;
}

std::uint32_t X11Clipboard::registerFormat(const std::string& name) {
    std::lock_guard lock(d_->mutex);
    return d_->conn().intern(name);
}

bool X11Clipboard::isFormatAvailable(std::uint32_t id) {
    std::lock_guard lock(d_->mutex);
    const Impl::View v = d_->view();
    if (v.local) return id == kTextFormat ? v.local->text() != nullptr : v.local->find(id) != nullptr;
    if (!v.state.window) return id == d_->marker;
    if (id == d_->marker && d_->marks->is(v.state)) return true;
    d_->list(v.state);
    if (id == kTextFormat)
        return std::any_of(d_->offered.begin(), d_->offered.end(), [](const ClipFormat& f) { return f.id == kTextFormat; });
    return d_->offers(id) && textRank(d_->conn().atomName(id)) < 0;
}

void X11Clipboard::setText(const std::string& text) {
    std::lock_guard lock(d_->mutex);
    auto content = std::make_shared<ClipContent>();
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    content->set(kTextFormat, std::move(bytes));
    d_->owner->publish(content, d_->yieldAfter);
    if (d_->isOpen) {
        d_->session = d_->reader->owner();
        d_->own = d_->ours(d_->session) ? d_->owner->served() : nullptr;
        d_->pending.reset();
        d_->emptied = false;
    }
}

void X11Clipboard::yieldToCopiesSince(const OwnerStamp& gone) {
    std::lock_guard lock(d_->mutex);
    d_->yieldAfter = gone.time;  // 0, unknown, claims as any restore does
}

std::optional<OwnerStamp> X11Clipboard::owner() {
    std::lock_guard lock(d_->mutex);
    const OwnerState s = d_->isOpen ? d_->session : d_->reader->owner();
    if (!s.window) return std::nullopt;
    return OwnerStamp{s.window, s.timestamp};
}

bool X11Clipboard::offerToPasteKey() {
    std::lock_guard lock(d_->mutex);
    if (d_->isOpen) return false;
    const ContentPtr content = d_->owner->served();
    if (!content) return false;
    return d_->owner->publishPrimary(content);
}

X11Clipboard::Stats X11Clipboard::stats() const {
    std::lock_guard lock(d_->mutex);
    const auto& s = d_->reader->stats();
    return {s.conversions, s.incrTransfers, s.timeouts};
}

}  // namespace pellion::platform::x11
