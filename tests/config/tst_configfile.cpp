// The ".conf" configuration file on disk: its names and layout, merging into an existing file,
// the defaults on loading, and failures that must leave the old file whole.

#include "config.h"
#include "configcommands.h"
#include "configfile.h"
#include "configkeys.h"
#include "dialogrecorder.h"
#include "inidocument.h"
#include "tempfolder.h"
#include "win1251.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>

namespace
{

// The names as files written by earlier versions hold them.
const QStringList kGsmKeys = {
    QStringLiteral("Имя сервера ОФД"),
    QStringLiteral("Порт сервера ОФД"),
    QStringLiteral("PIN-код сим карты"),
    QStringLiteral("APN строка для подключения к Internet"),
    QStringLiteral("Логин для подключения к Internet"),
    QStringLiteral("Пароль для подключения к Internet"),
};
const QStringList kAgentNames = {
    QStringLiteral("Телефон Поставщика"),
    QStringLiteral("Телефон Платежного Агента"),
    QStringLiteral("Телефон Оператора По Приему Платежей"),
    QStringLiteral("Телефон Оператора Перевода"),
    QStringLiteral("Адрес Оператора Перевода (Строка#1)"),
    QStringLiteral("Адрес Оператора Перевода (Строка#2)"),
    QStringLiteral("Адрес Оператора Перевода (Строка#3)"),
    QStringLiteral("Адрес Оператора Перевода (Строка#4)"),
    QStringLiteral("Наименование Оператора Перевода (Строка #1)"),
    QStringLiteral("Наименование Оператора Перевода (Строка #2)"),
    QStringLiteral("Операция Платежного Агента"),
};
const QString kNarrow = QStringLiteral("Узкий");
const QString kWide = QStringLiteral("Широкий");
const QString kAgentSection = QStringLiteral("CFGKKT_ПАРАМЕТРЫ_АГЕНТА");

QString AgentValueKey(int n)
{
    return kAgentNames[n] + QStringLiteral(" (Наименование)");
}

QString AgentFontKey(int n)
{
    return kAgentNames[n] + QStringLiteral(" (Тип Шрифта)");
}

QByteArray Lines(const QStringList &lines)
{
    return ToWin1251(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

// Every field a text of its own, so a field that lands in the wrong place shows.
void FillDistinct(TConfig &c, const QString &tag)
{
    auto text = [&tag](const char *what, int n) {
        return tag + QString::fromUtf8(what) + QString::number(n);
    };
    for (int i = 0; i < kConfigGsmCount; ++i)
        c.Gsm.Values[i] = text("gsm", i);
    for (int n = 0; n < kConfigOperCount; ++n)
        c.Tables.Oper[n] = {text("Должность", n), text("ШД", n),    text("Фам1-", n),
                            text("ШФ1-", n),      text("Фам2-", n), text("ШФ2-", n),
                            text("Пароль", n),    text("ИНН", n)};
    for (int n = 0; n < kConfigGoodsCount; ++n)
        c.Tables.PredmRasch[n] = {text("Товар", n), text("ШТ", n), text("ШК", n), text("Цена", n),
                                  text("Отдел", n)};
    for (int n = 0; n < kConfigGroupCount; ++n)
        c.Tables.RpiznPredmRasch[n] = {text("Группа", n), text("ШГ", n), text("Признак", n),
                                       text("НДС", n)};
    for (int n = 0; n < kConfigClicheCount; ++n)
        c.Tables.Klishe[n] = {text("Клише", n), text("ШК", n)};
    for (int n = 0; n < kConfigAgentCount; ++n)
        c.Tables.Agent[n] = {text("Агент", n), text("ША", n)};
}

// What a load of a file without any of the keys leaves: fonts narrow, every other text empty;
// agent line 11 and the scanner as they were.
TConfig LoadedFromNothing(const TConfig &before)
{
    TConfig c;
    for (TConfig_Oper &o : c.Tables.Oper)
        o.PositionFont = o.Surname1Font = o.Surname2Font = kNarrow;
    for (TConfig_PredmRasch &g : c.Tables.PredmRasch)
        g.Font = kNarrow;
    for (TConfig_RpiznPredmRasch &g : c.Tables.RpiznPredmRasch)
        g.NameFont = kNarrow;
    for (TConfig_Klishe &k : c.Tables.Klishe)
        k.Font = kNarrow;
    for (int n = 0; n < 11; ++n)
        c.Tables.Agent[n].Font = kNarrow;
    c.Tables.Agent[11] = before.Tables.Agent[11];
    c.Scanner = before.Scanner;
    return c;
}

// Stands in for the main window's wait window and notes what it saw.
class TWaitRecorder : public TConfigFileUi
{
public:
    void ShowWait() override
    {
        ++shown;
        const QCursor *cursor = QApplication::overrideCursor();
        hourglassWhenShown = cursor && cursor->shape() == Qt::WaitCursor;
    }
    void CloseWait() override { ++closed; }
    int shown = 0;
    int closed = 0;
    bool hourglassWhenShown = false;
};

bool SetMode(const QString &path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

private slots:
    void keyNameLists_data();
    void keyNameLists();
    void freshSaveHasTheFixedLayout();
    void freshSaveHoldsEverySectionInOrder();
    void roundTripKeepsEveryField();
    void valuesLoseSurroundingBlanks();
    void loadingNothingGivesDefaults_data();
    void loadingNothingGivesDefaults();
    void keysInAnotherCaseAndBlanksAroundThem();
    void savingMergesIntoExistingFile();
    void failedSaveKeepsOldFile_data();
    void failedSaveKeepsOldFile();
    void failedLoadChangesNothing();
    void busyWhileWorking();
};

void TestConfigFile::keyNameLists_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("gsm");
    QTest::addColumn<QString>("agentValue");
    QTest::addColumn<QString>("agentFont");
    QTest::newRow("before the lists") << -1 << QString() << QString() << QString();
    for (int i = 0; i < 11; ++i)
        QTest::addRow("index %d", i)
            << i << (i < 6 ? kGsmKeys[i] : QString()) << AgentValueKey(i) << AgentFontKey(i);
    QTest::newRow("agent line 11 has no keys") << 11 << QString() << QString() << QString();
    QTest::newRow("far out") << 1000 << QString() << QString() << QString();
}

void TestConfigFile::keyNameLists()
{
    QFETCH(int, index);
    QFETCH(QString, gsm);
    QFETCH(QString, agentValue);
    QFETCH(QString, agentFont);
    QCOMPARE(GsmKeyName(index), gsm);
    QCOMPARE(AgentValueKeyName(index), agentValue);
    QCOMPARE(AgentFontKeyName(index), agentFont);
}

void TestConfigFile::freshSaveHasTheFixedLayout()
{
    auto config = std::make_unique<TConfig>();
    TConfig &c = *config;
    c.Gsm.Values = {QStringLiteral("10.20.30.40"), QStringLiteral("ofd.example.ru"),
                    QStringLiteral("7777"),        QStringLiteral("1234"),
                    QStringLiteral("internet.ru"), QStringLiteral("user")};
    c.Tables.Oper[0] = {QStringLiteral("КАССИР"), kNarrow,
                        QStringLiteral("ИВАНОВ"), kWide,
                        QStringLiteral("ИВАН"),   kNarrow,
                        QStringLiteral("30"),     QStringLiteral("123456789012")};
    c.Tables.PredmRasch[5999] = {QStringLiteral("ХЛЕБ"), kWide, QStringLiteral("4600000000001"),
                                 QStringLiteral("45.50"), QStringLiteral("2")};
    c.Tables.RpiznPredmRasch[7] = {QStringLiteral("УСЛУГИ"), kNarrow, QStringLiteral("04 - Услуга"),
                                   QStringLiteral("1 - Ставка НДС 18%")};
    c.Tables.Klishe[20] = {QStringLiteral("СПАСИБО ЗА ПОКУПКУ"), kWide};
    for (int n = 0; n < 12; ++n)
        c.Tables.Agent[n] = {QStringLiteral("+7 900 000-00-%1").arg(n, 2, 10, QLatin1Char('0')),
                             n % 2 ? kWide : kNarrow};

    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("new.conf"));
    QString error;
    QVERIFY2(WriteConfigFile(path, c, &error), qPrintable(error));
    const QByteArray bytes = folder.Read(QStringLiteral("new.conf"));

    // The file is Windows-1251: "Имя" is C8 EC FF.
    QVERIFY(bytes.startsWith(QByteArray("[GSM]\r\n\xC8\xEC\xFF", 10)));

    const QByteArray head = Lines({
        QStringLiteral("[GSM]"),
        QStringLiteral("Имя сервера ОФД=10.20.30.40"),
        QStringLiteral("Порт сервера ОФД=ofd.example.ru"),
        QStringLiteral("PIN-код сим карты=7777"),
        QStringLiteral("APN строка для подключения к Internet=1234"),
        QStringLiteral("Логин для подключения к Internet=internet.ru"),
        QStringLiteral("Пароль для подключения к Internet=user"),
        QString(),
        QStringLiteral("[CFGKKT_ОПЕРАТОР_#0]"),
        QStringLiteral("Должность=КАССИР"),
        QString(),
        QStringLiteral("[CFGKKT_ОПЕРАТОР0]"),
        QStringLiteral("Шрифт должности=Узкий"),
        QStringLiteral("Фамилия(Строка 1)=ИВАНОВ"),
        QStringLiteral("Шрифт Фамилии(Строка 1)=Широкий"),
        QStringLiteral("Фамилия(Строка 2)=ИВАН"),
        QStringLiteral("Шрифт Фамилии(Строка 2)=Узкий"),
        QStringLiteral("Пароль=30"),
        QStringLiteral("ИНН Кассира=123456789012"),
        QString(),
        QStringLiteral("[CFGKKT_ОПЕРАТОР_#1]"),
        QStringLiteral("Должность="),
        QString(),
    });
    QCOMPARE(bytes.left(head.size()), head);

    QStringList tail = {
        QStringLiteral("[CFGKKT_ТОВАР_#5999]"),
        QStringLiteral("Наименование=ХЛЕБ"),
        QStringLiteral("Тип Шрифта=Широкий"),
        QStringLiteral("Штрих-код=4600000000001"),
        QStringLiteral("Цена=45.50"),
        QStringLiteral("Отдел/Услуга=2"),
        QString(),
    };
    for (int n = 0; n < 7; ++n)
        tail << QStringLiteral("[CFGKKT_ПРИЗНАК_ПР_#%1]").arg(n)
             << QStringLiteral("Наименование отдела/услуги=")
             << QStringLiteral("Тип Шрифта Наименования=")
             << QStringLiteral("Признак ПР(Значение)=")
             << QStringLiteral("Признак ПР(Наименование)=") << QString();
    tail << QStringLiteral("[CFGKKT_ПРИЗНАК_ПР_#7]")
         << QStringLiteral("Наименование отдела/услуги=УСЛУГИ")
         << QStringLiteral("Тип Шрифта Наименования=Узкий")
         << QStringLiteral("Признак ПР(Значение)=04 - Услуга")
         << QStringLiteral("Признак ПР(Наименование)=1 - Ставка НДС 18%") << QString();
    for (int n = 0; n < 20; ++n)
        tail << QStringLiteral("[CFGKKT_КЛИШЕ_СТРОКА_#%1]").arg(n)
             << QStringLiteral("Наименование=") << QStringLiteral("Тип шрифта=") << QString();
    tail << QStringLiteral("[CFGKKT_КЛИШЕ_СТРОКА_#20]")
         << QStringLiteral("Наименование=СПАСИБО ЗА ПОКУПКУ")
         << QStringLiteral("Тип шрифта=Широкий") << QString();
    tail << QStringLiteral("[CFGKKT_ПАРАМЕТРЫ_АГЕНТА]");
    // Paired by position: line 4 (the grid's "ИНН оператора перевода") goes under the first
    // address keys, and line 11 is not written at all.
    for (int n = 0; n < 11; ++n)
        tail << AgentValueKey(n) +
                    QStringLiteral("=+7 900 000-00-%1").arg(n, 2, 10, QLatin1Char('0'))
             << AgentFontKey(n) + u'=' + (n % 2 ? kWide : kNarrow);
    tail << QString();
    const QByteArray expectedTail = Lines(tail);
    QCOMPARE(bytes.right(expectedTail.size()), expectedTail);
    QVERIFY(!bytes.contains("+7 900 000-00-11"));
}

void TestConfigFile::freshSaveHoldsEverySectionInOrder()
{
    auto config = std::make_unique<TConfig>();
    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("empty-record.conf"));
    QVERIFY(WriteConfigFile(path, *config));

