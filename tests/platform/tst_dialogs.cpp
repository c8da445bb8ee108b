#include "dialogrecorder.h"
#include "dialogs.h"
#include "filefilter.h"
#include "tempfolder.h"
#include "windowplace.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest/QtTest>

#include <functional>

class TstDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void filterToQtForm_data();
    void filterToQtForm();
    void defaultExtension_data();
    void defaultExtension();
    void recorderStandsInWhileItLives();
    void recorderAnswersFromItsQueue();
    void recorderReturnsPresetFileNames();
    void messageBoxHasItsIconAndOnlyOk_data();
    void messageBoxHasItsIconAndOnlyOk();
    void questionHasYesAndNo();
    void saveDialogAppendsTheExtensionAndDoesNotAsk();
    void openDialogTakesANameThatDoesNotExist();
    void windowMovesClearOfTheCell_data();
    void windowMovesClearOfTheCell();

private:
    // Runs action on the next modal window once it is shown, while the caller's modal loop runs.
    static void OnModal(std::function<void(QWidget *)> action);
    // Types a name into the dialog's name field, as the user would, and confirms it.
    static bool TypeAndAccept(QFileDialog *dialog, const QString &typed);
};

void TstDialogs::initTestCase()
{
    QApplication::setApplicationDisplayName(QStringLiteral("Программа"));
}

void TstDialogs::OnModal(std::function<void(QWidget *)> action)
{
    auto *timer = new QTimer(qApp);
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            action(modal);
        }
    });
    timer->start();
}

bool TstDialogs::TypeAndAccept(QFileDialog *dialog, const QString &typed)
{
    auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
    if (!edit)
        return dialog->close();
    edit->setText(typed);
    static_cast<QDialog *>(dialog)->accept(); // QFileDialog's own is protected
    if (dialog->isVisible())
        dialog->close(); // not taken: end with a cancel the test sees, never hang
    return true;
}

void TstDialogs::filterToQtForm_data()
{
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("qt");
    QTest::newRow("goods base") << QStringLiteral("Байлы БД (*.dbZ48)|*.dbZ48")
                                << QStringLiteral("Байлы БД (*.dbZ48)");
    QTest::newRow("configuration") << QStringLiteral("Байлы конфигурации (*.conf)|*.conf")
                                   << QStringLiteral("Байлы конфигурации (*.conf)");
    QTest::newRow("description without patterns")
        << QStringLiteral("Text|*.txt") << QStringLiteral("Text (*.txt)");
    QTest::newRow("two entries, several patterns")
        << QStringLiteral("Pictures|*.jpg;*.png|All (*.*)|*.*")
        << QStringLiteral("Pictures (*.jpg *.png);;All (*.*)");
    QTest::newRow("pattern only") << QStringLiteral("|*.ini") << QStringLiteral("*.ini");
    QTest::newRow("empty") << QString() << QString();
}

void TstDialogs::filterToQtForm()
{
    QFETCH(QString, windows);
    QFETCH(QString, qt);
    QCOMPARE(QtFileFilter(windows), qt);
}

void TstDialogs::defaultExtension_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("ext");
    QTest::addColumn<QString>("result");
    QTest::newRow("typed without") << "/tmp/base"
                                   << "dbZ48"
                                   << "/tmp/base.dbZ48";
    QTest::newRow("has its own") << "/tmp/base.txt"
                                 << "dbZ48"
                                 << "/tmp/base.txt";
    QTest::newRow("has the same") << "/tmp/a.conf"
                                  << "conf"
                                  << "/tmp/a.conf";
    QTest::newRow("dot in folder only") << "/tmp/x.d/base"
                                        << "conf"
                                        << "/tmp/x.d/base.conf";
    QTest::newRow("Cyrillic name") << "/tmp/товары"
                                   << "dbZ48"
                                   << "/tmp/товары.dbZ48";
    QTest::newRow("cancelled stays empty") << ""
                                           << "conf"
                                           << "";
    QTest::newRow("no default") << "/tmp/base"
                                << ""
                                << "/tmp/base";
}

void TstDialogs::defaultExtension()
{
    QFETCH(QString, name);
    QFETCH(QString, ext);
    QFETCH(QString, result);
    QCOMPARE(WithDefaultExtension(name, ext), result);
}

