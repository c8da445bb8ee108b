#include "devicerequests.h"
#include "devicetext.h"

#include <QTest>

// Device text conversion in both directions, on Windows-1251 bytes.
class TestDeviceText : public QObject
{
    Q_OBJECT

private:
    static QByteArray Hex(const char *hex) { return QByteArray::fromHex(hex); }

private slots:
    void toDevice_data()
    {
        QTest::addColumn<QByteArray>("win1251");
        QTest::addColumn<QByteArray>("device");
        // ЧЕК 5
        QTest::newRow("capitals and digit") << Hex("d7c5ca2035") << Hex("7e656b2035");
        // чек: small Cyrillic letters are blanks
        QTest::newRow("small cyrillic") << Hex("f7e5ea") << QByteArray("   ");
        QTest::newRow("latin small passes") << QByteArray("abc") << QByteArray("abc");
        QTest::newRow("cr lf dropped") << QByteArray("A\r\nB") << QByteArray("AB");
        QTest::newRow("controls dropped") << Hex("000109411f") << QByteArray("A");
        QTest::newRow("127 passes") << Hex("7f20") << Hex("7f20");
        // Ё, ё, №, 0x80 and 0xBF: not capitals, so blanks
        QTest::newRow("other high bytes") << Hex("a8b8b980bf") << QByteArray("     ");
        // А Я Ъ Ю Щ
        QTest::newRow("table edges") << Hex("c0dfdadeD9") << Hex("61715e607d");
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void toDevice()
    {
        QFETCH(QByteArray, win1251);
        QFETCH(QByteArray, device);
        QCOMPARE(ToDeviceText(win1251).toHex(' '), device.toHex(' '));
    }

    void fromDevice_data()
    {
        QTest::addColumn<QByteArray>("device");
        QTest::addColumn<QByteArray>("win1251");
        QTest::newRow("ЧЕК 5") << Hex("7e656b2035") << Hex("d7c5ca2035");
        // К О Ф Е in a zero-padded 24-byte field
        QTest::newRow("padded field")
            << (Hex("6b6f6665") + QByteArray(20, '\0')) << Hex("caced4c5");
        // Latin a b c are the capitals А Б Ц on the register
        QTest::newRow("latin is cyrillic") << QByteArray("abc") << Hex("c0c1d6");
        QTest::newRow("128 ends the text") << Hex("618062") << Hex("c0");
        QTest::newRow("leading zero") << (QByteArray(1, '\0') + "abc") << QByteArray();
        QTest::newRow("127 is N") << Hex("7f") << QByteArray("N");
        QTest::newRow("cr lf kept") << Hex("0d0a") << Hex("0d0a");
        QTest::newRow("controls dropped") << Hex("0109190b0c0e1a") << Hex("1a");
        QTest::newRow("punctuation kept") << QByteArray("1_[ ]@Z") << QByteArray("1_[ ]@Z");
        QTest::newRow("circumflex and grave") << Hex("5e60") << Hex("dade");
        QTest::newRow("high bytes kept") << Hex("81ffc0") << Hex("81ffc0");
    }
    void fromDevice()
    {
        QFETCH(QByteArray, device);
        QFETCH(QByteArray, win1251);
        QCOMPARE(FromDeviceText(device).toHex(' '), win1251.toHex(' '));
    }

    // Every capital letter survives the way to the register and back.
    void everyCapitalRoundTrips()
    {
        QByteArray capitals;
        for (int c = 0xC0; c <= 0xDF; ++c)
            capitals.append(char(c));
        const QByteArray device = ToDeviceText(capitals);
        QCOMPARE(device.size(), 32);
        for (char b : device)
            QVERIFY(quint8(b) == 94 || (quint8(b) >= 96 && quint8(b) <= 126));
        QCOMPARE(FromDeviceText(device), capitals);
    }

    // The program's own texts on their way: upper-cased by the ANSI rules, cut, converted.
    void encodeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("upper");
        QTest::addColumn<int>("maxChars");
        QTest::addColumn<QByteArray>("device");
        QTest::newRow("кофе upper")
            << QStringLiteral("кофе") << true << 24 << QByteArray::fromHex("6b6f6665");
        QTest::newRow("кофе as is") << QStringLiteral("кофе") << false << 24 << QByteArray("    ");
        QTest::newRow("cut before converting")
            << QStringLiteral("\r\n%1").arg(QString(28, QLatin1Char('A'))) << true << 24
            << QByteArray(22, 'A');
        QTest::newRow("no cut") << QString(30, QLatin1Char('b')) << false << -1
                                << QByteArray(30, 'b');
    }
    void encodeText()
    {
        QFETCH(QString, text);
        QFETCH(bool, upper);
        QFETCH(int, maxChars);
        QFETCH(QByteArray, device);
        QCOMPARE(EncodeDeviceText(text, upper, maxChars).toHex(' '), device.toHex(' '));
    }

    void decodeText()
    {
        QCOMPARE(DecodeDeviceText(QByteArray::fromHex("7e656b2035") + QByteArray(19, '\0')),
                 QStringLiteral("ЧЕК 5"));
        QCOMPARE(DecodeDeviceText(QByteArray(24, '\0')), QString());
    }
};

QTEST_APPLESS_MAIN(TestDeviceText)
#include "tst_devicetext.moc"
