// The goods CSV commands on the tables frame: the confirmation before an import, files refused
// whole or not read, the export's filter choice and offered name, and the refusal while a run
// holds the frame.
#include "dialogrecorder.h"
#include "fakeworkhost.h"
#include "framesetz48.h"
#include "goodsbasefile.h"
#include "goodscsvactions.h"
#include "goodsimportdialog.h"
#include "rundriver.h"
#include "stringgrid.h"
#include "tempfolder.h"
#include "z48controls.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

namespace
{

bool WriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Row(const TStringGrid &grid, int row)
{
    QStringList cells;
    for (int col = 1; col <= 5; ++col)
        cells.append(grid.Cells(col, row));
    return cells;
}

} // namespace

class TestGoodsCsvActions : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void importAsksFirst_data();
    void importAsksFirst();
    void refusesWhatIsNoGoodsTable_data();
    void refusesWhatIsNoGoodsTable();
    void exportTakesChosenFilter();
    void refusedWhileRunHoldsFrame();

private:
    std::unique_ptr<TFakeWorkHost> host;
    std::unique_ptr<TFrameSetZ48> frame;
    std::unique_ptr<TZ48Controls> ui;
    std::unique_ptr<TDialogRecorder> dialogs;
    std::unique_ptr<TTempProgramFolder> folder;
};

void TestGoodsCsvActions::init()
{
    host = std::make_unique<TFakeWorkHost>();
    frame = std::make_unique<TFrameSetZ48>(host.get());
    ui = std::make_unique<TZ48Controls>(*frame);
    frame->InitGrids();
    frame->show();
    ui->PageControl1->setCurrentIndex(0);
    dialogs = std::make_unique<TDialogRecorder>();
    folder = std::make_unique<TTempProgramFolder>();
    QVERIFY(folder->IsValid());
}

void TestGoodsCsvActions::cleanup()
{
    frame.reset();
    dialogs.reset();
    folder.reset();
}

void TestGoodsCsvActions::importAsksFirst_data()
{
    QTest::addColumn<bool>("import");
    QTest::newRow("Отмена") << false;
    QTest::newRow("Импортировать") << true;
}

void TestGoodsCsvActions::importAsksFirst()
{
    QFETCH(bool, import);
    const QString path = folder->FilePath(QStringLiteral("товары.csv"));
    QVERIFY(WriteFile(
        path, QStringLiteral("Код;Наименование;Цена\r\n2;хлеб;12,50\r\n9999;соль;1\r\n").toUtf8()));
    ui->SGBase->SetCells(1, 2, QStringLiteral("СТАРОЕ"));
    dialogs->SetOpenFileName(path);
    QString summary, problems;
    bool importEnabled = false;
    // The hourglass lets timers run before the dialog opens: wait for it.
    QTimer answer;
    answer.setInterval(10);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<TGoodsImportDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        answer.stop();
        summary = dialog->findChild<QLabel *>(QStringLiteral("LabelSummary"))->text();
        problems =
            dialog->findChild<QPlainTextEdit *>(QStringLiteral("MemoProblems"))->toPlainText();
        importEnabled = dialog->ButtonImport->isEnabled();
        (import ? dialog->ButtonImport : dialog->ButtonCancel)->click();
    });
    answer.start();
    ImportGoodsCsv(*frame);
    QCOMPARE(ui->PageControl1->currentWidget(), ui->TabSheet2);
    QCOMPARE(dialogs->FileDialogs().value(0).title, QStringLiteral("Импорт товаров из CSV"));
    QCOMPARE(dialogs->FileDialogs().value(0).text,
             QStringLiteral("Файлы CSV (*.csv *.txt)|*.csv;*.txt|Все файлы (*)|*"));
    QCOMPARE(summary, QStringLiteral("Будет заполнено товаров: 1.\r\nСтрок, которые не будут "
                                     "использованы: 1."));
    QCOMPARE(problems, QStringLiteral("Строка 3: код товара должен быть числом от 1 до 6000"));
    QVERIFY(importEnabled);
    QCOMPARE(Row(*ui->SGBase, 2), import ? QStringList({"ХЛЕБ", "Узкий", "", "12.50", ""})
                                         : QStringList({"СТАРОЕ", "Узкий", "", "", ""}));
    QCOMPARE(dialogs->MessageCount(), 0);
}