    QStringList expected = {QStringLiteral("GSM")};
    for (int n = 0; n < 6; ++n)
        expected << QStringLiteral("CFGKKT_ОПЕРАТОР_#%1").arg(n)
                 << QStringLiteral("CFGKKT_ОПЕРАТОР%1").arg(n);
    for (int n = 0; n < 6000; ++n)
        expected << QStringLiteral("CFGKKT_ТОВАР_#%1").arg(n);
    for (int n = 0; n < 8; ++n)
        expected << QStringLiteral("CFGKKT_ПРИЗНАК_ПР_#%1").arg(n);
    for (int n = 0; n < 21; ++n)
        expected << QStringLiteral("CFGKKT_КЛИШЕ_СТРОКА_#%1").arg(n);
    expected << kAgentSection;

    const TIniDocument doc =
        TIniDocument::FromBytes(folder.Read(QStringLiteral("empty-record.conf")));
    QCOMPARE(doc.SectionCount(), 6043);
    QCOMPARE(doc.Sections(), expected);
    QCOMPARE(doc.Keys(kAgentSection).size(), 22);
    QCOMPARE(doc.Keys(QStringLiteral("GSM")), kGsmKeys);
}

void TestConfigFile::roundTripKeepsEveryField()
{
    auto saved = std::make_unique<TConfig>();
    FillDistinct(*saved, QStringLiteral("с"));
    saved->Scanner = {1, QStringLiteral("COM3"), QStringLiteral("9600"), true};
    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("round.conf"));
    QVERIFY(WriteConfigFile(path, *saved));
    QVERIFY(!folder.Read(QStringLiteral("round.conf")).contains("COM3"));

    auto loaded = std::make_unique<TConfig>();
    FillDistinct(*loaded, QStringLiteral("прежнее"));
    const TConfig_Agent lastAgentBefore = loaded->Tables.Agent[11];
    QString error;
    QVERIFY2(ReadConfigFile(path, *loaded, &error), qPrintable(error));

    // Agent line 11 has no keys: it keeps what the record held; the scanner is never stored.
    TConfig expected = *saved;
    expected.Tables.Agent[11] = lastAgentBefore;
    expected.Scanner = TScanner();
    QCOMPARE(loaded->Gsm.Values, expected.Gsm.Values);
    QVERIFY(loaded->Tables.Oper == expected.Tables.Oper);
    QVERIFY(loaded->Tables.PredmRasch == expected.Tables.PredmRasch);
    QVERIFY(loaded->Tables.RpiznPredmRasch == expected.Tables.RpiznPredmRasch);
    QVERIFY(loaded->Tables.Klishe == expected.Tables.Klishe);
    QVERIFY(loaded->Tables.Agent == expected.Tables.Agent);
    QCOMPARE(loaded->Scanner.ComPort, QString());
}

