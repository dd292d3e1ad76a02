#include "idle/IdleOptions.h"

#include <algorithm>

namespace idle {

namespace {

struct TimeOption {
    QString name;
    int unit; // seconds
    int maximum;
};

const TimeOption timeOptions[] = {
    {QStringLiteral("--minutes"), 60, 720},
    {QStringLiteral("--seconds"), 1, 43200},
};

const TimeOption* timeOption(const QString& name)
{
    for (const TimeOption& option : timeOptions)
        if (option.name == name)
            return &option;
    return nullptr;
}

/** The option's name and, for "--name=value", its value. */
std::pair<QString, std::optional<QString>> splitOption(const QString& argument)
{
    const qsizetype equals = argument.indexOf(u'=');
    if (!argument.startsWith(QLatin1String("--")) || equals < 0)
        return {argument, std::nullopt};
    return {argument.left(equals), argument.mid(equals + 1)};
}

/** Only digits: toInt() would also take a sign and surrounding blanks. */
bool isDigits(const QString& text)
{
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

ParsedIdleOptions parseIdleOptions(const QStringList& arguments)
{
    IdleOptions options;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        auto [name, value] = splitOption(arguments[i]);
        if (name == QLatin1String("--help") && !value) {
            options.action = IdleOptions::Action::Help;
            continue;
        }
        const TimeOption* time = timeOption(name);
        if (!time && name != QLatin1String("--autostart"))
            return {std::nullopt, QStringLiteral("unknown argument '%1' (see --help)").arg(arguments[i])};
        if (!value && ++i < arguments.size())
            value = arguments[i];
        if (!value)
            return {std::nullopt, QStringLiteral("%1 needs a value (see --help)").arg(name)};
        if (!time) {
            if (*value != QLatin1String("on") && *value != QLatin1String("off"))
                return {std::nullopt, QStringLiteral("--autostart takes on or off, not '%1'").arg(*value)};
            options.action = *value == QLatin1String("on") ? IdleOptions::Action::AutostartOn
                                                           : IdleOptions::Action::AutostartOff;
            continue;
        }
        bool number = false;
        const int count = value->toInt(&number);
        if (!number || count < 1 || count > time->maximum || !isDigits(*value))
            return {std::nullopt, QStringLiteral("%1 takes a whole number from 1 to %2, not '%3'")
                                      .arg(name).arg(time->maximum).arg(*value)};
        options.timeout = std::chrono::seconds(qint64(count) * time->unit);
        options.timeArguments = {name, QString::number(count)};
    }
    return {options, {}};
}

QString idleHelpText()
{
    return QStringLiteral(
        "Usage: lilywade-idle [--minutes N | --seconds N] [--autostart on|off]\n"
        "Starts the Lilywade screen saver (Lilywade.scr /S) when the session has been\n"
        "idle for the chosen time, for as long as the session lasts.\n"
        "\n"
        "  --minutes N      idle time in minutes, 1 to 720 (default 5)\n"
        "  --seconds N      idle time in seconds, 1 to 43200; the later of the two wins\n"
        "  --autostart on   start lilywade-idle at every login, with the time given\n"
        "  --autostart off  no longer start it at login\n"
        "  --help           show this text\n");
}

} // namespace idle
