#include "startup/NumberReader.h"

#include <cmath>
#include <gtest/gtest.h>

struct ValCase {
    const char* text;
    double value;
};

class ReadNumber : public testing::TestWithParam<ValCase> {};

TEST_P(ReadNumber, ReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(rtcR8ValFromBstr(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ReadNumber,
                         testing::Values(ValCase{"", 0}, ValCase{" 1234", 1234},
                                         ValCase{"\t\n\r 42", 42}, ValCase{"abc", 0},
                                         ValCase{"12ab34", 12}, ValCase{"-17", -17},
                                         ValCase{"+5", 5}, ValCase{"3.75", 3.75},
                                         ValCase{".5", 0.5}, ValCase{"-.5x", -0.5},
                                         ValCase{"7.", 7}, ValCase{"1e3", 1000},
                                         ValCase{"2E-2", 0.02}, ValCase{"1e", 1},
                                         ValCase{"1e+", 1}, ValCase{"1.2.3", 1.2},
                                         ValCase{"- 5", 0}, ValCase{".", 0},
                                         ValCase{":1234", 0}, ValCase{"0x1F", 0}));

TEST(ReadNumber, HugeNumbersAreInfiniteNotWrapped)
{
    EXPECT_TRUE(std::isinf(rtcR8ValFromBstr("1e999")));
    EXPECT_LT(rtcR8ValFromBstr("-1e999"), 0);
    EXPECT_EQ(rtcR8ValFromBstr("1e-999"), 0.0);
}

TEST(ToInt32, RoundsHalvesToEvenAndRejectsWhatDoesNotFit)
{
    EXPECT_EQ(toInt32OrZero(2.5), 2);
    EXPECT_EQ(toInt32OrZero(3.5), 4);
    EXPECT_EQ(toInt32OrZero(-2.5), -2);
    EXPECT_EQ(toInt32OrZero(4711.4), 4711);
    EXPECT_EQ(toInt32OrZero(2147483647.0), 2147483647);
    EXPECT_EQ(toInt32OrZero(-2147483648.0), -2147483647 - 1);
    EXPECT_EQ(toInt32OrZero(2147483648.0), 0);
    EXPECT_EQ(toInt32OrZero(99999999999.0), 0);
    EXPECT_EQ(toInt32OrZero(INFINITY), 0);
    EXPECT_EQ(toInt32OrZero(NAN), 0);
}

TEST(WholeNumber, AcceptsOnlyANumberWithBlanksAround)
{
    EXPECT_EQ(wholeNumber(" 1 "), 1.0);
    EXPECT_EQ(wholeNumber("1.0"), 1.0);
    EXPECT_EQ(wholeNumber("-3"), -3.0);
    EXPECT_FALSE(wholeNumber("1abc"));
    EXPECT_FALSE(wholeNumber(""));
    EXPECT_FALSE(wholeNumber("yes"));
}
