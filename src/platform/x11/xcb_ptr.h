#pragma once
// Owning pointers for what XCB hands back with malloc.
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace pellion::platform::x11 {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};
template <class T>
using XcbPtr = std::unique_ptr<T, FreeDeleter>;
template <class T>
using ReplyPtr = XcbPtr<T>;
using EventPtr = XcbPtr<xcb_generic_event_t>;

}  // namespace pellion::platform::x11
