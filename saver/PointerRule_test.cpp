#include "saver/PointerRule.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct Move {
    float x, y;
    bool ends;
};

class PointerMoves : public testing::TestWithParam<std::vector<Move>> {};

TEST_P(PointerMoves, EndOnlyOnARealMoveFromARecordedPlace)
{
    PointerRule rule;
    int n = 0;
    for (const Move& move : GetParam())
        EXPECT_EQ(rule.moveEnds(move.x, move.y), move.ends) << "move " << n++;
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, PointerMoves,
    testing::Values(
        // The first event only records, however far the pointer went.
        std::vector<Move>{{900, 700, false}, {903, 697, false}, {907, 697, true}},
        std::vector<Move>{{100, 100, false}, {100, 96, true}},
        std::vector<Move>{{100, 100, false}, {103, 103, false}, {106, 106, false}},
        // Differences are taken from the rounded position, in fractions.
        std::vector<Move>{{100.4f, 100, false}, {103.4f, 100, true}},
        std::vector<Move>{{100.6f, 100, false}, {103.9f, 100, false}, {107.1f, 100, true}},
        // A recorded 0 on either axis disarms the next event.
        std::vector<Move>{{0, 300, false}, {500, 300, false}, {505, 300, true}},
        std::vector<Move>{{300, 0, false}, {300, 400, false}, {300, 395, true}},
        // Halves round to even: 2.5 records 2.
        std::vector<Move>{{2.5f, 2.5f, false}, {5.9f, 5.9f, true}}));

TEST(PointerRule, RecordsTheRoundedPositionWithin16Bits)
{
    PointerRule rule;
    rule.moveEnds(10.5f, 11.5f);
    EXPECT_EQ(rule.LastMouseX, 10);
    EXPECT_EQ(rule.LastMouseY, 12);
    rule.moveEnds(40000.0f, -40000.0f);
    EXPECT_EQ(rule.LastMouseX, 32767);
    EXPECT_EQ(rule.LastMouseY, -32768);
}

} // namespace
