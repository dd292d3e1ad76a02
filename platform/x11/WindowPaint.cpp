// Painting a window straight from its canvas: the changed rectangle goes to
// the X server, so the toolkit keeps no second window-sized buffer and a frame
// costs the same on any screen size. A canvas image in shared memory (the
// desktop snapshot) is read there by the server; any other goes over the socket.
// A window whose pixels are not laid out as the image's (a 16-bit screen) gets
// the rectangle converted on the way.
#include "platform/x11/PaintTarget.h"
#include "platform/x11/SharedSegment.h"
#include "platform/x11/X11Platform.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QRegion>
#include <QWindow>
#include <algorithm>
#include <vector>

namespace platform::x11 {

namespace {

/** Rows of rowBytes each that fit in one put-image request. */
int rowsPerRequest(xcb_connection_t* c, std::size_t rowBytes)
{
    constexpr std::size_t RequestHeader = 24;
    const std::size_t maxBytes = std::size_t(xcb_get_maximum_request_length(c)) * 4 - RequestHeader;
    return int(std::max<std::size_t>(1, maxBytes / rowBytes));
}

/** Puts area of image (Format_RGB32, the window's Z pixmap layout) at the same
 *  place on window, in strips that each fit in one request. */
void putArea(xcb_connection_t* c, xcb_window_t window, const PaintTarget& target,
             const QImage& image, const QRect& area)
{
    const std::size_t rowBytes = std::size_t(area.width()) * 4;
    const int rowsPerStrip = rowsPerRequest(c, rowBytes);
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
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, target.blackContext,
                      std::uint16_t(area.width()), std::uint16_t(rows), std::int16_t(area.x()),
                      std::int16_t(top), 0, target.layout.depth,
                      std::uint32_t(rowBytes * std::size_t(rows)), data);
    }
}

/** Puts area of image at the same place on window in the window's own pixel
 *  layout: converted strip by strip, each strip one request. */
void putConverted(xcb_connection_t* c, xcb_window_t window, PaintTarget& target,
                  const QImage& image, const QRect& area)
{
    const std::size_t rowBytes = target.layout.bytesPerLine(area.width());
    const int rowsPerStrip = rowsPerRequest(c, rowBytes);
    for (int top = area.top(); top <= area.bottom(); top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, area.bottom() + 1 - top);
        target.strip.resize(rowBytes * std::size_t(rows));
        target.converter->fromRgb32(image, QRect(area.x(), top, area.width(), rows),
                                    target.strip.data(), rowBytes);
        xcb_put_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, target.blackContext,
                      std::uint16_t(area.width()), std::uint16_t(rows), std::int16_t(area.x()),
                      std::int16_t(top), 0, target.layout.depth,
                      std::uint32_t(rowBytes * std::size_t(rows)), target.strip.data());
    }
}

/** Puts area of image, which lies in segment, at the same place on window: one
 *  request, read by the server straight from the shared memory. */
void putShared(xcb_connection_t* c, xcb_window_t window, const PaintTarget& target,
               const QImage& image, const QRect& area, const SharedSegment& segment)
{
    const auto offset =
        std::uint32_t(image.constBits() - static_cast<const uchar*>(segment.memory()));
    xcb_shm_put_image(c, window, target.blackContext, std::uint16_t(image.width()),
                      std::uint16_t(image.height()), std::uint16_t(area.x()),
                      std::uint16_t(area.y()), std::uint16_t(area.width()),
                      std::uint16_t(area.height()), std::int16_t(area.x()), std::int16_t(area.y()),
                      target.layout.depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment.segment(), offset);
}

/** The segment image lies in, when the server can read it there as a Z pixmap. */
const SharedSegment* sharedSegmentOf(xcb_connection_t* c, const QImage& image)
{
    if (image.bytesPerLine() != qsizetype(image.width()) * 4)
        return nullptr;
    return SharedSegment::holding(c, image.constBits(), std::size_t(image.sizeInBytes()));
}

} // namespace