void TestConfigFile::valuesLoseSurroundingBlanks()
{
    auto c = std::make_unique<TConfig>();
    c->Gsm.Values[0] = QStringLiteral("  10.0.0.1 ");
    c->Tables.Oper[5].Inn = QStringLiteral("\t7701 ");
    c->Tables.PredmRasch[5999].Name = QStringLiteral(" ХЛЕБ  БЕЛЫЙ ");
    c->Tables.Agent[10].Value = QStringLiteral(" ПЕРЕВОД");
    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("blanks.conf"));
    QVERIFY(WriteConfigFile(path, *c));
    auto loaded = std::make_unique<TConfig>();
    QVERIFY(ReadConfigFile(path, *loaded));
    QCOMPARE(loaded->Gsm.Values[0], QStringLiteral("10.0.0.1"));
    QCOMPARE(loaded->Tables.Oper[5].Inn, QStringLiteral("7701"));
    QCOMPARE(loaded->Tables.PredmRasch[5999].Name, QStringLiteral("ХЛЕБ  БЕЛЫЙ"));
    QCOMPARE(loaded->Tables.Agent[10].Value, QStringLiteral("ПЕРЕВОД"));
}

void TestConfigFile::loadingNothingGivesDefaults_data()
{
    QTest::addColumn<bool>("exists");
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("missing file") << false << QByteArray();
    QTest::newRow("empty file") << true << QByteArray();
    QTest::newRow("no sections") << true
                                 << Lines({QStringLiteral("; только заметка"),
                                           QStringLiteral("Имя сервера ОФД=10.0.0.1"),
                                           QStringLiteral("Должность=КАССИР")});
    QTest::newRow("other sections only")
        << true << Lines({QStringLiteral("[ТОВАР_#1]"), QStringLiteral("Наименование=ХЛЕБ")});
}

