// Painting a window straight from its persistent image: the changed rectangle
// goes to the X server, so the toolkit keeps no second window-sized buffer and
// a frame costs the same on any screen size. An image in shared memory (the
// desktop snapshot) is read there by the server; any other goes over the socket.
#include "platform/x11/SharedSegment.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/XConnection.h"

#include <QRegion>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace platform {

namespace {

/** A graphics context filling black, made once per connection. */
xcb_gcontext_t blackContext(xcb_connection_t* c, const xcb_screen_t* screen)
{
    static xcb_connection_t* madeFor = nullptr;
    static xcb_gcontext_t context = 0;
    if (madeFor != c) {
        context = xcb_generate_id(c);
        const std::uint32_t values[] = {screen->black_pixel, 0};
        xcb_create_gc(c, context, screen->root, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
        madeFor = c;
    }
    return context;
}

/** Puts area of image (Format_RGB32, the window's depth-24 Z pixmap layout) at the
 *  same place on window, in strips that each fit in one request. */
void putArea(xcb_connection_t* c, xcb_window_t window, xcb_gcontext_t context, std::uint8_t depth,
             const QImage& image, const QRect& area)
{
    constexpr std::size_t RequestHeader = 24;
    const std::size_t rowBytes = std::size_t(area.width()) * 4;
    const std::size_t maxBytes = std::size_t(xcb_get_maximum_request_length(c)) * 4 - RequestHeader;
    const int rowsPerStrip = int(std::max<std::size_t>(1, maxBytes / rowBytes));
    // Whole rows of the image lie one after the other already; a narrower
    // area is gathered into a buffer first.
    const bool contiguous = area.x() == 0 && area.width() == image.width()
        && std::size_t(image.bytesPerLine()) == rowBytes;
    std::vector<std::uint8_t> strip;
    for (int top = area.top(); top <= area.bottom(); top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, area.bottom() + 1 - top);
        const std::uint8_t* data = image.constScanLine(top) + std::size_t(area.x()) * 4;
        if (!contiguous) {
            strip.resize(rowBytes * std::size_t(rows));
            for (int row = 0; row < rows; ++row)
                std::copy_n(image.constScanLine(top + row) + std::size_t(area.x()) * 4, rowBytes,
                            strip.data() + rowBytes * std::size_t(row));
            data = strip.data();
        }
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, context, std::uint16_t(area.width()),
                      std::uint16_t(rows), std::int16_t(area.x()), std::int16_t(top), 0, depth,
                      std::uint32_t(rowBytes * std::size_t(rows)), data);
    }
}

/** Puts area of image, which lies in segment, at the same place on window: one
 *  request, read by the server straight from the shared memory. */
void putShared(xcb_connection_t* c, xcb_window_t window, xcb_gcontext_t context, std::uint8_t depth,
               const QImage& image, const QRect& area, const SharedSegment& segment)
{
    const auto offset =
        std::uint32_t(image.constBits() - static_cast<const uchar*>(segment.memory()));
    xcb_shm_put_image(c, window, context, std::uint16_t(image.width()),
                      std::uint16_t(image.height()), std::uint16_t(area.x()),
                      std::uint16_t(area.y()), std::uint16_t(area.width()),
                      std::uint16_t(area.height()), std::int16_t(area.x()), std::int16_t(area.y()),
                      depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment.segment(), offset);
}

/** The segment image lies in, when the server can read it there as a Z pixmap. */
const SharedSegment* sharedSegmentOf(xcb_connection_t* c, const QImage& image)
{
    if (image.bytesPerLine() != qsizetype(image.width()) * 4)
        return nullptr;
    return SharedSegment::holding(c, image.constBits(), std::size_t(image.sizeInBytes()));
}

} // namespace

void X11Platform::refresh(QWindow& window, const QImage& image, const QRect& rect)
{
    xcb_connection_t* c = xcbConnection();
    // A window not yet created has nothing on screen to paint.
    const xcb_window_t id = window.handle() ? xcb_window_t(window.winId()) : 0;
    if (!c || id == 0 || rect.isEmpty())
        return;
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_gcontext_t context = blackContext(c, screen);
    const QRect inside = rect & image.rect();
    const SharedSegment* segment = sharedSegmentOf(c, image);
    if (segment && !inside.isEmpty())
        putShared(c, id, context, screen->root_depth, image, inside, *segment);
    else if (!inside.isEmpty())
        putArea(c, id, context, screen->root_depth, image, inside);
    for (const QRect& outside : QRegion(rect).subtracted(inside)) {
        const xcb_rectangle_t box{std::int16_t(outside.x()), std::int16_t(outside.y()),
                                  std::uint16_t(outside.width()), std::uint16_t(outside.height())};
        xcb_poly_fill_rectangle(c, id, context, 1, &box);
    }
    // Also the moment the server has read a shared image: the caller may change it now.
    flushX();
    // With a frame on screen, map the rest of the shared image: frames that
    // draw on pages not yet touched would otherwise stop for page faults, more
    // of them the larger the screen.
    if (segment)
        segment->mapAllOnce();
}

} // namespace platform
