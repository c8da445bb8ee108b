// The goods base file (".dbZ48"): layout byte for byte, reading rules, merging, failures.
#include "goodsbasefile.h"
#include "inidocument.h"
#include "tempfolder.h"
#include "win1251.h"

#include <QFile>
#include <QtTest>

#include <sys/stat.h>

namespace
{

QVector<TConfig_PredmRasch> FreshRows(int count)
{
    return QVector<TConfig_PredmRasch>(count, TConfig_PredmRasch{QString(), QStringLiteral("Узкий"),
                                                                 QString(), QString(), QString()});
}

// One section exactly as the file holds it.
QString Section(int n, const QString &name, const QString &font, const QString &barcode,
                const QString &price, const QString &department)
{
    return QStringLiteral("[ТОВАР_#%1]\r\n").arg(n) + QStringLiteral("Наименование=") + name +
           QStringLiteral("\r\nТип шрифта=") + font + QStringLiteral("\r\nШтрих-код=") + barcode +
           QStringLiteral("\r\nЦена=") + price + QStringLiteral("\r\nОтдел/Услуга=") + department +
           QStringLiteral("\r\n\r\n");
}

} // namespace

class TestGoodsBaseFile : public QObject
{
    Q_OBJECT
private slots:
    void dialogFilter();
    void savesFreshGridInExactLayout();
    void savesValuesUnchanged();
    void loadsDefaultsForMissingSection();
    void loadsKeysInOtherCaseAndWithBlanks_data();
    void loadsKeysInOtherCaseAndWithBlanks();
    void blanksAroundValuesDoNotSurvive();
    void mergesIntoExistingFile();
    void loadFromMissingFileCreatesItWithDefaults();
    void loadAcceptsLongValues();
    void failedLoadChangesNothing();
};

void TestGoodsBaseFile::dialogFilter()
{
    QCOMPARE(GoodsBaseFilter(), QStringLiteral("Байлы БД (*.dbZ48)|*.dbZ48"));
    QCOMPARE(GoodsBaseExtension(), QStringLiteral("dbZ48"));
}

void TestGoodsBaseFile::savesFreshGridInExactLayout()
{
    TTempProgramFolder folder;
    QVERIFY(folder.IsValid());
    const QString path = folder.FilePath(QStringLiteral("fresh.dbZ48"));
    QString error;
    QVERIFY2(SaveGoodsBaseFile(path, FreshRows(6000), &error), qPrintable(error));

    QString expected;
    for (int n = 1; n <= 6000; ++n)
        expected += Section(n, {}, QStringLiteral("Узкий"), {}, {}, {});
    const QByteArray bytes = folder.Read(QStringLiteral("fresh.dbZ48"));
    QCOMPARE(bytes, ToWin1251(expected));
    // Windows-1251, no byte-order mark: "[ТОВАР_#1]" CR LF.
    QCOMPARE(bytes.left(12), QByteArray("[\xD2\xCE\xC2\xC0\xD0_#1]\r\n"));
    QVERIFY(bytes.endsWith("\r\n\r\n"));
    QVERIFY(!bytes.contains("\n\n"));
}

void TestGoodsBaseFile::savesValuesUnchanged()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("goods.dbZ48"));
    QVector<TConfig_PredmRasch> rows = FreshRows(3);
    rows[0] = {QStringLiteral("Кофе"), QStringLiteral("Широкий"), QStringLiteral("4600000000000"),
               QStringLiteral("12.50"), QStringLiteral("3")};
    rows[2] = {QStringLiteral("A=B"), QStringLiteral("Узкий"), QString(), QStringLiteral("0.05"),
               QStringLiteral("0")};
    QString error;
    QVERIFY2(SaveGoodsBaseFile(path, rows, &error), qPrintable(error));
    const QByteArray expected = ToWin1251(QStringLiteral("[ТОВАР_#1]\r\n"
                                                         "Наименование=Кофе\r\n"
                                                         "Тип шрифта=Широкий\r\n"
                                                         "Штрих-код=4600000000000\r\n"
                                                         "Цена=12.50\r\n"
                                                         "Отдел/Услуга=3\r\n"
                                                         "\r\n"
                                                         "[ТОВАР_#2]\r\n"
                                                         "Наименование=\r\n"
                                                         "Тип шрифта=Узкий\r\n"
                                                         "Штрих-код=\r\n"
                                                         "Цена=\r\n"
                                                         "Отдел/Услуга=\r\n"
                                                         "\r\n"
                                                         "[ТОВАР_#3]\r\n"
                                                         "Наименование=A=B\r\n"
                                                         "Тип шрифта=Узкий\r\n"
                                                         "Штрих-код=\r\n"
                                                         "Цена=0.05\r\n"
                                                         "Отдел/Услуга=0\r\n"
                                                         "\r\n"));
    QCOMPARE(folder.Read(QStringLiteral("goods.dbZ48")), expected);

    QVector<TConfig_PredmRasch> loaded;
    QVERIFY2(LoadGoodsBaseFile(path, 3, &loaded, &error), qPrintable(error));
    QCOMPARE(loaded, rows);
}

