#pragma once

#include <QComboBox>

// A list laid over a grid cell. Closed, it changes nothing by itself: the arrows, page keys,
// Tab and Shift+Tab hand the key back to the grid, Escape gives up, typed characters and the
// mouse wheel are ignored, and Space, F4, Alt+Down or Enter open the drop-down. Only an entry
// chosen in the open drop-down (a click, Enter) counts as a pick.
class TCellListBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TCellListBox(QWidget *parent = nullptr);

    // True while the drop-down is open, including the moment it takes the focus.
    bool PopupOpen() const;

signals:
    void Picked(int index);
    void LeaveKey(int key, Qt::KeyboardModifiers mods);
    void Cancelled();

protected:
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
};
