#include "platform/files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <random>
#include <set>

namespace fs = std::filesystem;

namespace pellion::files {

namespace {

// Writes all of data to fd; false on any short write (a full disk).
bool writeAllFd(int fd, const std::uint8_t* data, std::size_t count) {
    while (count > 0) {
        ssize_t n = ::write(fd, data, count);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string tempNameBeside(const std::string& path) {
    static std::mt19937_64 rng{std::random_device{}()};
    return path + kTempInfix + std::to_string(rng() % 1000000000ULL);
}

// A planted link must never redirect a write: the link is reported and left alone.
bool refuseLink(const std::string& path) {
    if (!isLink(path)) return false;
    reportLink(path);
    return true;
}

// Opens an existing regular file for writing without following a link.
int openForPatch(const std::string& path) {
    int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ELOOP) reportLink(path);
        return -1;
    }
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool isLink(const std::string& path) {
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool isRegularFile(const std::string& path) {
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

void reportLink(const std::string& path) {
    static std::mutex mutex;
    static std::set<std::string> reported;
    std::lock_guard<std::mutex> lock(mutex);
    if (!reported.insert(path).second) return;
    std::fprintf(stderr, "pellion: %s is a symbolic link where a data file belongs; it was left alone\n",
                 path.c_str());
}

bool isTemporaryName(const std::string& name) {
    const std::string lower = toLower(name);
    if (lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".tmp") == 0) return true;
    const auto infix = lower.rfind(kTempInfix);
    if (infix == std::string::npos || infix == 0) return false;
    const std::string digits = lower.substr(infix + std::string(kTempInfix).size());
    return !digits.empty() && std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string toLower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

std::string toUpper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c); });
    return text;
}

std::string resolve(const std::string& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(folder + name, ec)) return folder + name;
    const std::string wanted = toLower(name);
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string entry = it->path().filename().string();
        if (toLower(entry) == wanted) return folder + entry;
    }
    return folder + wanted;
}

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

bool isFolder(const std::string& path) {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

std::int64_t size(const std::string& path) {
    std::error_code ec;
    auto s = fs::file_size(path, ec);
    return ec ? -1 : static_cast<std::int64_t>(s);
}

bool prepare(const std::string& path) {
    // The mode is changed through a handle on the name itself, so a link
    // swapped in after a check still cannot pass the change to its target.
    int fd = ::open(path.c_str(), O_PATH | O_NOFOLLOW | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st{};
        bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        if (S_ISLNK(st.st_mode)) reportLink(path);
        if (regular && (st.st_mode & S_IWUSR) == 0) {
            const std::string self = "/proc/self/fd/" + std::to_string(fd);
            ::chmod(self.c_str(), (st.st_mode & 07777) | S_IWUSR | S_IRUSR);
        }
        ::close(fd);
        return regular;
    }
    fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        if (errno == EEXIST && isLink(path)) reportLink(path);
        return false;
    }
    ::close(fd);
    return true;
}

std::optional<Bytes> readAll(const std::string& path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    Bytes out;
    struct stat st{};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) out.reserve(static_cast<std::size_t>(st.st_size));
    std::uint8_t buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0) break;
        out.insert(out.end(), buf, buf + n);
    }
    ::close(fd);
    return out;
}

std::optional<Bytes> readAt(const std::string& path, std::uint64_t offset, std::size_t count) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    Bytes out(count);
    std::size_t got = 0;
    while (got < count) {
        ssize_t n = ::pread(fd, out.data() + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    out.resize(got);
    return out;
}

bool writeWhole(const std::string& path, const Bytes& bytes) {
    if (refuseLink(path)) return false;
    const std::string temp = tempNameBeside(path);
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    bool ok = writeAllFd(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

bool writeWhole(const std::string& path, const std::string& text) {
    return writeWhole(path, Bytes(text.begin(), text.end()));
}

bool patch(const std::string& path, std::uint64_t offset, const Bytes& bytes) {
    if (!prepare(path)) return false;
    int fd = openForPatch(path);
    if (fd < 0) return false;
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) ok = false;
        else done += static_cast<std::size_t>(n);
    }
    ok = (::close(fd) == 0) && ok;
    return ok;
}

bool remove(const std::string& path) {
    std::error_code ec;
    fs::remove(path, ec);
    return !fs::exists(path, ec);
}

bool copy(const std::string& from, const std::string& to) {
    auto bytes = readAll(from);
    return bytes && writeWhole(to, *bytes);
}

bool rename(const std::string& from, const std::string& to) {
    if (refuseLink(to)) return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool makeFolder(const std::string& path) {
    if (isFolder(path)) return true;
    return ::mkdir(path.c_str(), 0700) == 0 || isFolder(path);
}

bool isWritableFolder(const std::string& path) {
    return isFolder(path) && ::access(path.c_str(), W_OK | X_OK) == 0;
}

bool matchesWildcard(const std::string& name, const std::string& pattern) {
    // Iterative match with one backtrack point for the last "*".
    const std::string n = toLower(name), p = toLower(pattern);
    std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (i < n.size()) {
        if (j < p.size() && (p[j] == '?' || p[j] == n[i])) {
            ++i;
            ++j;
        } else if (j < p.size() && p[j] == '*') {
            star = j++;
            mark = i;
        } else if (star != std::string::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < p.size() && p[j] == '*') ++j;
    return j == p.size();
}

std::vector<std::string> list(const std::string& folder, const std::string& pattern) {
    std::vector<std::string> out;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec) || it->is_symlink(ec)) continue;
        std::string entry = it->path().filename().string();
        if (matchesWildcard(entry, pattern)) out.push_back(std::move(entry));
    }
    std::sort(out.begin(), out.end());
    return out;
}

}  // namespace pellion::files

