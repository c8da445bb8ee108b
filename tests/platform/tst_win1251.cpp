#include "win1251.h"

#include <QtTest/QtTest>

class TstWin1251 : public QObject
{
    Q_OBJECT

private slots:
    void everyByteComesBackUnchanged();
    void lettersOfTheCodePage_data();
    void lettersOfTheCodePage();
    void charactersOutsideBecomeQuestionMarks_data();
    void charactersOutsideBecomeQuestionMarks();
    void membership();
    void upperCase_data();
    void upperCase();
};

void TstWin1251::everyByteComesBackUnchanged()
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = FromWin1251(all);
    QCOMPARE(text.size(), 256);
    QCOMPARE(ToWin1251(text), all);
    // Every character is distinct, so no two bytes share a character.
    QSet<QChar> seen(text.cbegin(), text.cend());
    QCOMPARE(seen.size(), 256);
    for (QChar c : text)
        QVERIFY2(IsWin1251Char(c), qPrintable(QString::number(c.unicode(), 16)));
}

void TstWin1251::lettersOfTheCodePage_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("capital А to Я") << QStringLiteral("АБВЯ") << QByteArray("\xC0\xC1\xC2\xDF");
    QTest::newRow("small а to я") << QStringLiteral("абвя") << QByteArray("\xE0\xE1\xE2\xFF");
    QTest::newRow("Ё and ё") << QStringLiteral("Ёё") << QByteArray("\xA8\xB8");
    QTest::newRow("Ukrainian and Belarusian")
        << QStringLiteral("ІіЇїЄєҐґЎў") << QByteArray("\xB2\xB3\xAF\xBF\xAA\xBA\xA5\xB4\xA1\xA2");
    QTest::newRow("signs") << QStringLiteral("№€«»—–…\u00A0")
                           << QByteArray("\xB9\x88\xAB\xBB\x97\x96\x85\xA0");
    QTest::newRow("the unused byte 0x98") << QStringLiteral("\u0098") << QByteArray("\x98");
    QTest::newRow("ASCII unchanged")
        << QStringLiteral("Speed=19200\r\n") << QByteArray("Speed=19200\r\n");
    QTest::newRow("mixed") << QStringLiteral("ТОВАР_#1") << QByteArray("\xD2\xCE\xC2\xC0\xD0_#1");
}

void TstWin1251::lettersOfTheCodePage()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ToWin1251(text), bytes);
    QCOMPARE(FromWin1251(bytes), text);
}

void TstWin1251::charactersOutsideBecomeQuestionMarks_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Latin-1 letters") << QStringLiteral("äéß") << QByteArray("???");
    QTest::newRow("Greek") << QStringLiteral("Ωλ") << QByteArray("??");
    QTest::newRow("CJK inside text") << QStringLiteral("A中Б") << QByteArray("A?\xC1");
    QTest::newRow("surrogate pair is two units")
        << QStringLiteral("x\U0001F600") << QByteArray("x??");
    QTest::newRow("C1 control other than 0x98") << QStringLiteral("\u0081") << QByteArray("?");
}

void TstWin1251::charactersOutsideBecomeQuestionMarks()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(ToWin1251(text), bytes);
}

void TstWin1251::membership()
{
    QVERIFY(IsWin1251Char(QChar(u'Ж')));
    QVERIFY(IsWin1251Char(QChar(u'\0')));
    QVERIFY(IsWin1251Char(QChar(u'µ')));
    QVERIFY(!IsWin1251Char(QChar(u'ä')));
    QVERIFY(!IsWin1251Char(QChar(u'Μ'))); // Greek capital mu, the capital of µ
    QVERIFY(!IsWin1251Char(QChar(0xFFFF)));
}

void TstWin1251::upperCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");
    QTest::newRow("Cyrillic") << QStringLiteral("товар_#1 абвгдеёжзийклмнопрстуфхцчшщъыьэюя")
                              << QStringLiteral("ТОВАР_#1 АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ");
    QTest::newRow("other Cyrillic of the page")
        << QStringLiteral("ђѓєѕіїјљњћќўџґ") << QStringLiteral("ЂЃЄЅІЇЈЉЊЋЌЎЏҐ");
    QTest::newRow("Latin") << QStringLiteral("speed=abc") << QStringLiteral("SPEED=ABC");
    QTest::newRow("capitals stay") << QStringLiteral("ЁЖ COM") << QStringLiteral("ЁЖ COM");
    QTest::newRow("micro sign has no capital in the page")
        << QStringLiteral("µ") << QStringLiteral("µ");
    QTest::newRow("letters outside the page stay") << QStringLiteral("äω") << QStringLiteral("äω");
    QTest::newRow("digits and signs")
        << QStringLiteral("1.00 №5 «»") << QStringLiteral("1.00 №5 «»");
    QTest::newRow("empty") << QString() << QString();
}

void TstWin1251::upperCase()
{
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QCOMPARE(AnsiUpper(text), upper);
}

QTEST_APPLESS_MAIN(TstWin1251)
#include "tst_win1251.moc"
