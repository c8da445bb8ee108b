// Cell conversions, register addressing and range checks of the tables frame's runs.
#include "gridtexts.h"
#include "rangecheck.h"
#include "runstatus.h"
#include "tablecodes.h"
#include "tablelayout.h"

#include <QtTest>

class TestTableCodes : public QObject
{
    Q_OBJECT
private slots:
    void wholeNumber_data();
    void wholeNumber();
    void encodePrice_data();
    void encodePrice();
    void decodePrice_data();
    void decodePrice();
    void priceRoundTrip();
    void fontFlagAndText();
    void departmentAndBarcode_data();
    void departmentAndBarcode();
    void encodeGroupCodes_data();
    void encodeGroupCodes();
    void groupCodeTableRoundTrip();
    void decodeGroupCodes_data();
    void decodeGroupCodes();
    void progressPosition_data();
    void progressPosition();
    void fieldAddresses_data();
    void fieldAddresses();
    void tabLayouts();
    void errorText();
    void checkRange_data();
    void checkRange();
    void checkItemNumber_data();
    void checkItemNumber();
};

void TestTableCodes::wholeNumber_data()
{
    // One reading of a number for the range edits, the item number, departments and prices.
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<qint64>("value");
    QTest::newRow("digits") << "6000" << true << qint64(6000);
    QTest::newRow("leading zeros") << "0042" << true << qint64(42);
    QTest::newRow("negative") << "-5" << true << qint64(-5);
    QTest::newRow("40 bits") << "1099511627775" << true << qint64(1099511627775);
    QTest::newRow("empty") << "" << false << qint64(0);
    QTest::newRow("blank before") << " 5" << false << qint64(0);
    QTest::newRow("blank after") << "5 " << false << qint64(0);
    QTest::newRow("letters") << "12ab" << false << qint64(0);
    QTest::newRow("point") << "1.5" << false << qint64(0);
    QTest::newRow("beyond 64 bits") << "99999999999999999999999" << false << qint64(0);
}

void TestTableCodes::wholeNumber()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(qint64, value);
    const std::optional<qint64> number = WholeNumber(text);
    QCOMPARE(number.has_value(), valid);
    if (valid)
        QCOMPARE(*number, value);
}

void TestTableCodes::encodePrice_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("kopecks");
    QTest::newRow("empty") << ""
                           << "0";
    QTest::newRow("whole") << "12"
                           << "1200";
    QTest::newRow("seven") << "7"
                           << "700";
    QTest::newRow("one decimal") << "12.5"
                                 << "1250";
    QTest::newRow("two decimals") << "12.05"
                                  << "1205";
    QTest::newRow("three decimals cut") << "12.345"
                                        << "1234";
    QTest::newRow("no whole part") << ".5"
                                   << "050";
    QTest::newRow("nothing after point") << "12."
                                         << "1200";
    QTest::newRow("only point") << "."
                                << "000";
    QTest::newRow("second point kept") << "1.2.3"
                                       << "12.";
}

void TestTableCodes::encodePrice()
{
    QFETCH(QString, cell);
    QFETCH(QString, kopecks);
    QCOMPARE(EncodePrice(cell), kopecks);
}

void TestTableCodes::decodePrice_data()
{
    QTest::addColumn<QString>("kopecks");
    QTest::addColumn<QString>("cell");
    QTest::newRow("1250") << "1250"
                          << "12.50";
    QTest::newRow("1205") << "1205"
                          << "12.05";
    QTest::newRow("5") << "5"
                       << "0.05";
    QTest::newRow("0") << "0"
                       << "0.00";
    QTest::newRow("int32 max") << "2147483647"
                               << "21474836.47";
    QTest::newRow("above int32") << "2147483648"
                                 << "21474836.48";
    QTest::newRow("40 bits") << "1099511627775"
                             << "10995116277.75";
    QTest::newRow("negative") << "-5"
                              << "-0.05";
    QTest::newRow("negative whole") << "-105"
                                    << "-1.05";
    QTest::newRow("not a number shown as is") << "12a"
                                              << "12a";
}

void TestTableCodes::decodePrice()
{
    QFETCH(QString, kopecks);
    QFETCH(QString, cell);
    QCOMPARE(DecodePrice(kopecks), cell);
}

