#include "devicecommands.h"
#include "dialogrecorder.h"
#include "exchangelog.h"
#include "exchangelogmodel.h"
#include "formexchangelog.h"
#include "registerfixture.h"
#include "tempfolder.h"

#include <QAction>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

namespace
{
// Events as an exchange hands them to the hook, without a line.
void Feed(int count, quint8 status = 0)
{
    const quint8 sum = quint8(0x17 + 0x02 + 0x75 + status + 0x19);
    const quint8 frame[] = {0x17, 0x02, 0x75, status, 0x19, sum, quint8(sum < status ? 1 : 0)};
    TExchangeEvent event;
    event.answer = true;
    event.bytes = frame;
    event.count = int(sizeof frame);
    event.status = status;
    for (int i = 0; i < count; ++i)
        (*CurrentExchangeHook())(event);
}

// An answer as long as a frame can be, its checksum wrong: the longest line there is.
void FeedLongest()
{
    quint8 frame[256] = {0x17, 0x02, 0x75};
    TExchangeEvent event;
    event.answer = true;
    event.bytes = frame;
    event.count = int(sizeof frame);
    event.status = 3;
    (*CurrentExchangeHook())(event);
}
} // namespace

// The window "Журнал обмена": one instance, the hook only while it is open, following the end,
// saving and copying its lines.
class TestFormExchangeLog : public QObject
{
    Q_OBJECT
    TRegisterFixture r;
    TTempProgramFolder folder;

private slots:
    void init() { QVERIFY2(r.Reset(), qPrintable(r.ErrorText())); }

    void oneWindowAndTheHookOnlyWhileOpen()
    {
        QVERIFY(CurrentExchangeHook() == nullptr);
        TFormExchangeLog *log = TFormExchangeLog::ShowLog(nullptr);
        QCOMPARE(TFormExchangeLog::ShowLog(nullptr), log);
        QCOMPARE(log->windowTitle(), QStringLiteral("Журнал обмена"));
        QVERIFY(CurrentExchangeHook() != nullptr);
        TDeviceStatus status;
        QCOMPARE(StatusCommand(r.settings.Port.Name, 115200, 300, 0, 1, status), quint8(0));
        QTRY_COMPARE(log->Model().rowCount(), 2); // on the window's own timer
        log->close();
        QTRY_VERIFY(TFormExchangeLog::Current() == nullptr);
        QVERIFY(CurrentExchangeHook() == nullptr);
        StatusCommand(r.settings.Port.Name, 115200, 300, 0, 1, status);
        QVERIFY(TExchangeCapture::Instance().Take().empty());
    }

    void followsTheEndOnlyThere()
    {
        TFormExchangeLog log;
        log.resize(600, 300);
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        Feed(500);
        log.TakeEvents();
        QScrollBar *bar = log.tvLog->verticalScrollBar();
        QVERIFY(bar->maximum() > 0);
        QCOMPARE(bar->value(), bar->maximum());
        Feed(10);
        log.TakeEvents();
        QCOMPARE(bar->value(), bar->maximum());
        bar->setValue(20);
        Feed(10);
        log.TakeEvents();
        QCOMPARE(log.Model().rowCount(), 520);
        QCOMPARE(bar->value(), 20);
        QVERIFY(bar->maximum() > 20);
    }

    void showsWholeLines()
    {
        TFormExchangeLog log;
        log.resize(600, 300);
        log.show();
        QVERIFY(QTest::qWaitForWindowExposed(&log));
        Feed(1);
        FeedLongest();
        Feed(1);
        log.TakeEvents();
        QTableView *view = log.tvLog;
        const QString line = log.Model().Line(1);
        QVERIFY(line.endsWith(" 00 00"));
        const int textEnd = view->fontMetrics().horizontalAdvance(line);
        QVERIFY(log.LineWidth() > textEnd);
        QCOMPARE(view->columnWidth(0), log.LineWidth());
        // Scrolled to the right, the line's end is in sight.
        QScrollBar *bar = view->horizontalScrollBar();
        QTRY_VERIFY(bar->isVisible()); // the view lays itself out on its own timer
        bar->setValue(bar->maximum());
        QVERIFY(view->columnViewportPosition(0) + textEnd < view->viewport()->width());
        // Shorter lines only: the column is the view's width, nothing to scroll.
        log.btnClear->click();
        log.resize(900, 300);
        Feed(2);
        log.TakeEvents();
        QTRY_COMPARE(view->columnWidth(0), view->viewport()->width());
        QTRY_COMPARE(bar->maximum(), 0);
    }

    void savesEveryLine()
    {
        TFormExchangeLog log;
        TDeviceStatus status;
        r.Engine().AnswerBusy(20, 1);
        StatusCommand(r.settings.Port.Name, 115200, 300, 0, 1, status);
        TDialogRecorder dialogs;
        const QString path = folder.FilePath("log.txt");
        dialogs.SetSaveFileName(path);
        log.btnSave->click();
        QCOMPARE(dialogs.FileDialogs().size(), 1);
        QCOMPARE(dialogs.FileDialogs()[0].title, QStringLiteral("Сохранить журнал обмена"));
        QCOMPARE(dialogs.FileDialogs()[0].text, QStringLiteral("Текстовые файлы (*.txt)|*.txt"));
        QCOMPARE(dialogs.FileDialogs()[0].defaultExt, QStringLiteral("txt"));
        QCOMPARE(dialogs.MessageCount(), 0);
        QStringList lines = QString::fromUtf8(folder.Read("log.txt")).split("\r\n");
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines.size(), 4);
        // The window's lines, each behind its date.
        for (int row = 0; row < 4; ++row) {
            const QDate date =
                QDateTime::fromMSecsSinceEpoch(log.Model().Store().At(row).msecs).date();
            QCOMPARE(lines[row], date.toString(u"dd.MM.yyyy ") + log.Model().Line(row));
        }
        QVERIFY(lines[1].contains("статус 20 (ККТ занята)  17 02 75 14"));

        // A folder that is not there: said so, nothing written.
        const QString missing = folder.FilePath("нет/log.txt");
        dialogs.SetSaveFileName(missing);
        log.SaveClick();
        QCOMPARE(dialogs.Texts(),
                 QStringList{"Не удалось сохранить файл \"" + QDir::toNativeSeparators(missing) +
                             "\".\r\nНет такого файла или каталога"});
        QVERIFY(!QFile::exists(missing));
    }

    void copiesTheSelectedLines()
    {
        TFormExchangeLog log;
        log.show();
        log.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&log));
        Feed(1, 0);
        Feed(1, 21);
        Feed(1, 0x7F);
        log.TakeEvents();
        QCOMPARE(log.actCopy->text(), QStringLiteral("Копировать"));
        QItemSelectionModel *selection = log.tvLog->selectionModel();
        const QAbstractItemModel *model = log.tvLog->model();
        // Chosen last line first: copied in the log's order all the same.
        selection->select(model->index(2, 0), QItemSelectionModel::Select);
        selection->select(model->index(0, 0), QItemSelectionModel::Select);
        log.tvLog->setFocus();
        QTest::keyClick(log.tvLog, Qt::Key_C, Qt::ControlModifier);
        const QStringList copied = QGuiApplication::clipboard()->text().split('\n');
        QCOMPARE(copied, (QStringList{log.Model().Line(0), log.Model().Line(2), QString()}));
        QVERIFY(copied[1].contains("127 (ошибка ККТ)"));

        log.btnClear->click();
        QCOMPARE(log.Model().rowCount(), 0);
    }
};

QTEST_MAIN(TestFormExchangeLog)
#include "tst_formexchangelog.moc"
