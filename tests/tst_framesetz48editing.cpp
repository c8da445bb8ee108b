// Editing the tables frame's cells on screen: the lists laid over choice cells, what a pick
// writes and where the current cell goes, the groups grid's VAT column, and typing through the
// grids' in-place editors.

#include "framesetz48.h"
#include "stringgrid.h"
#include "fakeworkhost.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

namespace
{

const QString kVatExempt = QStringLiteral("НДС не облагается");

// Types text into the grid's open editor, one key event per character (Cyrillic included).
void Type(TStringGrid *grid, const QString &text)
{
    for (QChar c : text) {
        QLineEdit *editor = grid->Editor();
        QVERIFY(editor);
        QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The list covers the cell exactly: same place, same size, in the tab sheet's coordinates.
void CheckOverCell(QComboBox *list, TStringGrid *grid, int col, int row)
{
    QVERIFY(list->isVisible());
    const QRect cell = grid->CellRect(col, row);
    QCOMPARE(list->geometry(),
             QRect(grid->mapTo(list->parentWidget(), cell.topLeft()), cell.size()));
    QVERIFY(grid->rect().contains(cell));
}

} // namespace

class TestFrameSetZ48Editing : public QObject
{
    Q_OBJECT

private:
    TFakeWorkHost host;
    std::unique_ptr<TFrameSetZ48> frame;

    void ShowTab(int tab)
    {
        frame->PageControl1->setCurrentIndex(tab);
        frame->GridOfTab(tab)->setFocus();
        QTRY_VERIFY(frame->GridOfTab(tab)->Editor());
    }

private slots:
    void init()
    {
        frame = std::make_unique<TFrameSetZ48>(&host);
        frame->InitGrids();
        frame->resize(1100, 650);
        frame->show();
        frame->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(frame.get()));
    }
    void cleanup() { frame.reset(); }

    void fontListOverOperatorCellWritesAndMovesLeft()
    {
        ShowTab(0);
        frame->sgOper->SetCurrentCell(4, 2);
        QCOMPARE(frame->OperCol, 4);
        QCOMPARE(frame->OperRow, 2);
        CheckOverCell(frame->ComboBox2, frame->sgOper, 4, 2);
        QTRY_VERIFY(frame->ComboBox2->hasFocus());
        QCOMPARE(frame->ComboBox2->currentIndex(), 0);
        QTest::keyClick(frame->ComboBox2, Qt::Key_Down);
        QCOMPARE(frame->sgOper->Cells(4, 2), QString("Широкий"));
        QVERIFY(frame->ComboBox2->isHidden());
        QCOMPARE(frame->sgOper->Col(), 3);
        QCOMPARE(frame->sgOper->Row(), 2);
        QCOMPARE(frame->OperCol, 3);
        QTRY_VERIFY(frame->sgOper->Editor());
        // The surname in column 3 now follows the wide font: 12 characters.
        Type(frame->sgOper, "иванов-петров");
        QCOMPARE(frame->sgOper->Cells(3, 2), QString("ИВАНОВ-ПЕТРО"));
        // Opening the list again preselects the cell's font.
        frame->sgOper->SetCurrentCell(4, 2);
        QTRY_VERIFY(frame->ComboBox2->hasFocus());
        QCOMPARE(frame->ComboBox2->currentIndex(), 1);
    }

    void everyFontCellOpensItsList_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("list");
        QTest::newRow("operators 2") << 0 << 2 << 1 << "ComboBox2";
        QTest::newRow("operators 6") << 0 << 6 << 6 << "ComboBox2";
        QTest::newRow("goods") << 1 << 2 << 3 << "ComboBox1";
        QTest::newRow("groups font") << 2 << 2 << 8 << "ComboBox3";
        QTest::newRow("groups sign") << 2 << 3 << 1 << "ComboBox5";
        QTest::newRow("groups VAT") << 2 << 4 << 2 << "ComboBox7";
        QTest::newRow("groups tax system") << 2 << 5 << 2 << "ComboBox8";
        QTest::newRow("cliche") << 3 << 2 << 21 << "ComboBox4";
        QTest::newRow("agents") << 4 << 2 << 12 << "ComboBox6";
    }

    void everyFontCellOpensItsList()
    {
        QFETCH(int, tab);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(QString, list);
        ShowTab(tab);
        TStringGrid *grid = frame->GridOfTab(tab);
        grid->SetCurrentCell(col, row);
        auto *box = frame->findChild<QComboBox *>(list);
        CheckOverCell(box, grid, col, row);
        QTRY_VERIFY(box->hasFocus());
        // Leaving the list hides it and keeps the cell's text.
        const QString before = grid->Cells(col, row);
        frame->RangeFromEdit(tab)->setFocus();
        QTRY_VERIFY(box->isHidden());
        QCOMPARE(grid->Cells(col, row), before);
    }

