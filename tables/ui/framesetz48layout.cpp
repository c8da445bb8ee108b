#include "framesetz48.h"

#include "celllistbox.h"
#include "digitsvalidator.h"
#include "gridtexts.h"
#include "lampshape.h"
#include "stringgrid.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace
{

// The column widths are those of a compact dialog font; a smaller size keeps the long list
// entries ("00 - Временный запрет работы секционной клавиши") within their columns.
QFont GridFont(QFont font)
{
    if (font.pointSizeF() > 8)
        font.setPointSizeF(8);
    return font;
}

QFrame *Separator(QWidget *parent)
{
    auto *line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLineEdit *DigitsEdit(QWidget *parent, const QString &name, const QString &accessible,
                      int maxLength)
{
    auto *edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAccessibleName(accessible);
    edit->setMaxLength(maxLength);
    edit->setValidator(new TDigitsValidator(edit));
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 5 + 16);
    return edit;
}

QPushButton *Button(QWidget *parent, const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

} // namespace

void TFrameSetZ48::BuildLayout()
{
    auto *layout = new QVBoxLayout(this);

    labelTitle = new QLabel(QStringLiteral("Параметры Z48"), this);
    labelTitle->setObjectName(QStringLiteral("labelTitle"));
    QFont titleFont(QStringLiteral("Times New Roman"));
    titleFont.setPointSize(14);
    titleFont.setBold(true);
    labelTitle->setFont(titleFont);
    labelTitle->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(labelTitle);
    layout->addWidget(Separator(this));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = BuildGridTab(sgOper, QStringLiteral("Операторы"), 9, 7, Edit1, Edit2, 1);
    TabSheet2 = BuildGridTab(SGBase, QStringLiteral("Предмет расчета"), 6, 6001, Edit3, Edit4, 4);
    TabSheet3 =
        BuildGridTab(sgUsl, QStringLiteral("Группы предметов расчета"), 7, 9, Edit5, Edit6, 1);
    TabSheet4 = BuildGridTab(sgKl, QStringLiteral("Клише"), 3, 22, Edit7, Edit8, 2);
    TabSheet5 =
        BuildGridTab(sgAgents, QStringLiteral("Параметры агентов"), 3, 13, Edit9, Edit10, 2);
    const QList<QWidget *> sheets = {TabSheet1, TabSheet2, TabSheet3, TabSheet4, TabSheet5};
    for (int i = 0; i < sheets.size(); ++i) {
        sheets[i]->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
        PageControl1->addTab(sheets[i], sheets[i]->accessibleName());
        sheets[i]->installEventFilter(this);
    }
    layout->addWidget(PageControl1, 1);
    const QList<QLineEdit *> ranges = {Edit1, Edit2, Edit3, Edit4, Edit5,
                                       Edit6, Edit7, Edit8, Edit9, Edit10};
    for (int i = 0; i < ranges.size(); ++i)
        ranges[i]->setObjectName(QStringLiteral("Edit%1").arg(i + 1));
    const char *const defaults[] = {"1", "6", "1", "6000", "1", "8", "1", "21", "1", "12"};
    for (int i = 0; i < ranges.size(); ++i)
        ranges[i]->setText(QString::fromLatin1(defaults[i]));

    static_cast<QVBoxLayout *>(TabSheet2->layout())->addWidget(BuildGoodsExtras());

    sgOper->setObjectName(QStringLiteral("sgOper"));
    SGBase->setObjectName(QStringLiteral("SGBase"));
    sgUsl->setObjectName(QStringLiteral("sgUsl"));
    sgKl->setObjectName(QStringLiteral("sgKl"));
    sgAgents->setObjectName(QStringLiteral("sgAgents"));

    const QStringList &fonts = GridTexts::FontList();
    ComboBox2 = MakeList(TabSheet1, QStringLiteral("ComboBox2"), fonts);
    ComboBox1 = MakeList(TabSheet2, QStringLiteral("ComboBox1"), fonts);
    ComboBox3 = MakeList(TabSheet3, QStringLiteral("ComboBox3"), fonts);
    ComboBox5 = MakeList(TabSheet3, QStringLiteral("ComboBox5"), GridTexts::SignList());
    ComboBox7 = MakeList(TabSheet3, QStringLiteral("ComboBox7"), GridTexts::VatList());
    ComboBox8 = MakeList(TabSheet3, QStringLiteral("ComboBox8"), GridTexts::TaxSystemList());
    ComboBox4 = MakeList(TabSheet4, QStringLiteral("ComboBox4"), fonts);
    ComboBox6 = MakeList(TabSheet5, QStringLiteral("ComboBox6"), fonts);
    // A list's screen-reader name is the caption of the column it edits.
    const QList<QPair<QComboBox *, TStringGrid *>> listColumns = {{ComboBox2, sgOper},
                                                                  {ComboBox1, SGBase},
                                                                  {ComboBox3, sgUsl},
                                                                  {ComboBox4, sgKl},
                                                                  {ComboBox6, sgAgents}};
    for (const auto &[list, grid] : listColumns)
        list->setAccessibleName(grid->accessibleName() + QStringLiteral(": шрифт"));
    ComboBox5->setAccessibleName(QStringLiteral("Признак предмета расчета"));
    ComboBox7->setAccessibleName(QStringLiteral("Номер налога"));
    ComboBox8->setAccessibleName(QStringLiteral("Система налогообложения"));

    layout->addWidget(Separator(this));
    auto *bottom = new QHBoxLayout;
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setAccessibleName(QStringLiteral("Ход обмена с ККТ"));
    ProgressBar1->setVisible(false);
    bottom->addWidget(ProgressBar1, 1);
    ButtonStop = Button(this, QStringLiteral("ButtonStop"), QStringLiteral("Стоп"));
    ButtonStop->setVisible(false);
    bottom->addWidget(ButtonStop);
    bottom->addStretch();
    Button3 = Button(this, QStringLiteral("Button3"), QStringLiteral("Записать в ККТ"));
    Button4 = Button(this, QStringLiteral("Button4"), QStringLiteral("Прочитать из ККТ"));
    bottom->addWidget(Button3);
    bottom->addWidget(Button4);
    layout->addLayout(bottom);

    ConnectButtons();
}

QWidget *TFrameSetZ48::BuildGridTab(TStringGrid *&grid, const QString &name, int cols, int rows,
                                    QLineEdit *&from, QLineEdit *&to, int maxLength)
{
    auto *sheet = new QWidget;
    sheet->setAccessibleName(name);
    auto *layout = new QVBoxLayout(sheet);
    grid = new TStringGrid(cols, rows, sheet);
    grid->setFont(GridFont(grid->font()));
    grid->setAccessibleName(name);
    layout->addWidget(grid, 1);

    auto *range = new QHBoxLayout;
    range->addWidget(new QLabel(QStringLiteral("Диапазон:  с"), sheet));
    from = DigitsEdit(sheet, QString(), name + QStringLiteral(": диапазон с"), maxLength);
    range->addWidget(from);
    range->addWidget(new QLabel(QStringLiteral("по"), sheet));
    to = DigitsEdit(sheet, QString(), name + QStringLiteral(": диапазон по"), maxLength);
    range->addWidget(to);
    range->addStretch();
    layout->addLayout(range);
    return sheet;
}

QWidget *TFrameSetZ48::BuildGoodsExtras()
{
    // Two rows under the goods grid: file and register buttons with the item number, the
    // scanner lamp, and the price warning on the right.
    auto *panel = new QWidget(TabSheet2);
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);

    Button1 = Button(panel, QStringLiteral("Button1"), QStringLiteral("Сохранить в файл"));
    Button2 = Button(panel, QStringLiteral("Button2"), QStringLiteral("Загрузить из файла"));
    Button5 = Button(panel, QStringLiteral("Button5"), QStringLiteral("Очистить базу в ККТ"));
    Button6 = Button(panel, QStringLiteral("Button6"), QStringLiteral("Перейти к товару"));
    Edit11 = DigitsEdit(panel, QStringLiteral("Edit11"), QStringLiteral("Номер товара"), 4);
    Edit11->setText(QStringLiteral("1"));
    grid->addWidget(Button1, 0, 0);
    grid->addWidget(Button2, 0, 1);
    grid->addWidget(Button5, 1, 0);
    grid->addWidget(Button6, 1, 1);
    grid->addWidget(Edit11, 1, 2);

    Shape1 = new TLampShape(panel);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape1->setAccessibleName(QStringLiteral("Сканер шрих-кода"));
    Label14 = new QLabel(QStringLiteral("Сканер шрих-кода"), panel);
    Label14->setObjectName(QStringLiteral("Label14"));
    auto *scanner = new QHBoxLayout;
    scanner->addSpacing(12);
    scanner->addWidget(Shape1);
    scanner->addWidget(Label14);
    grid->addLayout(scanner, 0, 3);
    grid->setColumnStretch(4, 1);

    // The decimal separator of prices is a point, whatever the system's locale says.
    auto *warning = new QLabel(QStringLiteral("Внимание!\nРазделитель цены - \"ТОЧКА!\""), panel);
    warning->setObjectName(QStringLiteral("labelPriceWarning"));
    QFont bold = warning->font();
    bold.setBold(true);
    warning->setFont(bold);
    warning->setStyleSheet(QStringLiteral("color: #800000;"));
    grid->addWidget(warning, 0, 5, 2, 1);
    return panel;
}

QComboBox *TFrameSetZ48::MakeList(QWidget *sheet, const QString &name, const QStringList &entries)
{
    auto *list = new TCellListBox(sheet);
    list->SetCellFont(GridFont(list->font()));
    list->setObjectName(name);
    list->addItems(entries);
    list->setCurrentIndex(0);
    list->setEditable(false);
    list->setVisible(false);
    list->installEventFilter(this);
    return list;
}

void TFrameSetZ48::ConnectButtons()
{
    connect(Button1, &QPushButton::clicked, this, &TFrameSetZ48::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TFrameSetZ48::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TFrameSetZ48::Button3Click);
    connect(Button4, &QPushButton::clicked, this, &TFrameSetZ48::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TFrameSetZ48::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TFrameSetZ48::Button6Click);
}
