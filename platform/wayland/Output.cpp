#include "platform/wayland/Output.h"

namespace platform::wayland {

namespace {

Output& self(void* data) { return *static_cast<Output*>(data); }

void outputGeometry(void* data, wl_output*, std::int32_t x, std::int32_t y, std::int32_t, std::int32_t,
                    std::int32_t, const char*, const char*, std::int32_t transform)
{
    self(data).onGeometry(x, y, transform);
}
void outputMode(void* data, wl_output*, std::uint32_t flags, std::int32_t width, std::int32_t height,
                std::int32_t)
{
    self(data).onMode(flags, width, height);
}
void outputDone(void* data, wl_output*) { self(data).onDone(); }
void outputScale(void* data, wl_output*, std::int32_t factor) { self(data).onScale(factor); }
void outputName(void* data, wl_output*, const char* name) { self(data).onName(name); }
void outputDescription(void*, wl_output*, const char*) {}
const wl_output_listener outputListener = {outputGeometry, outputMode,  outputDone,
                                           outputScale,    outputName, outputDescription};

void logicalPosition(void* data, zxdg_output_v1*, std::int32_t x, std::int32_t y)
{
    self(data).onLogicalPosition(x, y);
}
void logicalSize(void* data, zxdg_output_v1*, std::int32_t width, std::int32_t height)
{
    self(data).onLogicalSize(width, height);
}
void logicalDone(void* data, zxdg_output_v1*) { self(data).onLogicalDone(); }
void logicalName(void* data, zxdg_output_v1*, const char* name) { self(data).onName(name); }
void logicalDescription(void*, zxdg_output_v1*, const char*) {}
const zxdg_output_v1_listener xdgOutputListener = {logicalPosition, logicalSize, logicalDone, logicalName,
                                                   logicalDescription};

} // namespace

Output::Output(Connection& connection, std::uint32_t globalName, std::uint32_t version)
    : globalName_(globalName),
      output_(static_cast<wl_output*>(
          wl_registry_bind(connection.registry(), globalName, &wl_output_interface, std::min(version, 4u))))
{
    wl_output_add_listener(output_.get(), &outputListener, this);
    if (connection.globals().xdgOutputManager)
        describeLogically(connection.globals().xdgOutputManager.get());
}

void Output::describeLogically(zxdg_output_manager_v1* manager)
{
    if (xdgOutput_)
        return;
    xdgOutput_.reset(zxdg_output_manager_v1_get_xdg_output(manager, output_.get()));
    zxdg_output_v1_add_listener(xdgOutput_.get(), &xdgOutputListener, this);
}

QRect Output::logicalGeometry() const
{
    if (xdgOutput_ && logicalSize_.isValid())
        return {logicalPosition_, logicalSize_};
    return {compositorPosition_, pixelSize() / scale_};
}

QSize Output::pixelSize() const { return turned() ? modeSize_.transposed() : modeSize_; }

void Output::onGeometry(std::int32_t x, std::int32_t y, std::int32_t transform)
{
    compositorPosition_ = {x, y};
    transform_ = transform;
}

void Output::onMode(std::uint32_t flags, std::int32_t width, std::int32_t height)
{
    if (flags & WL_OUTPUT_MODE_CURRENT)
        modeSize_ = {width, height};
    // Version 1 has no "done": each current mode completes a description.
    if (wl_output_get_version(output_.get()) < WL_OUTPUT_DONE_SINCE_VERSION)
        onDone();
}

void Output::onLogicalSize(std::int32_t width, std::int32_t height) { logicalSize_ = {width, height}; }

void Output::onDone()
{
    outputDone_ = true;
    // Without a logical size yet, the xdg-output "done" (versions 1 and 2) completes it.
    if (xdgOutput_ && !logicalSize_.isValid())
        return;
    if (modeSize_.isEmpty())
        return;
    ready_ = true;
    if (changed)
        changed(*this);
}

void Output::onLogicalDone()
{
    if (outputDone_)
        onDone();
}

} // namespace platform::wayland
