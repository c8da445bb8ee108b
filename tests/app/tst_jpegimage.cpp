#include "formversion.h"
#include "jpegimage.h"

#include <QBuffer>
#include <QFile>
#include <QTest>

namespace
{
// A picture written by Qt's own JPEG writer, so the decoder meets a second producer.
QByteArray QtWrittenJpeg(QImage *source = nullptr)
{
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(QColor(200, 40, 40));
    for (int x = 20; x < 40; ++x)
        for (int y = 0; y < 30; ++y)
            image.setPixel(x, y, qRgb(20, 40, 220));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPEG", 95))
        return {};
    if (source)
        *source = image;
    return bytes;
}

QByteArray EmbeddedPicture()
{
    QFile file(QStringLiteral(":/version.jpg"));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestJpegImage : public QObject
{
    Q_OBJECT
private slots:
    void decodesTheVersionPicture()
    {
        const QByteArray bytes = EmbeddedPicture();
        QVERIFY(!bytes.isEmpty());
        const QImage image = DecodeJpeg(bytes);
        QCOMPARE(image.size(), QSize(161, 89));
        QCOMPARE(TFormVersion::Picture().size(), QSize(161, 89));
    }

    void decodesColoursOfAnotherWriter()
    {
        QImage source;
        const QByteArray bytes = QtWrittenJpeg(&source);
        if (bytes.isEmpty())
            QSKIP("Qt's JPEG writer plugin is not installed");
        const QImage image = DecodeJpeg(bytes);
        QCOMPARE(image.size(), source.size());
        for (const QPoint p : {QPoint(5, 5), QPoint(35, 25)}) {
            const QColor want = source.pixelColor(p);
            const QColor got = image.pixelColor(p);
            QVERIFY2(qAbs(want.red() - got.red()) < 12 && qAbs(want.green() - got.green()) < 12 &&
                         qAbs(want.blue() - got.blue()) < 12,
                     qPrintable(got.name()));
        }
    }

    void refusesBadFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = EmbeddedPicture();
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("not a picture") << QByteArray("Программирование параметров");
        QTest::newRow("only the start marker") << QByteArray::fromHex("ffd8");
        QTest::newRow("cut after the header") << good.left(good.size() / 3);
        QTest::newRow("last scan lines missing") << good.left(good.size() - 40);
        QByteArray damagedTables = good;
        // The bytes after the markers hold the quantisation and Huffman tables.
        for (int i = 20; i < 400 && i < damagedTables.size(); i += 3)
            damagedTables[i] = char(0xFF);
        QTest::newRow("damaged tables") << damagedTables;
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImage(4, 4, QImage::Format_RGB32).save(&buffer, "PNG");
        QTest::newRow("a PNG file") << png;
        // A frame header that claims 65500 by 65500 pixels.
        QByteArray huge = good;
        const int sof = huge.indexOf(QByteArray::fromHex("ffc0"));
        QVERIFY(sof > 0);
        huge[sof + 5] = char(0xFF);
        huge[sof + 6] = char(0xDC);
        huge[sof + 7] = char(0xFF);
        huge[sof + 8] = char(0xDC);
        QTest::newRow("huge size in the header") << huge;
    }

    void refusesBadFiles()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(DecodeJpeg(bytes).isNull());
    }
};

QTEST_MAIN(TestJpegImage)
#include "tst_jpegimage.moc"
