// The published property tables of the hierarchy classes against the golden list, and a fuzz
// run that writes hostile texts into every writable property and reads every property back.
#include "HierarchyTestSupport.h"

#include "forest/hierarchy/Kategorie.h"
#include "forest/hierarchy/NonStockedLand.h"
#include "forest/hierarchy/Poskozeni.h"
#include "forest/hierarchy/Zalesneni.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>

using namespace hierarchytest;

namespace {

const std::vector<TClass>& hierarchyClasses()
{
    static const std::vector<TClass> classes = {
        TLesniPrvek::StaticClass(),        TRadekPole::StaticClass(),          TFPole::StaticClass(),
        TLesniSlozenyPrvek::StaticClass(), TLesniPlosnyPrvek::StaticClass(),   TLHC::StaticClass(),
        TOddeleni::StaticClass(),          TOddeleniMN::StaticClass(),         TDilec::StaticClass(),
        TDilecMN::StaticClass(),           TPorost::StaticClass(),             TPorostMN::StaticClass(),
        TPorostniSkupina::StaticClass(),   TPorostniSkupinaMN::StaticClass(),  TEtaz::StaticClass(),
        TEtazMN::StaticClass(),            TDrevina::StaticClass(),            TDrevinaMN::StaticClass(),
        TPoskozeni::StaticClass(),         TPoskozeniMN::StaticClass(),        TZalesneni::StaticClass(),
        TZalesneniMN::StaticClass(),       TLesniPlosnyNeporostniPrvek::StaticClass(), TBezlesi::StaticClass(),
        TBezlesiMN::StaticClass(),         TJinyPozemek::StaticClass(),        TJinyPozemekMN::StaticClass(),
        TOstatni::StaticClass(),           TOstatniMN::StaticClass(),          TKategorie::StaticClass(),
        TKategorieMN::StaticClass(),       TOrg_Uroven::StaticClass(),         TOrg_UrovenMN::StaticClass(),
    };
    return classes;
}

QString describe(const TPropInfo& p)
{
    const QString access = QString(p.HasRead() ? "r" : "") + (p.HasWrite() ? "w" : "");
    const bool stored = !p.HasStoredTest() && p.StoredConst;
    QString line = p.Name + ' ' + typeKindNames().value(p.Kind) + ' ' + p.TypeName() + ' ' + access + ' '
                   + (stored ? "stored" : "-");
    if (p.Kind == tkEnumeration && p.TypeName() != "Boolean")
        line += ' ' + p.EnumNames.join(',');
    return line;
}

QString dumpTables()
{
    QStringList lines;
    for (TClass cls : hierarchyClasses()) {
        lines.append('[' + cls->ClassName() + " : " + cls->ClassParent()->ClassName() + ']');
        for (const auto& prop : cls->OwnProps())
            lines.append(describe(*prop));
    }
    return lines.join('\n') + '\n';
}

} // namespace

using PropertyTablesTest = HierarchyFixture;

// The golden file is written by hand from the lists of the published properties;
// GENKLAS_REGENERATE_GOLDEN=1 rewrites it from the classes.
TEST_F(PropertyTablesTest, MatchTheGoldenList)
{
    const QString path = QStringLiteral(GENKLAS_GOLDEN_DIR "/forest/hierarchy-properties.txt");
    const QString actual = dumpTables();
    if (qEnvironmentVariableIsSet("GENKLAS_REGENERATE_GOLDEN")) {
        QDir().mkpath(QStringLiteral(GENKLAS_GOLDEN_DIR "/forest"));
        QFile out(path);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(actual.toUtf8());
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList expected = QString::fromUtf8(file.readAll()).split('\n');
    const QStringList got = actual.split('\n');
    for (int i = 0; i < std::min(expected.size(), got.size()); ++i)
        ASSERT_EQ(got[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
    EXPECT_EQ(got.size(), expected.size());
}

TEST_F(PropertyTablesTest, EveryClassIsRegisteredAndFoundByName)
{
    for (TClass cls : hierarchyClasses())
        EXPECT_EQ(FindLumexClass(cls->ClassName().toLower()), cls) << cls->ClassName().toStdString();
    Owned<TElement> created = CreateElementByName("Drevina");
    EXPECT_NE(dynamic_cast<TDrevina*>(created.get()), nullptr);
}

TEST_F(PropertyTablesTest, HostileTextsInEveryPropertyNeitherCrashNorLeak)
{
    header->AktualniDrevinaVzdy()->PoskozeniMN()->NovyPrvek("1");
    header->AktualniEtazVzdy()->ZalesneniMN()->NovyPrvek("SM");
    header->AktualniBezlesiVzdy();
    header->AktualniJinyPozemekVzdy();
    header->AktualniPorostVzdy()->OstatniMN()->NovyPrvek("1");
    TPorost* porost = header->AktualniPorostVzdy();
    TJinyPozemek::KategorieMN(porost)->SetNovaKategorieVcetnePrekryvu("10a");
    TJinyPozemek::Org_UrovenMN(porost)->NovyPrvek("1");
    std::vector<TElement*> elements = {header.get(),
                                       header->AktualniOddeleniVzdy(),
                                       header->AktualniDilecVzdy(),
                                       porost,
                                       header->AktualniPorostniSkupinaVzdy(),
                                       header->AktualniEtazVzdy(),
                                       header->AktualniDrevinaVzdy(),
                                       header->AktualniDrevinaVzdy()->Poskozeni(),
                                       header->AktualniEtazVzdy()->ZalesneniMN(),
                                       header->AktualniEtazVzdy()->Zalesneni(),
                                       header->AktualniBezlesiVzdy(),
                                       header->AktualniJinyPozemekVzdy(),
                                       porost->Ostatni(),
                                       TJinyPozemek::KategorieMN(porost),
                                       TJinyPozemek::Org_UrovenMN(porost)->Org_Uroven()};
    const QStringList seeds = {"0", "1", "-1", "12", "2147483647", "-2147483648", "1a/2", "0 / 1", "XXX", "3,5",
                               "1e300", "", " ", "/", "\\", "@$&", "Ř", "99999999999", "nan", "V"};
    QRandomGenerator rng(20261207);
    for (int round = 0; round < 3000; ++round) {
        TElement* element = elements[rng.bounded(static_cast<int>(elements.size()))];
        const auto& props = element->ClassType()->Props();
        const TPropInfo& prop = *props[rng.bounded(static_cast<int>(props.size()))];
        QString text = seeds[rng.bounded(seeds.size())];
        switch (rng.bounded(4)) {
        case 0:
            text.insert(rng.bounded(text.size() + 1), QChar(rng.bounded(32, 0x17F)));
            break;
        case 1:
            text.truncate(rng.bounded(text.size() + 1));
            break;
        case 2:
            text = text.repeated(1 + rng.bounded(40));
            break;
        default:
            break;
        }
        try {
            if (prop.HasWrite() && prop.Kind != tkClass)
                element->SetPropAsString(prop.Name, text);
            if (round % 10 == 0)
                for (const PPropInfo p : props)
                    if (p->HasRead())
                        element->GetPropAsString(p->Name);
        } catch (const Exception&) {
            // Overflow and range errors of the arithmetic are raised to the reader, as specified.
        }
    }
    EXPECT_NE(header->AktualniDrevinaVzdy(), nullptr);
}