void TestConfigFile::loadingNothingGivesDefaults()
{
    QFETCH(bool, exists);
    QFETCH(QByteArray, content);
    TTempProgramFolder folder;
    const QString name = QStringLiteral("nothing.conf");
    if (exists)
        QVERIFY(folder.Write(name, content));
    auto c = std::make_unique<TConfig>();
    FillDistinct(*c, QStringLiteral("старое"));
    c->Scanner = {1, QStringLiteral("COM2"), QStringLiteral("115200"), true};
    const TConfig expected = LoadedFromNothing(*c);
    QVERIFY(ReadConfigFile(folder.FilePath(name), *c));
    QVERIFY(*c == expected);
    QCOMPARE(folder.Exists(name), exists); // loading never creates the file
}

void TestConfigFile::keysInAnotherCaseAndBlanksAroundThem()
{
    TTempProgramFolder folder;
    // LF line breaks, lower case, blanks around names and values.
    const QByteArray text = ToWin1251(QStringLiteral("[ gsm ]\n"
                                                     "  имя сервера офд =  10.0.0.1  \n"
                                                     "[cfgkkt_оператор_#0]\n"
                                                     "должность = СТАРШИЙ КАССИР\n"
                                                     "[Cfgkkt_Оператор0]\n"
                                                     "шрифт должности=Широкий\n"
                                                     "инн кассира =  7701  \n"
                                                     "[cfgkkt_товар_#5999]\n"
                                                     "наименование= МОЛОКО\n"
                                                     "тип шрифта =Широкий\n"
                                                     "[cfgkkt_параметры_агента]\n"
                                                     "телефон поставщика (наименование) = +7 000\n"
                                                     "операция платежного агента (тип шрифта)= "
                                                     "Широкий\n"));
    QVERIFY(folder.Write(QStringLiteral("case.conf"), text));
    auto c = std::make_unique<TConfig>();
    QVERIFY(ReadConfigFile(folder.FilePath(QStringLiteral("case.conf")), *c));
    QCOMPARE(c->Gsm.Values[0], QStringLiteral("10.0.0.1"));
    QCOMPARE(c->Tables.Oper[0].Position, QStringLiteral("СТАРШИЙ КАССИР"));
    QCOMPARE(c->Tables.Oper[0].PositionFont, kWide);
    QCOMPARE(c->Tables.Oper[0].Inn, QStringLiteral("7701"));
    QCOMPARE(c->Tables.Oper[0].Surname1Font, kNarrow);
    QCOMPARE(c->Tables.PredmRasch[5999].Name, QStringLiteral("МОЛОКО"));
    QCOMPARE(c->Tables.PredmRasch[5999].Font, kWide);
    QCOMPARE(c->Tables.PredmRasch[5998].Font, kNarrow);
    QCOMPARE(c->Tables.Agent[0].Value, QStringLiteral("+7 000"));
    QCOMPARE(c->Tables.Agent[0].Font, kNarrow);
    QCOMPARE(c->Tables.Agent[10].Font, kWide);
}