void TstDialogs::recorderStandsInWhileItLives()
{
    TDialogs *real = &TDialogs::Instance();
    {
        TDialogRecorder recorder;
        QCOMPARE(&TDialogs::Instance(), static_cast<TDialogs *>(&recorder));
        ShowInformation(nullptr, QStringLiteral("ВНИМАНИЕ!\r\nПервое"));
        ShowError(nullptr, QStringLiteral("Второе"));
        TDialogs::Instance().Message(nullptr, TDialogs::Kind::Question, QStringLiteral("Третье"));
        QCOMPARE(TDialogs::Instance().AskYesNo(nullptr, QStringLiteral("Да?")),
                 TDialogs::Answer::Yes);
        const QList<TDialogRecorder::Shown> expected = {
            {TDialogs::Kind::Information, QStringLiteral("ВНИМАНИЕ!\r\nПервое")},
            {TDialogs::Kind::Error, QStringLiteral("Второе")},
            {TDialogs::Kind::Question, QStringLiteral("Третье")},
            {TDialogs::Kind::Question, QStringLiteral("Да?")}};
        QCOMPARE(recorder.Messages(), expected);
        QCOMPARE(recorder.Questions(), QStringList{QStringLiteral("Да?")});
        QCOMPARE(recorder.MessageCount(), 4);
        QCOMPARE(recorder.LastText(), QStringLiteral("Да?"));
        QCOMPARE(recorder.Records().at(2).call, TDialogRecorder::Call::Message);
        QCOMPARE(recorder.Records().at(3).call, TDialogRecorder::Call::AskYesNo);
        recorder.Clear();
        QVERIFY(recorder.Texts().isEmpty());
        QCOMPARE(recorder.LastText(), QString());
    }
    QCOMPARE(&TDialogs::Instance(), real);
}

void TstDialogs::recorderAnswersFromItsQueue()
{
    TDialogRecorder recorder;
    recorder.QueueAnswer(TDialogs::Answer::No);
    recorder.QueueAnswer(TDialogs::Answer::Yes);
    QCOMPARE(recorder.PendingAnswers(), 2);
    QCOMPARE(TDialogs::Instance().AskYesNo(nullptr, "1"), TDialogs::Answer::No);
    QCOMPARE(TDialogs::Instance().AskYesNo(nullptr, "2"), TDialogs::Answer::Yes);
    QCOMPARE(TDialogs::Instance().AskYesNo(nullptr, "3"), TDialogs::Answer::Yes);
    recorder.SetDefaultAnswer(TDialogs::Answer::No);
    QCOMPARE(TDialogs::Instance().AskYesNo(nullptr, "4"), TDialogs::Answer::No);
    QCOMPARE(recorder.Texts(), (QStringList{"1", "2", "3", "4"}));
}

void TstDialogs::recorderReturnsPresetFileNames()
{
    TDialogRecorder recorder;
    QCOMPARE(TDialogs::Instance().OpenFileName(nullptr, "A|*.a", "a"), QString());
    recorder.SetOpenFileName("/tmp/in.conf");
    recorder.SetSaveFileName("/tmp/out.dbZ48");
    QCOMPARE(TDialogs::Instance().OpenFileName(nullptr, "C|*.conf", "conf"),
             QStringLiteral("/tmp/in.conf"));
    QCOMPARE(TDialogs::Instance().SaveFileName(nullptr, "B|*.dbZ48", "dbZ48"),
             QStringLiteral("/tmp/out.dbZ48"));
    const QList<TDialogRecorder::Record> files = recorder.FileDialogs();
    QCOMPARE(files.size(), 3);
    QCOMPARE(files[1].call, TDialogRecorder::Call::OpenFileName);
    QCOMPARE(files[1].text, QStringLiteral("C|*.conf"));
    QCOMPARE(files[2].call, TDialogRecorder::Call::SaveFileName);
    QCOMPARE(files[2].defaultExt, QStringLiteral("dbZ48"));
    QVERIFY(recorder.Messages().isEmpty());
}

void TstDialogs::messageBoxHasItsIconAndOnlyOk_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("icon");
    QTest::newRow("information") << int(TDialogs::Kind::Information)
                                 << int(QMessageBox::Information);
    QTest::newRow("error") << int(TDialogs::Kind::Error) << int(QMessageBox::Critical);
    QTest::newRow("question with OK")
        << int(TDialogs::Kind::Question) << int(QMessageBox::Question);
    QTest::newRow("warning") << int(TDialogs::Kind::Warning) << int(QMessageBox::Warning);
}

void TstDialogs::messageBoxHasItsIconAndOnlyOk()
{
    QFETCH(int, kind);
    QFETCH(int, icon);
    QString caption;
    QString text;
    int shownIcon = -1;
    QList<QMessageBox::StandardButton> buttons;
    OnModal([&](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box)
            return modal->close();
        caption = box->windowTitle();
        text = box->text();
        shownIcon = box->icon();
        for (QAbstractButton *b : box->buttons())
            buttons.append(box->standardButton(b));
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->close();
        return true;
    });
    TDialogs::Instance().Message(nullptr, TDialogs::Kind(kind), QStringLiteral("Текст\r\nвторой"));
    QCOMPARE(text, QStringLiteral("Текст\r\nвторой"));
    QCOMPARE(shownIcon, icon);
    QCOMPARE(buttons, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    QCOMPARE(caption, QStringLiteral("Программа"));
}

