#pragma once

#include <QDialog>

class QFrame;

// The version window: the program's picture and its version on white, in a navy frame, closed
// by its "OK" panel.
class TFormVersion : public QDialog
{
    Q_OBJECT
public:
    TFormVersion(const QString &versionText, QWidget *parent = nullptr);

    // The picture as stored with the program (161 by 89 pixels); null if it cannot be decoded.
    static QImage Picture();

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OkClick();

    QFrame *panel1_ = nullptr; // the framed panel around the picture
    QFrame *panel2_ = nullptr; // the "OK" panel
};
