#pragma once

#include <QProxyStyle>

// The program's widget style: the platform's own, except that a push button holding the
// keyboard focus always shows it. Most styles draw the focus ring only once the keyboard has
// been used in the window, so a button that got the focus any other way looked like the rest,
// and Space or Enter then pressed it unseen.
class TProgramStyle : public QProxyStyle
{
public:
    TProgramStyle();

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget = nullptr) const override;
};
