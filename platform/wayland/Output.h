#pragma once
// One output (monitor) as the compositor describes it: its name, its place in
// the layout, its scale and its size in pixels.

#include "platform/wayland/Connection.h"

#include <QRect>
#include <QString>
#include <algorithm>
#include <functional>

namespace platform::wayland {

/** An output and its description, complete once the compositor said "done". */
class Output {
public:
    Output(Connection& connection, std::uint32_t globalName, std::uint32_t version);
    Output(const Output&) = delete;
    Output& operator=(const Output&) = delete;

    /** Asks for the logical description when the manager came after the output. */
    void describeLogically(zxdg_output_manager_v1* manager);

    std::uint32_t globalName() const { return globalName_; }
    wl_output* handle() const { return output_.get(); }
    /** The connector's name ("HEADLESS-1", "DP-2"); empty when the compositor gives none. */
    const QString& name() const { return name_; }
    /** Place and size in the layout, in logical units. */
    QRect logicalGeometry() const;
    /** The whole scale surfaces get their buffers in. */
    int scale() const { return scale_; }
    /** The output's size in pixels, turned as it is shown. */
    QSize pixelSize() const;
    /** How the output is turned or mirrored (wl_output_transform). */
    std::int32_t transform() const { return transform_; }
    /** True once the first complete description came. */
    bool isReady() const { return ready_; }

    /** Runs after each complete description; the first one makes the output ready. */
    std::function<void(Output&)> changed;

    void onGeometry(std::int32_t x, std::int32_t y, std::int32_t transform);
    void onMode(std::uint32_t flags, std::int32_t width, std::int32_t height);
    void onScale(std::int32_t factor) { scale_ = std::max(1, factor); }
    void onName(const char* name) { name_ = QString::fromUtf8(name); }
    void onDone();
    void onLogicalPosition(std::int32_t x, std::int32_t y) { logicalPosition_ = {x, y}; }
    void onLogicalSize(std::int32_t width, std::int32_t height);
    void onLogicalDone();

private:
    bool turned() const { return transform_ % 2 == 1; }

    std::uint32_t globalName_;
    WlPtr<wl_output> output_;
    WlPtr<zxdg_output_v1> xdgOutput_;
    QString name_;
    QPoint compositorPosition_;
    QPoint logicalPosition_;
    QSize logicalSize_;
    QSize modeSize_;
    int scale_ = 1;
    std::int32_t transform_ = WL_OUTPUT_TRANSFORM_NORMAL;
    bool outputDone_ = false;
    bool ready_ = false;
};

} // namespace platform::wayland
