#include "platform/x11/ScreenGrab.h"
#include "platform/x11/PixelLayout.h"
#include "platform/x11/SharedSegment.h"
#include "platform/x11/WindowWatcher.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <memory>
#include <optional>

namespace platform::x11 {

namespace {

constexpr std::uint32_t AllPlanes = ~0u;

/** Copies the server's pixels; the fourth byte, which it leaves 0 or undefined, becomes 0xff. */
void copyOpaque(const void* pixels, void* image, std::size_t count)
{
    const auto* from = static_cast<const std::uint32_t*>(pixels);
    auto* to = static_cast<std::uint32_t*>(image);
    for (std::size_t i = 0; i < count; ++i)
        to[i] = from[i] | 0xff000000u;
}

/** The pixels of a drawable of the root's depth, in layout, over the socket. */
QImage readThroughSocket(xcb_connection_t* connection, xcb_drawable_t drawable, QSize size,
                         const PixelLayout& layout)
{
    if (size.isEmpty())
        return {};
    const auto reply = replyOf(connection,
                               xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, 0, 0,
                                             std::uint16_t(size.width()),
                                             std::uint16_t(size.height()), AllPlanes),
                               xcb_get_image_reply);
    QImage image(size, QImage::Format_RGB32);
    const std::size_t stride = layout.bytesPerLine(size.width());
    if (!reply || image.isNull()
        || std::size_t(xcb_get_image_data_length(reply.get())) != stride * std::size_t(size.height()))
        return {};
    const std::uint8_t* pixels = xcb_get_image_data(reply.get());
    if (layout.isRgb32())
        copyOpaque(pixels, image.bits(), std::size_t(image.sizeInBytes()) / 4);
    else
        PixelConverter(layout).toRgb32(pixels, stride, image);
    return image;
}

QImage grabThroughQt()
{
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {};
    const QImage copy = screen->grabWindow(0).toImage();
    return copy.isNull() ? copy : copy.convertToFormat(QImage::Format_RGB32);
}

/** The default screen of connection and the layout of its root. */
struct TrueColorRoot {
    const xcb_screen_t* screen;
    PixelLayout layout;
};

/** The default screen of connection; none unless its root is a TrueColor window. */
std::optional<TrueColorRoot> trueColorRoot(xcb_connection_t* connection)
{
    const xcb_setup_t* setup = connection ? xcb_get_setup(connection) : nullptr;
    const xcb_screen_t* screen = setup ? xcb_setup_roots_iterator(setup).data : nullptr;
    const std::optional<PixelLayout> layout = screen ? layoutOfVisual(setup, screen->root_visual) : std::nullopt;
    if (!layout)
        return std::nullopt;
    return TrueColorRoot{screen, *layout};
}

} // namespace

std::unique_ptr<PendingScreenRead> PendingScreenRead::begin()
{
    xcb_connection_t* connection = xcbConnection();
    const std::optional<TrueColorRoot> root = trueColorRoot(connection);
    // The root's size now: the connection's setup keeps the size it had at the start.
    return root ? begin(root->screen->root, windowSize(connection, root->screen->root)) : nullptr;
}

std::unique_ptr<PendingScreenRead> PendingScreenRead::begin(xcb_drawable_t drawable, QSize size)
{
    xcb_connection_t* connection = xcbConnection();
    const std::optional<TrueColorRoot> root = trueColorRoot(connection);
    const xcb_query_extension_reply_t* shm =
        root ? xcb_get_extension_data(connection, &xcb_shm_id) : nullptr;
    if (!shm || !shm->present || size.isEmpty())
        return nullptr;
    std::unique_ptr<PendingScreenRead> read(new PendingScreenRead);
    read->connection_ = connection;
    read->layout_ = root->layout;
    read->width_ = size.width();
    read->height_ = size.height();
    read->segment_ = std::make_unique<SharedSegment>(connection, read->size());
    if (!read->segment_->ready())
        return nullptr;
    read->cookie_ = xcb_shm_get_image(connection, drawable, 0, 0, read->width_, read->height_,
                                      AllPlanes, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                      read->segment_->segment(), 0);
    read->waiting_ = true;
    xcb_flush(connection);
    return read;
}

