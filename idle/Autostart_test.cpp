#include "idle/Autostart.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

/** Runs a program and returns its exit status, with its output. */
int run(const QString& program, const QStringList& arguments, QString* output = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // No session bus autolaunched for GLib's launch notice, which would
    // outlive the test.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("disabled:"));
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return -1;
    if (output)
        *output = QString::fromUtf8(process.readAll());
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// The entry is checked by the desktop's own tools: desktop-file-validate
// accepts it, and GLib's launcher (gio launch, as GNOME and others start
// autostart entries) runs the program at an awkward path with the time option.
struct Folder {
    QString path; // under the test's home
};

void PrintTo(const Folder& folder, std::ostream* out)
{
    *out << '"' << qPrintable(folder.path) << '"';
}

class AutostartEntry : public testing::TestWithParam<Folder> {};

TEST_P(AutostartEntry, IsValidAndStartsTheProgramWithTheTime)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/config"));
    const QString folder = home.path() + GetParam().path;
    const QString program = folder + "/lilywade-idle";
    const QString record = home.path() + "/arguments";
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile script(program);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    // Written aside and renamed, so that the test never reads it half written.
    script.write(("#!/bin/sh\nprintf '%s\\n' \"$0\" \"$@\" >'" + record + ".new' && mv '" + record
                  + ".new' '" + record + "'\n").toUtf8());
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const auto written = idle::setAutostart(true, program, {"--minutes", "10"});
    ASSERT_TRUE(written.ok) << qPrintable(written.message);
    const QString entry = idle::autostartEntryPath();
    EXPECT_EQ(entry, home.path() + "/config/autostart/lilywade-idle.desktop");
    QString said;
    EXPECT_EQ(run("desktop-file-validate", {entry}, &said), 0) << qPrintable(said);
    EXPECT_TRUE(said.isEmpty()) << qPrintable(said);

    ASSERT_EQ(run("gio", {"launch", entry}, &said), 0) << qPrintable(said);
    for (int i = 0; i < 500 && !QFile::exists(record); ++i)
        QThread::msleep(10);
    QFile arguments(record);
    ASSERT_TRUE(arguments.open(QIODevice::ReadOnly)) << "the entry did not start the program";
    EXPECT_EQ(QString::fromUtf8(arguments.readAll()), program + "\n--minutes\n10\n");

    const auto removed = idle::setAutostart(false, program, {});
    EXPECT_TRUE(removed.ok);
    EXPECT_FALSE(QFile::exists(entry));
    EXPECT_TRUE(idle::setAutostart(false, program, {}).ok) << "off when already off";
    qunsetenv("XDG_CONFIG_HOME");
}

INSTANTIATE_TEST_SUITE_P(Idle, AutostartEntry, testing::Values(
    Folder{"/bin"}, Folder{"/my programs"}, Folder{"/it's \"$HOME\" `x` \\ #1"}));

// A literal percent sign is doubled (a field code otherwise). GLib looks for
// the program before it undoes that, so it is not in the launch test above.
TEST(AutostartExec, DoublesPercentSigns)
{
    EXPECT_EQ(idle::execArgument("/opt/100%/lilywade-idle"), "/opt/100%%/lilywade-idle");
}

TEST(AutostartPath, FollowsXdgConfigHomeElseHome)
{
    qputenv("XDG_CONFIG_HOME", "relative/ignored");
    EXPECT_EQ(idle::autostartEntryPath(), QDir::homePath() + "/.config/autostart/lilywade-idle.desktop");
    qputenv("XDG_CONFIG_HOME", "/elsewhere");
    EXPECT_EQ(idle::autostartEntryPath(), "/elsewhere/autostart/lilywade-idle.desktop");
    qunsetenv("XDG_CONFIG_HOME");
}

} // namespace
