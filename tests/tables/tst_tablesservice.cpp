// The tables frame's tools beyond writing and reading: verifying the register against the
// open tab, writing only the changed records, and the marks of changed records.
#include "goodsrecord.h"
#include "runcontrol.h"
#include "tablerun.h"
#include "tablesrunfixture.h"
#include "verifywindow.h"

#include <QTreeWidget>

namespace
{

const TTableTab kGoods = TTableTab::Goods;
constexpr int kGoodsTab = 1;

// The items the register was asked to write, in order.
QList<int> WrittenItems(const QList<TRequest> &requests)
{
    QList<int> items;
    for (const TRequest &request : requests)
        if (request.letter == 'T' && request.mode == 0)
            items.append(request.item);
    return items;
}

QList<int> MarkedRows(TStringGrid &grid, int first, int last)
{
    QList<int> rows;
    for (int row = first; row <= last; ++row)
        if (grid.GridModel()->RowMarked(row))
            rows.append(row);
    return rows;
}

} // namespace

class TestTablesService : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        t = std::make_unique<TFrameUnderTest>();
        QVERIFY2(t->Ready(), qPrintable(t->pty.ErrorText()));
        TStringGrid &goods = t->Grid(kGoodsTab);
        for (int row = 1; row <= 10; ++row) {
            goods.SetCells(GoodsColumn::Name, row, QStringLiteral("товар %1").arg(row));
            goods.SetCells(GoodsColumn::Price, row, QStringLiteral("%1.5").arg(row));
        }
        t->OpenTab(kGoodsTab);
        t->SetRange(kGoodsTab, QStringLiteral("1"), QStringLiteral("10"));
    }
    void cleanup() { t.reset(); }

    void verifyListsTheOneFieldTheRegisterHoldsOtherwise()
    {
        t->Write(kGoodsTab, QStringLiteral("1"), QStringLiteral("10"));
        std::optional<TEmulatorItem> item = t->Engine().Item(7);
        QVERIFY(item);
        item->price = 999; // 9.99 in the register; the grid has 7.5
        t->Engine().SetItem(7, *item);
        t->dialogs.Clear();

        t->frame.VerifyClick();
        QCOMPARE(t->dialogs.MessageCount(), 0);
        auto *window = t->frame.findChild<TVerifyWindow *>();
        QVERIFY(window && window->isVisible());
        QTreeWidget *list = window->List();
        QCOMPARE(list->topLevelItemCount(), 1);
        QTreeWidgetItem *line = list->topLevelItem(0);
        QCOMPARE((QStringList{line->text(0), line->text(2), line->text(3)}),
                 (QStringList{"товар 7", "7.5", "9.99"}));
        // The grid keeps its own text.
        QCOMPARE(t->Grid(kGoodsTab).Cells(GoodsColumn::Price, 7), QStringLiteral("7.5"));

        // Over the cell it is asked to show, the window moves aside.
        TStringGrid &goods = t->Grid(kGoodsTab);
        QRect cell = goods.CellRect(GoodsColumn::Price, 7);
        cell.moveTopLeft(goods.mapToGlobal(cell.topLeft()));
        window->move(cell.topLeft() - QPoint(20, 20));
        QVERIFY(window->frameGeometry().intersects(cell));
        emit list->itemActivated(line, 0);
        QCOMPARE(goods.Row(), 7);
        QCOMPARE(goods.Col(), int(GoodsColumn::Price));
        QVERIFY(!window->frameGeometry().intersects(cell));

        // A run makes the list stale: it closes.
        t->Read(kGoodsTab, QStringLiteral("1"), QStringLiteral("1"));
        QTRY_VERIFY(t->frame.findChild<TVerifyWindow *>() == nullptr);

        // Mended in the register: the next verify says so.
        item->price = 750;
        t->Engine().SetItem(7, *item);
        t->SetRange(kGoodsTab, QStringLiteral("1"), QStringLiteral("10"));
        t->frame.VerifyClick();
        QCOMPARE(t->dialogs.Texts(), QStringList{"Данные в ККТ совпадают с таблицей."});
        QVERIFY(t->Unlocked());
    }

    void writeChangedSendsExactlyTheChangedRecords()
    {
        TStringGrid &goods = t->Grid(kGoodsTab);
        // Nothing known of the register yet: every record counts as changed.
        QCOMPARE(MarkedRows(goods, 1, 3), (QList<int>{1, 2, 3}));
        t->Read(kGoodsTab, QStringLiteral("1"), QStringLiteral("10"));
        QCOMPARE(MarkedRows(goods, 1, 11), QList<int>{11});

        goods.SetCells(GoodsColumn::Name, 3, QStringLiteral("ЧАЙ"));
        goods.SetCells(GoodsColumn::Barcode, 7, QStringLiteral("4601"));
        // Edited and put back as it was read: not changed.
        goods.SetCells(GoodsColumn::Name, 8, QStringLiteral("чай"));
        goods.SetCells(GoodsColumn::Name, 8, QString());
        QCOMPARE(MarkedRows(goods, 1, 10), (QList<int>{3, 7}));

        t->Engine().ClearReceivedRequests();
        t->host.statuses.clear();
        t->frame.WriteChangedClick();
        QCOMPARE(t->dialogs.MessageCount(), 0);
        QCOMPARE(WrittenItems(t->Requests()), (QList<int>{3, 7}));
        QCOMPARE(t->host.statuses.first(), QStringLiteral("Запись: товар 3 (1 из 2)"));
        QCOMPARE(MarkedRows(goods, 1, 10), QList<int>());
        QCOMPARE(t->Engine().Item(7)->barcode, quint64(4601));

        // Nothing left to write: told so, nothing sent.
        t->Engine().ClearReceivedRequests();
        t->frame.WriteChangedClick();
        QCOMPARE(t->dialogs.Texts(), QStringList{kNothingChangedText});
        QCOMPARE(t->Requests().size(), 0);

        // Another device number is another register, of which nothing is known.
        t->host.settings.NumKKT = 5;
        QCOMPARE(MarkedRows(goods, 1, 3), (QList<int>{1, 2, 3}));
        t->host.settings.NumKKT = 0;
        QCOMPARE(MarkedRows(goods, 1, 3), QList<int>());
    }

    void failedOrStoppedWriteLeavesUnwrittenRecordsMarked()
    {
        // Operators: five exchanges each; the seventh (operator 2, field 1) fails.
        TStringGrid &operators = t->Grid(0);
        t->Read(0, QStringLiteral("1"), QStringLiteral("6"));
        for (int row = 1; row <= 3; ++row)
            operators.SetCells(1, row, QStringLiteral("КАССИР %1").arg(row));
        t->Engine().AnswerStatusAt(7, 2);
        t->Write(0, QStringLiteral("1"), QStringLiteral("6"));
        QCOMPARE(t->dialogs.MessageCount(), 1);
        QCOMPARE(MarkedRows(operators, 1, 6), (QList<int>{2, 3}));

        // A goods write stopped after its second item.
        t->dialogs.Clear();
        t->OpenTab(kGoodsTab);
        t->host.onStatus = [&](const QString &status) {
            if (status == QStringLiteral("Запись: товар 3 из 10")) // items 1 and 2 went through
                QTest::keyClick(t->ui.ButtonStop, Qt::Key_Escape);
        };
        t->Start(t->ui.Button3);
        QCOMPARE(t->dialogs.Texts(), QStringList{kRunStoppedText});
        QCOMPARE(MarkedRows(t->Grid(kGoodsTab), 1, 10), (QList<int>{3, 4, 5, 6, 7, 8, 9, 10}));
    }

private:
    std::unique_ptr<TFrameUnderTest> t;
};

QTEST_MAIN(TestTablesService)
#include "tst_tablesservice.moc"