void TestConfigFile::savingMergesIntoExistingFile()
{
    TTempProgramFolder folder;
    QVERIFY(folder.Write(
        QStringLiteral("old.conf"),
        Lines({QStringLiteral("; заметка"), QStringLiteral("[Мой раздел]"),
               QStringLiteral("Ключ=Значение"), QStringLiteral("[gsm]"),
               QStringLiteral("Чужой ключ=1"), QStringLiteral("имя сервера офд=старый"),
               QStringLiteral("[CFGKKT_ПАРАМЕТРЫ_АГЕНТА]"),
               QStringLiteral("Ключ другой программы=да"),
               AgentValueKey(10) + QStringLiteral("=старое")})));
    auto c = std::make_unique<TConfig>();
    FillDistinct(*c, QStringLiteral("н"));
    QVERIFY(WriteConfigFile(folder.FilePath(QStringLiteral("old.conf")), *c));

    const TIniDocument doc = TIniDocument::FromBytes(folder.Read(QStringLiteral("old.conf")));
    QCOMPARE(doc.SectionCount(), 6044);
    QCOMPARE(doc.Sections().mid(0, 4),
             (QStringList{QStringLiteral("Мой раздел"), QStringLiteral("gsm"), kAgentSection,
                          QStringLiteral("CFGKKT_ОПЕРАТОР_#0")}));
    QCOMPARE(doc.Sections().last(), QStringLiteral("CFGKKT_КЛИШЕ_СТРОКА_#20"));
    QCOMPARE(doc.Value(QStringLiteral("Мой раздел"), QStringLiteral("Ключ")),
             QStringLiteral("Значение"));

    // Keys that exist keep their place (and spelling); the others follow at the section's end.
    QStringList gsmKeys = {QStringLiteral("Чужой ключ"), QStringLiteral("имя сервера офд")};
    gsmKeys += kGsmKeys.mid(1);
    QCOMPARE(doc.Keys(QStringLiteral("GSM")), gsmKeys);
    QCOMPARE(doc.Value(QStringLiteral("GSM"), QStringLiteral("Чужой ключ")), QStringLiteral("1"));
    QCOMPARE(doc.Value(QStringLiteral("GSM"), kGsmKeys[0]), c->Gsm.Values[0]);

    QStringList agentKeys = {QStringLiteral("Ключ другой программы"), AgentValueKey(10)};
    for (int n = 0; n < 11; ++n) {
        if (n < 10)
            agentKeys << AgentValueKey(n);
        agentKeys << AgentFontKey(n);
    }
    QCOMPARE(doc.Keys(kAgentSection), agentKeys);
    QCOMPARE(doc.Value(kAgentSection, AgentValueKey(10)), c->Tables.Agent[10].Value);
    QCOMPARE(doc.Value(kAgentSection, QStringLiteral("Ключ другой программы")),
             QStringLiteral("да"));
}

