#pragma once

#include <QComboBox>
#include <QFont>

#include <optional>

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

    // The font of the cells it is laid over. A font change makes a list build its drop-down at
    // once, which for the tables frame's eight lists was a tenth of the program's start-up: the
    // font waits for the list's first showing, or for ApplyCellFont.
    void SetCellFont(const QFont &font);
    void ApplyCellFont();

signals:
    void Picked(int index);
    void LeaveKey(int key, Qt::KeyboardModifiers mods);
    void Cancelled();

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;

private:
    std::optional<QFont> cellFont_;
};
