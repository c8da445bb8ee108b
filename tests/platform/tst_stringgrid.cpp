// The shared string grid: addressing, fixed row and column, sizes, the always-open in-place
// editor, the selection hook, the key filter and key-down hook, and a filled 6000-row grid.

#include "stringgrid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestStringGrid : public QObject
{
    Q_OBJECT

private:
    // A shown, active grid so the editor and focus behave as on screen.
    static void ShowActive(QWidget &w)
    {
        w.resize(600, 300);
        w.show();
        w.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

private slots:
    void addressesCellsWithHeaderRowAndFixedColumn()
    {
        TStringGrid grid(4, 3);
        QCOMPARE(grid.ColCount(), 4);
        QCOMPARE(grid.RowCount(), 3);
        grid.SetCells(0, 0, "угол");
        grid.SetCells(2, 0, "Заголовок");
        grid.SetCells(0, 2, "2");
        grid.SetCells(3, 2, "текст");
        QCOMPARE(grid.Cells(0, 0), QString("угол"));
        QCOMPARE(grid.Cells(2, 0), QString("Заголовок"));
        QCOMPARE(grid.Cells(3, 2), QString("текст"));
        // Row 0 and column 0 are the view's header sections, the rest its body.
        QCOMPARE(grid.model()->headerData(1, Qt::Horizontal).toString(), QString("Заголовок"));
        QCOMPARE(grid.model()->headerData(1, Qt::Vertical).toString(), QString("2"));
        QCOMPARE(grid.model()->index(1, 2).data().toString(), QString("текст"));
        QCOMPARE(grid.model()->rowCount(), 2);
        QCOMPARE(grid.model()->columnCount(), 3);
        // Out of range: empty, and writing there changes nothing.
        grid.SetCells(4, 0, "x");
        grid.SetCells(-1, 1, "x");
        QCOMPARE(grid.Cells(4, 0), QString());
        QCOMPARE(grid.Cells(1, 3), QString());
    }

    void resizingKeepsTexts()
    {
        TStringGrid grid(3, 3);
        grid.SetCells(2, 2, "b");
        grid.SetRowCount(10);
        grid.SetColCount(5);
        QCOMPARE(grid.Cells(2, 2), QString("b"));
        QCOMPARE(grid.RowCount(), 10);
        grid.SetRowCount(2);
        QCOMPARE(grid.Cells(2, 2), QString());
    }

    void headerCellsAreNotEditableBodyCellsAre()
    {
        TStringGrid grid(3, 3);
        QVERIFY(grid.model()->index(0, 0).flags() & Qt::ItemIsEditable);
        QVERIFY(!grid.horizontalHeader()->sectionsClickable());
        QVERIFY(!grid.verticalHeader()->sectionsClickable());
    }

    void widthsHeightsAndHiddenColumns()
    {
        TStringGrid grid(4, 5);
        grid.SetColWidth(0, 55);
        grid.SetColWidth(1, 160);
        grid.SetColWidth(3, -1);
        grid.SetDefaultRowHeight(27);
        QCOMPARE(grid.ColWidth(0), 55);
        QCOMPARE(grid.ColWidth(1), 160);
        QCOMPARE(grid.ColWidth(3), -1);
        QCOMPARE(grid.RowHeight(0), 27);
        QCOMPARE(grid.RowHeight(4), 27);
        grid.resize(500, 300);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        const QRect first = grid.CellRect(1, 1);
        QCOMPARE(first.size(), QSize(160, 27));
        QCOMPARE(grid.CellRect(0, 1).width(), 55);
        QCOMPARE(grid.CellRect(1, 0).height(), 27);
        QCOMPARE(grid.CellRect(2, 1).left(), first.left() + 160);
        QCOMPARE(grid.CellRect(1, 2).top(), first.top() + 27);
        QVERIFY(grid.CellRect(0, 1).right() < first.left());
        QVERIFY(grid.CellRect(3, 1).isEmpty());
        QVERIFY(grid.CellRect(4, 1).isEmpty());
    }

    void editorIsOpenOnTheCurrentCellAndWritesThrough()
    {
        TStringGrid grid(4, 4);
        ShowActive(grid);
        grid.setFocus();
        QTRY_VERIFY(grid.Editor());
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.Row(), 1);
        QTest::keyClicks(grid.Editor(), "abc");
        QCOMPARE(grid.Cells(1, 1), QString("abc"));
        // Tab moves on to the next cell with an editor open there too.
        QTest::keyClick(grid.Editor(), Qt::Key_Tab);
        QCOMPARE(grid.Col(), 2);
        QVERIFY(grid.Editor());
        QTest::keyClicks(grid.Editor(), "d");
        QCOMPARE(grid.Cells(2, 1), QString("d"));
        QCOMPARE(grid.Cells(1, 1), QString("abc"));
        // Enter ends the edit but the editor comes back on the same cell.
        QTest::keyClick(grid.Editor(), Qt::Key_Return);
        QVERIFY(grid.Editor());
        QCOMPARE(grid.Col(), 2);
    }

    void cellWrittenBehindTheEditorShowsInIt()
    {
        TStringGrid grid(4, 4);
        ShowActive(grid);
        grid.setFocus();
        QTRY_VERIFY(grid.Editor());
        QTest::keyClicks(grid.Editor(), "12");
        grid.SetCells(1, 1, "4600000000000");
        QCOMPARE(grid.Editor()->text(), QString("4600000000000"));
        QCOMPARE(grid.Cells(1, 1), QString("4600000000000"));
    }

    void bulkWriteShowsInTheOpenEditor()
    {
        TStringGrid grid(4, 4);
        ShowActive(grid);
        grid.setFocus();
        QTRY_VERIFY(grid.Editor());
        QSignalSpy changes(grid.model(), &QAbstractItemModel::dataChanged);
        grid.BeginUpdate();
        grid.SetCells(1, 1, "ХЛЕБ");
        grid.SetCells(3, 3, "МОЛОКО");
        QCOMPARE(changes.count(), 0);
        grid.EndUpdate();
        QCOMPARE(changes.count(), 1);
        QCOMPARE(grid.Editor()->text(), QString("ХЛЕБ"));
        QTest::keyClick(grid.Editor(), Qt::Key_End);
        QTest::keyClicks(grid.Editor(), "x");
        QCOMPARE(grid.Cells(1, 1), QString("ХЛЕБx"));
        QCOMPARE(grid.Cells(3, 3), QString("МОЛОКО"));
    }

    void selectHookSeesEveryNewCellAndMayRefuse()
    {
        TStringGrid grid(4, 4);
        QList<QPoint> seen;
        grid.SetSelectCellHook([&](TStringGrid &, int col, int row, bool &canSelect) {
            seen.append(QPoint(col, row));
            canSelect = !(col == 3 && row == 3);
        });
        grid.SetCurrentCell(2, 3);
        QCOMPARE(grid.Col(), 2);
        QCOMPARE(grid.Row(), 3);
        grid.SetCurrentCell(3, 3);
        QCOMPARE(seen, QList<QPoint>({QPoint(2, 3), QPoint(3, 3)}));
        QCOMPARE(grid.Col(), 2);
        QCOMPARE(grid.Row(), 3);
    }

    void keyFilterReplacesAndRefusesTypedCharacters()
    {
        TStringGrid grid(3, 3);
        grid.SetKeyFilter([](TStringGrid &, int, int, QChar key, const QString &text) {
            if (text.size() >= 3 || key == 'x')
                return QChar();
            return key.toUpper();
        });
        ShowActive(grid);
        grid.setFocus();
        QTRY_VERIFY(grid.Editor());
        QTest::keyClicks(grid.Editor(), "axbcd");
        QCOMPARE(grid.Cells(1, 1), QString("ABC"));
        // Backspace always passes, even at the limit.
        QTest::keyClick(grid.Editor(), Qt::Key_Backspace);
        QCOMPARE(grid.Cells(1, 1), QString("AB"));
        // Pasted text goes through the filter as if typed.
        QApplication::clipboard()->setText("qxwzz");
        QTest::keyClick(grid.Editor(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(grid.Cells(1, 1), QString("ABQ"));
    }

    void keyDownHookSwallowsNavigation()
    {
        TStringGrid grid(4, 4);
        bool locked = true;
        grid.SetKeyDownHook([&](TStringGrid &, int key, Qt::KeyboardModifiers) {
            return locked && (key == Qt::Key_Tab || key == Qt::Key_Down);
        });
        ShowActive(grid);
        grid.setFocus();
        QTRY_VERIFY(grid.Editor());
        QTest::keyClick(grid.Editor(), Qt::Key_Tab);
        QTest::keyClick(grid.Editor(), Qt::Key_Down);
        QTest::keyClick(&grid, Qt::Key_Tab);
        QCOMPARE(grid.Col(), 1);
        QCOMPARE(grid.Row(), 1);
        QTest::keyClicks(grid.Editor(), "z");
        QCOMPARE(grid.Cells(1, 1), QString("z"));
        locked = false;
        QTest::keyClick(grid.Editor(), Qt::Key_Tab);
        QCOMPARE(grid.Col(), 2);
    }

    void hiddenColumnGetsNoEditor()
    {
        TStringGrid grid(4, 3);
        grid.SetColWidth(3, -1);
        ShowActive(grid);
        grid.setFocus();
        grid.SetCurrentCell(3, 2);
        QCOMPARE(grid.Col(), 3);
        QVERIFY(!grid.Editor());
    }

    void accessibleAndObjectNames()
    {
        TStringGrid grid(3, 3);
        grid.setObjectName("sgTest");
        grid.setAccessibleName("Операторы");
        QCOMPARE(grid.objectName(), QString("sgTest"));
        QCOMPARE(grid.accessibleName(), QString("Операторы"));
    }

    void sixThousandRowsFillAndScroll()
    {
        TStringGrid grid(6, 6001);
        for (int r = 1; r < 6001; ++r) {
            grid.SetCells(0, r, QString::number(r));
            for (int c = 1; c < 6; ++c)
                grid.SetCells(c, r, "Узкий");
        }
        grid.resize(800, 400);
        grid.show();
        QVERIFY(QTest::qWaitForWindowExposed(&grid));
        grid.SetCurrentCell(1, 6000);
        QCOMPARE(grid.Row(), 6000);
        QVERIFY(!grid.CellRect(1, 6000).isEmpty());
        QVERIFY(grid.viewport()->rect().intersects(
            grid.CellRect(1, 6000).translated(-grid.viewport()->pos())));
        QCOMPARE(grid.Cells(0, 6000), QString("6000"));
    }
};

QTEST_MAIN(TestStringGrid)
#include "tst_stringgrid.moc"
