#include "runcontrol.h"

#include "stringgrid.h"
#include "workhost.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>

TRunControl::TRunControl(QPushButton *stopButton, TStringGrid *grid, TWorkHost *host)
    : stop_(stopButton), grid_(grid), host_(host)
{
    if (stop_) {
        window_ = stop_->window();
        connect(stop_, &QPushButton::clicked, this, [this] { stopRequested_ = true; });
        stop_->setVisible(true);
    }
    if (grid_) {
        gridWasReadOnly_ = grid_->ReadOnly();
        grid_->SetReadOnly(true);
    }
    // Seen before any widget: the grid's in-place editor would otherwise take Esc as the end
    // of its edit.
    qApp->installEventFilter(this);
}

TRunControl::~TRunControl()
{
    qApp->removeEventFilter(this);
    if (stop_)
        stop_->setVisible(false);
    if (grid_)
        grid_->SetReadOnly(gridWasReadOnly_);
    if (host_ && !keepPlace_)
        host_->ShowStatus(QString());
}

void TRunControl::ShowPlace(const QString &text)
{
    if (host_)
        host_->ShowStatus(text);
}

void TRunControl::ShowLastPlace(const QString &text)
{
    ShowPlace(text);
    keepPlace_ = true;
}

bool TRunControl::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && window_ && widget->window() == window_) {
            stopRequested_ = true;
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
