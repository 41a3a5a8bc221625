#pragma once
// Files and folders of the data folder. Names are matched without regard to
// letter case; new names are created in lower case. Whole-file writes go to a
// temporary file beside the target and replace it by rename, so a crash or a
// full disk never leaves half a file. New files are 0600, new folders 0700.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pellion::files {

using Bytes = std::vector<std::uint8_t>;

// folder ends with "/". The existing entry whose name matches ignoring case,
// else folder + the name in lower case.
std::string resolve(const std::string& folder, const std::string& name);

bool exists(const std::string& path);
bool isFolder(const std::string& path);
std::int64_t size(const std::string& path);  // -1 when missing

// Makes an existing file writable by its owner; creates it empty when missing.
// False for anything but a regular file (a link is reported, never followed).
bool prepare(const std::string& path);

// No write goes through a symbolic link: writeWhole, patch, prepare, rename
// (onto a link), WholeFileWriter and FileLock refuse a link at the name, report
// it once on standard error and leave it as it is.
bool isLink(const std::string& path);
bool isRegularFile(const std::string& path);  // not through a link
void reportLink(const std::string& path);

// Names of our own temporary files: "*.tmp" and the "<name>.partNNN" files
// that whole-file writes build beside their target. Any left at start-up
// belong to a run that crashed.
inline constexpr const char* kTempInfix = ".part";
bool isTemporaryName(const std::string& name);

std::optional<Bytes> readAll(const std::string& path);
// Up to count bytes from offset; shorter at the end of the file.
std::optional<Bytes> readAt(const std::string& path, std::uint64_t offset, std::size_t count);

bool writeWhole(const std::string& path, const Bytes& bytes);
bool writeWhole(const std::string& path, const std::string& text);
// Writes only these bytes in place, growing the file (with zeros) if needed.
bool patch(const std::string& path, std::uint64_t offset, const Bytes& bytes);

// True when the file is gone afterwards, also when it never existed.
bool remove(const std::string& path);
bool copy(const std::string& from, const std::string& to);
bool rename(const std::string& from, const std::string& to);

bool makeFolder(const std::string& path);
bool isWritableFolder(const std::string& path);
// Names of regular files in folder (links left out) whose name matches the
// wildcard pattern ("*" and "?", ignoring case), sorted.
std::vector<std::string> list(const std::string& folder, const std::string& pattern);
bool matchesWildcard(const std::string& name, const std::string& pattern);

std::string toLower(std::string text);
std::string toUpper(std::string text);

// The running program's own file, absolute; empty when unknown.
std::string programFile();

// Builds a new file piece by piece in a temporary file beside path; commit()
// puts it in place by rename, so readers never see half of it. Dropped
// without commit, the temporary file goes and the old file stays.
class WholeFileWriter {
public:
    explicit WholeFileWriter(const std::string& path);
    ~WholeFileWriter();
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    bool ok() const { return fd_ >= 0 && !failed_; }
    bool append(const void* data, std::size_t count);
    bool append(const Bytes& bytes) { return append(bytes.data(), bytes.size()); }
    // Overwrites bytes already appended (a count known only at the end).
    bool patch(std::uint64_t offset, const void* data, std::size_t count);
    // Drops what was appended beyond size (a piece that came to nothing).
    bool truncate(std::uint64_t size);
    std::uint64_t size() const { return written_; }
    bool commit();

private:
    static constexpr std::uint64_t kWriteBehind = 1u << 20;
    std::string path_, temp_;
    int fd_ = -1;
    bool failed_ = false;
    std::uint64_t written_ = 0;
    std::uint64_t startedTo_ = 0;  // written out to the disk up to here, without waiting
};

// One file opened once for reads at given positions.
class Reader {
public:
    explicit Reader(const std::string& path);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    bool ok() const { return fd_ >= 0; }
    std::uint64_t size() const { return size_; }  // at opening
    // Exactly count bytes at offset into out; false when fewer are there.
    bool readAt(std::uint64_t offset, void* out, std::size_t count);

private:
    int fd_ = -1;
    std::uint64_t size_ = 0;
};

// An exclusive advisory lock (flock) on a file, held until destroyed or the
// process ends. Taking it changes neither the file's bytes nor its times.
class FileLock {
public:
    enum class Result { Taken, Busy, Failed };
    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Creates the file (0600) only when it is missing.
    Result acquire(const std::string& path);
    bool held() const { return fd_ >= 0; }
    // Replaces the content in place: the locked file is never swapped by rename.
    bool setContent(const std::string& text);
    void release();

private:
    int fd_ = -1;
};

// Which file a name stands for (device and inode, the link itself when it is
// one). A rename keeps it, so a half-done series of renames can be told apart
// from one not yet begun.
struct FileId {
    std::uint64_t device = 0, inode = 0;
    bool operator==(const FileId&) const = default;
};
std::optional<FileId> fileId(const std::string& path);

// Bytes the user may still write in the folder's file system; -1 unknown.
std::int64_t freeBytes(const std::string& folder);

}  // namespace pellion::files
