#include "platform/x11/ScreenGrab.h"
#include "platform/x11/SharedSegment.h"
#include "platform/x11/WindowWatcher.h"
#include "platform/x11/XConnection.h"
#include "platform/x11/XReply.h"

#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <memory>

namespace platform {

namespace {

constexpr std::uint32_t AllPlanes = ~0u;

const xcb_visualtype_t* findVisual(const xcb_screen_t* screen, xcb_visualid_t id)
{
    for (auto depths = xcb_screen_allowed_depths_iterator(screen); depths.rem; xcb_depth_next(&depths))
        for (auto visuals = xcb_depth_visuals_iterator(depths.data); visuals.rem;
             xcb_visualtype_next(&visuals))
            if (visuals.data->visual_id == id)
                return visuals.data;
    return nullptr;
}

/** True when the root's Z pixmaps are laid out like QImage::Format_RGB32 (bar alpha). */
bool rootIsRgb32(xcb_connection_t* connection, const xcb_screen_t* screen)
{
    const xcb_setup_t* setup = xcb_get_setup(connection);
    if (setup->image_byte_order != XCB_IMAGE_ORDER_LSB_FIRST)
        return false;
    bool fourBytes = false;
    for (auto formats = xcb_setup_pixmap_formats_iterator(setup); formats.rem; xcb_format_next(&formats))
        if (formats.data->depth == screen->root_depth)
            fourBytes = formats.data->bits_per_pixel == 32 && formats.data->scanline_pad == 32;
    const xcb_visualtype_t* visual = findVisual(screen, screen->root_visual);
    return fourBytes && (screen->root_depth == 24 || screen->root_depth == 32) && visual
        && visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 && visual->blue_mask == 0xff;
}

/** Copies the server's pixels; the fourth byte, which it leaves 0 or undefined, becomes 0xff. */
void copyOpaque(const void* pixels, void* image, std::size_t count)
{
    const auto* from = static_cast<const std::uint32_t*>(pixels);
    auto* to = static_cast<std::uint32_t*>(image);
    for (std::size_t i = 0; i < count; ++i)
        to[i] = from[i] | 0xff000000u;
}

/** The pixels of a drawable of the screen's depth, over the socket. */
QImage readThroughSocket(xcb_connection_t* connection, xcb_drawable_t drawable, QSize size)
{
    if (size.isEmpty())
        return {};
    const auto reply = replyOf(connection,
                               xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, 0, 0,
                                             std::uint16_t(size.width()),
                                             std::uint16_t(size.height()), AllPlanes),
                               xcb_get_image_reply);
    QImage image(size, QImage::Format_RGB32);
    if (!reply || image.isNull() || xcb_get_image_data_length(reply.get()) != image.sizeInBytes())
        return {};
    copyOpaque(xcb_get_image_data(reply.get()), image.bits(), std::size_t(image.sizeInBytes()) / 4);
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

/** The default screen of connection when its Z pixmaps are laid out like RGB32, else null. */
const xcb_screen_t* rgb32Screen(xcb_connection_t* connection)
{
    const xcb_screen_t* screen =
        connection ? xcb_setup_roots_iterator(xcb_get_setup(connection)).data : nullptr;
    return screen && rootIsRgb32(connection, screen) ? screen : nullptr;
}

} // namespace

std::unique_ptr<PendingScreenRead> PendingScreenRead::begin()
{
    xcb_connection_t* connection = xcbConnection();
    const xcb_screen_t* screen = rgb32Screen(connection);
    // The root's size now: the connection's setup keeps the size it had at the start.
    return screen ? begin(screen->root, windowSize(connection, screen->root)) : nullptr;
}

std::unique_ptr<PendingScreenRead> PendingScreenRead::begin(xcb_drawable_t drawable, QSize size)
{
    xcb_connection_t* connection = xcbConnection();
    const xcb_screen_t* screen = rgb32Screen(connection);
    const xcb_query_extension_reply_t* shm =
        screen ? xcb_get_extension_data(connection, &xcb_shm_id) : nullptr;
    if (!shm || !shm->present || size.isEmpty())
        return nullptr;
    std::unique_ptr<PendingScreenRead> read(new PendingScreenRead);
    read->connection_ = connection;
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
    const xcb_screen_t* screen = rgb32Screen(connection);
    return screen ? readThroughSocket(connection, screen->root, windowSize(connection, screen->root))
                  : QImage();
}

QImage readHostScreenshot(xcb_window_t window)
{
    xcb_connection_t* connection = xcbConnection();
    const xcb_screen_t* screen = rgb32Screen(connection);
    if (!screen || window == 0)
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
    if (!geometry || geometry->depth != screen->root_depth)
        return {};
    const QSize size(geometry->width, geometry->height);
    // Through shared memory when it can, like the saver's snapshot: the copy
    // then becomes the canvas, and only the pages drawn on count for this process.
    if (const auto read = PendingScreenRead::begin(pixmap, size))
        if (QImage copy = read->finish(); !copy.isNull())
            return copy;
    return readThroughSocket(connection, pixmap, size);
}

QImage grabRootWindow()
{
    for (const GrabMethod method : {GrabMethod::SharedMemory, GrabMethod::Socket, GrabMethod::Qt})
        if (QImage image = grabRootWindow(method); !image.isNull())
            return image;
    return {};
}

} // namespace platform
