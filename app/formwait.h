#pragma once

#include <QWidget>

// "Ждите...": a small borderless window on top of all others for the length of a long
// operation. It frees itself when closed.
class TFormWait : public QWidget
{
    Q_OBJECT
public:
    explicit TFormWait(QWidget *owner);

    // Creates the window centered over owner's window, shows it and paints it at once, since
    // the operation that follows keeps the event loop busy. Close it when the operation ends.
    static TFormWait *ShowOver(QWidget *owner);
};
