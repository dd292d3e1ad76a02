#include "platform/IniStore.h"
#include "platform/FolderLock.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QStringDecoder>
#include <cstdio>

namespace platform {

namespace {

// The existing spelling of name among candidates, or name itself.
QString spelling(const QStringList& candidates, const QString& name)
{
    for (const QString& candidate : candidates)
        if (candidate.compare(name, Qt::CaseInsensitive) == 0)
            return candidate;
    return name;
}

// Enters the group app/section, reusing the spellings already in the file.
void enterSection(QSettings& settings, const QString& app, const QString& section)
{
    settings.beginGroup(spelling(settings.childGroups(), app));
    settings.beginGroup(spelling(settings.childGroups(), section));
}

QString fromStd(const std::string& text) { return QString::fromStdString(text); }

// QSettings locks the file only while it saves it. Its read before that and
// the size and time it notes to tell later whether the file has changed are
// apart: a save by another process in between leaves it an old copy that it
// takes for the current file, and its next save drops what that process
// wrote. Every store operation therefore holds the lock on the file's folder,
// readers together, a writer alone. A reader, such as the saver starting,
// waits a bounded time and then reads the defaults; a writer waits its turn
// however long the others take, as QSettings' own lock does, since a holder
// that dies lets go of the lock with its last descriptor.
constexpr std::chrono::seconds ReadWait{5};

// A settings file is a few hundred bytes; anything far larger is not ours.
constexpr qint64 MaxFileSize = 1 << 20;

// QSettings reads almost anything as INI; a file we did not write must pass
// a stricter look before we read from it or write over it: UTF-8 text whose
// lines are blank, comments, [sections] or key=value pairs.
bool looksLikeIni(const QByteArray& data)
{
    if (data.contains('\0'))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder(data);
    if (decoder.hasError())
        return false;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char(';')) || line.startsWith(QLatin1Char('#')))
            continue;
        const bool section = line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'));
        if (!section && line.indexOf(QLatin1Char('=')) <= 0)
            return false;
    }
    return true;
}

} // namespace

IniStore IniStore::forCurrentUser()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty() || !QDir::isAbsolutePath(base))
        base = QDir::homePath() + QStringLiteral("/.config");
    return IniStore(base + QStringLiteral("/lilywade/settings.ini"));
}

IniStore::IniStore(QString path) : path_(std::move(path)) {}

QString IniStore::folder() const { return QFileInfo(path_).absolutePath(); }

bool IniStore::fileIsUsable() const
{
    QFileInfo info(path_);
    if (!info.exists() && !info.isSymLink())
        return true;
    if (!info.isFile() || info.size() > MaxFileSize)
        return false;
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly) || !looksLikeIni(file.read(MaxFileSize)))
        return false;
    QSettings settings(path_, QSettings::IniFormat);
    return settings.status() == QSettings::NoError;
}

std::string IniStore::read(const std::string& app, const std::string& section,
                           const std::string& key, const std::string& fallback) const
{
    // Without a folder there is no file; a folder that cannot be locked is
    // read as before, unlocked.
    const FolderLock lock(folder(), FolderLock::Mode::Shared, ReadWait);
    if (lock.state() == FolderLock::State::Busy || !fileIsUsable())
        return fallback;
    QSettings settings(path_, QSettings::IniFormat);
    enterSection(settings, fromStd(app), fromStd(section));
    const QString name = spelling(settings.childKeys(), fromStd(key));
    const QVariant value = settings.value(name);
    return value.isValid() ? value.toString().toStdString() : fallback;
}

bool IniStore::setAsideUnusableFile()
{
    // A file we cannot read may still hold something the user wants: keep it
    // under another name rather than overwrite it.
    const QString aside = path_ + QStringLiteral(".unreadable-")
        + QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddhhmmsszzz"));
    if (!QFile::rename(path_, aside) && !QDir().rename(path_, aside))
        return false;
    std::fprintf(stderr, "Lilywade: settings file %s could not be read; kept as %s\n",
                 qPrintable(path_), qPrintable(aside));
    return true;
}

void IniStore::createPrivateFile()
{
    QFile file(path_);
    if (file.exists())
        return;
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}

bool IniStore::write(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& value)
{
    QDir().mkpath(folder());
    const FolderLock lock(folder(), FolderLock::Mode::Exclusive, std::nullopt);
    if (!fileIsUsable() && !setAsideUnusableFile())
        return false;
    createPrivateFile();
    const QDateTime replaced = QFileInfo(path_).lastModified();
    QSettings settings(path_, QSettings::IniFormat);
    enterSection(settings, fromStd(app), fromStd(section));
    settings.setValue(spelling(settings.childKeys(), fromStd(key)), fromStd(value));
    settings.sync();
    if (settings.status() != QSettings::NoError)
        return false;
    stampLaterThan(replaced);
    return true;
}

void IniStore::stampLaterThan(const QDateTime& replaced)
{
    // QSettings tells a changed file by its size and its time to the
    // millisecond, but the file system's clock moves only every few
    // milliseconds: two saves within one step could leave files of one size
    // and one time, and a process holding the first would take the second
    // for it. Each saved file is therefore later than the one it replaced.
    const QDateTime saved = QFileInfo(path_).lastModified();
    if (!replaced.isValid() || !saved.isValid() || saved > replaced)
        return;
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly))
        file.setFileTime(replaced.addMSecs(1), QFileDevice::FileModificationTime);
}

} // namespace platform
