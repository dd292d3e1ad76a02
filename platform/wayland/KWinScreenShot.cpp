#include "platform/wayland/KWinScreenShot.h"

#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusUnixFileDescriptor>
#include <QSocketNotifier>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace platform::wayland {

namespace {

const QString kwinScreenShot = QStringLiteral("org.kde.KWin.ScreenShot2");

/** Larger than any screen's pixels: a description beyond it is taken for a fault. */
constexpr qint64 mostBytes = qint64(1) << 30;

/** The format whose colour channels format's pixels hold, without alpha. */
QImage::Format opaque(QImage::Format format)
{
    switch (format) {
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        return QImage::Format_RGB32;
    case QImage::Format_RGBA8888:
    case QImage::Format_RGBA8888_Premultiplied:
        return QImage::Format_RGBX8888;
    case QImage::Format_A2BGR30_Premultiplied:
        return QImage::Format_BGR30;
    case QImage::Format_A2RGB30_Premultiplied:
        return QImage::Format_RGB30;
    case QImage::Format_RGBA64:
    case QImage::Format_RGBA64_Premultiplied:
        return QImage::Format_RGBX64;
    default:
        return format;
    }
}

/** The format a description names, if it is one whose pixels stand alone. */
QImage::Format describedFormat(const QVariantMap& description)
{
    const qint64 number = description.value(QStringLiteral("format")).toLongLong();
    // Mono and indexed pixels need a colour table, which KWin does not send.
    if (number <= QImage::Format_Indexed8 || number >= QImage::NImageFormats)
        return QImage::Format_Invalid;
    return QImage::Format(number);
}

/** The rows of a view in Format_RGB32, copied, with the alpha byte set as RGB32 requires. */
QImage opaqueCopy(const QImage& view)
{
    if (view.format() != QImage::Format_RGB32)
        return view.convertToFormat(QImage::Format_RGB32);
    QImage image = view.copy();
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<quint32*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            row[x] |= 0xff000000u;
    }
    return image;
}

} // namespace

qint64 rawImageBytes(const QVariantMap& description)
{
    const qint64 width = description.value(QStringLiteral("width")).toLongLong();
    const qint64 height = description.value(QStringLiteral("height")).toLongLong();
    const qint64 stride = description.value(QStringLiteral("stride")).toLongLong();
    const QImage::Format format = describedFormat(description);
    if (description.value(QStringLiteral("type")).toString() != QStringLiteral("raw")
        || format == QImage::Format_Invalid || width <= 0 || height <= 0 || width > mostBytes
        || height > mostBytes)
        return 0;
    const qint64 rowBytes = (width * QImage::toPixelFormat(format).bitsPerPixel() + 7) / 8;
    if (stride < rowBytes || stride > mostBytes / height)
        return 0;
    return stride * height;
}

QImage rawImage(const QByteArray& bytes, const QVariantMap& description)
{
    const qint64 needed = rawImageBytes(description);
    if (needed == 0 || bytes.size() < needed)
        return QImage();
    const QImage view(reinterpret_cast<const uchar*>(bytes.constData()),
                      description.value(QStringLiteral("width")).toInt(),
                      description.value(QStringLiteral("height")).toInt(),
                      description.value(QStringLiteral("stride")).toLongLong(),
                      opaque(describedFormat(description)));
    return view.isNull() ? QImage() : opaqueCopy(view);
}

KWinScreenShot::KWinScreenShot(const QString& outputName, std::function<void(QImage)> done)
    : done_(std::move(done))
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
        finish(QImage());
        return;
    }
    pipe_ = ends[0];
    QDBusMessage call = QDBusMessage::createMethodCall(kwinScreenShot, QStringLiteral("/org/kde/KWin/ScreenShot2"),
                                                       kwinScreenShot, QStringLiteral("CaptureScreen"));
    // Nothing but a running KWin answers: no program is started for it.
    call.setAutoStartService(false);
    const QVariantMap options{{QStringLiteral("native-resolution"), true},
                              {QStringLiteral("include-cursor"), false}};
    call << outputName << options << QVariant::fromValue(QDBusUnixFileDescriptor(ends[1]));
    ::close(ends[1]); // the message holds a duplicate
    call_ = std::make_unique<QDBusPendingCallWatcher>(QDBusConnection::sessionBus().asyncCall(call));
    QObject::connect(call_.get(), &QDBusPendingCallWatcher::finished, call_.get(), [this] { replied(); });
}

KWinScreenShot::~KWinScreenShot()
{
    reader_.reset();
    call_.reset();
    if (pipe_ >= 0)
        ::close(pipe_);
}

void KWinScreenShot::replied()
{
    {
        const QDBusPendingReply<QVariantMap> reply = *call_;
        if (!reply.isError())
            description_ = reply.value();
    }
    // The pending call keeps the message it sent, and with it a write end of
    // the pipe: once it is gone, KWin's end is the last, and its closing
    // shows as the pipe's end. Not deleted inside its own signal.
    call_.release()->deleteLater();
    expected_ = rawImageBytes(description_);
    if (expected_ == 0)
        return finish(QImage());
    pixels_.reserve(expected_);
    reader_ = std::make_unique<QSocketNotifier>(pipe_, QSocketNotifier::Read);
    QObject::connect(reader_.get(), &QSocketNotifier::activated, reader_.get(), [this] { readPixels(); });
}

void KWinScreenShot::readPixels()
{
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(pipe_, chunk, sizeof chunk);
        if (got > 0 && pixels_.size() + got <= expected_) {
            pixels_.append(chunk, got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN)
            return;
        // The end of the pipe, an error, or more than the description promised.
        return finish(got == 0 ? rawImage(pixels_, description_) : QImage());
    }
}

void KWinScreenShot::finish(QImage image)
{
    if (finished_)
        return;
    finished_ = true;
    if (reader_) {
        reader_->setEnabled(false);
        reader_.release()->deleteLater(); // maybe inside its own signal
    }
    if (pipe_ >= 0)
        ::close(pipe_);
    pipe_ = -1;
    pixels_ = QByteArray();
    if (done_)
        done_(std::move(image));
}

} // namespace platform::wayland
