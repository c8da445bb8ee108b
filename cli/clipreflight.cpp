#include "clipreflight.h"

#include "clicompare.h"
#include "clijob.h"
#include "configfile.h"
#include "filefailure.h"
#include "goodsbasefile.h"
#include "inidocument.h"
#include "serialline.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace
{

QString Text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

bool Reading(const TCliOptions &o)
{
    return o.command == TCliCommand::Read || o.command == TCliCommand::ReadGoods;
}

// What the file lacks for the run, or empty: a run from a file without its sections would
// write the grids' empty values over the register's.
QString MissingData(const TCliOptions &o, const TIniDocument &doc)
{
    const QString file = Text("Файл \"") + o.file + Text("\" не содержит ");
    if (o.GoodsOnly())
        return HoldsGoods(doc, kGoodsItemCount)
                   ? QString()
                   : file + Text("базы товаров: в нём нет ни одного раздела \"ТОВАР_#\"");
    QStringList named;
    for (int i = 0; i < kCliPartCount; ++i) {
        const TCliPart part = TCliPart(i);
        if (!o.Has(part))
            continue;
        if (part == TCliPart::Gsm ? HoldsConfigGsm(doc) : HoldsConfigTable(doc, CliPartTab(part)))
            return {};
        named += CliPartName(part);
    }
    if (named.size() == kCliPartCount)
        return file + Text("конфигурации ККТ: в нём нет ни одного её раздела");
    return file + Text("таблиц из --only: ") + named.join(Text(", "));
}

// write, verify: the file's values, refused without the sections the run would send.
QString LoadValues(const TCliOptions &o, TConfig &config)
{
    if (InspectFile(o.file) == TFileKind::Missing)
        return CliFileError("Файл не найден", o.file, Text("нет такого файла"));
    TIniDocument doc;
    QString error;
    bool missing = false;
    if (o.GoodsOnly() ? !ReadGoodsBaseDocument(o.file, &doc, &missing, &error)
                      : !ReadConfigDocument(o.file, doc, &error))
        return CliFileError(o.GoodsOnly() ? "Не удалось прочитать файл базы товаров"
                                          : "Не удалось прочитать файл конфигурации",
                            o.file, error);
    QString lacking = MissingData(o, doc);
    if (!lacking.isEmpty())
        return lacking;
    if (!o.GoodsOnly()) {
        ConfigFromIni(doc, config);
        return {};
    }
    const QVector<TConfig_PredmRasch> rows = TakeGoodsRows(doc, kGoodsItemCount);
    for (int i = 0; i < rows.size() && i < kGoodsItemCount; ++i)
        config.Tables.PredmRasch[std::size_t(i)] = rows.at(i);
    return {};
}

// Whether the save could write path: a file in its place made and thrown away again, as the
// save makes the new file before it replaces the old one.
bool CanSave(const QString &path, QString *errorText)
{
    QSaveFile file(path);
    if (TryFileCall(file, errorText, [&] { return file.open(QIODevice::WriteOnly); })) {
        file.cancelWriting();
        return true;
    }
    // The save writes a file the user may write in place where the folder takes no new one.
    const QFileInfo info(path);
    return info.isFile() && info.isWritable();
}

// read: what the file already holds, to be merged into; refused where the save would fail.
QString PrepareOutput(const TCliOptions &o, TConfig &config)
{
    const char *what = o.GoodsOnly() ? "Не удалось сохранить файл базы товаров"
                                     : "Не удалось сохранить файл конфигурации";
    QString error;
    const TFileKind kind = InspectFile(o.file, &error);
    if (kind == TFileKind::Other || !CanSave(o.file, &error))
        return CliFileError(what, o.file, error);
    if (kind != TFileKind::Regular)
        return {};
    if (!o.GoodsOnly())
        return ReadConfigFile(o.file, config, &error)
                   ? QString()
                   : CliFileError("Не удалось прочитать файл конфигурации", o.file, error);
    QVector<TConfig_PredmRasch> rows;
    if (!LoadGoodsBaseFile(o.file, kGoodsItemCount, &rows, &error))
        return CliFileError("Не удалось прочитать файл базы товаров", o.file, error);
    for (int i = 0; i < rows.size() && i < kGoodsItemCount; ++i)
        config.Tables.PredmRasch[std::size_t(i)] = rows.at(i);
    return {};
}

// One spelling per device.
QString PortKey(const QString &port)
{
#ifdef Q_OS_WIN
    QString name = port.toUpper();
    return name.startsWith(QLatin1String("\\\\.\\")) ? name.mid(4) : name;
#else
    const QFileInfo info(TSerialLine::DevicePath(port));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
#endif
}

} // namespace

QString CliFileError(const char *what, const QString &path, const QString &reason)
{
    return Text(what) + Text(" \"") + path + Text("\": ") + reason;
}

QString LoadInput(const TCliOptions &options, TConfig &config)
{
    config = DefaultGridConfig();
    return Reading(options) ? PrepareOutput(options, config) : LoadValues(options, config);
}

QStringList DistinctPorts(const QStringList &ports)
{
    QStringList distinct;
    QStringList keys;
    for (const QString &port : ports) {
        const QString key = PortKey(port);
        if (keys.contains(key))
            continue;
        keys += key;
        distinct += port;
    }
    return distinct;
}

QString PortsRefusal(const QStringList &ports)
{
    for (const QString &port : ports) {
        QString why = TSerialLine::NotSerialPort(port);
        if (!why.isEmpty())
            return why;
    }
    return {};
}
