#include "sprites/Blend.h"

#include <QPainter>

namespace {

void drawWith(QImage& target, int x, int y, const QImage& source, QPainter::CompositionMode mode)
{
    QPainter painter(&target);
    painter.setCompositionMode(mode);
    painter.drawImage(x, y, source);
}

} // namespace

void multiplyBlock(QImage& target, int x, int y, const QImage& source)
{
    drawWith(target, x, y, source, QPainter::CompositionMode_Multiply);
}

void addBlock(QImage& target, int x, int y, const QImage& source)
{
    drawWith(target, x, y, source, QPainter::CompositionMode_Plus);
}
