#include "settings/DialogFont.h"

#include <QFontMetricsF>
#include <QLabel>
#include <algorithm>

namespace {

// Below this the texts would be unreadable; they are cut off instead.
constexpr qreal SmallestPointSize = 6.0;

bool fits(const QFont& font, const QLabel* label)
{
    const QFontMetricsF metrics(font);
    return metrics.horizontalAdvance(label->text()) <= label->width() &&
           metrics.height() <= label->height();
}

} // namespace

QFont fontFittingLabels(QFont base, const QList<QLabel*>& labels)
{
    const auto allFit = [&](const QFont& font) {
        return std::all_of(labels.begin(), labels.end(),
                           [&](const QLabel* label) { return fits(font, label); });
    };
    while (!allFit(base) && base.pointSizeF() - 0.5 >= SmallestPointSize)
        base.setPointSizeF(base.pointSizeF() - 0.5);
    return base;
}

QFont squeezeBlanks(QFont font, const QString& text, int width)
{
    QString shown = text;
    while (shown.endsWith(QLatin1Char(' ')))
        shown.chop(1);
    QString words = shown;
    words.remove(QLatin1Char(' '));
    const auto advance = [&shown](const QFont& f) { return QFontMetricsF(f).horizontalAdvance(shown); };
    // Every blank keeps at least a pixel, so the words never run together.
    const qreal narrowest = QFontMetricsF(font).horizontalAdvance(words) + (shown.size() - words.size());
    // Qt widens a run of blanks once or each blank, depending on the text
    // engine; measuring each step works either way.
    while (advance(font) > width && advance(font) - 0.5 >= narrowest)
        font.setWordSpacing(font.wordSpacing() - 0.5);
    return font;
}
