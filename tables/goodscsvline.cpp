#include "goodscsvline.h"

#include "cellfilters.h"
#include "gridtexts.h"
#include "tablelayout.h"
#include "win1251.h"

using namespace GoodsCsvRole;

namespace
{

constexpr int kBarcodeDigits = 13;
constexpr int kMaxDepartment = 99;
constexpr qint64 kMaxKopecks = 2147483647;

bool IsAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsAsciiBlank(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}

bool AllDigits(QStringView text)
{
    for (QChar c : text)
        if (!IsAsciiDigit(c))
            return false;
    return !text.isEmpty();
}

// Digits only and at most maximum; leading zeros allowed.
std::optional<int> SmallNumber(QStringView text, int maximum)
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
    // Words, not the brackets and "=" of an INI file ("[ТОВАР_#1]", "Наименование=ХЛЕБ").
    for (QChar c : caption)
        if (QStringView(u"[]=#_{}<>").contains(c))
            return -1;
    const QString key = CaptionKey(caption);
    if (key.isEmpty())
        return -1;
    if (StartsWithAny(key, {u"штрихкод", u"barcode", u"ean"}) || key == u"шк")
        return Barcode;
    if (key.contains(u"шрифт") || key == u"font")
        return Font;
    if (key.contains(u"отдел") || key.contains(u"секци") || StartsWithAny(key, {u"dep"}))
        return Department;
    if (key.contains(u"цена") || key == u"price")
        return Price;
    if (StartsWithAny(key, {u"код", u"номер", u"№", u"code", u"plu"}) || key == u"id")
        return Code;
    if (StartsWithAny(key, {u"наимен", u"назван", u"товар", u"name"}))
        return Name;
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

// The field's text without the blanks around it, into text, whose buffer is reused: a field
// of ASCII characters, what numbers are, costs no allocation.
void FieldText(const TCsvSource &source, QByteArrayView field, QString &text)
{
    while (!field.isEmpty() && IsAsciiBlank(field.front()))
        field = field.sliced(1);
    while (!field.isEmpty() && IsAsciiBlank(field.back()))
        field.chop(1);
    for (const char c : field) {
        if (uchar(c) >= 0x80) {
            text = source.Decode(field).trimmed();
            return;
        }
    }
    text.resize(field.size());
    QChar *out = text.data();
    for (qsizetype i = 0; i < field.size(); ++i)
        out[i] = QLatin1Char(field[i]);
}

// A price of digits and at most one point, whose kopecks the register takes.
bool KopecksWithin(QStringView price, qsizetype point)
{
    qint64 kopecks = 0;
    for (qsizetype i = 0; i < (point < 0 ? price.size() : point); ++i)
        kopecks = kopecks * 10 + price[i].unicode() - u'0';
    for (qsizetype i = point + 1; i < point + 3; ++i)
        kopecks = kopecks * 10 + (point >= 0 && i < price.size() ? price[i].unicode() - u'0' : 0);
    return kopecks <= kMaxKopecks;
}

// The price as the grid holds it into price: blanks (thousands) dropped, a comma taken as the
// point. The reason when it is no price, else an empty text.
QString PriceText(const QString &field, QString &price)
{
    price.resize(field.size());
    qsizetype size = 0;
    for (QChar c : field)
        if (!c.isSpace())
            price.data()[size++] = c == u',' ? QChar(u'.') : c;
    price.truncate(size);
    if (price.isEmpty())
        return {};
    const qsizetype point = price.indexOf(u'.');
    bool number = price.size() > (point >= 0 ? 1 : 0); // a second point fails the digits
    for (qsizetype i = 0; i < price.size() && number; ++i)
        number = i == point || IsAsciiDigit(price[i]);
    if (!number)
        return QStringLiteral("цена должна быть числом");
    if (!PriceTextAcceptable(price))
        return QStringLiteral("в цене больше двух знаков после запятой");
    if (price.size() > kPriceMaxLength || !KopecksWithin(price, point))
        return QStringLiteral("цена больше 21474836.47");
    return {};
}

std::optional<QString> FontText(const QString &field)
{
    // The export's own texts first: no key to make.
    if (field.isEmpty() || field == GridTexts::kNarrowFont || field == u"0")
        return GridTexts::kNarrowFont;
    if (field == GridTexts::kWideFont || field == u"1")
        return GridTexts::kWideFont;
    const QString key = CaptionKey(field);
    if (key.isEmpty() || key == u"узкий" || key == u"0")
        return GridTexts::kNarrowFont;
    if (key == u"широкий" || key == u"1")
        return GridTexts::kWideFont;
    return std::nullopt;
}

// The item number the line names, once in the file.
void ReadItem(const QString &text, QVector<int> &firstLineOf, TGoodsCsvLine &line)
{
    if (text.isEmpty())
        return;
    const std::optional<int> item = SmallNumber(text, kGoodsItemCount);
    if (!item || *item < 1) {
        line.reasons.append(QStringLiteral("код товара должен быть числом от 1 до 6000"));
    } else if (firstLineOf[*item] > 0) {
        line.reasons.append(
            QStringLiteral("код товара %1 уже был в строке %2").arg(*item).arg(firstLineOf[*item]));
    } else {
        firstLineOf[*item] = line.line;
        line.item = *item;
    }
}

void ReadDepartment(TGoodsCsvLine &line)
{
    QString &text = line.values[Department];
    if (text.isEmpty())
        return;
    const std::optional<int> department = SmallNumber(text, kMaxDepartment);
    if (!department)
        line.reasons.append(QStringLiteral("отдел должен быть числом от 0 до 99"));
    else if (text.size() > 2)
        text = QString::number(*department);
}

} // namespace