void TestGoodsCsvActions::refusesWhatIsNoGoodsTable_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "dbZ48": the goods base file of the grid
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("message"); // %1: the file
    const int information = int(TDialogs::Kind::Information);
    QTest::newRow("goods base file")
        << QByteArray("dbZ48") << information
        << QStringLiteral("ВНИМАНИЕ!\r\nФайл не похож на таблицу товаров.\r\nСтрока 1: "
                          "«[ТОВАР_#1]» — код товара должен быть числом от 1 до 6000");
    QTest::newRow("more goods than rows")
        << "Наименование;Цена\r\n" + QStringLiteral("хлеб;1\r\n").toUtf8().repeated(6001)
        << information
        << QStringLiteral("ВНИМАНИЕ!\r\nВ файле слишком много товаров: 6001, в таблице товаров "
                          "только 6000 строк.\r\nОставьте в файле не больше 6000 товаров.");
    QTest::newRow("no such file") << QByteArray() << int(TDialogs::Kind::Error)
                                  << QStringLiteral("Не удалось прочитать файл \"%1\".\r\nНет "
                                                    "такого файла или каталога");
}

void TestGoodsCsvActions::refusesWhatIsNoGoodsTable()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, kind);
    QFETCH(QString, message);
    ui->SGBase->SetCells(1, 2, QStringLiteral("СТАРОЕ"));
    const QVector<TConfig_PredmRasch> before = GoodsGridRows(*frame);
    const QString path = folder->FilePath(QStringLiteral("товары.csv"));
    QString errorText;
    if (bytes == "dbZ48")
        QVERIFY(SaveGoodsBaseFile(path, before, &errorText));
    else if (!bytes.isEmpty())
        QVERIFY(WriteFile(path, bytes));
    dialogs->SetOpenFileName(path);
    bool asked = false;
    QTimer answer; // the confirmation must not come; were it to, it is turned down
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto *dialog = qobject_cast<TGoodsImportDialog *>(QApplication::activeModalWidget())) {
            asked = true;
            dialog->reject();
        }
    });
    answer.start(10);
    ImportGoodsCsv(*frame);
    QCOMPARE(dialogs->Messages(),
             (QList<TDialogRecorder::Shown>{
                 {TDialogs::Kind(kind), message.arg(QDir::toNativeSeparators(path))}}));
    QVERIFY(!asked);
    QCOMPARE(GoodsGridRows(*frame), before);
    QCOMPARE(QFile::exists(path), !bytes.isEmpty()); // a missing file is not made
}

void TestGoodsCsvActions::exportTakesChosenFilter()
{
    const QString path = folder->FilePath(QStringLiteral("out.csv"));
    ui->SGBase->SetCells(1, 3, QStringLiteral("ЧАЙ"));
    dialogs->SetSaveFileName(path);
    dialogs->SetSaveFilter(1); // UTF-8, the items only
    ExportGoodsCsv(*frame);
    QCOMPARE(dialogs->FileDialogs().value(0).text,
             QStringLiteral("Товары CSV, Windows-1251 (*.csv)|*.csv|Товары CSV, UTF-8 (*.csv)|"
                            "*.csv|Все 6000 строк CSV, Windows-1251 (*.csv)|*.csv|Все 6000 строк "
                            "CSV, UTF-8 (*.csv)|*.csv"));
    QCOMPARE(ReadFile(path), "\xEF\xBB\xBF" + QStringLiteral("Код товара;Наименование;Тип шрифта;"
                                                             "Штрих-код;Цена за единицу;Отдел/"
                                                             "Услуга\r\n3;ЧАЙ;Узкий;;;\r\n")
                                                  .toUtf8());
    dialogs->SetSaveFilter(2); // Windows-1251, all rows
    ExportGoodsCsv(*frame);
    QCOMPARE(ReadFile(path).count("\r\n"), 6001);
    // Each says what it does; the second offers its name in the folder of the first.
    QCOMPARE(dialogs->FileDialogs().value(0).title, QStringLiteral("Экспорт товаров в CSV"));
    QCOMPARE(dialogs->FileDialogs().value(1).fileName,
             folder->FilePath(QStringLiteral("goods.csv")));
    // A folder that does not exist: the program's file-error text, no file.
    dialogs->SetSaveFileName(folder->FilePath(QStringLiteral("нет/out.csv")));
    ExportGoodsCsv(*frame);
    QCOMPARE(dialogs->LastText(),
             QStringLiteral("Не удалось сохранить файл \"") +
                 QDir::toNativeSeparators(folder->FilePath(QStringLiteral("нет/out.csv"))) +
                 QStringLiteral("\".\r\nНет такого файла или каталога"));
}

void TestGoodsCsvActions::refusedWhileRunHoldsFrame()
{
    TRunLock lock(frame.get(), host.get());
    ImportGoodsCsv(*frame);
    ExportGoodsCsv(*frame);
    QVERIFY(dialogs->Records().isEmpty());
    QCOMPARE(ui->PageControl1->currentIndex(), 0);
}

QTEST_MAIN(TestGoodsCsvActions)
#include "tst_goodscsvactions.moc"