void TestTableCodes::priceRoundTrip()
{
    // A price read back always has two decimals and encodes to the same number of kopecks.
    for (qint64 kopecks : {0LL, 1LL, 9LL, 10LL, 99LL, 100LL, 1205LL, 2147483647LL, 1099511627775LL})
        QCOMPARE(EncodePrice(DecodePrice(QString::number(kopecks))).toLongLong(), kopecks);
}

void TestTableCodes::fontFlagAndText()
{
    QCOMPARE(FontFlag(QStringLiteral("Узкий")), quint8('0'));
    QCOMPARE(FontFlag(QStringLiteral("Широкий")), quint8('1'));
    QCOMPARE(FontFlag(QString()), quint8('1'));
    QCOMPARE(FontFlag(QStringLiteral("узкий")), quint8('1'));
    QCOMPARE(FontText('0'), QStringLiteral("Узкий"));
    QCOMPARE(FontText('1'), QStringLiteral("Широкий"));
    QCOMPARE(FontText(0), QStringLiteral("Широкий"));
}

void TestTableCodes::departmentAndBarcode_data()
{
    QTest::addColumn<QString>("cell");
    QTest::addColumn<int>("department");
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("12") << "12" << 12;
    QTest::newRow("300 low byte") << "300" << 44;
    QTest::newRow("255") << "255" << 255;
    QTest::newRow("letters") << "1a" << 0;
    QTest::newRow("blank around") << " 5" << 0;
    QTest::newRow("beyond 64 bits") << "99999999999999999999999" << 0;
}

void TestTableCodes::departmentAndBarcode()
{
    QFETCH(QString, cell);
    QFETCH(int, department);
    QCOMPARE(int(DepartmentByte(cell)), department);
    QCOMPARE(BarcodeText(cell), cell.isEmpty() ? QStringLiteral("0") : cell);
}

void TestTableCodes::encodeGroupCodes_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("tax");
    QTest::addColumn<QString>("codes");
    QTest::newRow("goods 18% general") << "01 - ТОВАР, за исключением подакцизного товара"
                                       << "1 - Ставка НДС 18%"
                                       << "1 - Общая"
                                       << "0111";
    QTest::newRow("defaults") << "00 - Временный запрет работы секционной клавиши"
                              << "1 - Ставка НДС 18%"
                              << "1 - Общая"
                              << "0011";
    QTest::newRow("agent, no VAT, patent") << "11 - УСЛУГА, с признаком \"агент\""
                                           << "6 - НДС не облагается"
                                           << "6 - Патентная система налогообложения"
                                           << "1166";
    QTest::newRow("empty VAT and tax") << "04 - УСЛУГА"
                                       << ""
                                       << ""
                                       << "0409";
    QTest::newRow("unknown VAT and tax") << "03 - РАБОТА"
                                         << "7 - Ставка"
                                         << "1 - общая"
                                         << "0309";
}

void TestTableCodes::encodeGroupCodes()
{
    QFETCH(QString, item);
    QFETCH(QString, vat);
    QFETCH(QString, tax);
    QFETCH(QString, codes);
    QCOMPARE(EncodeGroupCodes(item, vat, tax), std::optional<QString>(codes));
}

void TestTableCodes::groupCodeTableRoundTrip()
{
    // Every entry of the three lists encodes to its code and decodes to the same text; an
    // unknown payment item has no code at all.
    const QStringList items = GridTexts::SignList();
    QCOMPARE(items.size(), 12);
    QCOMPARE(GridTexts::VatList().size(), 6);
    QCOMPARE(GridTexts::TaxSystemList().size(), 6);
    for (int i = 0; i < items.size(); ++i) {
        for (int v = 0; v < 6; ++v) {
            const int t = (i + v) % 6;
            const auto codes = EncodeGroupCodes(items.at(i), GridTexts::VatList().at(v),
                                                GridTexts::TaxSystemList().at(t));
            QVERIFY(codes);
            QCOMPARE(codes->size(), 4);
            QCOMPARE(codes->left(2).toInt(), i);
            const TGroupCells cells = DecodeGroupCodes(*codes);
            QCOMPARE(cells.paymentItem, items.at(i));
            QCOMPARE(cells.vat, GridTexts::VatList().at(v));
            QCOMPARE(cells.taxSystem, GridTexts::TaxSystemList().at(t));
        }
    }
    QVERIFY(
        !EncodeGroupCodes(QString(), GridTexts::VatList().at(0), GridTexts::TaxSystemList().at(0)));
    QVERIFY(!EncodeGroupCodes(QStringLiteral("12 - ЧТО-ТО"), GridTexts::VatList().at(0),
                              GridTexts::TaxSystemList().at(0)));
}

