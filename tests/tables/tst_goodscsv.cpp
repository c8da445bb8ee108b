// Goods as CSV without widgets: the code pages, separators and quoting an import reads, the
// lines it refuses and why, the rows it chooses, and the export's layout read back.
#include "goodscsv.h"
#include "win1251.h"

#include <QStringEncoder>
#include <QtTest>

namespace
{

using TRows = QVector<TConfig_PredmRasch>;
using TItems = QList<QPair<int, TConfig_PredmRasch>>;
using TProblems = QList<QPair<int, QString>>;

const QString kNarrow = QStringLiteral("Узкий");
const QString kWide = QStringLiteral("Широкий");

TRows FreshRows()
{
    return TRows(6000, TConfig_PredmRasch{QString(), kNarrow, QString(), QString(), QString()});
}

TConfig_PredmRasch Goods(const QString &name, const QString &barcode = QString(),
                         const QString &price = QString(), const QString &department = QString(),
                         const QString &font = QStringLiteral("Узкий"))
{
    return {name, font, barcode, price, department};
}

TItems ItemsOf(const TGoodsImportPlan &plan)
{
    TItems items;
    for (const TGoodsCsvItem &item : plan.items)
        items.append({item.item, item.row});
    return items;
}

TProblems ProblemsOf(const TGoodsImportPlan &plan)
{
    TProblems problems;
    for (const TGoodsCsvProblem &problem : plan.problems)
        problems.append({problem.line, problem.reason});
    return problems;
}

TRows Applied(TRows rows, const TGoodsImportPlan &plan)
{
    for (const TGoodsCsvItem &item : plan.items)
        rows[item.item - 1] = item.row;
    return rows;
}

} // namespace

char *toString(const TConfig_PredmRasch &r)
{
    return qstrdup(QStringList{r.Name, r.Font, r.Barcode, r.Price, r.Department}
                       .join(u'|')
                       .toUtf8()
                       .constData());
}

class TestGoodsCsv : public QObject
{
    Q_OBJECT
private slots:
    void readsEachSeparatorAndEncoding_data();
    void readsEachSeparatorAndEncoding();
    void refusesLinesWithReasons_data();
    void refusesLinesWithReasons();
    void headerColumnsAndFreeRows();
    void exportLayout();
    void exportThenImportGivesSameGrid_data();
    void exportThenImportGivesSameGrid();
};

void TestGoodsCsv::readsEachSeparatorAndEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    const QString semicolon = QStringLiteral("Код;Наименование;Цена\r\n5;хлеб \"Бородинский\";"
                                             "12,50\r\n\r\n7;\"соль; йод\";3\r\n");
    const QString comma = QStringLiteral("Код,Наименование,Цена\n5,\"хлеб \"\"Бородинский\"\"\","
                                         "\"12,50\"\n7,\"соль; йод\",3");
    const QString tab = QStringLiteral("5\tхлеб \"Бородинский\"\tУзкий\t\t12.50\r7\t\"соль; "
                                       "йод\"\t\t\t3\r");
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    QTest::newRow("semicolon, Windows-1251") << ToWin1251(semicolon);
    QTest::newRow("semicolon, UTF-8") << semicolon.toUtf8();
    QTest::newRow("comma, UTF-8 with mark") << "\xEF\xBB\xBF" + comma.toUtf8();
    QTest::newRow("comma, Windows-1251") << ToWin1251(comma);
    QTest::newRow("tab without header, UTF-8 with mark") << "\xEF\xBB\xBF" + tab.toUtf8();
    QTest::newRow("tab, UTF-16 text of a spreadsheet") << QByteArray(utf16.encode(tab));
}

void TestGoodsCsv::readsEachSeparatorAndEncoding()
{
    QFETCH(QByteArray, bytes);
    const TGoodsImportPlan plan = PlanGoodsImport(bytes, FreshRows());
    QCOMPARE(ProblemsOf(plan), TProblems());
    QCOMPARE(ItemsOf(plan), (TItems{{5, Goods(QStringLiteral("ХЛЕБ \"БОРОДИНСКИЙ\""), {}, "12.50")},
                                    {7, Goods(QStringLiteral("СОЛЬ; ЙОД"), {}, "3")}}));
}

