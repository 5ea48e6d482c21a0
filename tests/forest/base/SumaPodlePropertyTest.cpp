// Tests of the summing recursor over a subtree.
#include "forest/base/SumaPodleProperty.h"
#include "forest/support/ForestTestSupport.h"
#include "platform/Exceptions.h"

namespace {

using foresttest::TTestMN;
using foresttest::TTestPrvek;

class SumaPodleProperty : public foresttest::ForestFixture
{
};

TEST_F(SumaPodleProperty, SumsSpeciesOfAStorey)
{
    Owned<TTestPrvek> storey = Create<TTestPrvek>();
    storey->zast = 0;
    TTestMN* species = storey->AddNew<TTestMN>();
    species->NovyPrvek("SM");
    dynamic_cast<TTestPrvek*>(species->AktualniPrvek())->zast = 60;
    species->NovyPrvek("BK");
    dynamic_cast<TTestPrvek*>(species->AktualniPrvek())->zast = 40;

    Owned<TSumaPodleProperty> sum = Create<TSumaPodleProperty>();
    sum->SetPropertaStr("zast");
    sum->SetInput(storey.get());
    sum->Execute();
    EXPECT_DOUBLE_EQ(sum->Suma(), 100.0);
    sum->Execute();   // never reset
    EXPECT_DOUBLE_EQ(sum->Suma(), 200.0);
}

TEST_F(SumaPodleProperty, TextThatIsNoNumberRaises)
{
    Owned<TTestPrvek> item = Create<TTestPrvek>();
    item->popis = "1.5";   // the global separator is ","
    Owned<TSumaPodleProperty> sum = Create<TSumaPodleProperty>();
    sum->SetPropertaStr("POPIS");
    sum->SetInput(item.get());
    EXPECT_THROW(sum->Execute(), EConvertError);
}

} // namespace
