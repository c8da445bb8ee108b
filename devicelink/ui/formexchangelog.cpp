#include "formexchangelog.h"

#include "dialogs.h"
#include "exchangelog.h"
#include "exchangelogmodel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
// Often enough to look live, rare enough that repainting costs a long run nothing.
constexpr int kTakeIntervalMs = 200;

// Room around a line: the delegate starts it half a character in, and a character more
// keeps its end clear of the frame.
int LineMargin(const QFontMetrics &metrics)
{
    return metrics.averageCharWidth() * 2;
}

// A row drawn as one run of text at a point: the general delegate lays each text out for
// line breaks and elision at every repaint, which is most of what following the log costs.
class TLineDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette::ColorGroup group =
            option.state & QStyle::State_Active ? QPalette::Active : QPalette::Inactive;
        if (selected)
            painter->fillRect(option.rect, option.palette.brush(group, QPalette::Highlight));
        painter->setFont(option.font);
        painter->setPen(
            option.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text));
        const QFontMetrics &metrics = option.fontMetrics;
        const QPoint at(option.rect.left() + metrics.averageCharWidth() / 2,
                        option.rect.top() + (option.rect.height() - metrics.height()) / 2 +
                            metrics.ascent());
        painter->drawText(at, index.data().toString());
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor =
                option.palette.color(group, selected ? QPalette::Highlight : QPalette::Base);
            const QWidget *widget = option.widget;
            QStyle *style = widget ? widget->style() : QApplication::style();
            style->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, widget);
        }
    }
};

QPointer<TFormExchangeLog> &OpenLog()
{
    static QPointer<TFormExchangeLog> log;
    return log;
}
} // namespace

TFormExchangeLog *TFormExchangeLog::ShowLog(QWidget *parent)
{
    QPointer<TFormExchangeLog> &log = OpenLog();
    if (!log) {
        log = new TFormExchangeLog(parent);
        log->setAttribute(Qt::WA_DeleteOnClose);
    }
    log->show();
    if (log->isMinimized())
        log->showNormal();
    log->raise();
    log->activateWindow();
    return log;
}

TFormExchangeLog *TFormExchangeLog::Current()
{
    return OpenLog();
}

TFormExchangeLog::TFormExchangeLog(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("FormExchangeLog"));
    setWindowTitle(QStringLiteral("Журнал обмена"));
    resize(900, 450);

    model_ = new TExchangeLogModel(kExchangeLogCapacity, this);
    // A table of one column, not a list view: a list lays out every one of its rows again
    // whenever rows come or go, which with 100 000 lines would cost each batch milliseconds;
    // a table's rows of one fixed height cost nothing to place.
    tvLog = new QTableView(this);
    tvLog->setObjectName(QStringLiteral("tvLog"));
    tvLog->setAccessibleName(QStringLiteral("Журнал обмена"));
    tvLog->setModel(model_);
    tvLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    tvLog->setItemDelegate(new TLineDelegate(tvLog));
    tvLog->setShowGrid(false);
    tvLog->setWordWrap(false);
    tvLog->setCornerButtonEnabled(false);
    tvLog->setSelectionBehavior(QAbstractItemView::SelectRows);
    tvLog->setSelectionMode(QAbstractItemView::ExtendedSelection);
    tvLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QHeaderView *rows = tvLog->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(tvLog->fontMetrics().height() + 2);
    // The one column is as wide as the widest line, at least as the view: whole lines, and a
    // scroll bar that moves by pixels (by items it would jump over the whole line).
    QHeaderView *columns = tvLog->horizontalHeader();
    columns->hide();
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setStretchLastSection(false);
    tvLog->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    tvLog->viewport()->installEventFilter(this);

    actCopy = new QAction(QStringLiteral("Копировать"), tvLog);
    actCopy->setObjectName(QStringLiteral("actCopy"));
    actCopy->setShortcut(QKeySequence::Copy);
    actCopy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    tvLog->addAction(actCopy);
    tvLog->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(actCopy, &QAction::triggered, this, &TFormExchangeLog::CopyClick);

    btnClear = new QPushButton(QStringLiteral("Очистить"), this);
    btnClear->setObjectName(QStringLiteral("btnClear"));
    connect(btnClear, &QPushButton::clicked, this, &TFormExchangeLog::ClearClick);
    btnSave = new QPushButton(QStringLiteral("Сохранить в файл..."), this);
    btnSave->setObjectName(QStringLiteral("btnSave"));
    connect(btnSave, &QPushButton::clicked, this, &TFormExchangeLog::SaveClick);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(btnClear);
    buttons->addWidget(btnSave);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(tvLog, 1);

    TExchangeCapture::Instance().Start();
    timer_ = new QTimer(this);
    timer_->setInterval(kTakeIntervalMs);
    connect(timer_, &QTimer::timeout, this, &TFormExchangeLog::TakeEvents);
    timer_->start();
}