void TestGoodsCsv::refusesLinesWithReasons_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("items");
    QTest::addColumn<TProblems>("problems");
    QTest::newRow("quote never closed")
        << QStringLiteral("1;\"ХЛЕБ;Узкий;;1;1\r\n2;МОЛОКО;Узкий;;2;1\r\n") << QList<int>{2}
        << TProblems{{1, "не закрыта кавычка"}};
    QTest::newRow("line break inside quotes, lines still counted")
        << QStringLiteral("8;\"А\r\nБ\"\r\n0;В\r\n") << QList<int>{8}
        << TProblems{{3, "код товара должен быть числом от 1 до 6000"}};
    QTest::newRow("repeated number") << QStringLiteral("3;А\r\n4;Б\r\n3;В\r\n") << QList<int>{3, 4}
                                     << TProblems{{3, "код товара 3 уже был в строке 1"}};
    // Behind a header, so that a file of mostly such lines is still a goods table.
    const QString header = QStringLiteral("Код;Наименование;Шрифт;Штрих-код;Цена;Отдел\r\n");
    QTest::newRow("numbers outside 1..6000")
        << header + QStringLiteral("6001;А\r\n0;Б\r\n1.5;В\r\n") << QList<int>{}
        << TProblems{{2, "код товара должен быть числом от 1 до 6000"},
                     {3, "код товара должен быть числом от 1 до 6000"},
                     {4, "код товара должен быть числом от 1 до 6000"}};
    QTest::newRow("bad cells")
        << header + QStringLiteral(
                        "1;А;Узкий;12345678901234;1;1\r\n2;Б;Узкий;4,6E+12;1;1\r\n"
                        "3;В;Узкий;;1.234;1\r\n4;Г;Узкий;;12 руб;1\r\n5;Д;Узкий;;1;100\r\n"
                        "6;Е;Курсив;;;\r\n7;Ж;Широкий;;99999999999;\r\n8;З;0;0012;1 234,5;07\r\n")
        << QList<int>{8}
        << TProblems{{2, "штрих-код должен состоять из 1–13 цифр"},
                     {3, "штрих-код должен состоять из 1–13 цифр"},
                     {4, "в цене больше двух знаков после запятой"},
                     {5, "цена должна быть числом"},
                     {6, "отдел должен быть числом от 0 до 99"},
                     {7, "тип шрифта должен быть «Узкий» или «Широкий»"},
                     {8, "цена больше 21474836.47"}};
    QTest::newRow("every reason of a line")
        << header + QStringLiteral("x;А;Узкий;12a;;-1\r\n") << QList<int>{}
        << TProblems{{2, "код товара должен быть числом от 1 "
                         "до 6000; штрих-код должен состоять "
                         "из 1–13 цифр; отдел должен быть "
                         "числом от 0 до 99"}};
}

void TestGoodsCsv::refusesLinesWithReasons()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, items);
    QFETCH(TProblems, problems);
    const TGoodsImportPlan plan = PlanGoodsImport(text.toUtf8(), FreshRows());
    QList<int> numbers;
    for (const TGoodsCsvItem &item : plan.items)
        numbers.append(item.item);
    QCOMPARE(numbers, items);
    QCOMPARE(ProblemsOf(plan), problems);
}

void TestGoodsCsv::headerColumnsAndFreeRows()
{
    TRows rows = FreshRows();
    rows[0] = Goods("ЕСТЬ");
    rows[3] = Goods("ТОЖЕ", "46", "5.00", "2", kWide);
    rows[4] = Goods({}, "0", "0.00", "0"); // read from a register without this item: free
    // Another order, loose names, no font column; line 3 names row 2, so the lines without a
    // number go round it; row 4 keeps what the file has no column for.
    const QString text = QStringLiteral(" ШТРИХКОД ;цена за ЕД.;наименование;код\r\n"
                                        "111;1;сахар;\r\n222;2;мука;2\r\n;;очень длинное имя "
                                        "товара, больше 24;\r\n;;соль;4\r\n");
    const TGoodsImportPlan plan = PlanGoodsImport(text.toUtf8(), rows);
    QCOMPARE(ProblemsOf(plan), TProblems());
    QCOMPARE(ItemsOf(plan), (TItems{{3, Goods("САХАР", "111", "1")},
                                    {2, Goods("МУКА", "222", "2")},
                                    {5, Goods("ОЧЕНЬ ДЛИННОЕ ИМЯ ТОВАРА", "", "", "0")},
                                    {4, Goods("СОЛЬ", "", "", "2", kWide)}}));
    QCOMPARE(plan.shortenedNames, 1);
    QCOMPARE(GoodsImportSummary(plan),
             QStringLiteral("Будет заполнено товаров: 4.\r\nНаименований, обрезанных по длине "
                            "шрифта: 1."));

    // With every row taken, a line without a number has nowhere to go; the first thousand
    // such lines are listed, the others counted.
    const TGoodsImportPlan none = PlanGoodsImport(
        "Наименование\r\n" + QByteArray("соль\r\n").repeated(1002), TRows(6000, Goods("X")));
    QCOMPARE(none.problems.size(), 1000);
    QCOMPARE(none.problemCount, 1002);
    QCOMPARE(ProblemsOf(none).constLast(),
             (QPair<int, QString>(1001, "нет свободной строки в таблице товаров")));
    QVERIFY(GoodsImportProblemText(none).startsWith(
        QStringLiteral("Строка 2: нет свободной строки в таблице товаров\r\n")));
    QVERIFY(GoodsImportProblemText(none).endsWith(
        QStringLiteral("\r\nСтрока 1001: нет свободной строки в таблице товаров\r\n…и ещё "
                       "строк: 2")));
}

