#pragma once

#include "registermirror.h"
#include "tablelayout.h"
#include "tableruns.h"

#include <QFrame>
#include <QVector>

#include <cstdint>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;
class TLampShape;
class TStringGrid;
class TWorkHost;

// The "с" and "по" edits of a tab's range.
struct TRangeEdits {
    QLineEdit *from = nullptr;
    QLineEdit *to = nullptr;
};

// A grid's current cell: row 1 is the first record, column 1 the first value column.
struct TGridCell {
    std::int32_t col = 1;
    std::int32_t row = 1;
    bool operator==(const TGridCell &) const = default;
};

// "Параметры Z48": the register's tables in five tabbed grids.
//
// The grids are the working copy of the tables: every value lives only as a cell text. The
// controls keep the program's own names, as private members and as object names (tests and
// screen readers find them so); the writing, reading and goods-file code reaches the grids and
// range edits by tab.
class TFrameSetZ48 : public QFrame
{
    Q_OBJECT
public:
    TFrameSetZ48(TWorkHost *host, QWidget *parent = nullptr);

    // The frame's own initialisation, run by the main window right after creating it.
    void InitGrids();
    // The scanner lamp and its caption on the goods tab (hidden when no scanner is configured).
    void SetScannerIndicatorVisible(bool visible);
    void SetScannerLampVisible(bool visible);
    void SetScannerCaptionVisible(bool visible);
    // Green when the scanner port is open, red when it could not be opened.
    void SetScannerLampColor(const QColor &color);

    TWorkHost *Host() const { return host_; }
    // The grid of a tab and its range edits.
    TStringGrid *Grid(TTableTab tab) const;
    TRangeEdits Range(TTableTab tab) const;
    // The tab on screen; ShowTab puts another in front.
    TTableTab OpenTab() const;
    void ShowTab(TTableTab tab);
    // The caption of a tab's page ("Предмет расчета").
    QString TabCaption(TTableTab tab) const;
    // True while a run holds the frame: its tabs are locked then.
    bool RunLocked() const;
    // The grid's current cell, recorded first thing on every selection.
    TGridCell CurrentCell(TTableTab tab) const;
    // What a run shows itself with: the progress bar and the stop button beside it.
    QProgressBar *RunProgress() const { return ProgressBar1; }
    QPushButton *RunStop() const { return ButtonStop; }

    // Cell selection handlers: record the current cell, lay a list over choice cells.
    void sgOperSelectCell(int col, int row, bool &canSelect);
    void SGBaseSelectCell(int col, int row, bool &canSelect);
    void sgUslSelectCell(int col, int row, bool &canSelect);
    void sgKlSelectCell(int col, int row, bool &canSelect);
    void sgAgentsSelectCell(int col, int row, bool &canSelect);

    // The list handlers shared by ComboBox1 .. ComboBox8: the list takes the focus (preselect
    // the cell's entry), the user picks another entry (write it back), the list loses the focus.
    void ComboBoxEnter(QComboBox *list);
    void ComboBoxChange(QComboBox *list);
    void ComboBoxExit(QComboBox *list);

