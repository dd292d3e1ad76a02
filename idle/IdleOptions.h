#pragma once
// lilywade-idle's command line: the idle time, help, and the autostart entry.

#include <QString>
#include <QStringList>
#include <chrono>
#include <optional>

namespace idle {

struct IdleOptions {
    enum class Action { Run, Help, AutostartOn, AutostartOff };
    Action action = Action::Run;
    std::chrono::seconds timeout{5 * 60};
    /** The option that chose the time, as the user wrote it ("--minutes",
     *  "10"); empty for the default. The autostart entry repeats it. */
    QStringList timeArguments;
};

/** The options, or one sentence saying what is wrong with the command line. */
struct ParsedIdleOptions {
    std::optional<IdleOptions> options;
    QString error;
};

/** Reads the arguments after the program's name. */
ParsedIdleOptions parseIdleOptions(const QStringList& arguments);

/** What --help prints. */
QString idleHelpText();

} // namespace idle