void TestGoodsCsv::exportLayout()
{
    TRows rows = FreshRows();
    rows[1] = Goods("ХЛЕБ \"ДАРНИЦКИЙ\"; 1", "4601234567890", "45.50", "1");
    rows[5999] = Goods({}, {}, {}, {}, kWide);
    const QString header = QStringLiteral(
        "Код товара;Наименование;Тип шрифта;Штрих-код;Цена за единицу;Отдел/Услуга\r\n");
    const QString line2 =
        QStringLiteral("2;\"ХЛЕБ \"\"ДАРНИЦКИЙ\"\"; 1\";Узкий;4601234567890;45.50;1\r\n");
    QCOMPARE(GoodsCsvBytes(rows, false, TCsvEncoding::Win1251), ToWin1251(header + line2));
    QCOMPARE(GoodsCsvBytes(rows, false, TCsvEncoding::Utf8Bom),
             "\xEF\xBB\xBF" + (header + line2).toUtf8());
    const QByteArray all = GoodsCsvBytes(rows, true, TCsvEncoding::Win1251);
    QCOMPARE(all.count("\r\n"), 6001);
    QVERIFY(all.endsWith(ToWin1251(QStringLiteral("6000;;Широкий;;;\r\n"))));
}

void TestGoodsCsv::exportThenImportGivesSameGrid_data()
{
    QTest::addColumn<bool>("allRows");
    QTest::addColumn<int>("encoding");
    QTest::newRow("items, Windows-1251") << false << int(TCsvEncoding::Win1251);
    QTest::newRow("items, UTF-8") << false << int(TCsvEncoding::Utf8Bom);
    QTest::newRow("all rows, Windows-1251") << true << int(TCsvEncoding::Win1251);
    QTest::newRow("all rows, UTF-8") << true << int(TCsvEncoding::Utf8Bom);
}

void TestGoodsCsv::exportThenImportGivesSameGrid()
{
    QFETCH(bool, allRows);
    QFETCH(int, encoding);
    TRows rows = FreshRows();
    rows[0] = Goods("МОЛОКО 3,2% \"ДОМИК\"", "4607001234567", "89.9", "05");
    rows[1] = Goods("ЧАЙ;ЗЕЛЁНЫЙ", "0", "0.00", "0", kWide);
    rows[2999] = Goods("ХЛЕБ", {}, "12.", {}, kWide);
    rows[5999] = Goods("ABC=1", "1", "21474836.47", "99");
    const QByteArray bytes = GoodsCsvBytes(rows, allRows, TCsvEncoding(encoding));
    // All 6000 rows replace whatever the grid held; the items alone go into a fresh grid.
    const TRows before = allRows ? TRows(6000, Goods("СТАРОЕ", "1", "1", "1", kWide)) : FreshRows();
    const TGoodsImportPlan plan = PlanGoodsImport(bytes, before);
    QCOMPARE(ProblemsOf(plan), TProblems());
    QCOMPARE(plan.items.size(), allRows ? 6000 : 4);
    const TRows after = Applied(before, plan);
    for (int i = 0; i < 6000; ++i)
        QCOMPARE(after[i], rows[i]);
}

QTEST_GUILESS_MAIN(TestGoodsCsv)
#include "tst_goodscsv.moc"
