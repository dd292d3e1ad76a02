#pragma once
// Starts the saver when the session turns idle and nothing keeps it away;
// waits for it to end, then for the next idle period.

#include "platform/IdleWatch.h"

#include <QObject>
#include <QProcess>
#include <QTimer>
#include <chrono>
#include <memory>
#include <optional>
#include <vector>

namespace idle {

class Launcher : public QObject {
    Q_OBJECT
public:
    Launcher(platform::IdleWatch& watch, std::vector<std::unique_ptr<platform::IdleInhibitor>> inhibitors,
             std::chrono::seconds timeout, QString saver);
    ~Launcher() override;

    /** Ends the saver it started, if one runs. */
    void endSaver();
    /** True while a saver it started runs. */
    bool saverRuns() const { return process_ != nullptr; }

private:
    void onIdle();
    void onActive();
    void onReleased();
    void startUnlessKeptAway();
    bool otherHostRuns(); // says so the first time
    bool inhibited();
    void startSaver();
    void onSaverFinished(int status, QProcess::ExitStatus how);

    platform::IdleWatch& watch_;
    std::vector<std::unique_ptr<platform::IdleInhibitor>> inhibitors_;
    std::chrono::seconds timeout_;
    QString saver_;
    bool idle_ = false;
    bool hostNoted_ = false;
    QTimer delay_; // the wait after an inhibitor let go, or after a crash
    std::unique_ptr<QProcess> process_;
    std::chrono::steady_clock::time_point started_;
    std::optional<std::chrono::steady_clock::time_point> lastFailedStart_;
};

} // namespace idle
