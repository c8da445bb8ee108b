// The tables frame's grids as spreadsheets, through keys and the mouse: blocks copied, pasted
// by the cells' rules and emptied; undo and redo across typing, picks, pastes and an import;
// the goods tab's find bar; the change marks and their tooltips.

#include "dialogrecorder.h"
#include "fakeworkhost.h"
#include "framecells.h"
#include "framesetz48.h"
#include "goodscsv.h"
#include "goodscsvactions.h"
#include "stringgrid.h"
#include "tempfolder.h"
#include "z48controls.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

#include <memory>

namespace
{

const QString kNarrow = QStringLiteral("Узкий");
const QString kWide = QStringLiteral("Широкий");

// A key as the user presses it, to whatever holds the keyboard focus.
void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier)
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    QTest::keyClick(target, Qt::Key(key), mods);
}

// Typed characters, Cyrillic included, one key event each.
void TypeInto(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

void Type(TStringGrid *grid, const QString &text)
{
    QVERIFY(grid->Editor());
    TypeInto(grid->Editor(), text);
}

QStringList Row(const TStringGrid *grid, int row)
{
    QStringList cells;
    for (int col = 1; col <= 5; ++col)
        cells.append(grid->Cells(col, row));
    return cells;
}

// The tooltip over a row's number.
QString RowTip(TStringGrid *grid, int row)
{
    QHeaderView *header = grid->verticalHeader();
    const QPoint at(header->width() / 2, header->sectionViewportPosition(row - 1) + 4);
    QHelpEvent help(QEvent::ToolTip, at, header->viewport()->mapToGlobal(at));
    QApplication::sendEvent(header->viewport(), &help);
    return QToolTip::text();
}

QPoint CellCenter(TStringGrid *grid, int col, int row)
{
    return grid->CellRect(col, row).center() - grid->viewport()->pos();
}

} // namespace

class TestGridSheet : public QObject
{
    Q_OBJECT

private:
    TFakeWorkHost host;
    std::unique_ptr<TFrameSetZ48> frame;
    std::unique_ptr<TZ48Controls> ui;
    TStringGrid *goods = nullptr;

    void Goto(int col, int row)
    {
        goods->setFocus();
        goods->SetCurrentCell(col, row);
        QTRY_VERIFY(col == 2 ? ui->ComboBox1->hasFocus() : goods->Editor() != nullptr);
    }

private slots:
    void init()
    {
        frame = std::make_unique<TFrameSetZ48>(&host);
        ui = std::make_unique<TZ48Controls>(*frame);
        frame->InitGrids();
        frame->resize(1100, 650);
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
        ui->PageControl1->setCurrentIndex(1);
        goods = ui->SGBase;
        host.notes.clear();
    }
    void cleanup() { frame.reset(); }

    void blocksAreCopiedPastedByTheCellsRulesAndEmptied()
    {
        goods->SetCells(1, 1, "\"ЛУЧ\" 2");
        goods->SetCells(3, 1, "460");
        goods->SetCells(2, 2, kWide);
        Goto(1, 1);
        Press(Qt::Key_Down, Qt::ShiftModifier);
        Press(Qt::Key_Right, Qt::ShiftModifier);
        Press(Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(goods->Selection(), QRect(1, 1, 3, 2));
        QCOMPARE(goods->Col(), 1); // typing still goes where the block started
        Press(Qt::Key_C, Qt::ControlModifier);
        // A text that starts with a quote is quoted, as spreadsheets write it, and reads back.
        QCOMPARE(QApplication::clipboard()->text(),
                 QString("\"\"\"ЛУЧ\"\" 2\"\tУзкий\t460\n\tШирокий\t\n"));
        Goto(1, 20);
        Press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Row(goods, 20), (QStringList{"\"ЛУЧ\" 2", kNarrow, "460", "", ""}));

        // A drag from one cell to another selects the rectangle between them, either way.
        QTest::mousePress(goods->viewport(), Qt::LeftButton, {}, CellCenter(goods, 3, 5));
        QTest::mouseMove(goods->viewport(), CellCenter(goods, 5, 7));
        QTest::mouseRelease(goods->viewport(), Qt::LeftButton, {}, CellCenter(goods, 5, 7));
        QCOMPARE(goods->Selection(), QRect(3, 5, 3, 3));
        QTest::mousePress(goods->viewport(), Qt::LeftButton, {}, CellCenter(goods, 3, 9));
        QTest::mouseMove(goods->viewport(), CellCenter(goods, 1, 8));
        QTest::mouseRelease(goods->viewport(), Qt::LeftButton, {}, CellCenter(goods, 1, 8));
        QCOMPARE(goods->Selection(), QRect(1, 8, 3, 2));

        // Each value as if typed into its cell; the font comes first, so the third name is
        // held to the wide font's 12 characters. Refused values leave their cells alone. A
        // quote that does not close before a tab is part of the text.
        goods->SetCells(4, 11, "5.00");
        Goto(1, 10);
        QApplication::clipboard()->setText("молоко\t1\t46a\t12,50\t7\r\n"
                                           "\"кефир\" 1\tШирокий\t4600\t1.2.3\t99\r\n"
                                           "очень длинное имя\t1\n");
        Press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Row(goods, 10), (QStringList{"МОЛОКО", kWide, "", "12.50", "7"}));
        QCOMPARE(Row(goods, 11), (QStringList{"\"КЕФИР\" 1", kWide, "4600", "5.00", "99"}));
        QCOMPARE(Row(goods, 12), (QStringList{"", kWide, "", "", ""}));
        QCOMPARE(host.notes.last(), QString("Вставлено значений: 9, отклонено: 3"));
        QCOMPARE(goods->Selection(), QRect(1, 10, 5, 3));

