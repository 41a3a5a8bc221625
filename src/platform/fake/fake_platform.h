#pragma once
// In-memory platform for unit tests: a clipboard holding formats, a recorder
// of typed keys, scriptable windows, hooks a test can fire, a shell that
// records what it was asked to start.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace pellion::platform::fake {

class FakeClipboard : public Clipboard {
public:
    struct Entry {
        std::uint32_t id;
        Bytes bytes;
        bool operator==(const Entry&) const = default;
    };

    bool open() override;
    void close() override;
    std::vector<ClipFormat> formats() override;
    std::optional<Bytes> data(std::uint32_t id) override;
    void empty() override;
    bool setData(std::uint32_t id, Bytes bytes) override;
    std::uint32_t registerFormat(const std::string& name) override;
    bool isFormatAvailable(std::uint32_t id) override;
    void setText(const std::string& text) override;
    std::optional<OwnerStamp> owner() override { return ownerStamp; }
    bool offerToPasteKey() override;

    // What another program does: replaces the whole content.
    void copyFromOtherProgram(const std::vector<std::pair<std::string, Bytes>>& namedFormats);
    void copyTextFromOtherProgram(const std::string& text);  // stored with its NUL
    std::string nameOf(std::uint32_t id) const;
    std::optional<Bytes> bytesOf(const std::string& name) const;  // "" for text
    // The copying program exits without handing its content over: no owner.
    void ownerExits();

    // A copy from outside is owned by otherWindow; empty() and setText()
    // make this program (ownWindow) the owner. Each copy gets a new time.
    std::optional<OwnerStamp> ownerStamp;
    std::uint64_t otherWindow = 0x600001;
    std::uint64_t ownWindow = 0x400001;

    std::vector<Entry> content;
    std::vector<std::vector<Entry>> pasteOffers;  // the content at each offerToPasteKey()
    bool failOpen = false;      // the next open() calls fail
    bool isOpen = false;
    int opens = 0;
    int changes = 0;            // bumped by every content change from outside

private:
    std::map<std::string, std::uint32_t> registered_;
    std::uint32_t nextId_ = 0xC000;
    std::uint32_t clock_ = 0;
};

class FakeWindows : public Windows {
public:
    struct Window {
        std::string title;
        bool own = false;
        ShowState state = ShowState::Normal;
        bool topmost = false;
        Rect rect;
    };

    WindowId foreground() override { return foreground_; }
    bool bringToFront(WindowId window) override;
    bool isOwnWindow(WindowId window) override;
    WindowId findByTitle(const std::string& title) override;
    void show(WindowId window, ShowState state) override;
    void setTopmost(WindowId window, bool topmost) override;
    Rect windowRect(WindowId window) override;
    Point pointer() override { return pointer_; }
    Point screenSizeTwips() override { return screen_; }

    WindowId add(const std::string& title, bool own = false);
    void setForeground(WindowId window) { foreground_ = window; }
    void setPointer(Point p) { pointer_ = p; }

    std::map<WindowId, Window> windows;
    std::vector<WindowId> frontedLog;

private:
    WindowId foreground_ = 0;
    WindowId next_ = 100;
    Point pointer_;
    Point screen_{1920 * 15, 1080 * 15};
};

class FakeKeystrokes : public Keystrokes {
public:
    bool send(const std::string& notation, bool wait) override;
    std::vector<std::string> sent;  // in order, as given
    std::vector<bool> waited;
};

class FakeHooks : public Hooks {
public:
    bool addKey(std::uint32_t code) override;
    void removeKey(std::uint32_t code) override { watched.erase(code); }
    void setMonitoring(MonitoringState state) override;
    void armMouse(bool armed) override { mouseArmed = armed; }

    // Test side: what the user does.
    void releaseKey(std::uint32_t vk, std::uint16_t shift, WindowId pressedIn = 0);
    void click(WindowId foregroundAfter);

    std::set<std::uint32_t> watched;
    std::set<std::uint32_t> takenByOthers;  // addKey of these fails
    MonitoringState monitoring = MonitoringState::Normal;
    std::vector<MonitoringState> monitoringLog;
    bool mouseArmed = false;
};

class FakeShell : public Shell {
public:
    FindResult findExecutable(const std::string& document) override;
    int run(const std::string& program, const std::string& arguments, const std::string& startFolder) override;
    int open(const std::string& path, const std::string& startFolder) override;
    int openUrl(const std::string& url) override;
    std::vector<Drive> drives() override { return {{"/", "/"}}; }

    std::map<std::string, std::string> associations;  // extension (lower case, with dot) -> program
    std::vector<std::pair<std::string, std::string>> started;  // command or path, start folder
    int nextResult = kShellOk;
};

// A whole platform of fakes, with typed access for the test.
struct FakePlatform {
    FakePlatform();
    Platform platform;
    FakeClipboard* clipboard;
    FakeWindows* windows;
    FakeKeystrokes* keystrokes;
    FakeHooks* hooks;
    FakeShell* shell;
};

}  // namespace pellion::platform::fake
