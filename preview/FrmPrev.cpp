#include "preview/FrmPrev.h"

#include "startup/Globals.h"

#include <QLabel>
#include <QTimer>
#include <QWindow>
#include <limits>

namespace {

// The still's size in pixels, and the pause between two checks of the host.
constexpr int StillWidth = 160;
constexpr int StillHeight = 120;
constexpr int CheckInterval = 400;

platform::WindowId host() { return static_cast<platform::WindowId>(PreviewParent); }

} // namespace

int previewPixels(int count, std::int16_t unitsPerPixel)
{
    const int twips = count * unitsPerPixel;
    // The scale is whole twips per pixel, so the way back is exact. A scale
    // the 16-bit layout cannot hold, or none at all, keeps the picture at its
    // own size: it is never scaled.
    if (unitsPerPixel <= 0 || twips > std::numeric_limits<std::int16_t>::max())
        return count;
    return twips / unitsPerPixel;
}

FrmPrev::FrmPrev(platform::Platform& platform, const QImage& still)
    : platform_(platform),
      Picture1(new QLabel(this, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)),
      Timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("FrmPrev"));
    setWindowTitle(QStringLiteral("Preview"));
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setAttribute(Qt::WA_ShowWithoutActivating);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Picture1->setPixmap(QPixmap::fromImage(still));

    Timer1->setInterval(CheckInterval);
    connect(Timer1, &QTimer::timeout, this, &FrmPrev::Timer1_Timer);
    Timer1->start();
}

void FrmPrev::Form_Load()
{
    Picture1->setGeometry(0, 0, previewPixels(StillWidth, UnitsPerPixelX),
                          previewPixels(StillHeight, UnitsPerPixelY));
    // To Qt the picture is a window of its own, so that it can be shown while
    // this window stays hidden. Its native window lives inside ours, which is
    // never mapped: should the host's id be no window, the picture stays
    // there, off the screen, and never turns up as a top-level window.
    winId();
    Picture1->winId();
    Picture1->windowHandle()->setParent(windowHandle());
    Picture1->show();
    platform_.SetParent(pictureId(), host());
}

platform::WindowId FrmPrev::pictureId() const
{
    return static_cast<platform::WindowId>(Picture1->winId());
}

platform::WindowId FrmPrev::homeId() const
{
    return static_cast<platform::WindowId>(winId());
}

void FrmPrev::Timer1_Timer()
{
    if (platform_.IsChild(host(), pictureId()))
        return;
    platform_.SetParent(pictureId(), homeId());
    unload();
}

void FrmPrev::unload()
{
    Timer1->stop();
    emit unloaded();
}
