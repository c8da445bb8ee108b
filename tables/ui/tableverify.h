#pragma once

#include "tabledifferences.h"
#include "tablelayout.h"

#include <QList>

class TFrameSetZ48;

// The outcome of a verifying read of a tab: the information box when nothing differs, else the
// verify window with a line per field ("товар 7", the column's caption); a line's cell becomes
// the grid's current one, on its own tab, once no run holds the frame.
void ShowTableDifferences(TFrameSetZ48 &frame, TTableTab tab,
                          const QList<TTableDifference> &differences);