void TstDialogs::questionHasYesAndNo()
{
    for (const auto pressed : {QMessageBox::Yes, QMessageBox::No}) {
        QList<QMessageBox::StandardButton> buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        OnModal([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            if (!box)
                return modal->close();
            for (QAbstractButton *b : box->buttons())
                buttons.append(box->standardButton(b));
            defaultButton = box->standardButton(box->defaultButton());
            std::sort(buttons.begin(), buttons.end());
            box->button(pressed)->click();
            return true;
        });
        // The button pressed is also the one asked to be the default.
        const TDialogs::Answer answer = TDialogs::Instance().AskYesNo(
            nullptr, QStringLiteral("?"),
            pressed == QMessageBox::Yes ? TDialogs::Answer::Yes : TDialogs::Answer::No);
        QCOMPARE(buttons, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
        QCOMPARE(defaultButton, pressed);
        QCOMPARE(answer,
                 pressed == QMessageBox::Yes ? TDialogs::Answer::Yes : TDialogs::Answer::No);
    }
}

void TstDialogs::saveDialogAppendsTheExtensionAndDoesNotAsk()
{
    TTempProgramFolder folder;
    QVERIFY(folder.Write("base.dbZ48", "old")); // replacing it asks nothing
    QStringList filters;
    for (const QString &typed : {QStringLiteral("base"), QStringLiteral("base.dbZ48")}) {
        OnModal([&](QWidget *modal) {
            auto *dialog = qobject_cast<QFileDialog *>(modal);
            if (!dialog)
                return modal->close();
            filters = dialog->nameFilters();
            dialog->setDirectory(folder.Path());
            return TypeAndAccept(dialog, typed);
        });
        const QString name = TDialogs::Instance().SaveFileName(
            nullptr, QStringLiteral("Байлы БД (*.dbZ48)|*.dbZ48"), QStringLiteral("dbZ48"));
        QCOMPARE(name, folder.FilePath("base.dbZ48"));
        QCOMPARE(filters, QStringList{QStringLiteral("Байлы БД (*.dbZ48)")});
    }
    OnModal([](QWidget *modal) { modal->close(); });
    QCOMPARE(TDialogs::Instance().SaveFileName(nullptr, QStringLiteral("A|*.a"), "a"), QString());
}

void TstDialogs::openDialogTakesANameThatDoesNotExist()
{
    TTempProgramFolder folder;
    OnModal([&](QWidget *modal) {
        auto *dialog = qobject_cast<QFileDialog *>(modal);
        if (!dialog)
            return modal->close();
        dialog->setDirectory(folder.Path());
        return TypeAndAccept(dialog, QStringLiteral("новая.conf"));
    });
    const QString name = TDialogs::Instance().OpenFileName(
        nullptr, QStringLiteral("Байлы конфигурации (*.conf)|*.conf"), QStringLiteral("conf"));
    QCOMPARE(name, folder.FilePath(QStringLiteral("новая.conf")));
    QVERIFY(!folder.Exists(QStringLiteral("новая.conf")));
}

void TstDialogs::windowMovesClearOfTheCell_data()
{
    QTest::addColumn<QRect>("window");
    QTest::addColumn<QRect>("cell");
    QTest::addColumn<QPoint>("place");
    // On a 1000 x 800 screen.
    QTest::newRow("hides nothing: stays")
        << QRect(0, 0, 400, 300) << QRect(500, 500, 50, 20) << QPoint(0, 0);
    QTest::newRow("room below") << QRect(100, 100, 400, 300) << QRect(150, 200, 50, 20)
                                << QPoint(100, 228);
    QTest::newRow("near the bottom: above")
        << QRect(100, 500, 400, 300) << QRect(150, 600, 50, 20) << QPoint(100, 292);
    QTest::newRow("too tall for either: beside")
        << QRect(100, 50, 400, 700) << QRect(150, 400, 50, 20) << QPoint(208, 50);
    QTest::newRow("off the screen's left: kept on it")
        << QRect(-50, 100, 400, 300) << QRect(100, 200, 50, 20) << QPoint(0, 228);
    QTest::newRow("fills the screen: nowhere better")
        << QRect(0, 0, 1000, 800) << QRect(200, 150, 100, 100) << QPoint(0, 0);
}

void TstDialogs::windowMovesClearOfTheCell()
{
    QFETCH(QRect, window);
    QFETCH(QRect, cell);
    QFETCH(QPoint, place);
    QCOMPARE(PlaceClearOf(window, cell, QRect(0, 0, 1000, 800)), place);
}

QTEST_MAIN(TstDialogs)
#include "tst_dialogs.moc"
