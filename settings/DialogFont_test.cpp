#include "settings/DialogFont.h"

#include <QFontMetricsF>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

QFont font(qreal points)
{
    QFont f;
    f.setPointSizeF(points);
    return f;
}

TEST(FontFittingLabels, KeepsTheSizeWhenTheTextsFit)
{
    QLabel label(QStringLiteral("Sound"));
    label.resize(400, 40);
    EXPECT_EQ(fontFittingLabels(font(9), {&label}).pointSizeF(), 9);
}

TEST(FontFittingLabels, ShrinksUntilTheWidestTextFits)
{
    QLabel narrow(QStringLiteral("Frog Clears screen when Jumping"));
    QLabel wide(QStringLiteral("Sound"));
    narrow.resize(int(QFontMetricsF(font(9)).horizontalAdvance(narrow.text())) - 10, 40);
    wide.resize(400, 40);
    const QFont fitted = fontFittingLabels(font(9), {&wide, &narrow});
    EXPECT_LT(fitted.pointSizeF(), 9);
    EXPECT_LE(QFontMetricsF(fitted).horizontalAdvance(narrow.text()), narrow.width());
}

TEST(FontFittingLabels, StopsAtAReadableSizeWhenNothingFits)
{
    QLabel label(QStringLiteral("Frog Clears screen when at rest"));
    label.resize(5, 2);
    EXPECT_EQ(fontFittingLabels(font(9), {&label}).pointSizeF(), 6);
}

const QString Legend = QStringLiteral("Faster") + QString(29, QLatin1Char(' ')) +
                       QStringLiteral("Slower") + QString(5, QLatin1Char(' '));

TEST(SqueezeBlanks, NarrowsTheBlanksUntilTheWordsFitIgnoringTrailingOnes)
{
    const QFont base = font(9);
    const qreal natural = QFontMetricsF(base).horizontalAdvance(Legend.trimmed());
    const int width = int(natural) - 20;
    const QFont squeezed = squeezeBlanks(base, Legend, width);
    EXPECT_LE(QFontMetricsF(squeezed).horizontalAdvance(Legend.trimmed()), width);
    EXPECT_GT(QFontMetricsF(squeezed).horizontalAdvance(Legend.trimmed()), width - 15);
    EXPECT_EQ(squeezed.pointSizeF(), 9);
}

TEST(SqueezeBlanks, LeavesTheFontAloneWhenTheTextFits)
{
    EXPECT_EQ(squeezeBlanks(font(9), Legend, 1000).wordSpacing(), 0);
}

TEST(SqueezeBlanks, NeverLetsTheWordsRunTogether)
{
    const QFont squeezed = squeezeBlanks(font(9), Legend, 10);
    const QFontMetricsF metrics(squeezed);
    EXPECT_GE(metrics.horizontalAdvance(Legend.trimmed()),
              metrics.horizontalAdvance(QStringLiteral("FasterSlower")) + 29 - 0.5);
}

} // namespace
