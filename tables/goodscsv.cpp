#include "goodscsv.h"

#include "filefailure.h"
#include "goodscsvline.h"
#include "gridtexts.h"
#include "tablecodes.h"
#include "tablelayout.h"
#include "wholefile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <optional>
#include <utility>

namespace
{

// Far beyond 6000 lines of goods: a file this big was chosen by mistake.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;
// Enough of a line in a message to recognise it.
constexpr int kShownLineLength = 60;

bool AllDigits(const QString &text)
{
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return !text.isEmpty();
}

bool IsZeroOrEmpty(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() || (AllDigits(t) && t.count(u'0') == t.size());
}

// A line of the file as a message shows it: on one line, cut when long.
QString QuotedLine(const QString &text)
{
    QString shown = text.left(kShownLineLength).simplified();
    if (text.size() > kShownLineLength)
        shown += u'…';
    return QStringLiteral("«") + shown + QStringLiteral("»");
}

// The file read once from start to end. The lines that go into the plan are kept: every usable
// line up to a full table and the unusable ones the dialog lists; the others are only counted,
// so a huge file chosen by mistake costs its bytes and little more.
struct TReading {
    bool header = false;
    QVector<int> firstLineOf = QVector<int>(kGoodsItemCount + 1, 0);
    QVector<TGoodsCsvLine> lines;
    int usable = 0;
    int unusable = 0;
    QString firstUnusable; // "Строка 2: «...» — reason"
};

TReading ReadGoodsLines(const TCsvSource &source)
{
    TReading reading;
    TGoodsCsvColumns columns = ExportGoodsCsvColumns();
    TCsvReader reader(source.Text(), DetectCsvSeparator(source.Text()));
    TGoodsCsvLine line;
    bool first = true;
    while (reader.Next()) {
        if (IsBlankCsvRecord(reader, source))
            continue;
        if (std::exchange(first, false) && !reader.Broken()) {
            if (const auto named = GoodsCsvHeader(CsvRecordFields(reader, source))) {
                columns = *named;
                reading.header = true;
                continue;
            }
        }
        ReadGoodsCsvLine(reader, source, columns, reading.firstLineOf, line);
        if (line.reasons.isEmpty()) {
            if (++reading.usable > kGoodsItemCount)
                continue;
            ReadGoodsCsvName(reader, source, columns, line);
        } else {
            if (++reading.unusable == 1)
                reading.firstUnusable =
                    QStringLiteral("Строка %1: %2 — %3")
                        .arg(QString::number(line.line), QuotedLine(source.Decode(reader.Source())),
                             line.reasons.join(QStringLiteral("; ")));
            if (reading.unusable > kListedGoodsCsvProblems)
                continue;
        }
        reading.lines.append(line);
    }
    return reading;
}

// The whole file is refused, before any row is chosen: a file that is no goods table (the goods
// base file, a list of another kind), or more goods than the table has rows.
QString Refusal(const TReading &reading)
{
    if (!reading.header && reading.unusable > reading.usable)
        return QStringLiteral("ВНИМАНИЕ!\r\nФайл не похож на таблицу товаров.\r\n") +
               reading.firstUnusable;
    if (reading.usable > kGoodsItemCount)
        return QStringLiteral("ВНИМАНИЕ!\r\nВ файле слишком много товаров: %1, в таблице "
                              "товаров только 6000 строк.\r\nОставьте в файле не больше 6000 "
                              "товаров.")
            .arg(reading.usable);
    return QString();
}

void AddProblem(TGoodsImportPlan &plan, int line, const QString &reason)
{
    if (plan.problems.size() < kListedGoodsCsvProblems)
        plan.problems.append({line, reason});
}

void Merge(const TGoodsCsvLine &line, TConfig_PredmRasch &row, int &shortenedNames)
{
    using namespace GoodsCsvRole;
    const auto &v = line.values;
    const auto &present = line.present;
    if (present[Font])
        row.Font = v[Font];
    if (present[Barcode])
        row.Barcode = v[Barcode];
    if (present[Price])
        row.Price = v[Price];
    if (present[Department])
        row.Department = v[Department];
    bool shortened = false;
    row.Name = GoodsCsvName(present[Name] ? v[Name] : row.Name, row.Font, &shortened);
    shortenedNames += shortened ? 1 : 0;
}

} // namespace

bool IsEmptyGoodsRow(const TConfig_PredmRasch &row)
{
    const QString price = row.Price.trimmed();
    return row.Name.trimmed().isEmpty() && IsZeroOrEmpty(row.Barcode) &&
           (price.isEmpty() || IsZeroOrEmpty(EncodePrice(price))) && IsZeroOrEmpty(row.Department);
}

