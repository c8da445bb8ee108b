#pragma once

#include <QObject>

class QKeyEvent;

// True for a key the number fields take: the digits 0 to 9 and Backspace. Keys that type no
// character (arrows, Home, End, Delete, Tab) and shortcuts with Ctrl pass as well; every other
// character key, Enter included, is discarded.
bool DigitFieldAcceptsKey(const QKeyEvent &event);

// Installed on a line edit: discards the keys DigitFieldAcceptsKey refuses.
class TDigitKeyFilter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
