// Draws the picture of the version window once: a cash register printing a receipt, with the
// program's short name. The JPEG it writes is committed as assets/version.jpg.
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString outPath =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("version.jpg");
    const QColor navy(0, 0, 128);
    const QColor paper(252, 252, 246);

    QImage image(161, 89, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, 89);
    sky.setColorAt(0, QColor(236, 242, 252));
    sky.setColorAt(1, QColor(200, 214, 240));
    p.fillRect(image.rect(), sky);

    // The receipt coming out of the register, with a torn lower edge.
    QPainterPath receipt;
    receipt.moveTo(22, 6);
    receipt.lineTo(58, 6);
    receipt.lineTo(58, 44);
    receipt.lineTo(22, 44);
    receipt.closeSubpath();
    p.setPen(QPen(QColor(150, 150, 160), 1));
    p.setBrush(paper);
    p.drawPath(receipt);
    p.setPen(QPen(QColor(120, 120, 140), 1.5));
    for (int y = 12; y <= 32; y += 5)
        p.drawLine(QPointF(26, y), QPointF(y % 2 ? 48 : 54, y));

    // The register body.
    QLinearGradient body(0, 40, 0, 84);
    body.setColorAt(0, QColor(70, 80, 150));
    body.setColorAt(1, navy);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(8, 40, 66, 44), 6, 6);
    // Its display.
    p.setBrush(QColor(170, 230, 170));
    p.drawRoundedRect(QRectF(14, 46, 30, 10), 2, 2);
    // Its keys.
    p.setBrush(QColor(230, 234, 245));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRoundedRect(QRectF(14 + col * 13, 60 + row * 7.5, 10, 5), 1.5, 1.5);

    // The short name of the device and of the work.
    p.setPen(navy);
    QFont big(QStringLiteral("DejaVu Sans"));
    big.setPixelSize(30);
    big.setBold(true);
    p.setFont(big);
    p.drawText(QRectF(78, 8, 80, 40), Qt::AlignCenter, QStringLiteral("ККТ"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(11);
    p.setFont(small);
    p.drawText(QRectF(78, 46, 80, 16), Qt::AlignCenter, QStringLiteral("GSM · Z48"));
    p.setPen(QPen(navy, 1));
    p.drawLine(QPointF(86, 66), QPointF(150, 66));
    p.drawText(QRectF(78, 68, 80, 16), Qt::AlignCenter, QStringLiteral("настройка"));
    p.end();

    return image.save(outPath, "JPEG", 90) ? 0 : 1;
}
