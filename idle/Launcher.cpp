#include "idle/Launcher.h"

#include <cstdio>

namespace idle {

namespace {

using Clock = std::chrono::steady_clock;

// A saver that fails is started again at the next idle period, but not more
// often than this, so a broken installation never turns into a loop.
constexpr auto RetryPause = std::chrono::minutes(1);

void say(const QString& line)
{
    std::fprintf(stderr, "lilywade-idle: %s\n", qPrintable(line));
}

} // namespace

Launcher::Launcher(platform::IdleWatch& watch, std::vector<std::unique_ptr<platform::IdleInhibitor>> inhibitors,
                   std::chrono::seconds timeout, QString saver)
    : watch_(watch), inhibitors_(std::move(inhibitors)), timeout_(timeout), saver_(std::move(saver))
{
    delay_.setSingleShot(true);
    delay_.setTimerType(Qt::PreciseTimer); // a coarse timer may fire 5 % early
    connect(&delay_, &QTimer::timeout, this, &Launcher::startUnlessKeptAway);
    connect(&watch_, &platform::IdleWatch::idle, this, &Launcher::onIdle);
    connect(&watch_, &platform::IdleWatch::active, this, &Launcher::onActive);
    for (const auto& inhibitor : inhibitors_)
        connect(inhibitor.get(), &platform::IdleInhibitor::released, this, &Launcher::onReleased);
    otherHostRuns();
}

Launcher::~Launcher()
{
    endSaver();
}

void Launcher::endSaver()
{
    if (!process_ || process_->state() == QProcess::NotRunning)
        return;
    process_->disconnect(this);
    process_->terminate();
    if (!process_->waitForFinished(2000)) {
        process_->kill();
        process_->waitForFinished(1000);
    }
}

void Launcher::onIdle()
{
    idle_ = true;
    startUnlessKeptAway();
}

void Launcher::onActive()
{
    idle_ = false;
    delay_.stop();
}

void Launcher::onReleased()
{
    // The idle time counts from the release: the chosen time once more.
    if (idle_ && !process_ && !inhibited())
        delay_.start(timeout_);
}

void Launcher::startUnlessKeptAway()
{
    if (!idle_ || process_)
        return;
    if (otherHostRuns())
        return;
    if (inhibited())
        return; // until released()
    if (lastFailedStart_ && Clock::now() < *lastFailedStart_ + RetryPause) {
        delay_.start(std::chrono::ceil<std::chrono::milliseconds>(*lastFailedStart_ + RetryPause - Clock::now()));
        return;
    }
    startSaver();
}

bool Launcher::otherHostRuns()
{
    const bool runs = watch_.otherHostRuns();
    if (runs && !hostNoted_)
        say(QStringLiteral("another screen-saver host (XScreenSaver) runs on this display; "
                           "starting nothing while it runs"));
    hostNoted_ = hostNoted_ || runs;
    return runs;
}

bool Launcher::inhibited()
{
    for (const auto& inhibitor : inhibitors_)
        if (inhibitor->holds())
            return true;
    return false;
}

void Launcher::startSaver()
{
    process_ = std::make_unique<QProcess>();
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process_.get(), &QProcess::finished, this, &Launcher::onSaverFinished);
    connect(process_.get(), &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart)
            onSaverFinished(-1, QProcess::CrashExit);
    });
    started_ = Clock::now();
    process_->start(saver_, {QStringLiteral("/S")});
}

void Launcher::onSaverFinished(int status, QProcess::ExitStatus how)
{
    if (how == QProcess::CrashExit || status != 0) {
        const QString what = status < 0 ? QStringLiteral("could not be started: %1").arg(process_->errorString())
            : how == QProcess::CrashExit ? QStringLiteral("crashed")
                                         : QStringLiteral("ended with status %1").arg(status);
        say(QStringLiteral("%1 %2; it is started again at the next idle period, at most once a minute")
                .arg(saver_, what));
        lastFailedStart_ = started_;
    }
    process_.release()->deleteLater();
}

} // namespace idle
