#pragma once
// The other side of the clipboard for the display tests: programs that own
// or read the CLIPBOARD (xclip and our own tools), and a raw XCB requestor.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/process_support.h"

namespace pellion::test {

using Bytes = std::vector<std::uint8_t>;

Bytes randomBytes(std::size_t size, unsigned seed);
Bytes bytesOf(const std::string& s);
Bytes withNul(const std::string& s);  // a text block as stored
std::string tool(const std::string& name);  // path of a program in the build's folder
std::vector<std::uint32_t> wordsOf(const Bytes& b);  // 32-bit values as a property holds them

// "xclip -o" of one target of the CLIPBOARD (or of "primary").
Ran xclipOut(const std::string& target, const std::string& selection = "clipboard");

// The test's own connection to the server, to see what other programs see.
class Observer {
public:
    Observer();
    ~Observer() { xcb_disconnect(c_); }
    Observer(const Observer&) = delete;
    Observer& operator=(const Observer&) = delete;
    xcb_connection_t* xcb() const { return c_; }
    xcb_window_t root() const { return root_; }
    // A round trip: every request before it has reached the server.
    void sync();
    xcb_atom_t atom(const std::string& name);
    // A property's bytes and type, nullopt when it is missing; take deletes it.
    std::optional<Bytes> property(xcb_window_t w, xcb_atom_t property, xcb_atom_t* type = nullptr, bool take = false);
    std::vector<std::uint32_t> words(xcb_window_t w, const std::string& property);
    std::uint32_t activeWindow();
    std::uint32_t wmState(xcb_window_t w);
    bool hasNetState(xcb_window_t w, const std::string& state);
    // Key events that reach a window: any client may select them.
    void watchKeys(xcb_window_t w);
    int keyPressesSeen();

protected:
    xcb_connection_t* c_;
    xcb_window_t root_;
};

// A raw requestor of the CLIPBOARD.
class Probe : public Observer {
public:
    static Probe& shared();  // one for the whole run
    Probe();
    xcb_window_t owner();
    // Waits until the CLIPBOARD is owned by someone other than before.
    bool waitNewOwner(xcb_window_t before, std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
    bool waitNoOwner(std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
    // One conversion without INCR, into the property given or one of its
    // own; nullopt when refused or not answered.
    std::optional<Bytes> convert(const std::string& target, xcb_atom_t* type = nullptr, xcb_atom_t into = 0);
    // MULTIPLE for the given targets: the pairs as the owner left them, and
    // each target's bytes (nullopt where refused).
    std::vector<std::optional<Bytes>> multiple(const std::vector<std::string>& targets,
                                               std::vector<std::uint32_t>& pairsAfter);

private:
    bool awaitNotify(xcb_atom_t target, xcb_atom_t& property);
    xcb_window_t window_;
    xcb_atom_t clipboard_;
};

// A program that owns the CLIPBOARD while this object lives.
class Owner {
public:
    // Starts argv and waits until it has taken the CLIPBOARD.
    explicit Owner(const std::vector<std::string>& argv);
    ~Owner();
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    bool owns() const { return owns_; }
    void stop();

private:
    int pid_ = -1;
    bool owns_ = false;
};

// xclip serving one target from a file (or from the given bytes).
std::vector<std::string> xclipIn(const std::string& target, const std::string& file);

// A file in a temporary folder holding bytes, removed with this object.
class TempBytesFile {
public:
    explicit TempBytesFile(const Bytes& bytes);
    ~TempBytesFile();
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace pellion::test
