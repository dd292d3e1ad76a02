#include "platform/wayland/CanvasFrames.h"
#include "platform/wayland/CanvasLayout.h"

#include <gtest/gtest.h>

namespace {

using platform::wayland::CanvasFrames;
using platform::wayland::CanvasLayout;
using platform::wayland::LayoutOutput;
using platform::wayland::layoutCanvas;

struct LayoutCase {
    const char* name;
    std::vector<LayoutOutput> outputs;
    QSize size;
    std::vector<QRect> places;
};

const LayoutCase layoutCases[] = {
    {"no outputs", {}, QSize(), {}},
    {"one output", {{QRect(0, 0, 1920, 1080), 1}}, QSize(1920, 1080), {QRect(0, 0, 1920, 1080)}},
    {"two sizes side by side",
     {{QRect(0, 0, 1280, 720), 1}, {QRect(1280, 0, 1024, 768), 1}},
     QSize(2304, 768),
     {QRect(0, 0, 1280, 720), QRect(1280, 0, 1024, 768)}},
    {"one scale of 2: the layout in pixels",
     {{QRect(0, 0, 1280, 720), 2}, {QRect(1280, 0, 1024, 768), 2}},
     QSize(4608, 1536),
     {QRect(0, 0, 2560, 1440), QRect(2560, 0, 2048, 1536)}},
    {"layout left of and above 0,0",
     {{QRect(0, 0, 800, 600), 1}, {QRect(-1024, -100, 1024, 768), 1}},
     QSize(1824, 768),
     {QRect(1024, 100, 800, 600), QRect(0, 0, 1024, 768)}},
    {"layout right of and below 0,0: no empty band before it",
     {{QRect(1920, 200, 800, 600), 1}, {QRect(2720, 300, 1024, 768), 1}},
     QSize(1824, 868),
     {QRect(0, 0, 800, 600), QRect(800, 100, 1024, 768)}},
    {"mixed scales side by side: places at the largest, sizes at their own",
     {{QRect(0, 0, 1280, 720), 1}, {QRect(1280, 0, 1280, 720), 2}},
     QSize(5120, 1440),
     {QRect(0, 0, 1280, 720), QRect(2560, 0, 2560, 1440)}},
    {"mixed scales stacked",
     {{QRect(0, 0, 1280, 720), 2}, {QRect(0, 720, 1920, 1080), 1}},
     QSize(2560, 2520),
     {QRect(0, 0, 2560, 1440), QRect(0, 1440, 1920, 1080)}},
};

// Each output shows its part of either frame through a buffer cut from the
// frames' pool; the compositor refuses (and ends the connection for) one
// whose offset plus stride times height passes the pool's end.
void expectViewsInPool(const CanvasLayout& layout)
{
    const std::size_t stride = std::size_t(layout.size.width()) * 4;
    for (const QRect& place : layout.outputs)
        for (int frame : {0, 1})
            EXPECT_LE(CanvasFrames::offset(layout.size, frame, place.topLeft()) + stride * std::size_t(place.height()),
                      CanvasFrames::poolBytes(layout.size))
                << "frame " << frame << " at " << place.x() << "," << place.y();
}

TEST(CanvasLayout, PlacesEachOutputInItsOwnPixels)
{
    for (const LayoutCase& c : layoutCases) {
        SCOPED_TRACE(c.name);
        const CanvasLayout layout = layoutCanvas(c.outputs);
        EXPECT_EQ(layout.size, c.size);
        EXPECT_EQ(layout.outputs, c.places);
        for (std::size_t i = 0; i < layout.outputs.size(); ++i) {
            EXPECT_EQ(layout.outputs[i].size(), c.outputs[i].logical.size() * c.outputs[i].scale);
            EXPECT_TRUE(QRect(QPoint(0, 0), layout.size).contains(layout.outputs[i]));
            for (std::size_t j = i + 1; j < layout.outputs.size(); ++j)
                EXPECT_FALSE(layout.outputs[i].intersects(layout.outputs[j])) << i << " overlaps " << j;
        }
        expectViewsInPool(layout);
    }
}

} // namespace
