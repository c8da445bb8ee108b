// Draws the program's icon once, in the motif of the version picture: a cash register printing
// a receipt. Writes assets/icons/kkt-programmer-<size>.png for the Linux icon theme and the
// window, and assets/kkt-programmer.ico (PNG-compressed entries) for the Windows executable.
#include <QBuffer>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace
{

QImage Draw(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    const QColor navy(0, 0, 128);
    // Small sizes get thicker strokes and fewer details, so they stay readable.
    const bool tiny = size <= 24;

    // The receipt, above the register.
    p.setPen(QPen(QColor(120, 120, 140), tiny ? 12 : 6));
    p.setBrush(QColor(252, 252, 246));
    p.drawRect(QRectF(70, 14, 116, 130));
    if (!tiny) {
        p.setPen(QPen(QColor(110, 110, 130), 10, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 4; ++i)
            p.drawLine(QPointF(92, 42 + i * 22), QPointF(i % 2 ? 146 : 164, 42 + i * 22));
    }

    // The register body.
    QLinearGradient body(0, 110, 0, 248);
    body.setColorAt(0, QColor(80, 92, 170));
    body.setColorAt(1, navy);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(QRectF(12, 110, 232, 138), 24, 24);
    // Its display.
    p.setBrush(QColor(170, 230, 170));
    p.drawRoundedRect(QRectF(32, 128, 110, 34), 6, 6);
    // Its keys.
    p.setBrush(QColor(230, 234, 245));
    const int rows = tiny ? 2 : 3;
    const int cols = tiny ? 3 : 4;
    const qreal keyW = 192.0 / cols;
    const qreal keyH = 64.0 / rows;
    for (int row = 0; row < rows; ++row)
        for (int col = 0; col < cols; ++col)
            p.drawRoundedRect(QRectF(32 + col * keyW, 172 + row * keyH, keyW - 12, keyH - 8), 4, 4);
    p.end();
    return image;
}

QByteArray Png(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An ICO container whose entries are PNG images (read by Windows since Vista and by windres).
bool WriteIco(const QString &path, const QList<QImage> &images)
{
    QList<QByteArray> pngs;
    for (const QImage &image : images)
        pngs.append(Png(image));
    QByteArray ico;
    QDataStream out(&ico, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out << quint16(0) << quint16(1) << quint16(images.size());
    quint32 offset = 6 + 16 * quint32(images.size());
    for (int i = 0; i < images.size(); ++i) {
        const int side = images.at(i).width();
        // A side of 256 is written as 0.
        out << quint8(side & 0xFF) << quint8(side & 0xFF) << quint8(0) << quint8(0) << quint16(1)
            << quint16(32) << quint32(pngs.at(i).size()) << offset;
        offset += quint32(pngs.at(i).size());
    }
    for (const QByteArray &png : pngs)
        out.writeRawData(png.constData(), int(png.size()));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(ico) == ico.size();
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const QString assets = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("assets");
    QDir().mkpath(assets + QStringLiteral("/icons"));
    QList<QImage> icoImages;
    for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image = Draw(size);
        const QString path = QStringLiteral("%1/icons/kkt-programmer-%2.png").arg(assets).arg(size);
        if (!image.save(path, "PNG")) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        if (size != 24 && size != 64 && size != 128)
            icoImages.append(image);
    }
    return WriteIco(assets + QStringLiteral("/kkt-programmer.ico"), icoImages) ? 0 : 1;
}
