#include "hack/HackGround.h"

#include <QPainter>

QImage hackGround(platform::Platform& platform, platform::WindowId host, QSize size, bool blank)
{
    const QImage copy = blank || host == 0 ? QImage() : platform.hostScreenshot(host);
    if (copy.size() == size)
        return copy.convertToFormat(QImage::Format_RGB32);
    // A small preview window gets the whole screen scaled down.
    return fittedInto(copy, size);
}

QImage fittedInto(const QImage& copy, QSize size)
{
    QImage ground(size, QImage::Format_RGB32);
    ground.fill(Qt::black);
    if (copy.isNull() || size.isEmpty())
        return ground;
    const QImage scaled = copy.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QPainter painter(&ground);
    painter.drawImage(QPoint((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2),
                      scaled);
    return ground;
}
