// Bases of the hierarchy levels with areas: the cadastral table, composite and areal elements.
#include "forest/hierarchy/AreaElements.h"

#include "forest/codebooks/CiselLumex.h"
#include "platform/ui/Services.h"

using namespace forest;

namespace {
constexpr int MaxKlasifikator = 30;
}

// --- TRadekPole --------------------------------------------------------------------------------

TClass TRadekPole::StaticClass()
{
    static const TClassInfo info = describeClass<TRadekPole, TElement>("TRadekPole", [](PropertyTable<TRadekPole>& t) {
        t.string("Klasifikator", &TRadekPole::Klasifikator, &TRadekPole::SetKlasifikator)
            .floating("ProPlocha", "Double", &TRadekPole::ProPlocha, &TRadekPole::SetProPlocha)
            .integer("Soucet", &TRadekPole::Soucet, &TRadekPole::SetSoucet);
    });
    return &info;
}

void TRadekPole::SetKlasifikator(const QString& text)
{
    if (text.size() > MaxKlasifikator) {
        ui::services().showMessage(QStringLiteral("Pozor uřezávám Klasifikátor"));
        m_klasifikator = text.left(MaxKlasifikator);
        return;
    }
    m_klasifikator = text;
}

// --- TFPole ------------------------------------------------------------------------------------

TClass TFPole::StaticClass()
{
    static const TClassInfo info = describeClass<TFPole, TOwnerEntity>("TFPole");
    return &info;
}

void TFPole::AfterConstruction()
{
    TOwnerEntity::AfterConstruction();
    for (int i = 0; i < InitialRows; ++i)
        AddNew<TRadekPole>();
}

TRadekPole* TFPole::Row(int index)
{
    while (Count() < index)
        AddNew<TRadekPole>();
    return index >= 1 ? static_cast<TRadekPole*>(Items(index - 1)) : nullptr;
}

// --- TLesniSlozenyPrvek --------------------------------------------------------------------------

TClass TLesniSlozenyPrvek::StaticClass()
{
    static const TClassInfo info = describeClass<TLesniSlozenyPrvek, TLesniPrvek>("TLesniSlozenyPrvek");
    return &info;
}

TFPole* TLesniSlozenyPrvek::CadastralTable()
{
    return ensureChildSet(this, m_cadastralTable);
}

void TLesniSlozenyPrvek::AddCadastralArea(const QString& territory, double area)
{
    TFPole* table = CadastralTable();
    for (int row = 1; row <= m_rowsInUse; ++row) {
        TRadekPole* line = table->Row(row);
        if (line->Klasifikator() == territory) {
            line->SetProPlocha(line->ProPlocha() + area);
            return;
        }
    }
    TRadekPole* line = table->Row(++m_rowsInUse);
    line->SetKlasifikator(territory);
    line->SetProPlocha(area);
}

// --- TLesniPlosnyPrvek ---------------------------------------------------------------------------

TClass TLesniPlosnyPrvek::StaticClass()
{
    using P = TLesniPlosnyPrvek;
    static const TClassInfo info = describeClass<P, TLesniPrvek>("TLesniPlosnyPrvek", [](PropertyTable<P>& t) {
        t.floating("Plocha0", "Double", fieldGet(&P::m_plocha0), fieldSet(&P::m_plocha0))
            .floating("Vymera", "Double", fieldGet(&P::m_vymera), fieldSet(&P::m_vymera))
            .floating("Plocha", "Double", &P::Plocha, &P::SetPlocha)
            .floating("PlochaDleP0110", "Double", fieldGet(&P::m_plochaDleP0110), fieldSet(&P::m_plochaDleP0110))
            .floating("VymeraDleP0110", "Double", fieldGet(&P::m_vymeraDleP0110), fieldSet(&P::m_vymeraDleP0110))
            .integer("KVAL_P", fieldGet(&P::m_kvalP), fieldSet(&P::m_kvalP))
            .integer("POT_VLAST", fieldGet(&P::m_potVlast), fieldSet(&P::m_potVlast))
            .integer("KAT_PAR_KOD", fieldGet(&P::m_potVlast), fieldSet(&P::m_potVlast))
            .string("SKUPPARC", fieldGet(&P::m_skupParc), fieldSet(&P::m_skupParc))
            .integer("LES_URAD", fieldGet(&P::m_lesUrad), fieldSet(&P::m_lesUrad))
            .integer("KU_KOD", fieldGet(&P::m_kuKod), fieldSet(&P::m_kuKod))
            .boolean("PouzivatPlochuJakoVymeru", fieldGet(&P::m_pouzivatPlochuJakoVymeru),
                     fieldSet(&P::m_pouzivatPlochuJakoVymeru))
            .integer("LES_URAD_Z_KU_KOD", nullptr, &P::SetLES_URAD_Z_KU_KOD, false)
            .string("NazevKatastru", &P::NazevKatastru, nullptr, false)
            .string("KU_NAZ", &P::NazevKatastru, nullptr, false)
            .string("LES_URAD_Nazev", &P::LES_URAD_Nazev, nullptr, false)
            .string("KVAL_P_nazev", &P::KVAL_P_nazev, nullptr, false);
    });
    return &info;
}

void TLesniPlosnyPrvek::ApplyAreaQuality(qint32 quality)
{
    m_kvalP = quality;
    m_plocha = quality >= 2 ? m_plocha0 : m_vymera;
}

QString TLesniPlosnyPrvek::NazevKatastru()
{
    TCiselLumex* root = codebookRoot(this);
    if (!root)
        return {};
    const QString code = QString::number(m_kuKod);
    TEntity* territories = root->KatastryMN();
    if (hasItems(territories))
        return itemValueByKey(territories, QStringLiteral("Kod"), code, QStringLiteral("Popis"));
    return codebookName(this, QStringLiteral("tb_Katastry"), code);
}

QString TLesniPlosnyPrvek::LES_URAD_Nazev()
{
    return codebookName(this, QStringLiteral("tb_LDU"), QString::number(m_lesUrad));
}

QString TLesniPlosnyPrvek::KVAL_P_nazev()
{
    return codebookName(this, QStringLiteral("tb_Kval_P"), QString::number(m_kvalP));
}
