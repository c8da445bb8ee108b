#pragma once

#include <QPoint>
#include <QRect>

// Where a window (its frame, in screen coordinates) goes so that it does not hide the keep
// rectangle (a grid cell the user was just taken to): where it is when it hides nothing, else
// the first of the places below, above, right and left of the rectangle that lies on the screen
// and leaves it clear; failing all of them, the place that hides the least of it. The window's
// top-left corner is returned.
QPoint PlaceClearOf(const QRect &window, const QRect &keep, const QRect &screen);
