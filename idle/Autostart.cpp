#include "idle/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace idle {

QString autostartEntryPath()
{
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    // The XDG base directory rules ignore a relative path.
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/autostart/lilywade-idle.desktop");
}

QString execArgument(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool plain = !argument.isEmpty();
    for (QChar c : argument)
        plain = plain && !reserved.contains(c);
    QString text = argument;
    if (!plain) {
        // Inside double quotes, these four are escaped with a backslash.
        QString quoted;
        for (QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        text = u'"' + quoted + u'"';
    }
    // Then the escapes of every string value, and field codes' percent sign.
    text.replace(u'\\', QStringLiteral("\\\\")).replace(u'\n', QStringLiteral("\\n"));
    return text.replace(u'%', QStringLiteral("%%"));
}

QString autostartEntry(const QString& program, const QStringList& arguments)
{
    QStringList exec{execArgument(program)};
    for (const QString& argument : arguments)
        exec << execArgument(argument);
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Lilywade idle launcher\n"
                          "Comment=Starts the Lilywade screen saver when the session is idle\n"
                          "Exec=%1\n"
                          "Icon=lilywade\n"
                          "Terminal=false\n")
        .arg(exec.join(u' '));
}

AutostartResult setAutostart(bool on, const QString& program, const QStringList& arguments)
{
    const QString path = autostartEntryPath();
    if (!on) {
        if (!QFile::exists(path))
            return {true, QStringLiteral("autostart is off: there was no %1").arg(path)};
        if (!QFile::remove(path))
            return {false, QStringLiteral("cannot remove %1").arg(path)};
        return {true, QStringLiteral("autostart is off: removed %1").arg(path)};
    }
    QSaveFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly)
        || file.write(autostartEntry(program, arguments).toUtf8()) < 0 || !file.commit())
        return {false, QStringLiteral("cannot write %1: %2").arg(path, file.errorString())};
    const QString when = arguments.isEmpty() ? QStringLiteral("the default 5 minutes")
                                             : arguments.join(u' ');
    return {true, QStringLiteral("autostart is on: wrote %1, which starts %2 at login (%3)")
                      .arg(path, program, when)};
}

} // namespace idle