void TestConfigFile::failedSaveKeepsOldFile_data()
{
    QTest::addColumn<bool>("asNobody");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("folder that does not exist")
        << false << QStringLiteral("нет/old.conf") << "Нет такого файла или каталога";
    QTest::newRow("folder not writable") << true << QStringLiteral("old.conf") << "Доступ запрещён";
}

void TestConfigFile::failedSaveKeepsOldFile()
{
    QFETCH(bool, asNobody);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    if (asNobody)
        KKT_SKIP_WITHOUT_MODE_BITS();
    TTempProgramFolder folder;
    const QByteArray old = Lines({QStringLiteral("[GSM]"), QStringLiteral("Имя сервера ОФД=1")});
    QVERIFY(folder.Write(QStringLiteral("old.conf"), old));
    // Readable for everyone, writable for the owner (root) only, the folder included.
    QVERIFY(SetMode(folder.Path(), 0755));
    QVERIFY(SetMode(folder.FilePath(QStringLiteral("old.conf")), 0644));
    const QString path = folder.FilePath(name);

    auto c = std::make_unique<TConfig>();
    FillDistinct(*c, QStringLiteral("н"));
    TDialogRecorder dialogs;
    TWaitRecorder wait;
    bool saved = true;
    {
        TRunAsNobody nobody;
        if (asNobody && !nobody.PermissionsApply())
            QSKIP("cannot drop root rights here to meet an unwritable folder");
        saved = SaveConfigFile(nullptr, path, *c, &wait, 0);
    }
    QVERIFY(!saved);
    QCOMPARE(dialogs.MessageCount(), 1);
    QCOMPARE(dialogs.Messages().value(0).kind, TDialogs::Kind::Error);
    const QString lead = QStringLiteral("Не удалось сохранить файл конфигурации \"") +
                         QDir::toNativeSeparators(path) + QStringLiteral("\".\r\n");
    QCOMPARE(dialogs.LastText(), lead + reason);
    QCOMPARE(wait.shown, 1);
    QCOMPARE(wait.closed, 1);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(folder.Read(QStringLiteral("old.conf")), old);
    QCOMPARE(QDir(folder.Path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("old.conf")});
}