void TestGoodsBaseFile::loadsDefaultsForMissingSection()
{
    TTempProgramFolder folder;
    QString text;
    for (int n = 1; n <= 20; ++n)
        if (n != 17)
            text += Section(n, QStringLiteral("ИМЯ%1").arg(n), QStringLiteral("Широкий"),
                            QString::number(n), QStringLiteral("1.00"), QStringLiteral("9"));
    QVERIFY(folder.Write(QStringLiteral("gap.dbZ48"), ToWin1251(text)));
    QVector<TConfig_PredmRasch> rows;
    QString error;
    QVERIFY2(LoadGoodsBaseFile(folder.FilePath(QStringLiteral("gap.dbZ48")), 6000, &rows, &error),
             qPrintable(error));
    QCOMPARE(rows.size(), 6000);
    const TConfig_PredmRasch defaults{QString(), QStringLiteral("Узкий"), QString(),
                                      QStringLiteral("0.00"), QStringLiteral("0")};
    QCOMPARE(rows[16], defaults);
    QCOMPARE(rows[5999], defaults);
    QCOMPARE(rows[15].Name, QStringLiteral("ИМЯ16"));
    QCOMPARE(rows[17].Barcode, QStringLiteral("18"));
}

void TestGoodsBaseFile::loadsKeysInOtherCaseAndWithBlanks_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("exact") << ToWin1251(Section(2, QStringLiteral("ЧАЙ"), QStringLiteral("Широкий"),
                                                QStringLiteral("77"), QStringLiteral("3.10"),
                                                QStringLiteral("4")));
    QTest::newRow("other case, blanks, LF")
        << ToWin1251(QStringLiteral("; comment\n  [ товар_#2 ]  \nнаименование = ЧАЙ\n"
                                    "ТИП ШРИФТА=Широкий\n\tштрих-код =77\nцена= 3.10 \n"
                                    "отдел/услуга=4\n"));
    QTest::newRow("CR only") << ToWin1251(
        QStringLiteral("[Товар_#2]\rНаименование=ЧАЙ\rТип шрифта=Широкий\rШтрих-код=77\rЦена=3.10\r"
                       "Отдел/Услуга=4"));
}

void TestGoodsBaseFile::loadsKeysInOtherCaseAndWithBlanks()
{
    QFETCH(QByteArray, file);
    TTempProgramFolder folder;
    QVERIFY(folder.Write(QStringLiteral("case.dbZ48"), file));
    QVector<TConfig_PredmRasch> rows;
    QString error;
    QVERIFY2(LoadGoodsBaseFile(folder.FilePath(QStringLiteral("case.dbZ48")), 3, &rows, &error),
             qPrintable(error));
    QCOMPARE(rows[1], (TConfig_PredmRasch{QStringLiteral("ЧАЙ"), QStringLiteral("Широкий"),
                                          QStringLiteral("77"), QStringLiteral("3.10"),
                                          QStringLiteral("4")}));
}

void TestGoodsBaseFile::blanksAroundValuesDoNotSurvive()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("blanks.dbZ48"));
    QVector<TConfig_PredmRasch> rows = FreshRows(1);
    rows[0].Name = QStringLiteral("  ХЛЕБ  ");
    QString error;
    QVERIFY(SaveGoodsBaseFile(path, rows, &error));
    QVector<TConfig_PredmRasch> loaded;
    QVERIFY(LoadGoodsBaseFile(path, 1, &loaded, &error));
    QCOMPARE(loaded[0].Name, QStringLiteral("ХЛЕБ"));
}