namespace pellion::files {

std::string programFile() {
    std::error_code ec;
    auto p = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : p.string();
}

WholeFileWriter::WholeFileWriter(const std::string& path) : path_(path), temp_(tempNameBeside(path)) {
    if (refuseLink(path)) return;
    fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

WholeFileWriter::~WholeFileWriter() {
    if (fd_ >= 0) {
        ::close(fd_);
        ::unlink(temp_.c_str());
    }
}

bool WholeFileWriter::append(const void* data, std::size_t count) {
    if (!ok()) return false;
    if (!writeAllFd(fd_, static_cast<const std::uint8_t*>(data), count)) failed_ = true;
    else written_ += count;
    // A large file goes to the disk while the rest of it is still arriving,
    // so that commit's fsync waits for little more than the last piece.
    if (!failed_ && written_ >= startedTo_ + kWriteBehind) {
        ::sync_file_range(fd_, static_cast<off_t>(startedTo_), static_cast<off_t>(written_ - startedTo_),
                          SYNC_FILE_RANGE_WRITE);
        startedTo_ = written_;
    }
    return !failed_;
}

bool WholeFileWriter::patch(std::uint64_t offset, const void* data, std::size_t count) {
    if (!ok() || offset + count > written_) return false;
    auto p = static_cast<const std::uint8_t*>(data);
    std::size_t done = 0;
    while (done < count) {
        ssize_t n = ::pwrite(fd_, p + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            failed_ = true;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool WholeFileWriter::truncate(std::uint64_t size) {
    if (!ok() || size > written_) return false;
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0 || ::lseek(fd_, static_cast<off_t>(size), SEEK_SET) < 0) {
        failed_ = true;
        return false;
    }
    written_ = size;
    startedTo_ = std::min(startedTo_, size);
    return true;
}

bool WholeFileWriter::commit() {
    if (fd_ < 0) return false;
    bool good = !failed_ && ::fsync(fd_) == 0;
    good = (::close(fd_) == 0) && good;
    fd_ = -1;
    if (good) good = ::rename(temp_.c_str(), path_.c_str()) == 0;
    if (!good) ::unlink(temp_.c_str());
    return good;
}

Reader::Reader(const std::string& path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st{};
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && st.st_size > 0) size_ = static_cast<std::uint64_t>(st.st_size);
}

Reader::~Reader() {
    if (fd_ >= 0) ::close(fd_);
}

bool Reader::readAt(std::uint64_t offset, void* out, std::size_t count) {
    if (fd_ < 0) return false;
    auto p = static_cast<std::uint8_t*>(out);
    std::size_t got = 0;
    while (got < count) {
        ssize_t n = ::pread(fd_, p + got, count - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

FileLock::~FileLock() { release(); }

FileLock::Result FileLock::acquire(const std::string& path) {
    release();
    // Opening an existing file for writing changes nothing on disk. A link
    // is never opened (its target would be truncated by setContent), nor a
    // pipe or device (the open or the lock could block).
    constexpr int kSafe = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = ::open(path.c_str(), O_RDWR | kSafe);
    if (fd < 0 && errno == ENOENT) fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kSafe, 0600);
    if (fd < 0 && errno != ELOOP) fd = ::open(path.c_str(), O_RDONLY | kSafe);
    if (fd < 0) {
        if (isLink(path)) reportLink(path);
        return Result::Failed;
    }
    struct stat st{};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Result::Failed;
    }
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::Busy : Result::Failed;
    }
    fd_ = fd;
    return Result::Taken;
}

bool FileLock::setContent(const std::string& text) {
    if (fd_ < 0 || ::ftruncate(fd_, 0) != 0) return false;
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::pwrite(fd_, text.data() + done, text.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void FileLock::release() {
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock
    fd_ = -1;
}

}  // namespace pellion::files

namespace pellion::files {

std::optional<FileId> fileId(const std::string& path) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) != 0) return std::nullopt;
    return FileId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
}

std::int64_t freeBytes(const std::string& folder) {
    struct statvfs vfs{};
    if (::statvfs(folder.empty() ? "." : folder.c_str(), &vfs) != 0) return -1;
    return static_cast<std::int64_t>(vfs.f_bavail) * static_cast<std::int64_t>(vfs.f_frsize);
}

}  // namespace pellion::files
