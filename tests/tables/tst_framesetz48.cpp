// The tables frame after start-up: tabs, grids with their captions, widths and defaults, the
// range edits, the goods tab's controls, and the tab hooks that drive the barcode reader.

#include "fakeworkhost.h"
#include "framesetz48.h"
#include "lampshape.h"
#include "stringgrid.h"
#include "z48controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace
{

struct TColumnExpect {
    const char *header;
    int width;
    const char *defaultText;
};

void CheckColumns(TStringGrid *grid, const QVector<TColumnExpect> &columns)
{
    QCOMPARE(grid->ColCount(), columns.size());
    for (int c = 0; c < columns.size(); ++c) {
        QCOMPARE(grid->Cells(c, 0), QString::fromUtf8(columns[c].header));
        QCOMPARE(grid->ColWidth(c), columns[c].width);
        if (c == 0)
            continue;
        for (int r = 1; r < grid->RowCount(); ++r)
            QCOMPARE(grid->Cells(c, r), QString::fromUtf8(columns[c].defaultText));
    }
}

} // namespace

class TestFrameSetZ48 : public QObject
{
    Q_OBJECT

private:
    TFakeWorkHost host;
    std::unique_ptr<TFrameSetZ48> frame;
    std::unique_ptr<TZ48Controls> ui;

private slots:
    void init()
    {
        host = TFakeWorkHost();
        frame = std::make_unique<TFrameSetZ48>(&host);
        ui = std::make_unique<TZ48Controls>(*frame);
        frame->InitGrids();
    }
    void cleanup() { frame.reset(); }

