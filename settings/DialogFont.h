#pragma once
// Fitting the desktop's default font into a layout drawn in twips for a
// smaller, narrower font.

#include <QFont>
#include <QList>

class QLabel;
class QString;

/** The base font, smaller in half points until every label's text fits its rectangle. */
QFont fontFittingLabels(QFont base, const QList<QLabel*>& labels);

/** The font with its blanks narrowed so that text, less its trailing blanks, fits width. */
QFont squeezeBlanks(QFont font, const QString& text, int width);
