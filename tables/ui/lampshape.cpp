#include "lampshape.h"

#include <QPainter>

TLampShape::TLampShape(QWidget *parent) : QWidget(parent)
{
    setFixedSize(15, 15);
}

void TLampShape::SetColor(const QColor &color)
{
    color_ = color;
    update();
}

void TLampShape::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::black);
    painter.setBrush(color_);
    painter.drawEllipse(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
}
