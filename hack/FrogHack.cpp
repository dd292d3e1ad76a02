#include "hack/FrogHack.h"

#include <QResizeEvent>

FrogHack::FrogHack(platform::Platform& platform, const SpriteSet& sprites, QWindow* host,
                   QSize size, GroundSource groundFor)
    : FrogField(platform, sprites, size, host), groundFor_(std::move(groundFor))
{
    if (!host)
        setTitle(QStringLiteral("Lilywade"));
    placeFrogs();
    canvas_->replace(groundFor_(size));
}

void FrogHack::resizeEvent(QResizeEvent* event)
{
    // The host's window was resized (monitors changed), or the user resized ours.
    if (event->size() != canvas().size())
        replaceGround(groundFor_(event->size()));
}
