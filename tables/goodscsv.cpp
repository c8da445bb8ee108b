#include "goodscsv.h"

#include "cellfilters.h"
#include "cellvalue.h"
#include "filefailure.h"
#include "gridtexts.h"
#include "tablecodes.h"
#include "tablelayout.h"
#include "win1251.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <array>
#include <cerrno>
#include <optional>

namespace
{

// The table's columns, in the export's order.
enum TRole { kCode, kName, kFont, kBarcode, kPrice, kDepartment, kRoleCount };

constexpr int kBarcodeDigits = 13;
constexpr int kMaxDepartment = 99;
constexpr qint64 kMaxKopecks = 2147483647;
// Far beyond 6000 lines of goods: a file this big was chosen by mistake.
constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool AllDigits(const QString &text)
{
    for (QChar c : text)
        if (!IsAsciiDigit(c))
            return false;
    return !text.isEmpty();
}

// Digits only and at most maximum; leading zeros allowed.
std::optional<int> SmallNumber(const QString &text, int maximum)
{
    if (!AllDigits(text))
        return std::nullopt;
    qsizetype first = 0;
    while (first + 1 < text.size() && text[first] == u'0')
        ++first;
    if (text.size() - first > 6)
        return std::nullopt;
    const int value = text.mid(first).toInt();
    return value <= maximum ? std::optional<int>(value) : std::nullopt;
}

bool IsZeroOrEmpty(const QString &text)
{
    const QString t = text.trimmed();
    return t.isEmpty() || (AllDigits(t) && t.count(u'0') == t.size());
}

// Letters only, lower case, "ё" as "е": "Штрих-код" and "штрихкод " read the same.
QString CaptionKey(const QString &caption)
{
    QString key;
    for (QChar c : caption.toLower()) {
        if (c == u'ё')
            c = u'е';
        if (c.isLetterOrNumber() || c == u'№')
            key.append(c);
    }
    return key;
}

bool StartsWithAny(const QString &key, std::initializer_list<const char16_t *> prefixes)
{
    for (const char16_t *prefix : prefixes)
        if (key.startsWith(QStringView(prefix)))
            return true;
    return false;
}

// The column a header caption names, or -1. Checked in an order that keeps "Номер отдела" a
// department and "Штрих-код" no item number.
int RoleOfCaption(const QString &caption)
{
    const QString key = CaptionKey(caption);
    if (key.isEmpty())
        return -1;
    if (StartsWithAny(key, {u"штрихкод", u"barcode", u"ean"}) || key == u"шк")
        return kBarcode;
    if (key.contains(u"шрифт") || key == u"font")
        return kFont;
    if (key.contains(u"отдел") || key.contains(u"секци") || StartsWithAny(key, {u"dep"}))
        return kDepartment;
    if (key.contains(u"цена") || key == u"price")
        return kPrice;
    if (StartsWithAny(key, {u"код", u"номер", u"№", u"code", u"plu"}) || key == u"id")
        return kCode;
    if (StartsWithAny(key, {u"наимен", u"назван", u"товар", u"name"}))
        return kName;
    return -1;
}

// A field that only a data line holds: a number such as an item number or a price.
bool LooksNumeric(const QString &field)
{
    bool digit = false;
    for (QChar c : field) {
        if (IsAsciiDigit(c))
            digit = true;
        else if (c != u'.' && c != u',' && !c.isSpace())
            return false;
    }
    return digit;
}

using TColumns = std::array<int, kRoleCount>;

// A header names at least one column and holds no number.
std::optional<TColumns> HeaderColumns(const QStringList &fields)
{
    TColumns columns;
    columns.fill(-1);
    bool named = false;
    for (int i = 0; i < int(fields.size()); ++i) {
        if (LooksNumeric(fields[i]))
            return std::nullopt;
        const int role = RoleOfCaption(fields[i]);
        if (role >= 0 && columns[role] < 0) {
            columns[role] = i;
            named = true;
        }
    }
    return named ? std::optional<TColumns>(columns) : std::nullopt;
}

bool IsBlank(const TCsvRecord &record)
{
    if (record.broken)
        return false;
    for (const QString &field : record.fields)
        if (!field.trimmed().isEmpty())
            return false;
    return true;
}

// A price as the grid holds it: blanks (thousands) dropped, a comma taken as the point.
QString PriceText(const QString &field, QString *reason)
{
    QString price;
    for (QChar c : field)
        if (!c.isSpace())
            price.append(c == u',' ? QChar(u'.') : c);
    if (price.isEmpty())
        return price;
    QString digits = price; // a second point stays in and fails the digits
    if (const qsizetype point = price.indexOf(u'.'); point >= 0)
        digits.remove(point, 1);
    if (!AllDigits(digits)) {
        *reason = QStringLiteral("цена должна быть числом");
    } else if (!PriceTextAcceptable(price)) {
        *reason = QStringLiteral("в цене больше двух знаков после запятой");
    } else {
        bool ok = false;
        const qint64 kopecks = EncodePrice(price).toLongLong(&ok);
        if (price.size() > kPriceMaxLength || !ok || kopecks > kMaxKopecks)
            *reason = QStringLiteral("цена больше 21474836.47");
    }
    return price;
}

// An empty field is the narrow font; otherwise an entry of the font list as a paste takes it.
std::optional<QString> FontText(const QString &field)
{
    if (CaptionKey(field).isEmpty())
        return GridTexts::kNarrowFont;
    return ListEntryOf(GridTexts::FontList(), field);
}

// Upper case, on one line, within the font's limit.
QString NameText(const QString &field, const QString &font, bool *shortened)
{
    // A line break or a tab inside quotes becomes one blank: a cell holds one line.
    QString name;
    name.reserve(field.size());
    bool control = false;
    for (QChar c : field) {
        const bool isControl = c.unicode() < 0x20 || c.unicode() == 0x7F;
        if (!isControl || !control)
            name.append(isControl ? QChar(u' ') : c);
        control = isControl;
    }
    name = AnsiUpper(name.trimmed());
    const int limit = TextLimitForFont(font);
    *shortened = name.size() > limit;
    return name.left(limit);
}

// One line of the file as read, before it is given a row.
struct TLine {
    int line = 0;
    int item = 0; // 0: takes the next empty row
    std::array<std::optional<QString>, kRoleCount> values;
    QStringList reasons;
};

TLine ReadLine(const TCsvRecord &record, const TColumns &columns, QVector<int> &firstLineOf)
{
    TLine line;
    line.line = record.line;
    if (record.broken) {
        line.reasons.append(QStringLiteral("не закрыта кавычка"));
        return line;
    }
    for (int role = 0; role < kRoleCount; ++role) {
        const int col = columns[role];
        if (col >= 0)
            line.values[role] = record.fields.value(col).trimmed();
    }
    if (line.values[kCode] && !line.values[kCode]->isEmpty()) {
        const std::optional<int> item = SmallNumber(*line.values[kCode], kGoodsItemCount);
        if (!item || *item < 1) {
            line.reasons.append(QStringLiteral("код товара должен быть числом от 1 до 6000"));
        } else if (firstLineOf[*item] > 0) {
            line.reasons.append(QStringLiteral("код товара %1 уже был в строке %2")
                                    .arg(*item)
                                    .arg(firstLineOf[*item]));
        } else {
            firstLineOf[*item] = line.line;
            line.item = *item;
        }
    }
    if (line.values[kFont]) {
        const std::optional<QString> font = FontText(*line.values[kFont]);
        if (font)
            line.values[kFont] = *font;
        else
            line.reasons.append(QStringLiteral("тип шрифта должен быть «Узкий» или «Широкий»"));
    }
    if (line.values[kBarcode] && !line.values[kBarcode]->isEmpty() &&
        (!AllDigits(*line.values[kBarcode]) || line.values[kBarcode]->size() > kBarcodeDigits))
        line.reasons.append(QStringLiteral("штрих-код должен состоять из 1–13 цифр"));
    if (line.values[kPrice]) {
        QString reason;
        line.values[kPrice] = PriceText(*line.values[kPrice], &reason);
        if (!reason.isEmpty())
            line.reasons.append(reason);
    }
    if (line.values[kDepartment] && !line.values[kDepartment]->isEmpty()) {
        const QString &text = *line.values[kDepartment];
        const std::optional<int> department = SmallNumber(text, kMaxDepartment);
        if (department)
            line.values[kDepartment] = text.size() <= 2 ? text : QString::number(*department);
        else
            line.reasons.append(QStringLiteral("отдел должен быть числом от 0 до 99"));
    }
    return line;
}

void Merge(const TLine &line, TConfig_PredmRasch &row, int &shortenedNames)
{
    const auto &v = line.values;
    if (v[kFont])
        row.Font = *v[kFont];
    if (v[kBarcode])
        row.Barcode = *v[kBarcode];
    if (v[kPrice])
        row.Price = *v[kPrice];
    if (v[kDepartment])
        row.Department = *v[kDepartment];
    bool shortened = false;
    row.Name = NameText(v[kName] ? *v[kName] : row.Name, row.Font, &shortened);
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
    const QString text = DecodeCsvBytes(bytes);
    const QVector<TCsvRecord> records = ReadCsvRecords(text, DetectCsvSeparator(text));

    TColumns columns = {kCode, kName, kFont, kBarcode, kPrice, kDepartment};
    QVector<int> firstLineOf(kGoodsItemCount + 1, 0);
    QVector<TLine> lines;
    bool first = true;
    for (const TCsvRecord &record : records) {
        if (IsBlank(record))
            continue;
        if (first) {
            first = false;
            if (const std::optional<TColumns> named = HeaderColumns(record.fields);
                named && !record.broken) {
                columns = *named;
                continue;
            }
        }
        lines.append(ReadLine(record, columns, firstLineOf));
    }

    // Rows named by a line stay out of the way of the lines without a number, even a line
    // that cannot be used: mended and imported again, the file then gives the same rows.
    const int rowCount = int(qMin<qsizetype>(current.size(), kGoodsItemCount));
    int nextFree = 1;
    for (const TLine &line : std::as_const(lines)) {
        if (!line.reasons.isEmpty()) {
            plan.problems.append({line.line, line.reasons.join(QStringLiteral("; "))});
            continue;
        }
        int item = line.item;
        if (item == 0) {
            while (nextFree <= rowCount &&
                   (firstLineOf[nextFree] > 0 || !IsEmptyGoodsRow(current[nextFree - 1])))
                ++nextFree;
            if (nextFree > rowCount) {
                plan.problems.append(
                    {line.line, QStringLiteral("нет свободной строки в таблице товаров")});
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
    if (!plan.problems.isEmpty())
        text += QStringLiteral("\r\nСтрок, которые не будут использованы: %1.")
                    .arg(plan.problems.size());
    return text;
}

QString GoodsImportProblemText(const TGoodsImportPlan &plan)
{
    QStringList lines;
    lines.reserve(plan.problems.size());
    for (const TGoodsCsvProblem &problem : plan.problems)
        lines.append(QStringLiteral("Строка %1: %2").arg(problem.line).arg(problem.reason));
    return lines.join(QStringLiteral("\r\n"));
}

bool SaveGoodsCsvFile(const QString &path, const QByteArray &bytes, QString *errorText)
{
    QSaveFile file(path);
    // As the other files: in place where the folder takes no temporary file, and flushed
    // before the commit, so a full disk does not put a cut file in place of the old one.
    file.setDirectWriteFallback(true);
    return TryFileCall(file, errorText, [&] { return file.open(QIODevice::WriteOnly); }) &&
           TryFileCall(file, errorText, [&] { return file.write(bytes) == bytes.size(); }) &&
           TryFileCall(file, errorText, [&] { return file.flush(); }) &&
           TryFileCall(file, errorText, [&] { return file.commit(); });
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