void TestConfigFile::failedLoadChangesNothing()
{
    TTempProgramFolder folder;
    QVERIFY(folder.Write(QStringLiteral("secret.conf"),
                         Lines({QStringLiteral("[GSM]"), QStringLiteral("Имя сервера ОФД=1")})));
    QVERIFY(SetMode(folder.Path(), 0755));
    QVERIFY(SetMode(folder.FilePath(QStringLiteral("secret.conf")), 0600));
    QVERIFY(QDir(folder.Path()).mkdir(QStringLiteral("dir.conf")));
    auto c = std::make_unique<TConfig>();
    FillDistinct(*c, QStringLiteral("было"));
    const TConfig before = *c;
    TDialogRecorder dialogs;
    TWaitRecorder wait;

    // A folder in place of the file is no configuration either.
    QVERIFY(!LoadConfigFile(nullptr, folder.FilePath(QStringLiteral("dir.conf")), *c, &wait, 0));
    QVERIFY(*c == before);
    // Nor is a pipe, which would keep the program waiting for ever: the answer comes at once.
    KKT_SKIP_WITHOUT_SPECIAL_FILES();
    const QString pipe = folder.FilePath(QStringLiteral("pipe.conf"));
    QVERIFY(folder.MakeSpecial(QStringLiteral("pipe.conf"), TTempProgramFolder::Special::Pipe));
    QVERIFY(!LoadConfigFile(nullptr, pipe, *c, &wait, 0));
    QCOMPARE(dialogs.LastText(), QStringLiteral("Не удалось прочитать файл конфигурации \"") +
                                     QDir::toNativeSeparators(pipe) +
                                     QStringLiteral("\".\r\nЭто не обычный файл (канал, "
                                                    "устройство или сокет)"));
    QVERIFY(*c == before);
    {
        TRunAsNobody nobody;
        if (!nobody.PermissionsApply())
            QSKIP("cannot drop root rights here to meet an unreadable file");
        QVERIFY(
            !LoadConfigFile(nullptr, folder.FilePath(QStringLiteral("secret.conf")), *c, &wait, 0));
    }
    QVERIFY(*c == before);
    QCOMPARE(dialogs.MessageCount(), 3);
    for (const TDialogRecorder::Shown &shown : dialogs.Messages()) {
        QCOMPARE(shown.kind, TDialogs::Kind::Error);
        QVERIFY(shown.text.startsWith(QStringLiteral("Не удалось прочитать файл конфигурации \"")));
    }
    QCOMPARE(wait.shown, 3);
    QCOMPARE(wait.closed, 3);
    QVERIFY(!QApplication::overrideCursor());
}

void TestConfigFile::busyWhileWorking()
{
    TTempProgramFolder folder;
    const QString path = folder.FilePath(QStringLiteral("busy.conf"));
    auto c = std::make_unique<TConfig>();
    TDialogRecorder dialogs;
    TWaitRecorder wait;
    QVERIFY(SaveConfigFile(nullptr, path, *c, &wait, 0));
    QVERIFY(LoadConfigFile(nullptr, path, *c, &wait, 0));
    QCOMPARE(wait.shown, 2);
    QCOMPARE(wait.closed, 2);
    QVERIFY(wait.hourglassWhenShown);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(dialogs.MessageCount(), 0);
    // Without a wait window the work is done all the same.
    QVERIFY(SaveConfigFile(nullptr, path, *c, nullptr, 0));
}

QTEST_MAIN(TestConfigFile)
#include "tst_configfile.moc"
