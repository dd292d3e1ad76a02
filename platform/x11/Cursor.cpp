// The cursor display count: while it is negative, every window of the
// program shows a blank cursor.
#include "platform/x11/X11Platform.h"
#include "platform/x11/XConnection.h"

#include <QCursor>
#include <QGuiApplication>

namespace platform {

std::int32_t X11Platform::ShowCursor(std::int32_t show)
{
    const bool wasHidden = cursorCount_ < 0;
    cursorCount_ += show ? 1 : -1;
    const bool hidden = cursorCount_ < 0;
    if (hidden && !wasHidden)
        QGuiApplication::setOverrideCursor(QCursor(Qt::BlankCursor));
    else if (!hidden && wasHidden) {
        QGuiApplication::restoreOverrideCursor();
        flushX();
    }
    return cursorCount_;
}

} // namespace platform
