#include "configfile.h"

#include "config.h"
#include "configkeys.h"
#include "filefailure.h"
#include "inidocument.h"

#include <vector>

namespace
{

using namespace ConfigKeys;

// One key of a section and the record field it carries.
template <typename R> struct TKeyField {
    QString key;
    QString R::*field;
    bool font; // a missing font key reads as "Узкий"
};

template <typename R> using TKeyList = std::vector<TKeyField<R>>;

const TKeyList<TConfig_Oper> &OperFields()
{
    static const TKeyList<TConfig_Oper> fields = {
        {kPositionFont, &TConfig_Oper::PositionFont, true},
        {kSurname1, &TConfig_Oper::Surname1, false},
        {kSurname1Font, &TConfig_Oper::Surname1Font, true},
        {kSurname2, &TConfig_Oper::Surname2, false},
        {kSurname2Font, &TConfig_Oper::Surname2Font, true},
        {kPassword, &TConfig_Oper::Password, false},
        {kInn, &TConfig_Oper::Inn, false},
    };
    return fields;
}

const TKeyList<TConfig_PredmRasch> &GoodsFields()
{
    static const TKeyList<TConfig_PredmRasch> fields = {
        {kGoodsName, &TConfig_PredmRasch::Name, false},
        {kGoodsFont, &TConfig_PredmRasch::Font, true},
        {kGoodsBarcode, &TConfig_PredmRasch::Barcode, false},
        {kGoodsPrice, &TConfig_PredmRasch::Price, false},
        {kGoodsDepartment, &TConfig_PredmRasch::Department, false},
    };
    return fields;
}

const TKeyList<TConfig_RpiznPredmRasch> &GroupFields()
{
    static const TKeyList<TConfig_RpiznPredmRasch> fields = {
        {kGroupName, &TConfig_RpiznPredmRasch::Name, false},
        {kGroupNameFont, &TConfig_RpiznPredmRasch::NameFont, true},
        {kGroupItemSign, &TConfig_RpiznPredmRasch::ItemSign, false},
        {kGroupTaxNumber, &TConfig_RpiznPredmRasch::TaxNumber, false},
    };
    return fields;
}

const TKeyList<TConfig_Klishe> &ClicheFields()
{
    static const TKeyList<TConfig_Klishe> fields = {
        {kClicheText, &TConfig_Klishe::Text, false},
        {kClicheFont, &TConfig_Klishe::Font, true},
    };
    return fields;
}

QString DefaultOf(bool font)
{
    return font ? kConfigDefaultFont : QString();
}

template <typename R>
void WriteFields(TIniDocument &doc, const QString &section, const R &record,
                 const TKeyList<R> &fields)
{
    for (const TKeyField<R> &f : fields)
        doc.SetValue(section, f.key, record.*(f.field));
}

template <typename R>
void ReadFields(const TIniDocument &doc, const QString &section, R &record,
                const TKeyList<R> &fields)
{
    for (const TKeyField<R> &f : fields)
        record.*(f.field) = doc.Value(section, f.key, DefaultOf(f.font));
}

} // namespace

void ConfigToIni(const TConfig &config, TIniDocument &doc)
{
    for (int i = 0; i < kConfigGsmCount; ++i) {
        const QString key = GsmKeyName(i);
        if (!key.isEmpty())
            doc.SetValue(kGsmSection, key, config.Gsm.Values[i]);
    }
    const TConfig_Z48 &t = config.Tables;
    for (int n = 0; n < kConfigOperCount; ++n) {
        doc.SetValue(OperTitleSection(n), kPosition, t.Oper[n].Position);
        WriteFields(doc, OperSection(n), t.Oper[n], OperFields());
    }
    for (int n = 0; n < kConfigGoodsCount; ++n)
        WriteFields(doc, GoodsSection(n), t.PredmRasch[n], GoodsFields());
    for (int n = 0; n < kConfigGroupCount; ++n)
        WriteFields(doc, GroupSection(n), t.RpiznPredmRasch[n], GroupFields());
    for (int n = 0; n < kConfigClicheCount; ++n)
        WriteFields(doc, ClicheSection(n), t.Klishe[n], ClicheFields());
    for (int n = 0; n < kConfigAgentCount; ++n) {
        const QString valueKey = AgentValueKeyName(n);
        if (!valueKey.isEmpty())
            doc.SetValue(kAgentSection, valueKey, t.Agent[n].Value);
        const QString fontKey = AgentFontKeyName(n);
        if (!fontKey.isEmpty())
            doc.SetValue(kAgentSection, fontKey, t.Agent[n].Font);
    }
}

