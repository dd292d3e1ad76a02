#include "idle/IdleOptions.h"

#include <gtest/gtest.h>

namespace {

using Action = idle::IdleOptions::Action;

struct Row {
    QStringList args;
    Action action;
    int seconds;
    QStringList timeArguments;
};

void PrintTo(const Row& row, std::ostream* out)
{
    *out << '[' << qPrintable(row.args.join(QStringLiteral("] ["))) << ']';
}

class IdleOptionsAccepts : public testing::TestWithParam<Row> {};

TEST_P(IdleOptionsAccepts, TheseCommandLines)
{
    const auto parsed = idle::parseIdleOptions(GetParam().args);
    ASSERT_TRUE(parsed.options) << qPrintable(parsed.error);
    EXPECT_EQ(parsed.options->action, GetParam().action);
    EXPECT_EQ(parsed.options->timeout.count(), GetParam().seconds);
    EXPECT_EQ(parsed.options->timeArguments, GetParam().timeArguments);
}

const QString minutes = QStringLiteral("--minutes");
const QString seconds = QStringLiteral("--seconds");

INSTANTIATE_TEST_SUITE_P(Idle, IdleOptionsAccepts, testing::Values(
    Row{{}, Action::Run, 300, {}},
    Row{{minutes, "1"}, Action::Run, 60, {minutes, "1"}},
    Row{{minutes, "720"}, Action::Run, 43200, {minutes, "720"}},
    Row{{"--minutes=10"}, Action::Run, 600, {minutes, "10"}},
    Row{{seconds, "2"}, Action::Run, 2, {seconds, "2"}},
    Row{{seconds, "43200"}, Action::Run, 43200, {seconds, "43200"}},
    // The later of the two wins, either way round.
    Row{{minutes, "3", seconds, "7"}, Action::Run, 7, {seconds, "7"}},
    Row{{seconds, "7", minutes, "3"}, Action::Run, 180, {minutes, "3"}},
    Row{{minutes, "3", minutes, "4"}, Action::Run, 240, {minutes, "4"}},
    Row{{"--help"}, Action::Help, 300, {}},
    Row{{"--autostart", "on", minutes, "10"}, Action::AutostartOn, 600, {minutes, "10"}},
    Row{{seconds, "30", "--autostart=on"}, Action::AutostartOn, 30, {seconds, "30"}},
    Row{{"--autostart", "off"}, Action::AutostartOff, 300, {}}));

struct Rejected {
    QStringList args;
};

void PrintTo(const Rejected& row, std::ostream* out)
{
    *out << '[' << qPrintable(row.args.join(QStringLiteral("] ["))) << ']';
}

class IdleOptionsRejects : public testing::TestWithParam<Rejected> {};

TEST_P(IdleOptionsRejects, WithOneLineSayingWhy)
{
    const auto parsed = idle::parseIdleOptions(GetParam().args);
    EXPECT_FALSE(parsed.options);
    EXPECT_FALSE(parsed.error.isEmpty());
    EXPECT_FALSE(parsed.error.contains(u'\n'));
}

INSTANTIATE_TEST_SUITE_P(Idle, IdleOptionsRejects, testing::Values(
    Rejected{{minutes, "0"}}, Rejected{{minutes, "721"}}, Rejected{{minutes, "-5"}},
    Rejected{{minutes, "+5"}}, Rejected{{minutes, "5x"}}, Rejected{{minutes, " 5"}},
    Rejected{{minutes, "1.5"}}, Rejected{{minutes, ""}}, Rejected{{minutes}},
    Rejected{{seconds, "0"}}, Rejected{{seconds, "43201"}}, Rejected{{seconds, "99999999999"}},
    Rejected{{"--autostart"}}, Rejected{{"--autostart", "yes"}}, Rejected{{"--help=1"}},
    Rejected{{"-minutes", "5"}}, Rejected{{"5"}}, Rejected{{"/S"}}, Rejected{{"--verbose"}}));

} // namespace
