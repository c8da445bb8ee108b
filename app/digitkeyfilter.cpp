#include "digitkeyfilter.h"

#include <QKeyEvent>

bool DigitFieldAcceptsKey(const QKeyEvent &event)
{
    if (event.key() == Qt::Key_Backspace)
        return true;
    // Enter types no digit either; passed on, it would press the dialog's default button.
    if (event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter)
        return false;
    if (event.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return true;
    const QString text = event.text();
    if (text.isEmpty())
        return true;
    for (const QChar c : text) {
        if (c.isPrint() && (c < u'0' || c > u'9'))
            return false;
    }
    return true;
}

bool TDigitKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress &&
        !DigitFieldAcceptsKey(*static_cast<QKeyEvent *>(event)))
        return true;
    return QObject::eventFilter(watched, event);
}