QByteArray GoodsCsvBytes(const QVector<TConfig_PredmRasch> &rows, bool allRows,
                         TCsvEncoding encoding)
{
    const QChar separator = u';';
    QStringList header;
    for (const TGridColumn &column : GridTexts::GoodsColumns())
        header.append(column.header);
    QString text = CsvLine(header, separator);
    text.reserve(text.size() + rows.size() * 48);
    for (int i = 0; i < int(rows.size()); ++i) {
        const TConfig_PredmRasch &row = rows[i];
        if (allRows || !IsEmptyGoodsRow(row))
            text += CsvLine({QString::number(i + 1), row.Name, row.Font, row.Barcode, row.Price,
                             row.Department},
                            separator);
    }
    return EncodeCsvText(text, encoding);
}

TGoodsImportPlan PlanGoodsImport(const QByteArray &bytes,
                                 const QVector<TConfig_PredmRasch> &current)
{
    TGoodsImportPlan plan;
    const TReading reading = ReadGoodsLines(TCsvSource(bytes));
    plan.refusal = Refusal(reading);
    if (!plan.refusal.isEmpty())
        return plan;
    plan.problemCount = reading.unusable;

    // Rows named by a line stay out of the way of the lines without a number, even a line
    // that cannot be used: mended and imported again, the file then gives the same rows.
    const int rowCount = int(qMin<qsizetype>(current.size(), kGoodsItemCount));
    const QVector<int> &firstLineOf = reading.firstLineOf;
    int nextFree = 1;
    for (const TGoodsCsvLine &line : reading.lines) {
        if (!line.reasons.isEmpty()) {
            AddProblem(plan, line.line, line.reasons.join(QStringLiteral("; ")));
            continue;
        }
        int item = line.item;
        if (item == 0) {
            while (nextFree <= rowCount &&
                   (firstLineOf[nextFree] > 0 || !IsEmptyGoodsRow(current[nextFree - 1])))
                ++nextFree;
            if (nextFree > rowCount) {
                ++plan.problemCount;
                AddProblem(plan, line.line,
                           QStringLiteral("нет свободной строки в таблице товаров"));
                continue;
            }
            item = nextFree++;
        }
        TConfig_PredmRasch row = item <= current.size() ? current[item - 1] : TConfig_PredmRasch();
        if (row.Font.isEmpty())
            row.Font = GridTexts::kNarrowFont;
        Merge(line, row, plan.shortenedNames);
        plan.items.append({item, row});
    }
    return plan;
}

QString GoodsImportSummary(const TGoodsImportPlan &plan)
{
    QString text = QStringLiteral("Будет заполнено товаров: %1.").arg(plan.items.size());
    if (plan.shortenedNames > 0)
        text += QStringLiteral("\r\nНаименований, обрезанных по длине шрифта: %1.")
                    .arg(plan.shortenedNames);
    if (plan.problemCount > 0)
        text +=
            QStringLiteral("\r\nСтрок, которые не будут использованы: %1.").arg(plan.problemCount);
    return text;
}

QString GoodsImportProblemText(const TGoodsImportPlan &plan)
{
    QStringList lines;
    lines.reserve(plan.problems.size());
    for (const TGoodsCsvProblem &problem : plan.problems)
        lines.append(QStringLiteral("Строка %1: %2").arg(problem.line).arg(problem.reason));
    if (plan.problemCount > plan.problems.size())
        lines.append(
            QStringLiteral("…и ещё строк: %1").arg(plan.problemCount - plan.problems.size()));
    return lines.join(QStringLiteral("\r\n"));
}

bool SaveGoodsCsvFile(const QString &path, const QByteArray &bytes, QString *errorText)
{
    return SaveWholeFile(path, bytes, errorText);
}

bool ReadGoodsCsvFile(const QString &path, QByteArray *bytes, QString *errorText)
{
    QString reason;
    switch (InspectFile(path, &reason)) {
    case TFileKind::Regular:
        break;
    case TFileKind::Missing:
        reason = SystemErrorText(ENOENT);
        [[fallthrough]];
    case TFileKind::LinkToNothing:
    case TFileKind::Other:
        // Not opened: a pipe or a device would keep the program waiting.
        if (errorText)
            *errorText = reason;
        return false;
    }
    if (QFileInfo(path).size() > kMaxFileBytes) {
        if (errorText)
            *errorText = QStringLiteral("Файл больше 16 МБ, это не список товаров");
        return false;
    }
    QFile file(path);
    return TryFileCall(file, errorText, [&] { return file.open(QIODevice::ReadOnly); }) &&
           TryFileCall(file, errorText, [&] {
               *bytes = file.readAll();
               return file.error() == QFileDevice::NoError;
           });
}
