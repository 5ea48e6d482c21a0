// The codebook root of a forest unit and the registration of the codebook sets.
#include "forest/codebooks/CiselLumex.h"

#include "framework/core/ClassRegistry.h"

namespace {

struct DecisionType {
    const char* key;
    const char* kod;
    const char* popis;
};

const DecisionType decisionTypes[] = {
    {"1-odneti", "1", "1 - rozhodnuti o odnětí nebo omezení pozemků určených k plnění funkcí lesa"},
    {"2-Mlad80Let", "2", "2 - rozhodnutí o výjimce ze zákazu mýtní těžby v porostech mladších 80 let"},
    {"3-uznPorost", "3", "3 - rozhodnutí o uznání výběrových stromů a lesních porostů"},
    {"4-VelikSec", "4", "4 - povolení výjimky ze stanovené velikosti nebo šířky holé seče"},
    {"5-Zalesneni", "5", "5 - povolení výjimky ze zákonné lhůty pro zalesnění kultur"},
    {"6-Zajisteni", "6", "6 - povolení výjimky ze zákonné lhůty pro zajištění kultur"},
    {"7-Poznamka", "7", "7 - Poznámka"},
};

} // namespace

TClass TCiselLumex::StaticClass()
{
    static const TClassInfo info = describeClass<TCiselLumex, TObecnyLesniPrvek>("TCiselLumex");
    return &info;
}

void TCiselLumex::AfterConstruction()
{
    TObecnyLesniPrvek::AfterConstruction();
    m_cisHs = AddNew<TCisHsMN>();
    m_orgUroven1 = AddNew<TKodPopisMN>();
    m_orgUroven2 = AddNew<TKodPopisMN>();
    m_olh = AddNew<TOLHMN>();
    m_katastry = AddNew<TKodPopisMN>();
    m_majetky = AddNew<TmajetkyMN>();
    TKodPopisMN* decisions = AddNew<TKodPopisMN>();
    m_typyRozhodnuti = decisions;
    for (const DecisionType& d : decisionTypes) {
        decisions->NovyPrvek(QString::fromUtf8(d.key));
        if (auto* item = dynamic_cast<TKodPopis*>(decisions->AktualniPrvek())) {
            item->Kod = QString::fromUtf8(d.kod);
            item->Popis = QString::fromUtf8(d.popis);
        }
    }
}

void RegisterLesCisOrUnit()
{
    RegisterUnitClasses({Tmajetky::StaticClass(), TmajetkyMN::StaticClass(), TMajPoPorostech::StaticClass(),
                         TMajPoPorostechMN::StaticClass(), TTransforDleMajiteleMN::StaticClass(),
                         TTransforDleMajitele::StaticClass()});
}
