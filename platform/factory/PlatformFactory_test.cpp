// The display each use gets, for the environments it meets. No compositor or
// X server answers here, so the rows see the choice through what the factory
// asks of the toolkit and what it says when nothing can be opened.
#include "platform/factory/PlatformFactory.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {

using platform::DisplayUse;

/** Sets an environment variable (unsets it for null) until it goes. */
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        if (qEnvironmentVariableIsSet(name))
            old_ = qgetenv(name);
        value ? qputenv(name, value) : qunsetenv(name);
    }
    ~ScopedVariable() { old_ ? qputenv(name_, *old_) : qunsetenv(name_); }

private:
    const char* name_;
    std::optional<QByteArray> old_;
};

struct Row {
    const char* what;
    DisplayUse use;
    const char* waylandDisplay; // null: not set
    const char* qtPlatform;     // QT_QPA_PLATFORM before; null: not set
    const char* qtPlatformAfter;
    bool started;               // the toolkit was started (an X11 platform is made)
    const char* errorHas;       // a part of the error when nothing could be opened
    bool errorNamesWayland;
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.what; }

// No X server answers at this display, no compositor at this socket.
constexpr const char* noXServer = ":9371";
constexpr const char* noCompositor = "lilywade-no-compositor";

const Row rows[] = {
    {"the preview in a Wayland session, Qt told to use Wayland", DisplayUse::X11Window, noCompositor, "wayland",
     "xcb", false, ":9371", false},
    {"the preview where Qt would choose", DisplayUse::X11Window, nullptr, nullptr, "xcb", false, ":9371", false},
    {"the preview in the tests' offscreen toolkit", DisplayUse::X11Window, noCompositor, "offscreen", "offscreen",
     true, "", false},
    {"the saver where the compositor does not answer", DisplayUse::SaverScreen, noCompositor, "wayland", "xcb",
     false, ":9371", true},
    {"the saver without a Wayland session", DisplayUse::SaverScreen, nullptr, nullptr, "xcb", false, ":9371",
     false},
    {"the dialog where the compositor does not answer", DisplayUse::ToolkitWindows, noCompositor, nullptr, "xcb",
     false, ":9371", true},
    {"the hack's own window where the compositor does not answer", DisplayUse::OwnWindow, noCompositor, nullptr,
     "xcb", false, ":9371", true},
    {"the hack's own window without a Wayland session", DisplayUse::OwnWindow, nullptr, "wayland", "xcb", false,
     ":9371", false},
    {"the dialog in the tests' offscreen toolkit", DisplayUse::ToolkitWindows, nullptr, "offscreen", "offscreen",
     true, "", false},
};

class PlatformFactoryTest : public testing::TestWithParam<Row> {};

TEST_P(PlatformFactoryTest, PicksTheDisplayForTheUse)
{
    const Row& row = GetParam();
    const QTemporaryDir runtime; // where no compositor's socket is
    const ScopedVariable runtimeFolder("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit().constData());
    const ScopedVariable display("DISPLAY", noXServer);
    const ScopedVariable wayland("WAYLAND_DISPLAY", row.waylandDisplay);
    const ScopedVariable qt("QT_QPA_PLATFORM", row.qtPlatform);
    const ScopedVariable scaling("QT_ENABLE_HIGHDPI_SCALING", nullptr);
    bool started = false;
    // The test's own application stays the only one.
    const platform::PlatformOrError made = platform::createPlatform(row.use, [&started] {
        started = true;
        return std::unique_ptr<QGuiApplication>();
    });

    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), row.qtPlatformAfter);
    EXPECT_EQ(started, row.started);
    EXPECT_EQ(bool(made.platform), row.started);
    EXPECT_NE(made.error.find(row.errorHas), std::string::npos) << made.error;
    EXPECT_EQ(made.error.find("Wayland") != std::string::npos, row.errorNamesWayland) << made.error;
    EXPECT_EQ(qgetenv("QT_ENABLE_HIGHDPI_SCALING"), "0");
}

INSTANTIATE_TEST_SUITE_P(Uses, PlatformFactoryTest, testing::ValuesIn(rows),
                         [](const testing::TestParamInfo<Row>& info) { return "row" + std::to_string(info.index); });

} // namespace