TGoodsCsvColumns ExportGoodsCsvColumns()
{
    return {Code, Name, Font, Barcode, Price, Department};
}

// A header names at least one column and holds no number.
std::optional<TGoodsCsvColumns> GoodsCsvHeader(const QStringList &fields)
{
    TGoodsCsvColumns columns;
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
    return named ? std::optional<TGoodsCsvColumns>(columns) : std::nullopt;
}

bool IsBlankCsvRecord(const TCsvReader &reader, const TCsvSource &source)
{
    if (reader.Broken())
        return false;
    for (int i = 0; i < reader.FieldCount(); ++i)
        if (!source.IsBlank(reader.Field(i)))
            return false;
    return true;
}

QStringList CsvRecordFields(const TCsvReader &reader, const TCsvSource &source)
{
    QStringList fields;
    for (int i = 0; i < reader.FieldCount(); ++i)
        fields.append(source.Decode(reader.Field(i)));
    return fields;
}

void ReadGoodsCsvLine(const TCsvReader &reader, const TCsvSource &source,
                      const TGoodsCsvColumns &columns, QVector<int> &firstLineOf,
                      TGoodsCsvLine &line)
{
    line.line = reader.Line();
    line.item = 0;
    line.reasons.clear();
    line.present.fill(false);
    if (reader.Broken()) {
        line.reasons.append(QStringLiteral("не закрыта кавычка"));
        return;
    }
    for (int role = 0; role < Count; ++role)
        line.present[role] = columns[role] >= 0;
    const auto field = [&](int role) { return reader.Field(columns[role]); };
    if (line.present[Code]) {
        FieldText(source, field(Code), line.values[Code]);
        ReadItem(line.values[Code], firstLineOf, line);
    }
    if (line.present[Font]) {
        FieldText(source, field(Font), line.spare);
        if (const std::optional<QString> font = FontText(line.spare))
            line.values[Font] = *font;
        else
            line.reasons.append(QStringLiteral("тип шрифта должен быть «Узкий» или «Широкий»"));
    }
    if (line.present[Barcode]) {
        QString &barcode = line.values[Barcode];
        FieldText(source, field(Barcode), barcode);
        if (!barcode.isEmpty() && (!AllDigits(barcode) || barcode.size() > kBarcodeDigits))
            line.reasons.append(QStringLiteral("штрих-код должен состоять из 1–13 цифр"));
    }
    if (line.present[Price]) {
        FieldText(source, field(Price), line.spare);
        if (const QString reason = PriceText(line.spare, line.values[Price]); !reason.isEmpty())
            line.reasons.append(reason);
    }
    if (line.present[Department]) {
        FieldText(source, field(Department), line.values[Department]);
        ReadDepartment(line);
    }
}

void ReadGoodsCsvName(const TCsvReader &reader, const TCsvSource &source,
                      const TGoodsCsvColumns &columns, TGoodsCsvLine &line)
{
    if (columns[Name] >= 0)
        FieldText(source, reader.Field(columns[Name]), line.values[Name]);
}

QString GoodsCsvName(const QString &field, const QString &font, bool *shortened)
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
