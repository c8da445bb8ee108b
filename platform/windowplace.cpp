#include "windowplace.h"

#include <QList>

#include <algorithm>

namespace
{

// A gap between the window and the rectangle it keeps clear of.
constexpr int kGap = 8;

// The top-left that keeps a window of this size on the screen, as near the wanted one as can be.
QPoint OnScreen(QPoint topLeft, QSize size, const QRect &screen)
{
    const int x = std::clamp(topLeft.x(), screen.left(),
                             qMax(screen.left(), screen.right() - size.width() + 1));
    const int y = std::clamp(topLeft.y(), screen.top(),
                             qMax(screen.top(), screen.bottom() - size.height() + 1));
    return {x, y};
}

qint64 HiddenArea(const QRect &window, const QRect &keep)
{
    const QRect hidden = window.intersected(keep);
    return hidden.isEmpty() ? 0 : qint64(hidden.width()) * hidden.height();
}

} // namespace

QPoint PlaceClearOf(const QRect &window, const QRect &keep, const QRect &screen)
{
    if (keep.isEmpty() || !window.intersects(keep))
        return window.topLeft();
    const QSize size = window.size();
    const QList<QPoint> wanted = {
        {window.x(), keep.bottom() + 1 + kGap},          // below
        {window.x(), keep.top() - kGap - size.height()}, // above
        {keep.right() + 1 + kGap, window.y()},           // right
        {keep.left() - kGap - size.width(), window.y()}, // left
    };
    QPoint best = window.topLeft();
    qint64 bestHidden = HiddenArea(window, keep);
    for (const QPoint &place : wanted) {
        const QPoint topLeft = OnScreen(place, size, screen);
        const qint64 hidden = HiddenArea(QRect(topLeft, size), keep);
        if (hidden == 0)
            return topLeft;
        if (hidden < bestHidden) {
            best = topLeft;
            bestHidden = hidden;
        }
    }
    return best;
}
