#include "programstyle.h"

#include <QPainter>
#include <QStyleOption>

TProgramStyle::TProgramStyle() : QProxyStyle() {}

void TProgramStyle::drawControl(ControlElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    QProxyStyle::drawControl(element, option, painter, widget);
    if (element != CE_PushButton || !(option->state & State_HasFocus))
        return;
    // A dotted ring inside the button's frame, in the text colour, as classic buttons show it.
    const QRect ring =
        subElementRect(SE_PushButtonFocusRect, option, widget).adjusted(1, 1, -2, -2);
    painter->save();
    QPen pen(option->palette.color(QPalette::ButtonText), 1, Qt::DotLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(ring);
    painter->restore();
}