TFormExchangeLog::~TFormExchangeLog()
{
    TExchangeCapture::Instance().Stop();
}

bool TFormExchangeLog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == tvLog->viewport() && event->type() == QEvent::Resize)
        FitColumn();
    return QWidget::eventFilter(watched, event);
}

void TFormExchangeLog::FitColumn()
{
    const int width = std::max(lineWidth_, tvLog->viewport()->width());
    if (tvLog->horizontalHeader()->sectionSize(0) != width)
        tvLog->horizontalHeader()->resizeSection(0, width);
}

// Only the new lines are looked at, and only one line of each shape is measured: following a
// long run costs no measuring of the lines already there.
void TFormExchangeLog::WidenFor(int firstRow)
{
    const TExchangeLogStore &store = model_->Store();
    const QFontMetrics metrics = tvLog->fontMetrics();
    for (int row = std::max(firstRow, 0); row < store.Size(); ++row) {
        const TExchangeRecord &record = store.At(row);
        if (measuredShapes_.contains(ExchangeLineShape(record)))
            continue;
        measuredShapes_.insert(ExchangeLineShape(record));
        lineWidth_ = std::max(lineWidth_, metrics.horizontalAdvance(ExchangeLogLine(record)) +
                                              LineMargin(metrics));
    }
    FitColumn();
}

void TFormExchangeLog::TakeEvents()
{
    std::vector<TExchangeRecord> records = TExchangeCapture::Instance().Take();
    if (records.empty())
        return;
    QScrollBar *bar = tvLog->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    const int count = int(std::min(records.size(), std::size_t(model_->Store().Capacity())));
    const int dropped = model_->Append(std::move(records));
    WidenFor(model_->rowCount() - count);
    if (following) {
        tvLog->scrollToBottom();
    } else if (dropped > 0 && tvLog->verticalScrollMode() == QAbstractItemView::ScrollPerItem) {
        // The rows above went: the lines the user looks at stay where they are.
        bar->setValue(std::max(0, bar->value() - dropped));
    }
}

void TFormExchangeLog::ClearClick()
{
    TExchangeCapture::Instance().Take();
    model_->Clear();
    measuredShapes_.clear();
    lineWidth_ = 0;
    FitColumn();
}

void TFormExchangeLog::SaveClick()
{
    const QString path =
        TDialogs::Instance().SaveFile(this, {QStringLiteral("Сохранить журнал обмена"),
                                             QStringLiteral("Текстовые файлы (*.txt)|*.txt"),
                                             QStringLiteral("txt"),
                                             {},
                                             {}});
    if (path.isEmpty())
        return;
    TakeEvents();
    QString errorText;
    if (!SaveExchangeLog(path, model_->Store(), &errorText))
        ShowError(this, QStringLiteral("Не удалось сохранить файл \"") +
                            QDir::toNativeSeparators(path) + QStringLiteral("\".\r\n") + errorText);
}

void TFormExchangeLog::CopyClick()
{
    QList<int> rows;
    for (const QModelIndex &index : tvLog->selectionModel()->selectedRows())
        rows.append(index.row());
    if (rows.isEmpty())
        return;
    std::sort(rows.begin(), rows.end());
    QString text;
    for (const int row : rows) {
        text += model_->Line(row);
        text += QLatin1Char('\n');
    }
    QGuiApplication::clipboard()->setText(text);
}