void ConfigFromIni(const TIniDocument &doc, TConfig &config)
{
    for (int i = 0; i < kConfigGsmCount; ++i) {
        const QString key = GsmKeyName(i);
        if (!key.isEmpty())
            config.Gsm.Values[i] = doc.Value(kGsmSection, key);
    }
    TConfig_Z48 &t = config.Tables;
    for (int n = 0; n < kConfigOperCount; ++n) {
        t.Oper[n].Position = doc.Value(OperTitleSection(n), kPosition);
        ReadFields(doc, OperSection(n), t.Oper[n], OperFields());
    }
    for (int n = 0; n < kConfigGoodsCount; ++n)
        ReadFields(doc, GoodsSection(n), t.PredmRasch[n], GoodsFields());
    for (int n = 0; n < kConfigGroupCount; ++n)
        ReadFields(doc, GroupSection(n), t.RpiznPredmRasch[n], GroupFields());
    for (int n = 0; n < kConfigClicheCount; ++n)
        ReadFields(doc, ClicheSection(n), t.Klishe[n], ClicheFields());
    for (int n = 0; n < kConfigAgentCount; ++n) {
        const QString valueKey = AgentValueKeyName(n);
        if (!valueKey.isEmpty())
            t.Agent[n].Value = doc.Value(kAgentSection, valueKey);
        const QString fontKey = AgentFontKeyName(n);
        if (!fontKey.isEmpty())
            t.Agent[n].Font = doc.Value(kAgentSection, fontKey, kConfigDefaultFont);
    }
}

bool WriteConfigFile(const QString &path, const TConfig &config, QString *errorText)
{
    // Whatever the file already holds stays: other sections and keys keep their places.
    TIniDocument doc;
    if (!doc.Load(path, errorText))
        return false;
    ConfigToIni(config, doc);
    return doc.Save(path, errorText);
}

bool ReadConfigDocument(const QString &path, TIniDocument &doc, QString *errorText)
{
    // A name that leads nowhere is no configuration to load, though a save may create it.
    QString reason;
    if (InspectFile(path, &reason) == TFileKind::LinkToNothing) {
        if (errorText)
            *errorText = reason;
        return false;
    }
    return doc.Load(path, errorText);
}

bool HoldsConfigTable(const TIniDocument &doc, TTableTab tab)
{
    auto any = [&doc](int count, QString (*section)(int)) {
        for (int n = 0; n < count; ++n)
            if (doc.HasSection(section(n)))
                return true;
        return false;
    };
    switch (tab) {
    case TTableTab::Operators:
        return any(kConfigOperCount, OperTitleSection) || any(kConfigOperCount, OperSection);
    case TTableTab::Goods:
        return any(kConfigGoodsCount, GoodsSection);
    case TTableTab::Groups:
        return any(kConfigGroupCount, GroupSection);
    case TTableTab::Cliche:
        return any(kConfigClicheCount, ClicheSection);
    case TTableTab::Agents:
        return doc.HasSection(kAgentSection);
    }
    return false;
}

bool HoldsConfigGsm(const TIniDocument &doc)
{
    return doc.HasSection(kGsmSection);
}

bool HoldsConfig(const TIniDocument &doc)
{
    for (int t = 0; t < kTableTabCount; ++t)
        if (HoldsConfigTable(doc, TTableTab(t)))
            return true;
    return HoldsConfigGsm(doc);
}

bool ReadConfigFile(const QString &path, TConfig &config, QString *errorText)
{
    TIniDocument doc;
    if (!ReadConfigDocument(path, doc, errorText))
        return false;
    ConfigFromIni(doc, config);
    return true;
}
