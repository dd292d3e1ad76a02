#pragma once
// The XDG autostart entry that starts lilywade-idle at the user's login.

#include <QString>
#include <QStringList>

namespace idle {

/** $XDG_CONFIG_HOME/autostart/lilywade-idle.desktop ($HOME/.config without it). */
QString autostartEntryPath();

/** The entry's text: Exec runs program (an absolute path) with arguments. */
QString autostartEntry(const QString& program, const QStringList& arguments);

/** One argument of a desktop entry's Exec key, quoted where it needs quotes
 *  and escaped as a string value of the entry. */
QString execArgument(const QString& argument);

/** Writes or removes the entry; returns the line to tell the user and
 *  whether it succeeded. */
struct AutostartResult {
    bool ok;
    QString message;
};
AutostartResult setAutostart(bool on, const QString& program, const QStringList& arguments);

} // namespace idle
