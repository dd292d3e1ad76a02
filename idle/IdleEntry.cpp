// lilywade-idle: starts the saver when the session has been idle for the
// chosen time, for the length of the session.
#include "idle/Autostart.h"
#include "idle/IdleOptions.h"
#include "idle/Launcher.h"
#include "platform/IdleSession.h"
#include "platform/IdleWatch.h"
#include "platform/linux/TerminationSignals.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

void say(const QString& line)
{
    std::fprintf(stderr, "lilywade-idle: %s\n", qPrintable(line));
}

/** Lilywade.scr beside this program (the build folder), else in the
 *  installed program folder. */
QString saverPath()
{
    const QString here = QCoreApplication::applicationDirPath();
    const QString beside = here + QStringLiteral("/Lilywade.scr");
    if (QFileInfo::exists(beside))
        return beside;
    return QDir::cleanPath(here + QStringLiteral("/" LILYWADE_FOLDER_FROM_BIN "/Lilywade.scr"));
}

int autostart(const idle::IdleOptions& options)
{
    const bool on = options.action == idle::IdleOptions::Action::AutostartOn;
    const auto result = idle::setAutostart(on, QCoreApplication::applicationFilePath(), options.timeArguments);
    if (result.ok)
        std::printf("%s\n", qPrintable(result.message));
    else
        say(result.message);
    return result.ok ? 0 : 1;
}

int run(const idle::IdleOptions& options)
{
    const QString saver = saverPath();
    if (!QFileInfo(saver).isExecutable()) {
        say(QStringLiteral("no saver to start at %1").arg(saver));
        return 1;
    }
    if (!platform::claimIdleSession()) {
        say(QStringLiteral("already runs in this session; this one ends"));
        return 0;
    }
    auto made = platform::watchIdle(options.timeout);
    if (!made.watch) {
        say(made.error);
        return 1;
    }
    idle::Launcher launcher(*made.watch, platform::idleInhibitors(), options.timeout, saver);
    QObject::connect(made.watch.get(), &platform::IdleWatch::sessionEnded, qApp, [] { qApp->exit(0); });
    platform::onTerminationSignal([] { qApp->exit(0); });
    say(QStringLiteral("starts %1 /S after %2 s of idle time, as %3 tells")
            .arg(saver).arg(options.timeout.count()).arg(made.watch->source()));
    const int status = QCoreApplication::exec();
    launcher.endSaver();
    return status;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const auto parsed = idle::parseIdleOptions(QCoreApplication::arguments().mid(1));
    if (!parsed.options) {
        say(parsed.error);
        return 1;
    }
    switch (parsed.options->action) {
    case idle::IdleOptions::Action::Help:
        std::printf("%s", qPrintable(idle::idleHelpText()));
        return 0;
    case idle::IdleOptions::Action::AutostartOn:
    case idle::IdleOptions::Action::AutostartOff:
        return autostart(*parsed.options);
    case idle::IdleOptions::Action::Run:
        break;
    }
    return run(*parsed.options);
}
