#pragma once
// GNOME's idle time, as its compositor Mutter counts it and tells it on the
// session bus (org.gnome.Mutter.IdleMonitor), since Mutter offers no Wayland
// idle notifier. Mutter fires an idle watch each time the session has been
// left alone for the time asked, and a user-active watch once, at the first
// input after it was added: one of each is enough.

#include "platform/IdleWatch.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <chrono>
#include <memory>
#include <optional>

class QDBusMessage;

namespace platform::gnome {

class MutterIdleWatch : public IdleWatch {
    Q_OBJECT
public:
    /** The watch over Mutter on bus, or nullptr where Mutter serves no idle
     *  monitor there or refuses the watch. */
    static std::unique_ptr<MutterIdleWatch> create(const QDBusConnection& bus, std::chrono::milliseconds timeout);
    QString source() const override;

private slots:
    void watchFired(uint id);

private:
    explicit MutterIdleWatch(const QDBusConnection& bus);
    /** Adds a watch with call; its id, or nothing when Mutter refuses it. */
    std::optional<uint> addWatch(const QDBusMessage& call);
    void becameIdle();
    void userReturned();

    QDBusConnection m_bus;
    QDBusServiceWatcher m_mutterOnBus;
    uint m_idleWatch = 0;
    /** The user-active watch while the session is idle, else 0 (Mutter's ids start at 1). */
    uint m_activeWatch = 0;
};

} // namespace platform::gnome