void TestGoodsBaseFile::mergesIntoExistingFile()
{
    TTempProgramFolder folder;
    const QByteArray before = ToWin1251(QStringLiteral("лишнее до секций\r\n"
                                                       "[ДРУГОЕ]\r\n"
                                                       "Ключ=Значение\r\n"
                                                       "; комментарий\r\n"
                                                       "[ТОВАР_#2]\r\n"
                                                       "Цена=5.00\r\n"
                                                       "Своё=1\r\n"));
    QVERIFY(folder.Write(QStringLiteral("merge.dbZ48"), before));
    QVector<TConfig_PredmRasch> rows = FreshRows(2);
    rows[1].Price = QStringLiteral("7.00");
    QString error;
    QVERIFY2(SaveGoodsBaseFile(folder.FilePath(QStringLiteral("merge.dbZ48")), rows, &error),
             qPrintable(error));
    // Other sections and keys stay; the goods sections keep their place in the file, new ones
    // follow; comments and the text before the first section are dropped.
    const QByteArray expected = ToWin1251(QStringLiteral("[ДРУГОЕ]\r\n"
                                                         "Ключ=Значение\r\n"
                                                         "\r\n"
                                                         "[ТОВАР_#2]\r\n"
                                                         "Цена=7.00\r\n"
                                                         "Своё=1\r\n"
                                                         "Наименование=\r\n"
                                                         "Тип шрифта=Узкий\r\n"
                                                         "Штрих-код=\r\n"
                                                         "Отдел/Услуга=\r\n"
                                                         "\r\n") +
                                          Section(1, {}, QStringLiteral("Узкий"), {}, {}, {}));
    QCOMPARE(folder.Read(QStringLiteral("merge.dbZ48")), expected);
}

void TestGoodsBaseFile::loadFromMissingFileCreatesItWithDefaults()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("new.dbZ48"));
    QVector<TConfig_PredmRasch> rows = FreshRows(2);
    rows[0].Name = QStringLiteral("СТАРОЕ");
    QString error;
    QVERIFY2(LoadGoodsBaseFile(path, 2, &rows, &error), qPrintable(error));
    QVERIFY(folder.Exists(QStringLiteral("new.dbZ48")));
    QCOMPARE(QFileInfo(path).size(), 0);
    QCOMPARE(rows[0], (TConfig_PredmRasch{QString(), QStringLiteral("Узкий"), QString(),
                                          QStringLiteral("0.00"), QStringLiteral("0")}));
}

void TestGoodsBaseFile::loadAcceptsLongValues()
{
    TTempProgramFolder folder;
    const QString name(30, QChar(0x0416)); // thirty "Ж", beyond any typing limit
    QVERIFY(folder.Write(
        QStringLiteral("long.dbZ48"),
        ToWin1251(Section(1, name, QStringLiteral("Что-то"), QStringLiteral("12345678901234567890"),
                          QStringLiteral("abc"), QStringLiteral("999")))));
    QVector<TConfig_PredmRasch> rows;
    QString error;
    QVERIFY(LoadGoodsBaseFile(folder.FilePath(QStringLiteral("long.dbZ48")), 1, &rows, &error));
    QCOMPARE(rows[0], (TConfig_PredmRasch{name, QStringLiteral("Что-то"),
                                          QStringLiteral("12345678901234567890"),
                                          QStringLiteral("abc"), QStringLiteral("999")}));
}

void TestGoodsBaseFile::failedLoadChangesNothing()
{
    KKT_SKIP_WITHOUT_MODE_BITS();
    TTempProgramFolder folder;
    QVERIFY(folder.Write(QStringLiteral("secret.dbZ48"),
                         ToWin1251(Section(1, QStringLiteral("НОВОЕ"), {}, {}, {}, {}))));
    QVERIFY(::chmod(QFile::encodeName(folder.Path()).constData(), 0755) == 0);
    QVERIFY(::chmod(QFile::encodeName(folder.FilePath(QStringLiteral("secret.dbZ48"))).constData(),
                    0600) == 0);
    const QVector<TConfig_PredmRasch> before = FreshRows(2);
    QVector<TConfig_PredmRasch> rows = before;
    bool unreadable = true;
    bool uncreatable = true;
    QString error;
    {
        TRunAsNobody nobody;
        if (!nobody.PermissionsApply())
            QSKIP("cannot drop root rights here to meet an unreadable file");
        unreadable =
            LoadGoodsBaseFile(folder.FilePath(QStringLiteral("secret.dbZ48")), 2, &rows, &error);
        uncreatable =
            LoadGoodsBaseFile(folder.FilePath(QStringLiteral("missing.dbZ48")), 2, &rows, &error);
    }
    QVERIFY(!unreadable);
    QVERIFY(!uncreatable);
    QVERIFY(!error.isEmpty());
    QCOMPARE(rows, before);
    QVERIFY(!folder.Exists(QStringLiteral("missing.dbZ48")));
    // A folder in place of the file is no goods base either.
    QVERIFY(QDir(folder.Path()).mkdir(QStringLiteral("dir.dbZ48")));
    QVERIFY(!LoadGoodsBaseFile(folder.FilePath(QStringLiteral("dir.dbZ48")), 2, &rows, &error));
    QCOMPARE(rows, before);
}

QTEST_APPLESS_MAIN(TestGoodsBaseFile)
#include "tst_goodsbasefile.moc"
