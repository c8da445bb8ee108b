// Editing the tables frame's cells on screen: the lists laid over choice cells, what a pick
// writes and where the current cell goes, the groups grid's VAT column, and typing through the
// grids' in-place editors.

#include "fakeworkhost.h"
#include "framesetz48.h"
#include "stringgrid.h"
#include "z48controls.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QToolTip>

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

// Chooses an entry the way a user does: opens the drop-down, moves to the entry, Enter.
void Pick(QComboBox *list, int index)
{
    QVERIFY(list->isVisible());
    list->showPopup();
    QTRY_VERIFY(list->view()->isVisible());
    list->view()->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyClick(list->view(), Qt::Key_Return);
    QTRY_VERIFY(!list->view()->isVisible());
}

// Where a key press goes: the widget with the keyboard focus.
void Press(int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString &text = {})
{
    QWidget *target = QApplication::focusWidget();
    QVERIFY(target);
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

// The focus is in the grid: the grid itself, its editor, or a list laid over one of its cells.
bool FocusInGrid(TStringGrid *grid)
{
    QWidget *focus = QApplication::focusWidget();
    return focus &&
           (focus == grid || grid->isAncestorOf(focus) ||
            (qobject_cast<QComboBox *>(focus) && focus->parentWidget()->isAncestorOf(grid)));
}

// The list covers the cell exactly: same place, same size, in the tab sheet's coordinates, and
// shows the grid's font.
void CheckOverCell(QComboBox *list, TStringGrid *grid, int col, int row)
{
    QVERIFY(list->isVisible());
    QCOMPARE(list->font(), grid->font());
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
    std::unique_ptr<TZ48Controls> ui;

    void ShowTab(int tab)
    {
        ui->PageControl1->setCurrentIndex(tab);
        frame->Grid(TTableTab(tab))->setFocus();
        QTRY_VERIFY(frame->Grid(TTableTab(tab))->Editor());
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
    }
    void cleanup() { frame.reset(); }

    void fontListOverOperatorCellWritesAndMovesLeft()
    {
        ShowTab(0);
        ui->sgOper->SetCurrentCell(4, 2);
        QCOMPARE(frame->CurrentCell(TTableTab::Operators).col, 4);
        QCOMPARE(frame->CurrentCell(TTableTab::Operators).row, 2);
        CheckOverCell(ui->ComboBox2, ui->sgOper, 4, 2);
        QTRY_VERIFY(ui->ComboBox2->hasFocus());
        QCOMPARE(ui->ComboBox2->currentIndex(), 0);
        Pick(ui->ComboBox2, 1);
        QCOMPARE(ui->sgOper->Cells(4, 2), QString("Широкий"));
        QVERIFY(ui->ComboBox2->isHidden());
        QCOMPARE(ui->sgOper->Col(), 3);
        QCOMPARE(ui->sgOper->Row(), 2);
        QCOMPARE(frame->CurrentCell(TTableTab::Operators).col, 3);
        QTRY_VERIFY(ui->sgOper->Editor());
        // The surname in column 3 now follows the wide font: 12 characters.
        Type(ui->sgOper, "иванов-петров");
        QCOMPARE(ui->sgOper->Cells(3, 2), QString("ИВАНОВ-ПЕТРО"));
        // Opening the list again preselects the cell's font; picking it again writes nothing
        // and hands the keyboard back to the grid.
        ui->sgOper->SetCurrentCell(4, 2);
        QTRY_VERIFY(ui->ComboBox2->hasFocus());
        QCOMPARE(ui->ComboBox2->currentIndex(), 1);
        ui->sgOper->SetCells(4, 2, QString());
        Pick(ui->ComboBox2, 1);
        QCOMPARE(ui->sgOper->Cells(4, 2), QString());
        QVERIFY(ui->ComboBox2->isHidden());
        QVERIFY(ui->sgOper->hasFocus());
        QCOMPARE(ui->sgOper->Col(), 4);
    }

    // Keys on a closed list change no value: arrows walk the grid, Escape gives the keyboard
    // back to the grid, typed characters and the wheel do nothing, and Space, F4 and Alt+Down
    // open the drop-down (the first time too).
    void keysOnAClosedList_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("col");
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("mods");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("rowAfter");
        QTest::addColumn<QString>("state"); // list, popup, grid
        struct TKind {
            const char *name;
            int tab, col;
            const char *list;
        };
        const TKind kinds[] = {{"operators font", 0, 4, "ComboBox2"},
                               {"goods font", 1, 2, "ComboBox1"},
                               {"sign", 2, 3, "ComboBox5"},
                               {"VAT", 2, 4, "ComboBox7"},
                               {"tax system", 2, 5, "ComboBox8"}};
        for (const TKind &k : kinds) {
            auto row = [&](const char *what, int key, int mods, const QString &text, int rowAfter,
                           const char *state) {
                QTest::addRow("%s: %s", k.name, what)
                    << k.tab << k.col << k.list << key << mods << text << rowAfter << state;
            };
            row("Down", Qt::Key_Down, 0, {}, 4, "list");
            row("Up", Qt::Key_Up, 0, {}, 2, "list");
            row("typed letter", Qt::Key_unknown, 0, QStringLiteral("ш"), 3, "list");
            row("Escape", Qt::Key_Escape, 0, {}, 3, "grid");
            row("F4", Qt::Key_F4, 0, {}, 3, "popup");
            row("Alt+Down", Qt::Key_Down, Qt::AltModifier, {}, 3, "popup");
            row("Space", Qt::Key_Space, 0, QStringLiteral(" "), 3, "popup");
        }
    }

    void keysOnAClosedList()
    {
        QFETCH(int, tab);
        QFETCH(int, col);
        QFETCH(QString, list);
        QFETCH(int, key);
        QFETCH(int, mods);
        QFETCH(QString, text);
        QFETCH(int, rowAfter);
        QFETCH(QString, state);
        ShowTab(tab);
        TStringGrid *grid = frame->Grid(TTableTab(tab));
        auto *box = frame->findChild<QComboBox *>(list);
        grid->SetCurrentCell(col, 3);
        QTRY_VERIFY(box->hasFocus());
        QWheelEvent wheel(QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), {}, {0, -120},
                          Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(box, &wheel);
        const QList<QString> before = {grid->Cells(col, 2), grid->Cells(col, 3),
                                       grid->Cells(col, 4)};
        Press(key, Qt::KeyboardModifiers(mods), text);
        QCOMPARE(grid->Col(), col);
        QCOMPARE(grid->Row(), rowAfter);
        QCOMPARE((QList<QString>{grid->Cells(col, 2), grid->Cells(col, 3), grid->Cells(col, 4)}),
                 before);
        if (state == "grid") {
            QVERIFY(box->isHidden());
            QVERIFY(grid->hasFocus());
            QVERIFY(!grid->Editor());
            // Typing on the cell changes nothing; asking for the list brings it back.
            Press(Qt::Key_unknown, {}, QStringLiteral("x"));
            QCOMPARE(grid->Cells(col, 3), before[1]);
            QVERIFY(!grid->Editor());
            Press(Qt::Key_Space, {}, QStringLiteral(" "));
            CheckOverCell(box, grid, col, 3);
            QTRY_VERIFY(box->hasFocus());
        } else {
            CheckOverCell(box, grid, col, rowAfter);
            QTRY_COMPARE(box->view()->isVisible(), state == "popup");
        }
        if (box->view()->isVisible()) {
            QTest::keyClick(box->view(), Qt::Key_Escape);
            QTRY_VERIFY(!box->view()->isVisible());
            QVERIFY(box->isVisible());
        }
        QTRY_VERIFY(box->hasFocus());
        QCOMPARE(grid->Cells(col, rowAfter), before[rowAfter - 2]);
    }

    // Tab and Shift+Tab walk every cell of a grid and never leave it for a button; lists on
    // the way take no key as a choice.
    void tabWalksTheGrid_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QList<int>>("cols");
        QTest::newRow("operators") << 0 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
        QTest::newRow("goods") << 1 << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("groups") << 2 << QList<int>{1, 2, 3, 4, 5};
        QTest::newRow("cliche") << 3 << QList<int>{1, 2};
        QTest::newRow("agents") << 4 << QList<int>{1, 2};
    }

    void tabWalksTheGrid()
    {
        QFETCH(int, tab);
        QFETCH(QList<int>, cols);
        ShowTab(tab);
        TStringGrid *grid = frame->Grid(TTableTab(tab));
        // A group whose VAT cell opens no list: the keyboard still leaves it.
        ui->sgUsl->SetCells(3, 1,
                            QStringLiteral("05 - УСЛУГА, с признаком \"банковский "
                                           "платежный агент\""));
        ui->sgUsl->SetCells(4, 1, kVatExempt);
        const QStringList before = {grid->Cells(2, 1), grid->Cells(3, 1), grid->Cells(4, 1)};
        QList<QPair<int, int>> walked;
        for (int i = 0; i < cols.size(); ++i) {
            walked.append({grid->Col(), grid->Row()});
            QVERIFY(FocusInGrid(grid));
            Press(Qt::Key_Tab);
        }
        QCOMPARE(grid->Col(), cols.first());
        QCOMPARE(grid->Row(), 2);
        for (int i = cols.size() - 1; i >= 0; --i) {
            Press(Qt::Key_Backtab);
            QVERIFY(FocusInGrid(grid));
            QCOMPARE((QPair<int, int>(grid->Col(), grid->Row())), walked.at(i));
        }
        QList<QPair<int, int>> expected;
        for (int c : cols)
            expected.append({c, 1});
        QCOMPARE(walked, expected);
        QCOMPARE((QStringList{grid->Cells(2, 1), grid->Cells(3, 1), grid->Cells(4, 1)}), before);
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
        TStringGrid *grid = frame->Grid(TTableTab(tab));
        grid->SetCurrentCell(col, row);
        auto *box = frame->findChild<QComboBox *>(list);
        CheckOverCell(box, grid, col, row);
        QTRY_VERIFY(box->hasFocus());
        // Leaving the list hides it and keeps the cell's text.
        const QString before = grid->Cells(col, row);
        frame->Range(TTableTab(tab)).from->setFocus();
        QTRY_VERIFY(box->isHidden());
        QCOMPARE(grid->Cells(col, row), before);
    }

    void cellsWithoutListsOpenNone_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("col");
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("editor");
        QTest::newRow("operators text") << 0 << 3 << 1 << true;
        QTest::newRow("goods price") << 1 << 4 << 1 << true;
        // A list column without a list in this row still takes no typed text.
        QTest::newRow("agents row 5 font") << 4 << 2 << 5 << false;
    }

    void cellsWithoutListsOpenNone()
    {
        QFETCH(int, tab);
        QFETCH(int, col);
        QFETCH(int, row);
        QFETCH(bool, editor);
        ShowTab(tab);
        frame->Grid(TTableTab(tab))->SetCurrentCell(col, row);
        for (QComboBox *box : frame->findChildren<QComboBox *>())
            QVERIFY(box->isHidden());
        QCOMPARE(frame->Grid(TTableTab(tab))->Editor() != nullptr, editor);
    }

    void clickingAFontCellOpensItsListOverIt()
    {
        ShowTab(3);
        TStringGrid *grid = ui->sgKl;
        const QRect cell = grid->CellRect(2, 4);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          cell.center() - grid->viewport()->pos());
        QCOMPARE(frame->CurrentCell(TTableTab::Cliche).col, 2);
        QCOMPARE(frame->CurrentCell(TTableTab::Cliche).row, 4);
        CheckOverCell(ui->ComboBox4, grid, 2, 4);
        QTRY_VERIFY(ui->ComboBox4->hasFocus());
        QVERIFY(!grid->Editor());
        // Put away with Escape, a click on the same cell brings it back.
        Press(Qt::Key_Escape);
        QVERIFY(ui->ComboBox4->isHidden());
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          cell.center() - grid->viewport()->pos());
        CheckOverCell(ui->ComboBox4, grid, 2, 4);
        QTRY_VERIFY(ui->ComboBox4->hasFocus());
        // Clicking a text cell afterwards closes the list and edits there.
        const QRect text = grid->CellRect(1, 5);
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          text.center() - grid->viewport()->pos());
        QTRY_VERIFY(ui->ComboBox4->isHidden());
        QCOMPARE(frame->CurrentCell(TTableTab::Cliche).row, 5);
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
        QCOMPARE(frame->CurrentCell(TTableTab::Operators).row, 0);
        frame->sgUslSelectCell(3, 0, canSelect);
        frame->SGBaseSelectCell(2, 0, canSelect);
        for (QComboBox *box : frame->findChildren<QComboBox *>())
            QVERIFY(box->isHidden());
    }

    void signZeroFiveMakesTheGroupVatExempt()
    {
        ShowTab(2);
        ui->sgUsl->SetCurrentCell(3, 3);
        QTRY_VERIFY(ui->ComboBox5->hasFocus());
        QCOMPARE(ui->ComboBox5->currentIndex(), 0);
        Pick(ui->ComboBox5, 5);
        QCOMPARE(ui->sgUsl->Cells(3, 3),
                 QString("05 - УСЛУГА, с признаком \"банковский платежный агент\""));
        QCOMPARE(ui->sgUsl->Cells(4, 3), kVatExempt);
        QCOMPARE(ui->sgUsl->Cells(4, 2), QString("1 - Ставка НДС 18%"));
        QCOMPARE(ui->sgUsl->Col(), 6);
        QCOMPARE(ui->sgUsl->Row(), 3);
        QCOMPARE(frame->CurrentCell(TTableTab::Groups).col, 6);
        QVERIFY(ui->ComboBox5->isHidden());
        // The VAT cell of that row opens no list and takes no text; navigation keys do
        // nothing there, but Tab and Shift+Tab leave it.
        ui->sgUsl->SetCurrentCell(4, 3);
        QVERIFY(ui->ComboBox7->isHidden());
        QCOMPARE(frame->CurrentCell(TTableTab::Groups).col, 4);
        QVERIFY(ui->sgUsl->hasFocus());
        QVERIFY(!ui->sgUsl->Editor());
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_Down, Qt::Key_Home, Qt::Key_Delete, Qt::Key_F4})
            Press(key);
        Press(Qt::Key_unknown, {}, QStringLiteral("7"));
        QCOMPARE(ui->sgUsl->Col(), 4);
        QCOMPARE(ui->sgUsl->Row(), 3);
        QCOMPARE(ui->sgUsl->Cells(4, 3), kVatExempt);
        Press(Qt::Key_Backtab);
        QCOMPARE(ui->sgUsl->Col(), 3);
        QTRY_VERIFY(ui->ComboBox5->hasFocus());
        Press(Qt::Key_Tab);
        Press(Qt::Key_Tab);
        QCOMPARE(ui->sgUsl->Col(), 5);
        // And the mouse leaves it as well.
        ui->sgUsl->SetCurrentCell(4, 3);
        const QRect name = ui->sgUsl->CellRect(1, 6);
        QTest::mouseClick(ui->sgUsl->viewport(), Qt::LeftButton, {},
                          name.center() - ui->sgUsl->viewport()->pos());
        QCOMPARE(frame->CurrentCell(TTableTab::Groups).col, 1);
        QCOMPARE(frame->CurrentCell(TTableTab::Groups).row, 6);
    }

    void signZeroSixToo()
    {
        ShowTab(2);
        ui->sgUsl->SetCurrentCell(3, 8);
        QTRY_VERIFY(ui->ComboBox5->hasFocus());
        Pick(ui->ComboBox5, 6);
        QCOMPARE(ui->sgUsl->Cells(4, 8), kVatExempt);
        ui->sgUsl->SetCurrentCell(3, 8);
        QTRY_VERIFY(ui->ComboBox5->hasFocus());
        QCOMPARE(ui->ComboBox5->currentIndex(), 6);
        Pick(ui->ComboBox5, 7);
        QCOMPARE(ui->sgUsl->Cells(3, 8), QString("07 - УСЛУГА, с признаком \"платежный агент\""));
        QCOMPARE(ui->sgUsl->Cells(4, 8), kVatExempt);
    }

    void vatAndTaxPicksParkTheCurrentCell()
    {
        ShowTab(2);
        // A narrow frame: the last columns lie beyond the grid's right edge at first.
        frame->resize(780, 650);
        QTRY_VERIFY(ui->sgUsl->width() < 780);
        QVERIFY(ui->sgUsl->CellRect(5, 4).left() > ui->sgUsl->width());
        ui->sgUsl->SetCurrentCell(5, 4);
        CheckOverCell(ui->ComboBox8, ui->sgUsl, 5, 4);
        QTRY_VERIFY(ui->ComboBox8->hasFocus());
        Pick(ui->ComboBox8, 3);
        QCOMPARE(ui->sgUsl->Cells(5, 4), QString("4 - Единый налог на вмененный доход"));
        QCOMPARE(ui->sgUsl->Col(), 6);
        // Parked, the cell takes no typed text and the next key goes on from column 5.
        Press(Qt::Key_unknown, {}, QStringLiteral("x"));
        QCOMPARE(ui->sgUsl->Col(), 6);
        Press(Qt::Key_Down);
        QCOMPARE(ui->sgUsl->Col(), 5);
        QCOMPARE(ui->sgUsl->Row(), 5);
        CheckOverCell(ui->ComboBox8, ui->sgUsl, 5, 5);
        ui->sgUsl->SetCurrentCell(4, 4);
        CheckOverCell(ui->ComboBox7, ui->sgUsl, 4, 4);
        QTRY_VERIFY(ui->ComboBox7->hasFocus());
        Pick(ui->ComboBox7, 5);
        QCOMPARE(ui->sgUsl->Cells(4, 4), QString("6 - НДС не облагается"));
        QCOMPARE(ui->sgUsl->Col(), 6);
        QCOMPARE(ui->sgUsl->Row(), 4);
        Press(Qt::Key_Tab);
        QCOMPARE(ui->sgUsl->Col(), 5);
        QCOMPARE(ui->sgUsl->Row(), 4);
    }

    void listsPreselectFromTheCell()
    {
        ShowTab(2);
        // A VAT cell no entry equals shows no entry, so any pick is written.
        ui->sgUsl->SetCells(4, 5, kVatExempt);
        ui->sgUsl->SetCells(3, 5, "посторонний текст");
        ui->sgUsl->SetCurrentCell(4, 5);
        QTRY_VERIFY(ui->ComboBox7->hasFocus());
        QCOMPARE(ui->ComboBox7->currentIndex(), -1);
        Pick(ui->ComboBox7, 0);
        QCOMPARE(ui->sgUsl->Cells(4, 5), QString("1 - Ставка НДС 18%"));
        ui->sgUsl->SetCurrentCell(3, 5);
        QTRY_VERIFY(ui->ComboBox5->hasFocus());
        QCOMPARE(ui->ComboBox5->currentIndex(), -1);
        ui->sgUsl->SetCells(2, 6, QString());
        ui->sgUsl->SetCurrentCell(2, 6);
        QTRY_VERIFY(ui->ComboBox3->hasFocus());
        QCOMPARE(ui->ComboBox3->currentIndex(), 1);
    }

    void goodsTypingFollowsTheRules()
    {
        ShowTab(1);
        ui->SGBase->SetCurrentCell(1, 7);
        QTRY_VERIFY(ui->SGBase->Editor());
        Type(ui->SGBase, "молоко 3,2% пастер. 1 литр");
        QCOMPARE(ui->SGBase->Cells(1, 7), QString("МОЛОКО 3,2% ПАСТЕР. 1 ЛИ"));
        QTest::keyClick(ui->SGBase->Editor(), Qt::Key_Backspace);
        QCOMPARE(ui->SGBase->Cells(1, 7).size(), 23);
        // Tab moves on to the font cell, whose list takes over.
        QTest::keyClick(ui->SGBase->Editor(), Qt::Key_Tab);
        QCOMPARE(ui->SGBase->Col(), 2);
        QTRY_VERIFY(ui->ComboBox1->hasFocus());
        ui->SGBase->setFocus();
        ui->SGBase->SetCurrentCell(4, 7);
        QTRY_VERIFY(ui->SGBase->Editor());
        // A comma is the decimal point; a third decimal is refused, wherever the caret is.
        Type(ui->SGBase, "12,.5.05x");
        QCOMPARE(ui->SGBase->Cells(4, 7), QString("12.50"));
        QTest::keyClick(ui->SGBase->Editor(), Qt::Key_Home);
        Type(ui->SGBase, "3");
        QCOMPARE(ui->SGBase->Cells(4, 7), QString("312.50"));
        ui->SGBase->SetCurrentCell(3, 7);
        QTRY_VERIFY(ui->SGBase->Editor());
        Type(ui->SGBase, "460abc00000000001");
        QCOMPARE(ui->SGBase->Cells(3, 7), QString("4600000000000"));
        QCOMPARE(frame->CurrentCell(TTableTab::Goods).col, 3);
        QCOMPARE(frame->CurrentCell(TTableTab::Goods).row, 7);
    }

    void passwordKeepsWhatIsTyped()
    {
        ShowTab(0);
        ui->sgOper->SetCurrentCell(7, 1);
        QTRY_VERIFY(ui->sgOper->Editor());
        Type(ui->sgOper, "abcЖж-12345678901234567890");
        QCOMPARE(ui->sgOper->Cells(7, 1), QString("abcЖж-12345678901234567890"));
    }

    // Right at the end of the text and Left at its start go on to the neighbouring cell;
    // Escape brings back the text the cell had when it was entered.
    void editorArrowsAndEscape()
    {
        ShowTab(1);
        TStringGrid *grid = ui->SGBase;
        grid->SetCells(3, 9, QStringLiteral("46"));
        grid->SetCurrentCell(3, 9);
        QTRY_VERIFY(grid->Editor());
        QTest::keyClick(grid->Editor(), Qt::Key_End);
        Type(grid, "01");
        QCOMPARE(grid->Cells(3, 9), QStringLiteral("4601"));
        Press(Qt::Key_Escape);
        QCOMPARE(grid->Cells(3, 9), QStringLiteral("46"));
        QVERIFY(grid->Editor());
        QTest::keyClick(grid->Editor(), Qt::Key_End);
        Press(Qt::Key_Left);
        QCOMPARE(grid->Col(), 3);
        Press(Qt::Key_Right);
        Press(Qt::Key_Right);
        QCOMPARE(grid->Col(), 4);
        QTRY_VERIFY(grid->Editor());
        Press(Qt::Key_Left);
        QCOMPARE(grid->Col(), 3);
        QCOMPARE(grid->Row(), 9);
    }

    // A cell or header narrower than its text shows the whole text as a tooltip.
    void narrowCellsShowTheirTextAsTooltip()
    {
        ShowTab(2);
        TStringGrid *grid = ui->sgUsl;
        const QString sign = grid->Cells(3, 2);
        QHelpEvent cellHelp(QEvent::ToolTip,
                            grid->CellRect(3, 2).center() - grid->viewport()->pos(),
                            grid->viewport()->mapToGlobal(grid->CellRect(3, 2).center()));
        QApplication::sendEvent(grid->viewport(), &cellHelp);
        QTRY_COMPARE(QToolTip::text(), sign);
        QHelpEvent shortHelp(QEvent::ToolTip,
                             grid->CellRect(2, 2).center() - grid->viewport()->pos(),
                             grid->viewport()->mapToGlobal(grid->CellRect(2, 2).center()));
        QApplication::sendEvent(grid->viewport(), &shortHelp);
        QTRY_VERIFY(QToolTip::text().isEmpty());
        ShowTab(0);
        QHeaderView *header = ui->sgOper->horizontalHeader();
        const QPoint caption(header->sectionViewportPosition(7) + 4, header->height() / 2);
        QHelpEvent headerHelp(QEvent::ToolTip, caption, header->viewport()->mapToGlobal(caption));
        QApplication::sendEvent(header->viewport(), &headerHelp);
        QTRY_COMPARE(QToolTip::text(), QStringLiteral("ИНН кассира"));
    }

    void agentsRowFiveTakesDigitsOnly()
    {
        ShowTab(4);
        ui->sgAgents->SetCurrentCell(1, 5);
        QTRY_VERIFY(ui->sgAgents->Editor());
        Type(ui->sgAgents, "7a7012345678999");
        QCOMPARE(ui->sgAgents->Cells(1, 5), QString("770123456789"));
        ui->sgAgents->SetCurrentCell(1, 6);
        QTRY_VERIFY(ui->sgAgents->Editor());
        Type(ui->sgAgents, "ул. ленина");
        QCOMPARE(ui->sgAgents->Cells(1, 6), QString("УЛ. ЛЕНИНА"));
    }
};

QTEST_MAIN(TestFrameSetZ48Editing)
#include "tst_framesetz48editing.moc"
