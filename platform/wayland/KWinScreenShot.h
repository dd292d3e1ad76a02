#pragma once
// A copy of what one output shows, taken by KWin (KDE Plasma's compositor,
// which offers Wayland clients no screen copy protocol) through its D-Bus
// interface org.kde.KWin.ScreenShot2. KWin serves programs that an installed
// desktop entry names; it answers the call once the copy is taken, and then
// writes the pixels into a pipe of ours.

#include <QImage>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <memory>

class QDBusPendingCallWatcher;
class QSocketNotifier;

namespace platform::wayland {

/** One copy of one output, asked of KWin on the session bus. */
class KWinScreenShot {
public:
    /** Asks KWin for a copy of the output named outputName, in the output's own
     *  pixels, without the cursor. done runs once with the copy (Format_RGB32)
     *  or a null image when KWin is not there, refuses or fails: from Qt's event
     *  loop, or at once when no pipe can be made. */
    KWinScreenShot(const QString& outputName, std::function<void(QImage)> done);
    ~KWinScreenShot();
    KWinScreenShot(const KWinScreenShot&) = delete;
    KWinScreenShot& operator=(const KWinScreenShot&) = delete;

    bool isFinished() const { return finished_; }

private:
    void replied();
    void readPixels();
    void finish(QImage image);

    std::function<void(QImage)> done_;
    int pipe_ = -1; // the read end
    std::unique_ptr<QDBusPendingCallWatcher> call_;
    std::unique_ptr<QSocketNotifier> reader_;
    QVariantMap description_;
    qint64 expected_ = 0;
    QByteArray pixels_;
    bool finished_ = false;
};

/** The bytes a copy's description (KWin's answer: type "raw", width, height,
 *  stride, and format, a QImage::Format) promises; 0 for a description that
 *  makes no picture. */
qint64 rawImageBytes(const QVariantMap& description);

/** KWin's raw pixels as the screen showed them, in Format_RGB32: alpha, which
 *  the screen does not show, ignored. Null when bytes and description do not
 *  make a picture. */
QImage rawImage(const QByteArray& bytes, const QVariantMap& description);

} // namespace platform::wayland
