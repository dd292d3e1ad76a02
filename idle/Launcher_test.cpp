#include "idle/Launcher.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class FakeWatch : public platform::IdleWatch {
public:
    QString source() const override { return QStringLiteral("a test"); }
    void turnIdle() { emit idle(); }
    void turnActive() { emit active(); }
};

class FakeInhibitor : public platform::IdleInhibitor {
public:
    bool holding = false;
    bool holds() override { return holding; }
    void letGo()
    {
        holding = false;
        emit released();
    }
};

// A saver that counts its starts and ends with the status the test chose.
class LauncherTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder_.isValid());
        QFile script(saver_);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho \"$1\" >>'%1/starts'\nexit $(cat '%1/status')\n")
                         .arg(folder_.path()).toUtf8());
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        endWith(0);
    }
    void endWith(int status)
    {
        QFile file(folder_.path() + "/status");
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::number(status));
    }
    int starts()
    {
        QFile file(folder_.path() + "/starts");
        return file.open(QIODevice::ReadOnly) ? int(file.readAll().count('\n')) : 0;
    }
    std::unique_ptr<idle::Launcher> launcher(std::chrono::seconds timeout, FakeInhibitor** inhibitor = nullptr)
    {
        std::vector<std::unique_ptr<platform::IdleInhibitor>> inhibitors;
        inhibitors.push_back(std::make_unique<FakeInhibitor>());
        if (inhibitor)
            *inhibitor = static_cast<FakeInhibitor*>(inhibitors.back().get());
        return std::make_unique<idle::Launcher>(watch_, std::move(inhibitors), timeout, saver_);
    }
    /** One idle period that starts the saver, which ends by itself. */
    void idlePeriodStarts(idle::Launcher& launcher, int expectedStarts)
    {
        watch_.turnIdle();
        EXPECT_TRUE(QTest::qWaitFor([&] { return starts() == expectedStarts && !launcher.saverRuns(); }, 10000));
        watch_.turnActive();
    }

    QTemporaryDir folder_;
    QString saver_ = folder_.path() + "/Lilywade.scr";
    FakeWatch watch_;
};

TEST_F(LauncherTest, StartsTheSaverWithSAtEveryIdlePeriod)
{
    auto started = launcher(std::chrono::seconds(60));
    idlePeriodStarts(*started, 1);
    idlePeriodStarts(*started, 2);
    QFile file(folder_.path() + "/starts");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "/S\n/S\n");
}

// A saver that fails comes at the next idle period, but not within a minute
// of the failed start: never a loop.
TEST_F(LauncherTest, FailingSaverIsNotStartedAgainWithinAMinute)
{
    endWith(1);
    auto started = launcher(std::chrono::seconds(60));
    idlePeriodStarts(*started, 1);
    watch_.turnIdle();
    QTest::qWait(1500);
    EXPECT_EQ(starts(), 1);
    watch_.turnActive();
}

// An inhibitor that lets go while the session stays idle: the chosen time
// again, from the release; input meanwhile begins a new idle period.
TEST_F(LauncherTest, AfterAnInhibitorLetsGoTheChosenTimeAgain)
{
    FakeInhibitor* inhibitor = nullptr;
    auto started = launcher(std::chrono::seconds(1), &inhibitor);
    inhibitor->holding = true;
    watch_.turnIdle();
    inhibitor->letGo();
    watch_.turnActive();
    QTest::qWait(1500);
    EXPECT_EQ(starts(), 0) << "started although the user was back";

    inhibitor->holding = true;
    watch_.turnIdle();
    QTest::qWait(300);
    EXPECT_EQ(starts(), 0) << "started while held";
    QElapsedTimer sinceRelease;
    sinceRelease.start();
    inhibitor->letGo();
    ASSERT_TRUE(QTest::qWaitFor([&] { return starts() == 1; }, 10000));
    EXPECT_GE(sinceRelease.elapsed(), 1000);
}

} // namespace
