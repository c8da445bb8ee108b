// A goods CSV file is whatever the user picked. Any bytes must read without a crash; records
// written back by the export's quoting read as the same fields; an import plan only ever sets
// rows 1-6000, each once, with cells the goods grid may hold.

#include "csvtext.h"
#include "goodscsv.h"

#include <QByteArray>
#include <QSet>

#include <cstdlib>

namespace
{

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

bool Digits(const QString &text, int maxLength)
{
    if (text.size() > maxLength)
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(bytes), qsizetype(size));
    const TCsvSource source(input);
    const char separator = DetectCsvSeparator(source.Text());

    QString written;
    QVector<QStringList> whole;
    int line = 0;
    TCsvReader reader(source.Text(), separator);
    while (reader.Next()) {
        Check(reader.Line() > line); // lines only go forward
        line = reader.Line();
        if (!reader.Broken()) {
            QStringList fields;
            for (int i = 0; i < reader.FieldCount(); ++i)
                fields.append(source.Decode(reader.Field(i)));
            written += CsvLine(fields, QChar::fromLatin1(separator));
            whole.append(fields);
        }
    }
    const QByteArray again = written.toUtf8();
    TCsvReader rereader(again, separator);
    qsizetype records = 0;
    while (rereader.Next()) {
        Check(records < whole.size() && !rereader.Broken() &&
              rereader.FieldCount() == whole[records].size());
        for (int i = 0; i < rereader.FieldCount(); ++i)
            Check(QString::fromUtf8(rereader.Field(i)) == whole[records][i]);
        ++records;
    }
    Check(records == whole.size());

    const QVector<TConfig_PredmRasch> fresh(
        6000, TConfig_PredmRasch{{}, QStringLiteral("Узкий"), {}, {}, {}});
    const TGoodsImportPlan plan = PlanGoodsImport(input, fresh);
    Check(plan.refusal.isEmpty() || plan.items.isEmpty());
    Check(plan.problems.size() <= qMin(plan.problemCount, kListedGoodsCsvProblems));
    QSet<int> items;
    for (const TGoodsCsvItem &item : plan.items) {
        Check(item.item >= 1 && item.item <= 6000 && !items.contains(item.item));
        items.insert(item.item);
        const TConfig_PredmRasch &row = item.row;
        Check(row.Font == QStringLiteral("Узкий") || row.Font == QStringLiteral("Широкий"));
        Check(row.Name.size() <= (row.Font == QStringLiteral("Узкий") ? 24 : 12));
        Check(!row.Name.contains(u'\n') && !row.Name.contains(u'\r'));
        Check(Digits(row.Barcode, 13) && Digits(row.Department, 2));
        Check(row.Price.size() <= 13);
    }
    return 0;
}
