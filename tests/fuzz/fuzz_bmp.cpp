// Fuzzes the art loader's decoding path: bytes decoded as a BMP, converted
// to RGB32 and drawn with every raster operation onto a small canvas.
#include "platform/BitBlt.h"

#include <QImage>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QImage decoded = QImage::fromData(data, int(size), "BMP");
    if (decoded.isNull() || std::size_t(decoded.width()) * decoded.height() > 4096 * 4096)
        return 0;
    const QImage sprite = decoded.convertToFormat(QImage::Format_RGB32);
    QImage canvas = platform::makeSurface(64, 48);
    for (auto op : {platform::SRCCOPY, platform::SRCAND, platform::SRCINVERT})
        platform::BitBlt(canvas, -10, 20, 95, 95, sprite, 0, 0, op);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(canvas.pixel(x, y)) != 0xff)
                std::abort(); // raster operations must keep the colour opaque
    return 0;
}