std::unique_ptr<PaintTarget> paintTargetOf(xcb_connection_t* c, xcb_window_t window)
{
    const auto attributes =
        replyOf(c, xcb_get_window_attributes(c, window), xcb_get_window_attributes_reply);
    const std::optional<PixelLayout> layout =
        attributes ? layoutOfVisual(xcb_get_setup(c), attributes->visual) : std::nullopt;
    if (!layout)
        return nullptr;
    auto target = std::make_unique<PaintTarget>();
    target->layout = *layout;
    if (!layout->isRgb32())
        target->converter.emplace(*layout);
    // Made on the window itself: a context serves drawables of its own depth only.
    // Pixel 0 is black in every TrueColor layout.
    target->blackContext = xcb_generate_id(c);
    const std::uint32_t values[] = {0, 0};
    xcb_create_gc(c, target->blackContext, window, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES,
                  values);
    return target;
}

PaintTarget* X11Platform::paintTarget(WindowId window)
{
    std::unique_ptr<PaintTarget>& target = paintTargets_[window];
    if (!target)
        target = paintTargetOf(xcbConnection(), window);
    return target.get();
}

bool X11Platform::hasTrueColour()
{
    xcb_connection_t* c = xcbConnection();
    // On another toolkit platform (offscreen, in tests) the toolkit draws it all.
    if (!c)
        return true;
    const xcb_setup_t* setup = xcb_get_setup(c);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(setup).data;
    return screen && layoutOfVisual(setup, screen->root_visual);
}

namespace {

/** A window's canvas on X: which shared segment holds its image is found out
 *  once, when the image is given, and every refresh paints from there. */
class X11Canvas : public WindowCanvas {
public:
    X11Canvas(X11Platform& platform, QWindow& window, QSize size)
        : platform_(platform), window_(window), image_(size, QImage::Format_RGB32)
    {
    }

    QImage& image() override { return image_; }

    void replace(QImage image) override
    {
        image_ = std::move(image);
        xcb_connection_t* c = xcbConnection();
        segment_ = c ? sharedSegmentOf(c, image_) : nullptr;
        inSegment_ = image_.constBits();
    }

    void refresh(const QRect& rect) override;

private:
    void paint(xcb_connection_t* c, xcb_window_t id, PaintTarget& target, const QRect& rect);

    X11Platform& platform_;
    QWindow& window_;
    QImage image_;
    const SharedSegment* segment_ = nullptr;
    const uchar* inSegment_ = nullptr; // where the image lay in segment_
};

void X11Canvas::refresh(const QRect& rect)
{
    xcb_connection_t* c = xcbConnection();
    // A window not yet created has nothing on screen to paint.
    const xcb_window_t id = window_.handle() ? xcb_window_t(window_.winId()) : 0;
    if (!c || id == 0 || rect.isEmpty())
        return;
    if (PaintTarget* target = platform_.paintTarget(id))
        paint(c, id, *target, rect);
}

void X11Canvas::paint(xcb_connection_t* c, xcb_window_t id, PaintTarget& target, const QRect& rect)
{
    const QRect inside = rect & image_.rect();
    // Only the image's own layout can be read from shared memory as it is; an
    // image someone else shared a copy of left the segment at its first change.
    const bool shared = segment_ && !target.converter && image_.constBits() == inSegment_;
    const SharedSegment* segment = shared ? segment_ : nullptr;
    if (!inside.isEmpty() && target.converter)
        putConverted(c, id, target, image_, inside);
    else if (!inside.isEmpty() && segment)
        putShared(c, id, target, image_, inside, *segment);
    else if (!inside.isEmpty())
        putArea(c, id, target, image_, inside);
    for (const QRect& outside : QRegion(rect).subtracted(inside)) {
        const xcb_rectangle_t box{std::int16_t(outside.x()), std::int16_t(outside.y()),
                                  std::uint16_t(outside.width()), std::uint16_t(outside.height())};
        xcb_poly_fill_rectangle(c, id, target.blackContext, 1, &box);
    }
    // Also the moment the server has read a shared image: the caller may change it now.
    flushX();
    // With a frame on screen, map the rest of the shared image: frames that
    // draw on pages not yet touched would otherwise stop for page faults, more
    // of them the larger the screen.
    if (segment)
        segment->mapAllOnce();
}

} // namespace

std::unique_ptr<WindowCanvas> X11Platform::showCanvas(QWindow& window, QSize size)
{
    return std::make_unique<X11Canvas>(*this, window, size);
}

} // namespace platform::x11
