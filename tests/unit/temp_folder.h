#pragma once
// A fresh folder under the system's temporary folder, removed afterwards.
#include <cstdlib>
#include <filesystem>
#include <string>

namespace pellion::test {

class TempFolder {
public:
    // Under parent when given (a memory file system makes many runs quick).
    explicit TempFolder(const std::filesystem::path& parent = std::filesystem::temp_directory_path()) {
        std::string pattern = (parent / "pellion-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? pattern + "/" : std::string();
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // Ends with "/".
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace pellion::test
