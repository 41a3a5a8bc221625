#include "platform/fake/fake_platform.h"

#include <algorithm>

namespace pellion::platform::fake {

bool FakeClipboard::open() {
    if (failOpen || isOpen) return false;
    isOpen = true;
    ++opens;
    return true;
}

void FakeClipboard::close() { isOpen = false; }

std::vector<ClipFormat> FakeClipboard::formats() {
    std::vector<ClipFormat> out;
    for (const auto& e : content) out.push_back({e.id, nameOf(e.id)});
    return out;
}

std::optional<Bytes> FakeClipboard::data(std::uint32_t id) {
    for (const auto& e : content)
        if (e.id == id) return e.bytes;
    return std::nullopt;
}

void FakeClipboard::empty() {
    content.clear();
    ownerStamp = OwnerStamp{ownWindow, ++clock_};
}

// As on X11: text, OEM text, or a format registered in this run, while open.
bool FakeClipboard::setData(std::uint32_t id, Bytes bytes) {
    if (!isOpen || (id != kTextFormat && id != kOemTextFormat && nameOf(id).empty())) return false;
    auto it = std::find_if(content.begin(), content.end(), [&](const Entry& e) { return e.id == id; });
    if (it != content.end()) it->bytes = std::move(bytes);
    else content.push_back({id, std::move(bytes)});
    return true;
}

bool FakeClipboard::offerToPasteKey() {
    if (!ownerStamp || ownerStamp->window != ownWindow) return false;
    pasteOffers.push_back(content);
    return true;
}

std::uint32_t FakeClipboard::registerFormat(const std::string& name) {
    auto [it, added] = registered_.try_emplace(name, nextId_);
    if (added) ++nextId_;
    return it->second;
}

bool FakeClipboard::isFormatAvailable(std::uint32_t id) { return data(id).has_value(); }

void FakeClipboard::setText(const std::string& text) {
    content.clear();
    ownerStamp = OwnerStamp{ownWindow, ++clock_};
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    content.push_back({kTextFormat, std::move(bytes)});
}

void FakeClipboard::copyFromOtherProgram(const std::vector<std::pair<std::string, Bytes>>& namedFormats) {
    content.clear();
    for (const auto& [name, bytes] : namedFormats)
        content.push_back({name.empty() ? kTextFormat : registerFormat(name), bytes});
    ownerStamp = OwnerStamp{otherWindow, ++clock_};
    ++changes;
}

void FakeClipboard::ownerExits() {
    content.clear();
    ownerStamp.reset();
    ++changes;
}

void FakeClipboard::copyTextFromOtherProgram(const std::string& text) {
    Bytes bytes(text.begin(), text.end());
    bytes.push_back(0);
    copyFromOtherProgram({{"", bytes}});
}

std::string FakeClipboard::nameOf(std::uint32_t id) const {
    for (const auto& [name, rid] : registered_)
        if (rid == id) return name;
    return {};
}

std::optional<Bytes> FakeClipboard::bytesOf(const std::string& name) const {
    for (const auto& e : content)
        if (nameOf(e.id) == name) return e.bytes;
    return std::nullopt;
}

bool FakeWindows::bringToFront(WindowId window) {
    if (!windows.count(window)) return false;
    foreground_ = window;
    windows[window].state = ShowState::Normal;
    frontedLog.push_back(window);
    return true;
}

bool FakeWindows::isOwnWindow(WindowId window) {
    auto it = windows.find(window);
    return it != windows.end() && it->second.own;
}

WindowId FakeWindows::findByTitle(const std::string& title) {
    for (const auto& [id, w] : windows)
        if (w.title == title && w.state != ShowState::Hidden) return id;
    return 0;
}

void FakeWindows::show(WindowId window, ShowState state) {
    auto it = windows.find(window);
    if (it == windows.end()) return;
    it->second.state = state;
    if (state != ShowState::Normal && foreground_ == window) foreground_ = 0;
}

void FakeWindows::setTopmost(WindowId window, bool topmost) {
    auto it = windows.find(window);
    if (it != windows.end()) it->second.topmost = topmost;
}

Rect FakeWindows::windowRect(WindowId window) {
    auto it = windows.find(window);
    return it == windows.end() ? Rect{} : it->second.rect;
}

WindowId FakeWindows::add(const std::string& title, bool own) {
    const WindowId id = next_++;
    windows[id] = Window{title, own, ShowState::Normal, false, {}};
    return id;
}

bool FakeKeystrokes::send(const std::string& notation, bool wait) {
    if (!parseKeys(notation)) return false;
    sent.push_back(notation);
    waited.push_back(wait);
    return true;
}

bool FakeHooks::addKey(std::uint32_t code) {
    if (takenByOthers.count(code)) return false;
    watched.insert(code);
    return true;
}

void FakeHooks::setMonitoring(MonitoringState state) {
    monitoring = state;
    monitoringLog.push_back(state);
}

void FakeHooks::releaseKey(std::uint32_t vkCode, std::uint16_t shift, WindowId pressedIn) {
    if (monitoring == MonitoringState::Typing) return;
    const bool ctrlPlus = (shift & kCtrlMask) && (vkCode == vk::Plus || vkCode == vk::NumpadPlus);
    if (!ctrlPlus && !watched.count(keyCode(shift, vkCode))) return;
    if (onKeyReleased) onKeyReleased({vkCode, shift, pressedIn});
}

void FakeHooks::click(WindowId foregroundAfter) {
    if (!mouseArmed) return;
    if (onMouseClick) onMouseClick(foregroundAfter);
}

FindResult FakeShell::findExecutable(const std::string& document) {
    const auto dot = document.rfind('.');
    const std::string ext = dot == std::string::npos ? "" : document.substr(dot);
    std::string lower = ext;
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    auto it = associations.find(lower);
    if (it == associations.end()) return {kShellNoAssociation, {}};
    return {kShellOk, it->second};
}

int FakeShell::run(const std::string& program, const std::string& arguments, const std::string& startFolder) {
    started.emplace_back(arguments.empty() ? program : program + " " + arguments, startFolder);
    return nextResult;
}

int FakeShell::open(const std::string& path, const std::string& startFolder) {
    started.emplace_back(path, startFolder);
    return nextResult;
}

int FakeShell::openUrl(const std::string& url) {
    started.emplace_back(url, "");
    return nextResult;
}

FakePlatform::FakePlatform() {
    auto c = std::make_unique<FakeClipboard>();
    auto w = std::make_unique<FakeWindows>();
    auto k = std::make_unique<FakeKeystrokes>();
    auto h = std::make_unique<FakeHooks>();
    auto s = std::make_unique<FakeShell>();
    clipboard = c.get();
    windows = w.get();
    keystrokes = k.get();
    hooks = h.get();
    shell = s.get();
    platform.clipboard = std::move(c);
    platform.windows = std::move(w);
    platform.keystrokes = std::move(k);
    platform.hooks = std::move(h);
    platform.shell = std::move(s);
}

}  // namespace pellion::platform::fake