    // Tab shown: the goods tab resumes the barcode reader, the others pause it.
    void TabSheet1Show();
    void TabSheet2Show();
    void TabSheet3Show();
    void TabSheet4Show();
    void TabSheet5Show();

private:
    // Controls, named as the program names them.
    QLabel *labelTitle = nullptr;
    QTabWidget *PageControl1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *TabSheet3 = nullptr;
    QWidget *TabSheet4 = nullptr;
    QWidget *TabSheet5 = nullptr;
    TStringGrid *sgOper = nullptr;
    TStringGrid *SGBase = nullptr;
    TStringGrid *sgUsl = nullptr;
    TStringGrid *sgKl = nullptr;
    TStringGrid *sgAgents = nullptr;
    // Range edits in pairs per tab (Edit1/Edit2 operators .. Edit9/Edit10 agents), and the
    // item number of "Перейти к товару".
    QLineEdit *Edit1 = nullptr, *Edit2 = nullptr, *Edit3 = nullptr, *Edit4 = nullptr;
    QLineEdit *Edit5 = nullptr, *Edit6 = nullptr, *Edit7 = nullptr, *Edit8 = nullptr;
    QLineEdit *Edit9 = nullptr, *Edit10 = nullptr, *Edit11 = nullptr;
    // Font lists (1 goods, 2 operators, 3 groups, 4 cliche, 6 agents), the payment-item sign
    // (5), VAT (7) and tax-system (8) lists of the groups grid.
    QComboBox *ComboBox1 = nullptr, *ComboBox2 = nullptr, *ComboBox3 = nullptr;
    QComboBox *ComboBox4 = nullptr, *ComboBox5 = nullptr, *ComboBox6 = nullptr;
    QComboBox *ComboBox7 = nullptr, *ComboBox8 = nullptr;
    QPushButton *Button1 = nullptr; // "Сохранить в файл"
    QPushButton *Button2 = nullptr; // "Загрузить из файла"
    QPushButton *Button3 = nullptr; // "Записать в ККТ"
    QPushButton *Button4 = nullptr; // "Прочитать из ККТ"
    QPushButton *Button5 = nullptr; // "Очистить базу в ККТ"
    QPushButton *Button6 = nullptr; // "Перейти к товару"
    TLampShape *Shape1 = nullptr;
    QLabel *Label14 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *ButtonStop = nullptr; // "Стоп", beside the progress bar while a run is under way

public:
    // What the register of the connection settings is known to hold, from this session's writes
    // and reads; the grids mark the records that differ from it.
    TRegisterMirror Mirror;
    TRegisterId CurrentRegister() const;
    // Repaints the marks (after the connection settings changed).
    void UpdateChangeMarks();

    // How long "Очистить базу в ККТ" awaits the register's answer, whatever the connection
    // settings say (shorter only in tests).
    qint32 ClearGoodsTimeOutMs = kClearGoodsTimeOutMs;

private:
    // Current cells of the grids, recorded first thing on every selection.
    std::int32_t BaseCol = 1, BaseRow = 1;
    std::int32_t OperCol = 1, OperRow = 1;
    std::int32_t UslCol = 1, UslRow = 1;
    std::int32_t KlCol = 1, KlRow = 1;
    std::int32_t AgentsCol = 1, AgentsRow = 1;

public slots:
    // The buttons (framesetz48buttons.cpp): Button3 writes the open tab to the register,
    // Button4 reads it back, Button1 / Button2 save and load the goods base file, Button5 clears
    // the goods base in the register and Button6 goes to an item.
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    // "Сервис": the open tab's range read back and compared with the grid, and written for the
    // changed records only.
    void VerifyClick();
    void WriteChangedClick();

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    // A list and the grid cell it edits.
    struct TCellList {
        QComboBox *list;
        TStringGrid *grid;
        std::int32_t *col;
        std::int32_t *row;
    };

    // Layout (framesetz48layout.cpp).
    void BuildLayout();
    QWidget *BuildGridTab(TStringGrid *&grid, const QString &name, int cols, int rows,
                          QLineEdit *&from, QLineEdit *&to, int maxLength);
    QWidget *BuildGoodsExtras();
    QComboBox *MakeList(QWidget *sheet, const QString &name, const QStringList &entries);
    void ConnectButtons();

    // Cell editing (framesetz48editing.cpp).
    void ConnectEditing();
    void LayListOver(QComboBox *list, TStringGrid *grid, int col, int row);
    const TCellList *ListOf(const QComboBox *list) const;
    // An entry chosen in the open drop-down: written when it is not the one the cell holds.
    void ComboBoxPicked(QComboBox *list, int index);
    // A navigation key on the closed list moves the grid's current cell instead.
    void ComboBoxLeave(QComboBox *list, int key, Qt::KeyboardModifiers mods);
    // Hides the list, giving the keyboard focus back to its grid rather than to whatever
    // control comes next.
    void ReturnToGrid(QComboBox *list);

    int CellListHeight() const;
    void InitGrid(TStringGrid *grid, QComboBox *const *lists, int listCount);
    // The grids as spreadsheets (framesetz48sheet.cpp), wired once when they are filled: the
    // change marks and their legend on the goods tab; blocks, the clipboard, undo and redo in
    // every grid, pasted values going through their cells' rules, the grids' notes in the main
    // window's status bar; the goods tab's find bar (Ctrl+F, F3, Shift+F3).
    void ConnectGridSheets();

    TWorkHost *host_;
    QVector<TCellList> cellLists_;
    // The groups grid column a pick parked the current cell from (hidden column 6); keys go
    // on from there.
    int uslParkedFrom_ = 1;
    int cellListHeight_ = 0; // the grids' row height: a list laid over a cell covers it
};