void TestTableCodes::decodeGroupCodes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("vat");
    QTest::addColumn<QString>("tax");
    QTest::newRow("1163") << "1163"
                          << "11 - УСЛУГА, с признаком \"агент\""
                          << "6 - НДС не облагается"
                          << "3 - Упрощенная доход минус расход";
    QTest::newRow("item 12") << "1211"
                             << ""
                             << "1 - Ставка НДС 18%"
                             << "1 - Общая";
    QTest::newRow("vat 0") << "0101"
                           << "01 - ТОВАР, за исключением подакцизного товара"
                           << ""
                           << "1 - Общая";
    QTest::newRow("tax 9") << "0219"
                           << "02 - ПОДАКЦИЗНЫЙ ТОВАР"
                           << "1 - Ставка НДС 18%"
                           << "";
    QTest::newRow("vat 7 tax 8") << "0378"
                                 << "03 - РАБОТА"
                                 << ""
                                 << "";
    QTest::newRow("letters") << "a1x2"
                             << ""
                             << ""
                             << "2 - Упрощенная доход";
    QTest::newRow("short") << "04"
                           << "04 - УСЛУГА"
                           << ""
                           << "";
    QTest::newRow("empty") << ""
                           << ""
                           << ""
                           << "";
    QTest::newRow("sign") << "+111"
                          << ""
                          << "1 - Ставка НДС 18%"
                          << "1 - Общая";
}

void TestTableCodes::decodeGroupCodes()
{
    QFETCH(QString, text);
    QFETCH(QString, item);
    QFETCH(QString, vat);
    QFETCH(QString, tax);
    const TGroupCells cells = DecodeGroupCodes(text);
    QCOMPARE(cells.paymentItem, item);
    QCOMPARE(cells.vat, vat);
    QCOMPARE(cells.taxSystem, tax);
}

void TestTableCodes::progressPosition_data()
{
    QTest::addColumn<int>("done");
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("position");
    QTest::newRow("1 of 30") << 1 << 30 << 3;
    QTest::newRow("30 of 30") << 30 << 30 << 100;
    QTest::newRow("2 of 16 half down to even") << 2 << 16 << 12;
    QTest::newRow("6 of 16 half up to even") << 6 << 16 << 38;
    QTest::newRow("1 of 8 half to even") << 1 << 8 << 12;
    QTest::newRow("3 of 8") << 3 << 8 << 38;
    QTest::newRow("5 of 8") << 5 << 8 << 62;
    QTest::newRow("1 of 3") << 1 << 3 << 33;
    QTest::newRow("2 of 3") << 2 << 3 << 67;
    QTest::newRow("1 of 6000") << 1 << 6000 << 0;
    QTest::newRow("30 of 6000 half to even") << 30 << 6000 << 0;
    QTest::newRow("90 of 6000 half to even") << 90 << 6000 << 2;
    QTest::newRow("1 of 1") << 1 << 1 << 100;
    QTest::newRow("no total") << 0 << 0 << 0;
}

void TestTableCodes::progressPosition()
{
    QFETCH(int, done);
    QFETCH(int, total);
    QFETCH(int, position);
    QCOMPARE(ProgressPosition(done, total), position);
}