    void tabsInOrderFirstActive()
    {
        QCOMPARE(ui->PageControl1->count(), 5);
        const QStringList captions = {"Операторы", "Предмет расчета", "Группы предметов расчета",
                                      "Клише", "Параметры агентов"};
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(ui->PageControl1->tabText(i), captions[i]);
            QCOMPARE(ui->PageControl1->widget(i)->objectName(), QString("TabSheet%1").arg(i + 1));
            QCOMPARE(frame->Grid(TTableTab(i))->accessibleName(), captions[i]);
        }
        QCOMPARE(ui->PageControl1->currentIndex(), 0);
        QCOMPARE(ui->labelTitle->text(), QString("Параметры Z48"));
    }

    void controlsAreFoundByTheirNames()
    {
        const char *names[] = {"PageControl1", "sgOper", "SGBase",  "sgUsl",       "sgKl",
                               "sgAgents",     "Shape1", "Label14", "ProgressBar1"};
        for (const char *name : names)
            QVERIFY2(frame->findChild<QWidget *>(name), name);
        for (int i = 1; i <= 11; ++i)
            QVERIFY(frame->findChild<QLineEdit *>(QString("Edit%1").arg(i)));
        for (int i = 1; i <= 8; ++i) {
            auto *list = frame->findChild<QComboBox *>(QString("ComboBox%1").arg(i));
            QVERIFY(list);
            QVERIFY(list->isHidden());
            QCOMPARE(list->currentIndex(), 0);
            QVERIFY(!list->isEditable());
            QVERIFY(!list->accessibleName().isEmpty());
        }
        QVERIFY(ui->ProgressBar1->isHidden());
    }

    void buttonCaptions()
    {
        const QStringList captions = {"Сохранить в файл",    "Загрузить из файла",
                                      "Записать в ККТ",      "Прочитать из ККТ",
                                      "Очистить базу в ККТ", "Перейти к товару"};
        for (int i = 0; i < 6; ++i) {
            auto *button = frame->findChild<QPushButton *>(QString("Button%1").arg(i + 1));
            QVERIFY(button);
            QCOMPARE(button->text(), captions[i]);
        }
        QCOMPARE(ui->Label14->text(), QString("Сканер шрих-кода"));
        const auto labels = ui->TabSheet2->findChildren<QLabel *>();
        const bool warned = std::any_of(labels.begin(), labels.end(), [](QLabel *l) {
            return l->text() == "Внимание!\nРазделитель цены - \"ТОЧКА!\"";
        });
        QVERIFY(warned);
    }

    void operatorsGrid()
    {
        QCOMPARE(ui->sgOper->RowCount(), 7);
        CheckColumns(ui->sgOper, {{"Опер. №", 55, ""},
                                  {"Должность", 160, ""},
                                  {"Шрифт", 65, "Узкий"},
                                  {"Фамилия (строка 1)", 160, ""},
                                  {"Шрифт", 65, "Узкий"},
                                  {"Фамилия (строка 2)", 160, ""},
                                  {"Шрифт", 65, "Узкий"},
                                  {"Пароль", 75, ""},
                                  {"ИНН кассира", 80, ""}});
        for (int r = 1; r <= 6; ++r)
            QCOMPARE(ui->sgOper->Cells(0, r), QString::number(r));
    }

    void goodsGridHasSixThousandNumberedItems()
    {
        QCOMPARE(ui->SGBase->RowCount(), 6001);
        CheckColumns(ui->SGBase, {{"Код товара", 82, ""},
                                  {"Наименование", 500, ""},
                                  {"Тип шрифта", 100, "Узкий"},
                                  {"Штрих-код", 155, ""},
                                  {"Цена за единицу", 155, ""},
                                  {"Отдел/Услуга", 200, ""}});
        for (int r = 1; r <= 6000; ++r)
            QCOMPARE(ui->SGBase->Cells(0, r), QString::number(r));
    }

    void groupsGridWithParkingColumn()
    {
        QCOMPARE(ui->sgUsl->RowCount(), 9);
        CheckColumns(ui->sgUsl, {{"№", 35, ""},
                                 {"Наименование отдела/услуги ", 250, ""},
                                 {"Шрифт", 85, "Узкий"},
                                 {"Признак предмета расчета", 290,
                                  "00 - Временный запрет работы секционной клавиши"},
                                 {"Номер налога", 180, "1 - Ставка НДС 18%"},
                                 {"Система налогооблажения", 175, "1 - Общая"},
                                 {"", -1, ""}});
        for (int r = 1; r <= 8; ++r)
            QCOMPARE(ui->sgUsl->Cells(0, r), QString::number(r));
    }

    void clicheGridRowCaptions()
    {
        CheckColumns(ui->sgKl,
                     {{"Строка №", 250, ""}, {"Наименование", 400, ""}, {"Шрифт", 150, "Узкий"}});
        const QStringList captions = {"1.     Имя пользователя #1",
                                      "2.     Имя пользователя #2",
                                      "3.     Имя пользователя #3",
                                      "4.     Имя пользователя #4",
                                      "5.     Имя пользователя #5",
                                      "6.     Адрес расчетов #1",
                                      "7.     Адрес расчетов #2",
                                      "8.     Адрес расчетов #3",
                                      "9.     Адрес расчетов #4",
                                      "10.    Адрес расчетов #5",
                                      "11.   Место расчетов #1",
                                      "12.   Место расчетов #2",
                                      "13.   Место расчетов #3",
                                      "14.   Место расчетов #4",
                                      "15.   Реклама #1",
                                      "16.   Наименование ОФД #1",
                                      "17.   Наименование ОФД #2",
                                      "18.   Сайт налогового органа #1",
                                      "19.   Сайт налогового органа #2",
                                      "20.   Электронная почта отправителя #1",
                                      "21.   Электронная почта отправителя #2"};
        QCOMPARE(ui->sgKl->RowCount(), 22);
        for (int r = 1; r <= 21; ++r)
            QCOMPARE(ui->sgKl->Cells(0, r), captions[r - 1]);
    }

    void agentsGridRowCaptions()
    {
        CheckColumns(ui->sgAgents,
                     {{"Параметр", 350, ""}, {"Значение", 250, ""}, {"Шрифт", 150, "Узкий"}});
        const QStringList captions = {"1.  Телефон поставщика",
                                      "2.  Телефон платежного агента",
                                      "3.  Телефон оператора по приему платежей",
                                      "4.  Телефон оператора перевода",
                                      "5.  ИНН оператора перевода",
                                      "6.  Адрес оператора перевода (строка #1)",
                                      "7.  Адрес оператора перевода (строка #2)",
                                      "8.  Адрес оператора перевода (строка #3)",
                                      "9.  Адрес оператора перевода (строка #4)",
                                      "10. Наименование оператора перевода (строка #1)",
                                      "11. Наименование оператора перевода (строка #2)",
                                      "12. Операция платежного агента"};
        QCOMPARE(ui->sgAgents->RowCount(), 13);
        for (int r = 1; r <= 12; ++r)
            QCOMPARE(ui->sgAgents->Cells(0, r), captions[r - 1]);
    }

    void listEntriesExactly()
    {
        // The cells hold these texts, and writing and reading compare them exactly.
        const QStringList fonts = {"Узкий", "Широкий"};
        const QStringList signs = {"00 - Временный запрет работы секционной клавиши",
                                   "01 - ТОВАР, за исключением подакцизного товара",
                                   "02 - ПОДАКЦИЗНЫЙ ТОВАР",
                                   "03 - РАБОТА",
                                   "04 - УСЛУГА",
                                   "05 - УСЛУГА, с признаком \"банковский платежный агент\"",
                                   "06 - УСЛУГА, с признаком \"банковский платежный субагент\"",
                                   "07 - УСЛУГА, с признаком \"платежный агент\"",
                                   "08 - УСЛУГА, с признаком \"платежный субагент\"",
                                   "09 - УСЛУГА, с признаком \"поверенный\"",
                                   "10 - УСЛУГА, с признаком \"комиссионер\"",
                                   "11 - УСЛУГА, с признаком \"агент\""};
        const QStringList vat = {"1 - Ставка НДС 18%",
                                 "2 - Ставка НДС 10%",
                                 "3 - Ставка НДС расчетная 18/118",
                                 "4 - Ставка НДС расчетная 10/110",
                                 "5 - Ставка НДС 0%",
                                 "6 - НДС не облагается"};
        const QStringList taxSystems = {"1 - Общая",
                                        "2 - Упрощенная доход",
                                        "3 - Упрощенная доход минус расход",
                                        "4 - Единый налог на вмененный доход",
                                        "5 - Единый сельскохозяйственный налог",
                                        "6 - Патентная система налогообложения"};
        auto entries = [](QComboBox *list) {
            QStringList texts;
            for (int i = 0; i < list->count(); ++i)
                texts.append(list->itemText(i));
            return texts;
        };
        for (QComboBox *list :
             {ui->ComboBox1, ui->ComboBox2, ui->ComboBox3, ui->ComboBox4, ui->ComboBox6})
            QCOMPARE(entries(list), fonts);
        QCOMPARE(entries(ui->ComboBox5), signs);
        QCOMPARE(entries(ui->ComboBox7), vat);
        QCOMPARE(entries(ui->ComboBox8), taxSystems);
        // Each list sits on the tab of the grid it edits.
        QCOMPARE(ui->ComboBox2->parentWidget(), ui->TabSheet1);
        QCOMPARE(ui->ComboBox1->parentWidget(), ui->TabSheet2);
        for (QComboBox *list : {ui->ComboBox3, ui->ComboBox5, ui->ComboBox7, ui->ComboBox8})
            QCOMPARE(list->parentWidget(), ui->TabSheet3);
        QCOMPARE(ui->ComboBox4->parentWidget(), ui->TabSheet4);
        QCOMPARE(ui->ComboBox6->parentWidget(), ui->TabSheet5);
    }

    void currentCellsStartAtOneOne()
    {
        for (int tab = 0; tab < 5; ++tab) {
            QCOMPARE(frame->Grid(TTableTab(tab))->Col(), 1);
            QCOMPARE(frame->Grid(TTableTab(tab))->Row(), 1);
        }
        for (int tab = 0; tab < 5; ++tab)
            QCOMPARE(frame->CurrentCell(TTableTab(tab)), (TGridCell{1, 1}));
    }

    void rowsAreAsHighAsTheFontList()
    {
        const int listHeight = ui->ComboBox2->sizeHint().height();
        for (int tab = 0; tab < 5; ++tab) {
            QCOMPARE(frame->Grid(TTableTab(tab))->DefaultRowHeight(), listHeight);
            QCOMPARE(frame->Grid(TTableTab(tab))->RowHeight(1), listHeight);
        }
    }

    void rangeEdits_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("defaultText");
        QTest::addColumn<int>("maxLength");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("result");
        QTest::newRow("Edit1") << "Edit1"
                               << "1" << 1 << "a7x9"
                               << "7";
        QTest::newRow("Edit2") << "Edit2"
                               << "6" << 1 << "-5"
                               << "5";
        QTest::newRow("Edit3") << "Edit3"
                               << "1" << 4 << "12a345"
                               << "1234";
        QTest::newRow("Edit4") << "Edit4"
                               << "6000" << 4 << "6.0,00"
                               << "6000";
        QTest::newRow("Edit5") << "Edit5"
                               << "1" << 1 << "8"
                               << "8";
        QTest::newRow("Edit6") << "Edit6"
                               << "8" << 1 << "12"
                               << "1";
        QTest::newRow("Edit7") << "Edit7"
                               << "1" << 2 << "2 1 0"
                               << "21";
        QTest::newRow("Edit8") << "Edit8"
                               << "21" << 2 << "Ж21"
                               << "21";
        QTest::newRow("Edit9") << "Edit9"
                               << "1" << 2 << "1e2"
                               << "12";
        QTest::newRow("Edit10") << "Edit10"
                                << "12" << 2 << "123"
                                << "12";
        QTest::newRow("Edit11") << "Edit11"
                                << "1" << 4 << "+60001"
                                << "6000";
    }

    void rangeEdits()
    {
        QFETCH(QString, name);
        QFETCH(QString, defaultText);
        QFETCH(int, maxLength);
        QFETCH(QString, typed);
        QFETCH(QString, result);
        auto *edit = frame->findChild<QLineEdit *>(name);
        QVERIFY(edit);
        QCOMPARE(edit->text(), defaultText);
        QCOMPARE(edit->maxLength(), maxLength);
        QVERIFY(!edit->accessibleName().isEmpty());
        edit->clear();
        for (QChar c : typed)
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QCOMPARE(edit->text(), result);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), result.chopped(1));
        // A pasted text with anything but digits is refused.
        edit->clear();
        edit->insert("a1");
        QCOMPARE(edit->text(), QString());
    }

    void goodsTabStartsTheReaderOtherTabsPauseIt()
    {
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        host.starts = host.stops = 0;
        ui->PageControl1->setCurrentIndex(1);
        QCOMPARE(host.starts, 1);
        QCOMPARE(host.stops, 0);
        for (int tab : {2, 3, 4, 0}) {
            ui->PageControl1->setCurrentIndex(tab);
            QCOMPARE(host.starts, 1);
        }
        QCOMPARE(host.stops, 4);
        // Showing the frame again with the goods tab open resumes the reader too.
        ui->PageControl1->setCurrentIndex(1);
        frame->hide();
        frame->show();
        QCOMPARE(host.starts, 3);
    }

    void tabChangesBeforeStartUpLeaveTheReaderAlone()
    {
        host.startupComplete = false;
        frame->show();
        QVERIFY(QTest::qWaitForWindowExposed(frame.get()));
        for (int tab : {1, 2, 1, 0})
            ui->PageControl1->setCurrentIndex(tab);
        QCOMPARE(host.starts, 0);
        QCOMPARE(host.stops, 0);
    }

    void hidingAndShowingKeepsEveryCell()
    {
        frame->show();
        ui->SGBase->SetCells(1, 6000, "ХЛЕБ");
        ui->sgUsl->SetCells(4, 3, "НДС не облагается");
        frame->hide();
        frame->show();
        QCOMPARE(ui->SGBase->Cells(1, 6000), QString("ХЛЕБ"));
        QCOMPARE(ui->sgUsl->Cells(4, 3), QString("НДС не облагается"));
        QCOMPARE(ui->SGBase->Cells(2, 6000), QString("Узкий"));
    }

    void scannerIndicator()
    {
        frame->show();
        ui->PageControl1->setCurrentIndex(1);
        frame->SetScannerIndicatorVisible(false);
        QVERIFY(!ui->Shape1->isVisible());
        QVERIFY(!ui->Label14->isVisible());
        frame->SetScannerIndicatorVisible(true);
        QVERIFY(ui->Shape1->isVisible());
        QVERIFY(ui->Label14->isVisible());
        frame->SetScannerLampColor(QColor(255, 0, 0));
        QCOMPARE(ui->Shape1->Color(), QColor(255, 0, 0));
        QCOMPARE(ui->Shape1->size(), QSize(15, 15));
    }
};

QTEST_MAIN(TestFrameSetZ48)
#include "tst_framesetz48.moc"
