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
bool prepare(const std::string& path);

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
// Names of regular files in folder whose name matches the wildcard pattern
// ("*" and "?", ignoring case), sorted.
std::vector<std::string> list(const std::string& folder, const std::string& pattern);
bool matchesWildcard(const std::string& name, const std::string& pattern);

std::string toLower(std::string text);
std::string toUpper(std::string text);

}  // namespace pellion::files
