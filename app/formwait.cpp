#include "formwait.h"

#include <QCoreApplication>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

TFormWait::TFormWait(QWidget *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FormWait"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(334, 78);

    // A thin raised edge, so the borderless window stands apart from what lies beneath.
    auto *panel = new QFrame(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    QFont font = this->font();
    font.setPixelSize(13);
    auto *label1 = new QLabel(QStringLiteral("Ждите..."));
    label1->setObjectName(QStringLiteral("Label1"));
    auto *label2 = new QLabel(QStringLiteral("Выполняется длинная операция...."));
    label2->setObjectName(QStringLiteral("Label2"));
    for (QLabel *label : {label1, label2}) {
        label->setFont(font);
        label->setAlignment(Qt::AlignCenter);
    }
    QFont bold = font;
    bold.setBold(true);
    label1->setFont(bold);
    auto *inner = new QVBoxLayout(panel);
    inner->addStretch(1);
    inner->addWidget(label1);
    inner->addWidget(label2);
    inner->addStretch(1);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);
}

TFormWait *TFormWait::ShowOver(QWidget *owner)
{
    auto *wait = new TFormWait(owner);
    if (owner) {
        const QRect area = owner->window()->geometry();
        wait->move(area.center() - wait->rect().center());
    }
    wait->show();
    wait->repaint();
    QCoreApplication::processEvents();
    return wait;
}
