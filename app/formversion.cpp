#include "formversion.h"

#include "jpegimage.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPixmap>

namespace
{
const QColor navy(0, 0, 128);
constexpr int borderWidth = 3;
constexpr int textLeft = 182;
constexpr int textWidth = 304 - borderWidth - 4 - textLeft;

// The largest pixel size up to maxPixels at which text fits width, so the caption never clips
// whatever fonts the system has.
QFont FittingFont(QFont font, const QString &text, int maxPixels, int width)
{
    for (int pixels = maxPixels; pixels > 8; --pixels) {
        font.setPixelSize(pixels);
        if (QFontMetrics(font).horizontalAdvance(text) <= width)
            break;
    }
    return font;
}
} // namespace

QImage TFormVersion::Picture()
{
    QFile file(QStringLiteral(":/version.jpg"));
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    return DecodeJpeg(file.readAll());
}

TFormVersion::TFormVersion(const QString &versionText, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("FormVersion"));
    setFixedSize(304, 158);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    panel1_ = new QFrame(this);
    panel1_->setObjectName(QStringLiteral("Panel1"));
    panel1_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel1_->setLineWidth(2);
    panel1_->setFocusPolicy(Qt::StrongFocus);
    panel1_->setGeometry(9, 9, 161 + 6, 89 + 6);
    auto *image1 = new QLabel(panel1_);
    image1->setObjectName(QStringLiteral("Image1"));
    image1->setGeometry(3, 3, 161, 89);
    image1->setAlignment(Qt::AlignCenter);
    image1->setPixmap(QPixmap::fromImage(Picture()));
    image1->setAccessibleName(QStringLiteral("Рисунок программы"));

    const QString caption = QStringLiteral("Версия продукта:");
    auto *label1 = new QLabel(caption, this);
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setFont(FittingFont(font(), caption, 13, textWidth));
    label1->setGeometry(textLeft, 30, textWidth, 18);

    QFont versionFont = font();
    versionFont.setPixelSize(16);
    auto *label2 = new QLabel(versionText, this);
    label2->setObjectName(QStringLiteral("Label2"));
    label2->setFont(versionFont);
    QPalette navyText = label2->palette();
    navyText.setColor(QPalette::WindowText, navy);
    label2->setPalette(navyText);
    label2->setGeometry(textLeft, 52, textWidth, 24);

    panel2_ = new QFrame(this);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    panel2_->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel2_->setLineWidth(2);
    panel2_->setAutoFillBackground(true);
    panel2_->setPalette(white);
    panel2_->setGeometry(304 - 10 - 89, 158 - 10 - 31, 89, 31);
    panel2_->setCursor(Qt::PointingHandCursor);
    panel2_->installEventFilter(this);
    auto *ok = new QLabel(QStringLiteral("OK"), panel2_);
    ok->setObjectName(QStringLiteral("Label3"));
    QFont okFont = font();
    okFont.setPixelSize(14);
    okFont.setBold(true);
    ok->setFont(okFont);
    ok->setPalette(navyText);
    ok->setAlignment(Qt::AlignCenter);
    ok->setGeometry(panel2_->rect());
    ok->setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TFormVersion::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (parentWidget()) {
        const QRect area = parentWidget()->window()->geometry();
        move(area.center() - rect().center());
    }
    panel1_->setFocus();
}

void TFormVersion::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    painter.setPen(Qt::NoPen);
    painter.setBrush(navy);
    const QRect r = rect();
    painter.drawRect(0, 0, r.width(), borderWidth);
    painter.drawRect(0, r.height() - borderWidth, r.width(), borderWidth);
    painter.drawRect(0, 0, borderWidth, r.height());
    painter.drawRect(r.width() - borderWidth, 0, borderWidth, r.height());
}

void TFormVersion::keyPressEvent(QKeyEvent *event)
{
    // The keyboard reaches "OK" too.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Escape:
        OkClick();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool TFormVersion::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == panel2_ && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton) {
        OkClick();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFormVersion::OkClick()
{
    // The picture's frame, which holds the focus, shows lowered before the window goes.
    panel1_->setFrameShadow(QFrame::Sunken);
    panel1_->repaint();
    QCoreApplication::processEvents();
    accept();
}
