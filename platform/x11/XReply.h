#pragma once
// Ownership of what xcb hands out: replies, errors and events are each one
// block that the caller frees with free().

#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>

namespace platform::x11 {

struct XcbFree {
    void operator()(void* block) const { std::free(block); }
};

/** A reply, error or event from xcb, freed when it goes. */
template <typename T>
using XcbPtr = std::unique_ptr<T, XcbFree>;

/** Waits for the reply to cookie; null on error. The error is dropped here
 *  instead of reaching Qt's event queue, which would log it. */
template <typename Reply, typename Cookie>
XcbPtr<Reply> replyOf(xcb_connection_t* c, Cookie cookie,
                      Reply* (*wait)(xcb_connection_t*, Cookie, xcb_generic_error_t**))
{
    xcb_generic_error_t* error = nullptr;
    XcbPtr<Reply> reply(wait(c, cookie, &error));
    std::free(error);
    return reply;
}

/** Waits until the server has handled a checked request; its error, or null. */
inline XcbPtr<xcb_generic_error_t> errorOf(xcb_connection_t* c, xcb_void_cookie_t cookie)
{
    return XcbPtr<xcb_generic_error_t>(xcb_request_check(c, cookie));
}

} // namespace platform::x11