        // Delete empties the text cells of the block; the fonts stay.
        Press(Qt::Key_Delete);
        QCOMPARE(Row(goods, 11), (QStringList{"", kWide, "", "", ""}));

        // One value fills a selected block; nothing lands beyond the last item.
        QApplication::clipboard()->setText("5");
        goods->SelectBlock(5, 10, 5, 11);
        Press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(goods->Cells(5, 10) + goods->Cells(5, 11), QString("55"));
        Goto(1, 6000);
        QApplication::clipboard()->setText("последний\nлишний\n");
        Press(Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(goods->Cells(1, 6000), QString("ПОСЛЕДНИЙ"));
        QCOMPARE(host.notes.last(),
                 QString("Вставлено значений: 1, отклонено: 0, за краем таблицы: 1"));
        QCOMPARE(goods->RowCount(), 6001);
    }

    void undoGoesBackAcrossTypingPickPasteAndImport()
    {
        const TRegisterId id = frame->CurrentRegister();
        frame->Mirror.Learn(id, TTableTab::Goods, 3, TFrameCells(*frame));
        QCOMPARE(goods->GridModel()->RowMark(3), -1);
        Goto(1, 3);
        Type(goods, "сыр");
        QCOMPARE(goods->GridModel()->RowMark(3), 0);
        Goto(2, 3);
        ui->ComboBox1->showPopup();
        QTRY_VERIFY(ui->ComboBox1->view()->isVisible());
        ui->ComboBox1->view()->setCurrentIndex(ui->ComboBox1->model()->index(1, 0));
        QTest::keyClick(ui->ComboBox1->view(), Qt::Key_Return);
        QTRY_COMPARE(goods->Cells(2, 3), kWide);
        Goto(3, 3);
        QApplication::clipboard()->setText("4600\t9.99");
        Press(Qt::Key_V, Qt::ControlModifier);
        ApplyGoodsImport(*frame, PlanGoodsImport("Код;Наименование\r\n3;Творог\r\n4;Масло\r\n",
                                                 GoodsGridRows(*frame)));
        const QStringList imported{"ТВОРОГ", kWide, "4600", "9.99", ""};
        QCOMPARE(Row(goods, 3), imported);

        // One step back for the import (both rows), the paste, the pick and the typing; the
        // row's mark goes with its cells.
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Row(goods, 3), (QStringList{"СЫР", kWide, "4600", "9.99", ""}));
        QCOMPARE(goods->Cells(1, 4), QString());
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(Row(goods, 3), (QStringList{"СЫР", kWide, "", "", ""}));
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(goods->Cells(2, 3), kNarrow);
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(goods->Cells(1, 3), QString());
        QCOMPARE(goods->GridModel()->RowMark(3), -1);
        // Nothing more: no history was started anew, so nothing is told.
        const qsizetype notes = host.notes.size();
        QVERIFY(!goods->Undo());
        QCOMPARE(host.notes.size(), notes);
        // And forward again, with either key.
        Press(Qt::Key_Y, Qt::ControlModifier);
        Press(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        Press(Qt::Key_Y, Qt::ControlModifier);
        Press(Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(Row(goods, 3), imported);
        QVERIFY(!goods->Redo());

        // Typing goes on after the keyboard was elsewhere (a run, an edit): a step of its own.
        Goto(1, 7);
        Type(goods, "сыр");
        ui->Edit11->setFocus();
        Goto(1, 7);
        Type(goods, "ок");
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(goods->Cells(1, 7), QString("СЫР"));

        // The last 100 steps are kept (scanned barcodes, one step each).
        for (int i = 0; i < 120; ++i)
            goods->SetCells(3, 5, QString::number(i));
        int undone = 0;
        while (goods->Undo())
            ++undone;
        QCOMPARE(undone, 100);
        QCOMPARE(goods->Cells(3, 5), QString("19"));
    }

    void loadingOrReadingStartsANewHistory()
    {
        TTempProgramFolder folder;
        TDialogRecorder dialogs;
        dialogs.SetSaveFileName(folder.FilePath("base.dbZ48"));
        dialogs.SetOpenFileName(folder.FilePath("base.dbZ48"));
        Goto(1, 1);
        Type(goods, "хлеб");
        frame->Button1Click();
        frame->Button2Click();
        QCOMPARE(goods->Cells(1, 1), QString("ХЛЕБ"));
        goods->setFocus();
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(goods->Cells(1, 1), QString("ХЛЕБ"));
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(host.notes, (QStringList{QStringLiteral(
                                 "Нечего отменять: после загрузки файла история правок начата "
                                 "заново")}));
        // Cells a run fills while the grid is read-only (a read from the register).
        Type(goods, "ик");
        const QString typed = goods->Cells(1, 1);
        QVERIFY(typed.endsWith("ИК"));
        goods->SetReadOnly(true);
        goods->SetCells(1, 2, "ЧИТАНО");
        goods->SetReadOnly(false);
        goods->setFocus();
        Press(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(goods->Cells(1, 1), typed);
        QCOMPARE(host.notes.last(),
                 QString("Нечего отменять: после чтения из ККТ история правок начата заново"));
    }

    void findGoesForwardBackwardRoundAndSaysWhenNothingMatches()
    {
        goods->SetCells(1, 5, "МОЛОКО");
        goods->SetCells(1, 300, "КОКТЕЙЛЬ МОЛОЧНЫЙ");
        goods->SetCells(3, 4000, "4607001234");
        Goto(1, 1);
        Press(Qt::Key_F, Qt::ControlModifier);
        auto *edit = frame->findChild<QLineEdit *>("editFind");
        auto *status = frame->findChild<QLabel *>("labelFindStatus");
        QVERIFY(edit && status);
        QTRY_VERIFY(edit->hasFocus());
        TypeInto(edit, "мол");
        QCOMPARE(goods->Row(), 5);
        Press(Qt::Key_Return);
        QCOMPARE(goods->Row(), 300);
        Press(Qt::Key_F3);
        QCOMPARE(goods->Row(), 5);
        QCOMPARE(status->text(), QString("Поиск продолжен с начала таблицы"));
        Press(Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(goods->Row(), 300);
        QCOMPARE(status->text(), QString("Поиск продолжен с конца таблицы"));
        // Barcodes, and item numbers.
        edit->clear();
        TypeInto(edit, "70012");
        QCOMPARE(QPoint(goods->Col(), goods->Row()), QPoint(3, 4000));
        edit->clear();
        TypeInto(edit, "1500");
        QCOMPARE(QPoint(goods->Col(), goods->Row()), QPoint(1, 1500));
        TypeInto(edit, "9");
        QCOMPARE(status->text(), QString("Не найдено"));
        QCOMPARE(goods->Row(), 1500);
        Press(Qt::Key_Escape);
        QVERIFY(!edit->isVisible());
        QTRY_VERIFY(goods->Editor() && goods->Editor()->hasFocus());
    }

    void changeMarksSayWhatTheyMean()
    {
        const QString unknown = QStringLiteral("Не записано в ККТ и не прочитано из неё с запуска "
                                               "программы");
        const QString changed =
            QStringLiteral("Изменено после последней записи в ККТ или чтения из неё");
        QCOMPARE(RowTip(goods, 2), unknown);
        frame->Mirror.Learn(frame->CurrentRegister(), TTableTab::Goods, 2, TFrameCells(*frame));
        QCOMPARE(goods->GridModel()->RowMark(2), -1);
        goods->SetCells(5, 2, "3");
        QCOMPARE(RowTip(goods, 2), changed);
        QVERIFY(goods->GridModel()->headerData(1, Qt::Vertical, Qt::BackgroundRole) !=
                goods->GridModel()->headerData(2, Qt::Vertical, Qt::BackgroundRole));
        auto *legend = ui->TabSheet2->findChild<QLabel *>("labelMarkLegend");
        QVERIFY(legend && legend->isVisible());
        QVERIFY(legend->toolTip().contains(unknown) && legend->toolTip().contains(changed));
    }
};

QTEST_MAIN(TestGridSheet)
#include "tst_gridsheet.moc"
