// Test tool: covers the root window of $DISPLAY with a random pattern and
// writes the same pattern as PNG, so that tests can compare screen copies
// against a known, non-uniform desktop. It then stays connected until it is
// killed or the server goes: an X server without -noreset resets the root
// when its last client leaves.
// On a 16-bit screen the pattern is reduced to its 5-6-5 colours, and the PNG
// holds them as Qt spreads them over 0..255.
// Usage: root_pattern OUT.png [SEED]   (the PNG appears once the root shows it)
#include <QImage>
#include <QRandomGenerator>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

namespace {

/** Random pixels, or with SEED's low bit set, random 8 x 8 blocks (easier on the eye). */
QImage randomPattern(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    const int block = (seed & 1) ? 8 : 1;
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        const auto* above = y ? reinterpret_cast<const QRgb*>(image.constScanLine(y - 1)) : nullptr;
        for (int x = 0; x < width; ++x) {
            if (y % block)
                line[x] = above[x];
            else if (x % block)
                line[x] = line[x - 1];
            else
                line[x] = 0xff000000u | random.generate();
        }
    }
    return image;
}

/** Puts the image into a pixmap in strips small enough for any request size limit. */
void upload(xcb_connection_t* connection, xcb_pixmap_t pixmap, const xcb_screen_t* screen,
            const QImage& image)
{
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    const int rows = std::max(1, 65536 / int(image.bytesPerLine()));
    for (int y = 0; y < image.height(); y += rows) {
        const int count = std::min(rows, image.height() - y);
        xcb_put_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, gc, image.width(), count, 0, y,
                      0, screen->root_depth, std::uint32_t(count * image.bytesPerLine()),
                      image.constScanLine(y));
    }
    xcb_free_gc(connection, gc);
}

/** The pattern in the pixels of the root's depth (24 or 32: as it is; 16: 5-6-5
 *  in the server's byte order, which Xvfb takes from this machine); null for others. */
QImage rootPixels(const QImage& pattern, const xcb_screen_t* screen)
{
    if (screen->root_depth == 24 || screen->root_depth == 32)
        return pattern;
    if (screen->root_depth == 16)
        return pattern.convertToFormat(QImage::Format_RGB16);
    return {};
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: root_pattern OUT.png [SEED]\n");
        return 2;
    }
    const std::unique_ptr<xcb_connection_t, void (*)(xcb_connection_t*)> connection(
        xcb_connect(nullptr, nullptr), xcb_disconnect);
    if (xcb_connection_has_error(connection.get())) {
        std::fprintf(stderr, "root_pattern: cannot open the display\n");
        return 1;
    }
    xcb_connection_t* c = connection.get();
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const quint32 seed = argc == 3 ? quint32(std::strtoul(argv[2], nullptr, 10)) : 1;
    const QImage pixels =
        rootPixels(randomPattern(screen->width_in_pixels, screen->height_in_pixels, seed), screen);
    if (pixels.isNull()) {
        std::fprintf(stderr, "root_pattern: no pattern for a root of depth %d\n", screen->root_depth);
        return 1;
    }
    const QImage pattern = pixels.convertToFormat(QImage::Format_RGB32);

    const xcb_pixmap_t pixmap = xcb_generate_id(c);
    xcb_create_pixmap(c, screen->root_depth, pixmap, screen->root, screen->width_in_pixels,
                      screen->height_in_pixels);
    upload(c, pixmap, screen, pixels);
    xcb_change_window_attributes(c, screen->root, XCB_CW_BACK_PIXMAP, &pixmap);
    xcb_clear_area(c, 0, screen->root, 0, 0, 0, 0);
    xcb_free_pixmap(c, pixmap);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    // Written under another name and renamed, so the PNG never appears half-written.
    const QString out = QString::fromLocal8Bit(argv[1]);
    if (!pattern.save(out + ".part", "PNG") || std::rename(qPrintable(out + ".part"), qPrintable(out)) != 0)
        return 1;
    // Returns only when the connection breaks.
    while (xcb_generic_event_t* event = xcb_wait_for_event(c))
        std::free(event);
    return 0;
}
