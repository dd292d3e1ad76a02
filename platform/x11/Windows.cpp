// Finding, embedding and checking windows by X11 id; input grabs, stacking
// of the program's own windows, the screen's size.
#include "platform/x11/X11Platform.h"
#include "platform/x11/InputGrab.h"
#include "platform/x11/WindowWatcher.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QWindow>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace platform::x11 {

namespace {

std::vector<xcb_window_t> childrenOf(xcb_connection_t* c, xcb_window_t window)
{
    auto tree = replyOf(c, xcb_query_tree(c, window), xcb_query_tree_reply);
    if (!tree)
        return {};
    const xcb_window_t* first = xcb_query_tree_children(tree.get());
    return {first, first + xcb_query_tree_children_length(tree.get())};
}

bool isViewable(xcb_connection_t* c, xcb_window_t window)
{
    auto attributes = replyOf(c, xcb_get_window_attributes(c, window),
                              xcb_get_window_attributes_reply);
    return attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
}

std::optional<std::string> textProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t name)
{
    if (name == XCB_ATOM_NONE)
        return std::nullopt;
    auto property = replyOf(
        c, xcb_get_property(c, 0, window, name, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024), xcb_get_property_reply);
    if (!property || property->format != 8 || property->type == XCB_ATOM_NONE)
        return std::nullopt;
    const auto* text = static_cast<const char*>(xcb_get_property_value(property.get()));
    return std::string(text, xcb_get_property_value_length(property.get()));
}

bool hasTitle(xcb_connection_t* c, xcb_window_t window, xcb_atom_t netWmName, const std::string& title)
{
    if (auto name = textProperty(c, window, netWmName))
        return *name == title;
    return textProperty(c, window, XCB_ATOM_WM_NAME) == title;
}

} // namespace

WindowId X11Platform::FindWindowA(const char* className, const char* windowName)
{
    xcb_connection_t* c = xcbConnection();
    if (!c || className != nullptr || windowName == nullptr)
        return 0;
    const xcb_atom_t netWmName = internAtom(c, "_NET_WM_NAME");
    // Top-level windows are the root's children; a reparenting window
    // manager puts them one level further down, inside its frames.
    for (xcb_window_t top : childrenOf(c, rootWindow())) {
        if (!isViewable(c, top))
            continue;
        if (hasTitle(c, top, netWmName, windowName))
            return top;
        for (xcb_window_t inner : childrenOf(c, top))
            if (isViewable(c, inner) && hasTitle(c, inner, netWmName, windowName))
                return inner;
    }
    return 0;
}

WindowId X11Platform::SetParent(WindowId child, WindowId newParent)
{
    xcb_connection_t* c = xcbConnection();
    // The root is no host: a picture moved there would sit on the desktop
    // as a stray top-level window.
    if (!c || child == 0 || newParent == 0 || newParent == rootWindow())
        return 0;
    auto tree = replyOf(c, xcb_query_tree(c, child), xcb_query_tree_reply);
    if (!tree)
        return 0;
    // Errors (a parent that vanished) come back to us as checked replies and
    // are dropped: they must never reach an error handler that exits.
    auto error = errorOf(c, xcb_reparent_window_checked(c, child, newParent, 0, 0));
    return error ? 0 : tree->parent;
}

bool X11Platform::IsChild(WindowId parent, WindowId window)
{
    xcb_connection_t* c = xcbConnection();
    const xcb_window_t root = rootWindow();
    // Top-level windows are not children: nothing counts as a child of the root.
    if (!c || parent == 0 || window == 0 || parent == root)
        return false;
    for (xcb_window_t current = window; current != 0 && current != root;) {
        auto tree = replyOf(c, xcb_query_tree(c, current), xcb_query_tree_reply);
        if (!tree)
            return false;
        if (tree->parent == parent)
            return true;
        current = tree->parent;
    }
    return false;
}

void X11Platform::grabInput(QWindow& window)
{
    inputGrab_ = std::make_unique<InputGrab>(window);
}

void X11Platform::releaseInput()
{
    inputGrab_.reset();
}

void X11Platform::bringToTop(QWindow& window)
{
    window.raise();
    window.requestActivate();
}

WindowWatcher& X11Platform::watcher(WindowId window)
{
    std::unique_ptr<WindowWatcher>& watcher = watchers_[window];
    if (!watcher)
        watcher = std::make_unique<WindowWatcher>(window);
    return *watcher;
}

void X11Platform::keepOnTop(QWindow& window)
{
    const auto id = xcb_window_t(window.winId());
    // A compositor that leaves the window alone shows it without delay or effects.
    if (xcb_connection_t* c = xcbConnection()) {
        const std::uint32_t bypass = 1;
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, internAtom(c, "_NET_WM_BYPASS_COMPOSITOR", false),
                            XCB_ATOM_CARDINAL, 32, 1, &bypass);
    }
    watcher(rootWindow()).keepOnTop(id);
}

WindowId X11Platform::rootWindow()
{
    return x11::rootWindow();
}

QSize X11Platform::windowSize(WindowId window)
{
    xcb_connection_t* c = xcbConnection();
    return c && window != 0 ? x11::windowSize(c, window) : QSize();
}

void X11Platform::watchWindow(WindowId window, std::function<void(QSize)> resized,
                              std::function<void()> destroyed)
{
    WindowWatcher& watching = watcher(window);
    watching.onResize(std::move(resized));
    watching.onDestroy(std::move(destroyed));
}

} // namespace platform::x11
