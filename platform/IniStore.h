#pragma once
// The per-user settings store: one INI file, values named by application,
// section and key. Names match without regard to case; a name keeps the
// spelling it was first written with. Each write replaces the file
// atomically; reads and writes of all processes take turns through a lock on
// the file's folder, so concurrent writers keep each other's values.

#include <QDateTime>
#include <QString>
#include <string>

namespace platform {

class IniStore {
public:
    /** The store at $XDG_CONFIG_HOME/lilywade/settings.ini (default ~/.config). */
    static IniStore forCurrentUser();
    explicit IniStore(QString path);

    /** The stored text, or fallback when the name is missing or the file unreadable. */
    std::string read(const std::string& app, const std::string& section, const std::string& key,
                     const std::string& fallback) const;
    /** Stores text under the name; false when the file could not be written. */
    bool write(const std::string& app, const std::string& section, const std::string& key,
               const std::string& value);

    const QString& path() const { return path_; }

private:
    QString folder() const;
    bool fileIsUsable() const;
    bool setAsideUnusableFile();
    void createPrivateFile();
    void stampLaterThan(const QDateTime& replaced);

    QString path_;
};

} // namespace platform
