#include "store/list_journal.h"

#include <cstdio>
#include <set>
#include <utility>

namespace pellion {

namespace {

using files::Bytes;
using Step = ListChange::Step;

constexpr const char* kMagic = "pellion list journal 1\n";
constexpr const char* kStagedPattern = "pellion.journal.*";

std::function<void()>& StepHook() {
    static std::function<void()> hook;
    return hook;
}

void putU32(Bytes& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void putU64(Bytes& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(std::uint8_t(v >> (8 * i)));
}
void putText(Bytes& out, const std::string& text) {
    putU32(out, std::uint32_t(text.size()));
    out.insert(out.end(), text.begin(), text.end());
}

Bytes Encode(const std::vector<Step>& steps) {
    const std::string magic = kMagic;
    Bytes out(magic.begin(), magic.end());
    putU32(out, std::uint32_t(steps.size()));
    for (const Step& s : steps) {
        out.push_back(s.id ? 1 : 0);
        putU64(out, s.id ? s.id->device : 0);
        putU64(out, s.id ? s.id->inode : 0);
        putText(out, s.from);
        putText(out, s.to);
    }
    return out;
}

class Decoder {
public:
    explicit Decoder(const Bytes& b) : b_(b) {}
    bool u64(std::uint64_t& v, int width = 8) {
        if (b_.size() - at_ < std::size_t(width)) return false;
        v = 0;
        for (int i = 0; i < width; ++i) v |= std::uint64_t(b_[at_ + i]) << (8 * i);
        at_ += width;
        return true;
    }
    bool text(std::string& t) {
        std::uint64_t n = 0;
        if (!u64(n, 4) || b_.size() - at_ < n) return false;
        t.assign(b_.begin() + at_, b_.begin() + at_ + n);
        at_ += n;
        return true;
    }
    bool skip(const std::string& magic) {
        if (b_.size() < magic.size() || !std::equal(magic.begin(), magic.end(), b_.begin())) return false;
        at_ = magic.size();
        return true;
    }
    bool done() const { return at_ == b_.size(); }

private:
    const Bytes& b_;
    std::size_t at_ = 0;
};

// A name inside the data folder: no way out of it.
bool Inside(const std::string& rel) {
    if (rel.empty() || rel.front() == '/') return false;
    std::size_t start = 0;
    while (start <= rel.size()) {
        const std::size_t end = std::min(rel.find('/', start), rel.size());
        const std::string part = rel.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

std::optional<std::vector<Step>> Decode(const Bytes& bytes) {
    Decoder d(bytes);
    std::uint64_t count = 0;
    if (!d.skip(kMagic) || !d.u64(count, 4)) return std::nullopt;
    std::vector<Step> steps;
    for (std::uint64_t i = 0; i < count; ++i) {
        Step s;
        std::uint64_t has = 0, device = 0, inode = 0;
        if (!d.u64(has, 1) || !d.u64(device) || !d.u64(inode) || !d.text(s.from) || !d.text(s.to)) return std::nullopt;
        if (!Inside(s.to) || (!s.from.empty() && !Inside(s.from))) return std::nullopt;
        if (has) s.id = files::FileId{device, inode};
        steps.push_back(std::move(s));
    }
    if (!d.done()) return std::nullopt;
    return steps;
}

// Carries the steps out; a step already done is recognised by the file at
// its target, so running them again after a crash finishes the change.
bool Execute(const std::string& folder, const std::vector<Step>& steps) {
    std::set<std::pair<std::uint64_t, std::uint64_t>> wanted;
    for (const Step& s : steps)
        if (s.id) wanted.insert({s.id->device, s.id->inode});
    for (const Step& s : steps) {
        const std::string to = folder + s.to;
        const auto there = files::fileId(to);
        if (s.id && there == s.id) continue;
        if (s.id && files::fileId(folder + s.from) == s.id) {
            ListStep();
            if (!files::rename(folder + s.from, to)) return false;
            continue;
        }
        if (s.id) std::fprintf(stderr, "pellion: %s went missing; %s is left empty\n", s.from.c_str(), s.to.c_str());
        // Nothing is to stand under this name; what stands there belongs to no title.
        if (there && !wanted.count({there->device, there->inode})) {
            ListStep();
            if (!files::remove(to)) return false;
        }
    }
    return true;
}

void RemoveStaged(const std::string& folder) {
    for (const std::string& name : files::list(folder, kStagedPattern)) files::remove(folder + name);
}

}  // namespace

void SetListStepHook(std::function<void()> hook) { StepHook() = std::move(hook); }

void ListStep() {
    if (StepHook()) StepHook()();
}

ListChange::ListChange(std::string dataFolder) : folder_(std::move(dataFolder)) {
    // A change left half done goes first: this one builds on its result.
    if (files::exists(folder_ + kListJournalName)) failed_ = !ReplayListJournal(folder_);
}

ListChange::~ListChange() {
    if (!journalWritten_) dropStaged();
}

bool ListChange::relative(const std::string& path, std::string& out) {
    if (path.size() <= folder_.size() || path.compare(0, folder_.size(), folder_) != 0) return false;
    out = path.substr(folder_.size());
    return Inside(out);
}

std::string ListChange::nextStaged() {
    std::string name;
    do name = std::string(kListJournalName) + "." + std::to_string(nextStage_++);
    while (files::exists(folder_ + name));
    return name;
}

void ListChange::dropStaged() {
    for (const auto& [temp, staged] : adopted_)
        if (files::exists(folder_ + staged)) files::rename(folder_ + staged, temp);
    for (const std::string& staged : staged_) files::remove(folder_ + staged);
    adopted_.clear();
    staged_.clear();
}

void ListChange::move(const std::string& from, const std::string& to) {
    Step s;
    if (!relative(from, s.from) || !relative(to, s.to)) {
        failed_ = true;
        return;
    }
    s.id = files::fileId(from);
    if (!s.id) s.from.clear();
    steps_.push_back(std::move(s));
}

void ListChange::adopt(const std::string& temp, const std::string& to) {
    Step s;
    s.id = files::fileId(temp);
    if (!s.id || !relative(to, s.to)) {
        failed_ = true;
        return;
    }
    s.from = nextStaged();
    adopted_.push_back({temp, s.from});
    steps_.push_back(std::move(s));
}

bool ListChange::write(const std::string& path, const Bytes& bytes) {
    Step s;
    if (failed_ || !relative(path, s.to)) return !(failed_ = true);
    s.from = nextStaged();
    ListStep();
    if (!files::writeWhole(folder_ + s.from, bytes)) return !(failed_ = true);
    staged_.push_back(s.from);
    s.id = files::fileId(folder_ + s.from);
    steps_.push_back(std::move(s));
    return true;
}

bool ListChange::commit() {
    const std::string journal = folder_ + kListJournalName;
    if (failed_) {
        dropStaged();
        return false;
    }
    for (const auto& [temp, staged] : adopted_) {
        ListStep();
        if (!files::rename(temp, folder_ + staged)) {
            dropStaged();
            return false;
        }
    }
    ListStep();
    if (!files::writeWhole(journal, Encode(steps_))) {
        dropStaged();
        return false;
    }
    journalWritten_ = true;
    // From here on the change stands: what a failed rename stops here, the
    // next change or the next start finishes from the journal.
    if (!Execute(folder_, steps_)) {
        std::fprintf(stderr, "pellion: a list change is left for the next start to finish\n");
        return true;
    }
    ListStep();
    files::remove(journal);
    return true;
}

bool ReplayListJournal(const std::string& dataFolder) {
    const std::string journal = files::resolve(dataFolder, kListJournalName);
    if (files::exists(journal)) {
        const auto bytes = files::readAll(journal);
        if (!bytes) return false;
        const auto steps = Decode(*bytes);
        if (!steps) {
            std::fprintf(stderr, "pellion: %s is damaged and was removed\n", journal.c_str());
        } else if (!Execute(dataFolder, *steps)) {
            std::fprintf(stderr, "pellion: the change recorded in %s could not be finished\n", journal.c_str());
            return false;
        }
        ListStep();
        files::remove(journal);
    }
    RemoveStaged(dataFolder);
    return true;
}

}  // namespace pellion