void TestTableCodes::fieldAddresses_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("record");
    QTest::addColumn<int>("fieldIndex");
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("field");
    QTest::newRow("operator 1 field 0") << 0 << 1 << 0 << 0 << 1 << 0;
    QTest::newRow("operator 6 field 4") << 0 << 6 << 4 << 0 << 6 << 4;
    QTest::newRow("group 8 field 1") << 2 << 8 << 1 << 2 << 8 << 1;
    QTest::newRow("cliche 1") << 3 << 1 << 0 << 4 << 1 << 0;
    QTest::newRow("cliche 21") << 3 << 21 << 0 << 4 << 1 << 20;
    QTest::newRow("agent 1") << 4 << 1 << 0 << 6 << 1 << 0;
    QTest::newRow("agent 5") << 4 << 5 << 0 << 6 << 5 << 0;
    QTest::newRow("agent 6") << 4 << 6 << 0 << 6 << 6 << 0;
    QTest::newRow("agent 7") << 4 << 7 << 0 << 6 << 6 << 1;
    QTest::newRow("agent 9") << 4 << 9 << 0 << 6 << 6 << 3;
    QTest::newRow("agent 10") << 4 << 10 << 0 << 6 << 7 << 0;
    QTest::newRow("agent 11") << 4 << 11 << 0 << 6 << 7 << 1;
    QTest::newRow("agent 12") << 4 << 12 << 0 << 6 << 8 << 0;
}

void TestTableCodes::fieldAddresses()
{
    QFETCH(int, tab);
    QFETCH(int, record);
    QFETCH(int, fieldIndex);
    QFETCH(int, table);
    QFETCH(int, row);
    QFETCH(int, field);
    const TFieldAddress address = FieldAddress(TTableTab(tab), record, fieldIndex);
    QCOMPARE(int(address.table), table);
    QCOMPARE(int(address.row), row);
    QCOMPARE(int(address.field), field);
}

void TestTableCodes::tabLayouts()
{
    const int maxima[] = {6, 6000, 8, 21, 12};
    const int fields[] = {5, 1, 2, 1, 1};
    const char *grids[] = {"sgOper", "SGBase", "sgUsl", "sgKl", "sgAgents"};
    for (int tab = 0; tab < 5; ++tab) {
        const TTabLayout &layout = TabLayout(TTableTab(tab));
        QCOMPARE(layout.maximum, maxima[tab]);
        QCOMPARE(layout.fieldsPerRecord, fields[tab]);
        QCOMPARE(QByteArray(layout.gridName), QByteArray(grids[tab]));
        QCOMPARE(QByteArray(layout.fromEditName), "Edit" + QByteArray::number(2 * tab + 1));
        QCOMPARE(QByteArray(layout.toEditName), "Edit" + QByteArray::number(2 * tab + 2));
    }
    QVERIFY(!IsTableTab(-1));
    QVERIFY(!IsTableTab(5));
    // Operators: three texts with a font each, then password and INN without.
    QCOMPARE(FieldCells(TTableTab::Operators, 1).textColumn, 3);
    QCOMPARE(FieldCells(TTableTab::Operators, 2).fontColumn, 6);
    QCOMPARE(FieldCells(TTableTab::Operators, 3).textColumn, 7);
    QCOMPARE(FieldCells(TTableTab::Operators, 3).fontColumn, -1);
    QCOMPARE(FieldCells(TTableTab::Operators, 4).textColumn, 8);
    QVERIFY(FieldCells(TTableTab::Groups, 1).groupCodes);
    QVERIFY(!FieldCells(TTableTab::Groups, 0).groupCodes);
}

void TestTableCodes::errorText()
{
    QCOMPARE(ExchangeErrorText(2, TabLayout(TTableTab::Operators).writeFragment, 1),
             QStringLiteral("Внимание!\r\nОшибка (2) при записи оператора с номером 1 !"));
    QCOMPARE(ExchangeErrorText(3, TabLayout(TTableTab::Goods).readFragment, 5),
             QStringLiteral("Внимание!\r\nОшибка (3) при чтении базы. Товар номер 5 !"));
    QCOMPARE(ExchangeErrorText(127, TabLayout(TTableTab::Groups).writeFragment, 8),
             QStringLiteral(
                 "Внимание!\r\nОшибка (127) при записи признака предмета расчета с номером 8 !"));
    QCOMPARE(ExchangeErrorText(2, TabLayout(TTableTab::Cliche).readFragment, 21),
             QStringLiteral("Внимание!\r\nОшибка (2) при чтении строки клише с номером 21 !"));
    QCOMPARE(ExchangeErrorText(1, TabLayout(TTableTab::Agents).writeFragment, 12),
             QStringLiteral(
                 "Внимание!\r\nОшибка (1) при записи строки параметра агента с номером 12 !"));
}

