#include "celllistbox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>

#include <utility>

TCellListBox::TCellListBox(QWidget *parent) : QComboBox(parent)
{
    setEditable(false);
    // Activation comes from the drop-down only: every key that could change the entry of the
    // closed list is taken below.
    connect(this, &QComboBox::activated, this, &TCellListBox::Picked);
}

bool TCellListBox::PopupOpen() const
{
    const QWidget *popup = QApplication::activePopupWidget();
    return (view() && view()->isVisible()) || (popup && popup->isAncestorOf(view()));
}

void TCellListBox::SetCellFont(const QFont &font)
{
    cellFont_ = font;
}

void TCellListBox::ApplyCellFont()
{
    if (cellFont_)
        setFont(*std::exchange(cellFont_, std::nullopt));
}

void TCellListBox::showEvent(QShowEvent *event)
{
    ApplyCellFont();
    QComboBox::showEvent(event);
}

bool TCellListBox::event(QEvent *event)
{
    // Tab would move the focus on to the next control; in a grid it moves to the next cell.
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            emit LeaveKey(key->key(), key->modifiers());
            return true;
        }
    }
    return QComboBox::event(event);
}

void TCellListBox::keyPressEvent(QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    event->accept();
    switch (event->key()) {
    case Qt::Key_F4:
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        showPopup();
        return;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (mods & Qt::AltModifier)
            showPopup();
        else
            emit LeaveKey(event->key(), mods);
        return;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
        emit LeaveKey(event->key(), mods);
        return;
    case Qt::Key_Escape:
        emit Cancelled();
        return;
    default:
        // Typed characters would pick the entry they start; a beep says they are not taken.
        if (!event->text().isEmpty() && event->text().front().isPrint())
            QApplication::beep();
        return;
    }
}

void TCellListBox::wheelEvent(QWheelEvent *event)
{
    event->accept();
}

void TCellListBox::inputMethodEvent(QInputMethodEvent *event)
{
    event->accept();
}
