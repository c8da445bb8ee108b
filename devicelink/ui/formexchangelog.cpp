#include "formexchangelog.h"

#include "dialogs.h"
#include "exchangelog.h"
#include "exchangelogmodel.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QListView>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace
{
// Often enough to look live, rare enough that repainting costs a long run nothing.
constexpr int kTakeIntervalMs = 100;

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
    lvLog = new QListView(this);
    lvLog->setObjectName(QStringLiteral("lvLog"));
    lvLog->setAccessibleName(QStringLiteral("Журнал обмена"));
    lvLog->setModel(model_);
    // One line per row of one height: the view lays out 100 000 rows without measuring them.
    lvLog->setUniformItemSizes(true);
    lvLog->setSelectionMode(QAbstractItemView::ExtendedSelection);
    lvLog->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvLog->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));

    actCopy = new QAction(QStringLiteral("Копировать"), lvLog);
    actCopy->setObjectName(QStringLiteral("actCopy"));
    actCopy->setShortcut(QKeySequence::Copy);
    actCopy->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    lvLog->addAction(actCopy);
    lvLog->setContextMenuPolicy(Qt::ActionsContextMenu);
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
    layout->addWidget(lvLog, 1);

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

void TFormExchangeLog::TakeEvents()
{
    std::vector<TExchangeRecord> records = TExchangeCapture::Instance().Take();
    if (records.empty())
        return;
    QScrollBar *bar = lvLog->verticalScrollBar();
    const bool following = bar->value() == bar->maximum();
    const int dropped = model_->Append(std::move(records));
    if (following) {
        lvLog->scrollToBottom();
    } else if (dropped > 0 && lvLog->verticalScrollMode() == QAbstractItemView::ScrollPerItem) {
        // The rows above went: the lines the user looks at stay where they are.
        bar->setValue(std::max(0, bar->value() - dropped));
    }
}

void TFormExchangeLog::ClearClick()
{
    TExchangeCapture::Instance().Take();
    model_->Clear();
}

void TFormExchangeLog::SaveClick()
{
    const QString path = TDialogs::Instance().SaveFileName(
        this, QStringLiteral("Текстовые файлы (*.txt)|*.txt"), QStringLiteral("txt"));
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
    for (const QModelIndex &index : lvLog->selectionModel()->selectedIndexes())
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