void TestTableCodes::checkRange_data()
{
    const QString badFrom =
        QStringLiteral("ВНИМАНИЕ!\r\nНеверно введено значение начала диапазона!");
    const QString badTo = QStringLiteral("ВНИМАНИЕ!\r\nНеверно введено значение конца диапазона!");
    const QString zero =
        QStringLiteral("ВНИМАНИЕ!\r\nЗначение начала диапазона не может начинаться с 0!");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus"); // 0 none, 1 from, 2 to
    QTest::newRow("full operators") << "1"
                                    << "6" << 6 << true << "" << 0;
    QTest::newRow("one item") << "3"
                              << "3" << 6000 << true << "" << 0;
    QTest::newRow("from empty") << ""
                                << "6" << 6 << false << badFrom << 1;
    QTest::newRow("both empty") << ""
                                << "" << 6 << false << badFrom << 1;
    QTest::newRow("to empty") << "1"
                              << "" << 6 << false << badTo << 2;
    QTest::newRow("from zero") << "0"
                               << "6" << 6 << false << zero << 1;
    QTest::newRow("from 0000") << "0000"
                               << "6000" << 6000 << false << zero << 1;
    QTest::newRow("from zero before to too big") << "0"
                                                 << "9" << 6 << false << zero << 1;
    QTest::newRow("from above maximum") << "7"
                                        << "7" << 6 << false << badFrom << 1;
    QTest::newRow("to above maximum") << "1"
                                      << "7" << 6 << false << badTo << 2;
    QTest::newRow("from above to") << "5"
                                   << "3" << 6 << false << badFrom << 1;
    QTest::newRow("to 6001") << "1"
                             << "6001" << 6000 << false << badTo << 2;
    QTest::newRow("pasted letters") << "1a"
                                    << "6" << 6 << false << "" << 0;
    QTest::newRow("pasted negative") << "-1"
                                     << "6" << 6 << false << badFrom << 1;
    QTest::newRow("pasted negative to") << "1"
                                        << "-6" << 6 << false << badTo << 2;
}

void TestTableCodes::checkRange()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, maximum);
    QFETCH(bool, ok);
    QFETCH(QString, message);
    QFETCH(int, focus);
    const TRangeCheck check = CheckRangeTexts(from, to, maximum);
    QCOMPARE(check.ok, ok);
    QCOMPARE(check.message, message);
    QCOMPARE(int(check.focus), focus);
    if (ok) {
        QCOMPARE(check.first, from.toInt());
        QCOMPARE(check.last, to.toInt());
    }
}

void TestTableCodes::checkItemNumber_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("item");
    QTest::addColumn<QString>("message");
    QTest::newRow("1") << "1" << 1 << "";
    QTest::newRow("6000") << "6000" << 6000 << "";
    QTest::newRow("0042") << "0042" << 42 << "";
    QTest::newRow("empty") << "" << 0 << "ВНИМАНИЕ!\r\nНе введён номер товара!";
    QTest::newRow("0") << "0" << 0 << "ВНИМАНИЕ!\r\nНомер товара не может быть 0!";
    QTest::newRow("0000") << "0000" << 0 << "ВНИМАНИЕ!\r\nНомер товара не может быть 0!";
    QTest::newRow("6001") << "6001" << 0 << "ВНИМАНИЕ!\r\nНомер товара не может быть больше 6000!";
    QTest::newRow("9999") << "9999" << 0 << "ВНИМАНИЕ!\r\nНомер товара не может быть больше 6000!";
    QTest::newRow("pasted letters") << "12ab" << 0 << "ВНИМАНИЕ!\r\nНеверно введен номер товара!";
    QTest::newRow("pasted negative") << "-5" << 0 << "ВНИМАНИЕ!\r\nНеверно введен номер товара!";
    QTest::newRow("pasted blank") << " 5" << 0 << "ВНИМАНИЕ!\r\nНеверно введен номер товара!";
}

void TestTableCodes::checkItemNumber()
{
    QFETCH(QString, text);
    QFETCH(int, item);
    QFETCH(QString, message);
    const TItemNumberCheck check = CheckItemNumberText(text, 6000);
    QCOMPARE(check.ok, message.isEmpty());
    QCOMPARE(check.item, item);
    QCOMPARE(check.message, message);
}

QTEST_APPLESS_MAIN(TestTableCodes)
#include "tst_tablecodes.moc"
