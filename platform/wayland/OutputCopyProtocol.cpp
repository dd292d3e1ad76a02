#include "platform/wayland/OutputCopyProtocol.h"

#include "platform/wayland/ImageCopyCapture.h"
#include "platform/wayland/ScreenCopy.h"

namespace platform::wayland {

namespace {

bool hasImageCopyCapture(const Globals& globals)
{
    return globals.imageCopyCapture && globals.outputCaptureSources && globals.shm;
}

} // namespace

bool canCopyOutputs(const Connection& connection)
{
    const Globals& globals = connection.globals();
    return hasImageCopyCapture(globals) || (globals.screencopy && globals.shm);
}

std::unique_ptr<OutputCopy> copyOutput(const Connection& connection, const Output& output,
                                       std::function<void(QImage)> done)
{
    if (hasImageCopyCapture(connection.globals()))
        return std::make_unique<ImageCopyCapture>(connection, output, std::move(done));
    return std::make_unique<ScreenCopy>(connection, output, std::move(done));
}

} // namespace platform::wayland