    void cellsWithoutListsOpenNone_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::newRow("operators text") << 0 << 3 << 1;
        QTest::newRow("goods price") << 1 << 4 << 1;
        QTest::newRow("agents row 5 font") << 4 << 2 << 5;
    }

    void cellsWithoutListsOpenNone()
    {
        QFETCH(int, tab);
        QFETCH(int, col);
        QFETCH(int, row);
        ShowTab(tab);
        frame->GridOfTab(tab)->SetCurrentCell(col, row);
        for (QComboBox *box : frame->findChildren<QComboBox *>())
            QVERIFY(box->isHidden());
        QVERIFY(frame->GridOfTab(tab)->Editor());
    }

    void clickingAFontCellOpensItsListOverIt()
    {
        ShowTab(3);
        TStringGrid *grid = frame->sgKl;
        const QRect cell = grid->CellRect(2, 4);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          cell.center() - grid->viewport()->pos());
        QCOMPARE(frame->KlCol, 2);
        QCOMPARE(frame->KlRow, 4);
        CheckOverCell(frame->ComboBox4, grid, 2, 4);
        QTRY_VERIFY(frame->ComboBox4->hasFocus());
        QVERIFY(!grid->Editor());
        // Clicking a text cell afterwards closes the list and edits there.
        const QRect text = grid->CellRect(1, 5);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          text.center() - grid->viewport()->pos());
        QTRY_VERIFY(frame->ComboBox4->isHidden());
        QCOMPARE(frame->KlRow, 5);
        QTRY_VERIFY(grid->Editor());
        Type(grid, "ооо ромашка");
        QCOMPARE(grid->Cells(1, 5), QString("ООО РОМАШКА"));
        QCOMPARE(grid->Cells(2, 4), QString("Узкий"));
    }

    void headerRowOpensNoList()
    {
        ShowTab(0);
        bool canSelect = false;
        frame->sgOperSelectCell(2, 0, canSelect);
        QVERIFY(canSelect);
        QCOMPARE(frame->OperRow, 0);
        frame->sgUslSelectCell(3, 0, canSelect);
        frame->SGBaseSelectCell(2, 0, canSelect);
        for (QComboBox *box : frame->findChildren<QComboBox *>())
            QVERIFY(box->isHidden());
    }

    void signZeroFiveMakesTheGroupVatExempt()
    {
        ShowTab(2);
        frame->sgUsl->SetCurrentCell(3, 3);
        QTRY_VERIFY(frame->ComboBox5->hasFocus());
        QCOMPARE(frame->ComboBox5->currentIndex(), 0);
        frame->ComboBox5->setCurrentIndex(5);
        QCOMPARE(frame->sgUsl->Cells(3, 3),
                 QString("05 - УСЛУГА, с признаком \"банковский платежный агент\""));
        QCOMPARE(frame->sgUsl->Cells(4, 3), kVatExempt);
        QCOMPARE(frame->sgUsl->Cells(4, 2), QString("1 - Ставка НДС 18%"));
        QCOMPARE(frame->sgUsl->Col(), 6);
        QCOMPARE(frame->sgUsl->Row(), 3);
        QCOMPARE(frame->UslCol, 6);
        QVERIFY(frame->ComboBox5->isHidden());
        // The VAT cell of that row opens no list, and navigation keys do nothing there.
        frame->sgUsl->SetCurrentCell(4, 3);
        QVERIFY(frame->ComboBox7->isHidden());
        QCOMPARE(frame->UslCol, 4);
        QTRY_VERIFY(frame->sgUsl->Editor());
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Left, Qt::Key_Down, Qt::Key_Home, Qt::Key_Delete})
            QTest::keyClick(frame->sgUsl->Editor(), key);
        QCOMPARE(frame->sgUsl->Col(), 4);
        QCOMPARE(frame->sgUsl->Row(), 3);
        QCOMPARE(frame->sgUsl->Cells(4, 3), kVatExempt);
    }

    void signZeroSixToo()
    {
        ShowTab(2);
        frame->sgUsl->SetCurrentCell(3, 8);
        QTRY_VERIFY(frame->ComboBox5->hasFocus());
        frame->ComboBox5->setCurrentIndex(6);
        QCOMPARE(frame->sgUsl->Cells(4, 8), kVatExempt);
        frame->sgUsl->SetCurrentCell(3, 8);
        QTRY_VERIFY(frame->ComboBox5->hasFocus());
        QCOMPARE(frame->ComboBox5->currentIndex(), 6);
        frame->ComboBox5->setCurrentIndex(7);
        QCOMPARE(frame->sgUsl->Cells(3, 8),
                 QString("07 - УСЛУГА, с признаком \"платежный агент\""));
        QCOMPARE(frame->sgUsl->Cells(4, 8), kVatExempt);
    }

    void vatAndTaxPicksParkTheCurrentCell()
    {
        ShowTab(2);
        // A narrow frame: the last columns lie beyond the grid's right edge at first.
        frame->resize(780, 650);
        QTRY_VERIFY(frame->sgUsl->width() < 780);
        QVERIFY(frame->sgUsl->CellRect(5, 4).left() > frame->sgUsl->width());
        frame->sgUsl->SetCurrentCell(5, 4);
        CheckOverCell(frame->ComboBox8, frame->sgUsl, 5, 4);
        QTRY_VERIFY(frame->ComboBox8->hasFocus());
        frame->ComboBox8->setCurrentIndex(3);
        QCOMPARE(frame->sgUsl->Cells(5, 4), QString("4 - Единый налог на вмененный доход"));
        QCOMPARE(frame->sgUsl->Col(), 6);
        frame->sgUsl->SetCurrentCell(4, 4);
        CheckOverCell(frame->ComboBox7, frame->sgUsl, 4, 4);
        QTRY_VERIFY(frame->ComboBox7->hasFocus());
        frame->ComboBox7->setCurrentIndex(5);
        QCOMPARE(frame->sgUsl->Cells(4, 4), QString("6 - НДС не облагается"));
        QCOMPARE(frame->sgUsl->Col(), 6);
        QCOMPARE(frame->sgUsl->Row(), 4);
    }

    void listsPreselectFromTheCell()
    {
        ShowTab(2);
        // A VAT cell no entry equals shows no entry, so any pick is written.
        frame->sgUsl->SetCells(4, 5, kVatExempt);
        frame->sgUsl->SetCells(3, 5, "посторонний текст");
        frame->sgUsl->SetCurrentCell(4, 5);
        QTRY_VERIFY(frame->ComboBox7->hasFocus());
        QCOMPARE(frame->ComboBox7->currentIndex(), -1);
        frame->ComboBox7->setCurrentIndex(0);
        QCOMPARE(frame->sgUsl->Cells(4, 5), QString("1 - Ставка НДС 18%"));
        frame->sgUsl->SetCurrentCell(3, 5);
        QTRY_VERIFY(frame->ComboBox5->hasFocus());
        QCOMPARE(frame->ComboBox5->currentIndex(), -1);
        frame->sgUsl->SetCells(2, 6, QString());
        frame->sgUsl->SetCurrentCell(2, 6);
        QTRY_VERIFY(frame->ComboBox3->hasFocus());
        QCOMPARE(frame->ComboBox3->currentIndex(), 1);
    }

    void goodsTypingFollowsTheRules()
    {
        ShowTab(1);
        frame->SGBase->SetCurrentCell(1, 7);
        QTRY_VERIFY(frame->SGBase->Editor());
        Type(frame->SGBase, "молоко 3,2% пастер. 1 литр");
        QCOMPARE(frame->SGBase->Cells(1, 7), QString("МОЛОКО 3,2% ПАСТЕР. 1 ЛИ"));
        QTest::keyClick(frame->SGBase->Editor(), Qt::Key_Backspace);
        QCOMPARE(frame->SGBase->Cells(1, 7).size(), 23);
        // Tab moves on to the font cell, whose list takes over.
        QTest::keyClick(frame->SGBase->Editor(), Qt::Key_Tab);
        QCOMPARE(frame->SGBase->Col(), 2);
        QTRY_VERIFY(frame->ComboBox1->hasFocus());
        frame->SGBase->setFocus();
        frame->SGBase->SetCurrentCell(4, 7);
        QTRY_VERIFY(frame->SGBase->Editor());
        Type(frame->SGBase, "12,.5.0x");
        QCOMPARE(frame->SGBase->Cells(4, 7), QString("12.50"));
        frame->SGBase->SetCurrentCell(3, 7);
        QTRY_VERIFY(frame->SGBase->Editor());
        Type(frame->SGBase, "460abc00000000001");
        QCOMPARE(frame->SGBase->Cells(3, 7), QString("4600000000000"));
        QCOMPARE(frame->BaseCol, 3);
        QCOMPARE(frame->BaseRow, 7);
    }

    void passwordKeepsWhatIsTyped()
    {
        ShowTab(0);
        frame->sgOper->SetCurrentCell(7, 1);
        QTRY_VERIFY(frame->sgOper->Editor());
        Type(frame->sgOper, "abcЖж-12345678901234567890");
        QCOMPARE(frame->sgOper->Cells(7, 1), QString("abcЖж-12345678901234567890"));
    }

    void agentsRowFiveTakesDigitsOnly()
    {
        ShowTab(4);
        frame->sgAgents->SetCurrentCell(1, 5);
        QTRY_VERIFY(frame->sgAgents->Editor());
        Type(frame->sgAgents, "7a7012345678999");
        QCOMPARE(frame->sgAgents->Cells(1, 5), QString("770123456789"));
        frame->sgAgents->SetCurrentCell(1, 6);
        QTRY_VERIFY(frame->sgAgents->Editor());
        Type(frame->sgAgents, "ул. ленина");
        QCOMPARE(frame->sgAgents->Cells(1, 6), QString("УЛ. ЛЕНИНА"));
    }
};

QTEST_MAIN(TestFrameSetZ48Editing)
#include "tst_framesetz48editing.moc"