PendingScreenRead::~PendingScreenRead()
{
    if (waiting_ && xcbConnection() == connection_)
        xcb_discard_reply(connection_, cookie_.sequence);
}

QImage PendingScreenRead::finish()
{
    if (!waiting_)
        return {};
    waiting_ = false;
    const auto reply = replyOf(connection_, cookie_, xcb_shm_get_image_reply);
    if (!reply || reply->size != size())
        return {};
    // Pixels of another layout are converted into an image of the program's own.
    if (!layout_.isRgb32()) {
        QImage image(width_, height_, QImage::Format_RGB32);
        if (!image.isNull())
            PixelConverter(layout_).toRgb32(static_cast<const std::uint8_t*>(segment_->memory()),
                                            layout_.bytesPerLine(width_), image);
        return image;
    }
    // The image lives in the segment itself: no second screen-sized buffer to
    // fault in and fill, and no pass over it here, so this process maps only
    // the pages it later draws on. The segment goes with the last copy of the image.
    auto* pixels = static_cast<uchar*>(segment_->memory());
    QImage image(pixels, width_, height_, width_ * 4, QImage::Format_RGB32,
                 [](void* owner) { delete static_cast<SharedSegment*>(owner); }, segment_.get());
    if (image.isNull())
        return {};
    segment_.release();
    return image;
}

QImage grabRootWindow(GrabMethod method)
{
    if (method == GrabMethod::Qt)
        return grabThroughQt();
    if (method == GrabMethod::SharedMemory) {
        const std::unique_ptr<PendingScreenRead> read = PendingScreenRead::begin();
        return read ? read->finish() : QImage();
    }
    xcb_connection_t* connection = xcbConnection();
    const std::optional<TrueColorRoot> root = trueColorRoot(connection);
    return root ? readThroughSocket(connection, root->screen->root,
                                    windowSize(connection, root->screen->root), root->layout)
                : QImage();
}

QImage readHostScreenshot(xcb_window_t window)
{
    xcb_connection_t* connection = xcbConnection();
    const std::optional<TrueColorRoot> root = trueColorRoot(connection);
    if (!root || window == 0)
        return {};
    const xcb_atom_t atom = internAtom(connection, "_SCREENSAVER_SCREENSHOT");
    if (atom == XCB_ATOM_NONE)
        return {};
    const auto property = replyOf(
        connection, xcb_get_property(connection, 0, window, atom, XCB_ATOM_PIXMAP, 0, 1),
        xcb_get_property_reply);
    if (!property || property->format != 32 || xcb_get_property_value_length(property.get()) != 4)
        return {};
    const auto pixmap = *static_cast<const xcb_pixmap_t*>(xcb_get_property_value(property.get()));
    // A pixmap of another depth, or one its owner has freed, reads as nothing.
    const auto geometry = replyOf(connection, xcb_get_geometry(connection, pixmap), xcb_get_geometry_reply);
    if (!geometry || geometry->depth != root->screen->root_depth)
        return {};
    const QSize size(geometry->width, geometry->height);
    // Through shared memory when it can, like the saver's snapshot: the copy
    // then becomes the canvas, and only the pages drawn on count for this process.
    if (const auto read = PendingScreenRead::begin(pixmap, size))
        if (QImage copy = read->finish(); !copy.isNull())
            return copy;
    return readThroughSocket(connection, pixmap, size, root->layout);
}

QImage grabRootWindow()
{
    for (const GrabMethod method : {GrabMethod::SharedMemory, GrabMethod::Socket, GrabMethod::Qt})
        if (QImage image = grabRootWindow(method); !image.isNull())
            return image;
    return {};
}

} // namespace platform::x11
