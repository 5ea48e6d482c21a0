// Tests of path queries: searches, object steps, ELEMENT lists and error positions.
#include "ElementsTestSupport.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

using namespace lumextest;

namespace {

class PathsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerTestClasses();
        root = Create<TOwnerEntity>();
        smrk = root->AddNew<TPropProbe>();
        smrk->SetName(QStringLiteral("Smrk"));
        smrk->plocha = 2.5;
        buk = root->AddNew<TPropProbe>();
        buk->SetName(QStringLiteral("Buk"));
        buk->odkaz = smrk;
        dub = root->AddNew<TOwnerElement>();
        dub->SetName(QStringLiteral("Dub"));
    }

    // The message of the error the query raises; empty when it raises none.
    template<class F>
    static QString errorOf(F query)
    {
        try {
            query();
        } catch (const Exception& e) {
            return e.message();
        }
        return {};
    }

    Owned<TOwnerEntity> root;
    TPropProbe* smrk = nullptr;
    TPropProbe* buk = nullptr;
    TOwnerElement* dub = nullptr;
};

TEST_F(PathsTest, ValueThroughASearchIgnoresCase)
{
    EXPECT_EQ(root->GetValueByPath(QStringLiteral("findelementbyname(smrk).Plocha")), QStringLiteral("2,5"));
    EXPECT_EQ(root->GetValueByPath(QStringLiteral("FindElementByName( SMRK ).plocha")), QStringLiteral("2,5"));
}

TEST_F(PathsTest, ValueThroughAnObjectProperty)
{
    EXPECT_EQ(root->GetValueByPath(QStringLiteral("FINDELEMENTBYNAME(Buk).Odkaz.Name")), QStringLiteral("Smrk"));
    EXPECT_EQ(root->GetValueByPath(QStringLiteral("Count")), QStringLiteral("3"));
}

TEST_F(PathsTest, SearchByRegisteredClass)
{
    EXPECT_EQ(root->GetValueByPath(QStringLiteral("FINDELEMENTBYCLASS(TPropProbe).Name")), QStringLiteral("Smrk"));
    EXPECT_EQ(errorOf([&] { root->GetValueByPath(QStringLiteral("FINDELEMENTBYCLASS(TNeni).Name")); }),
              QStringLiteral("Lumex nenašel třídu TNeni"));
}

TEST_F(PathsTest, PathEndingInASearch)
{
    EXPECT_EQ(root->GetElementByPath(QStringLiteral("findelementbyname(Dub)")), dub);
    EXPECT_EQ(errorOf([&] { root->GetValueByPath(QStringLiteral("findelementbyname(Dub)")); }),
              QStringLiteral("Chyba syntaxe. .. na pozici 22 očekávám \".\""));
}

TEST_F(PathsTest, ElementPathEndingInAProperty)
{
    EXPECT_EQ(root->GetElementByPath(QStringLiteral("findelementbyname(Buk).Odkaz")), smrk);
    EXPECT_EQ(root->GetElementByPath(QStringLiteral("findelementbyname(Buk).Plocha")), nullptr);
}

TEST_F(PathsTest, MissingClosingParenthesis)
{
    EXPECT_EQ(errorOf([&] { root->GetValueByPath(QStringLiteral("findelementbyname(Smrk.Plocha")); }),
              QStringLiteral("Chyba syntaxe. .. na pozici 23 očekávám \")\""));
    EXPECT_EQ(errorOf([&] { root->GetValueByPath(QStringLiteral("findelementbyname(Smrk")); }),
              QStringLiteral("Chyba syntaxe. .. na pozici 23 očekávám \")\""));
}

TEST_F(PathsTest, SearchOnAnElementThatIsNoEntity)
{
    EXPECT_EQ(errorOf([&] { root->GetValueByPath(QStringLiteral("findelementbyname(Dub).findelementbyname(x).Name")); }),
              QStringLiteral("Objekt na pozici 40 není Entita ... nelze prohledávat"));
}

TEST_F(PathsTest, SearchForAMissingNameFailsAtTheNextStep)
{
    EXPECT_EQ(errorOf([&] { root->GetValueByPath(QStringLiteral("findelementbyname(Jedle).Plocha")); }),
              QStringLiteral("Chyba ... nenalezl jsem objekt Jedle"));
    EXPECT_EQ(root->GetElementByPath(QStringLiteral("findelementbyname(Jedle)")), nullptr);
}

TEST_F(PathsTest, UnknownSearchWordGivesNil)
{
    EXPECT_EQ(errorOf([&] { root->GetValueByPath(QStringLiteral("najdi(Smrk).Plocha")); }),
              QStringLiteral("Chyba ... nenalezl jsem objekt Smrk"));
}

TEST_F(PathsTest, NilObjectPropertyFailsAtTheNextStep)
{
    EXPECT_EQ(errorOf([&] { root->GetValueByPath(QStringLiteral("findelementbyname(Smrk).Odkaz.Name")); }),
              QStringLiteral("Chyba ... nenalezl jsem objekt Smrk"));
}

TEST_F(PathsTest, ElementListsOneLinePerChild)
{
    EXPECT_EQ(root->FillListByPath(QStringLiteral("ELEMENT.Name")),
              (QStringList{QStringLiteral("Smrk"), QStringLiteral("Buk"), QStringLiteral("Dub")}));
    EXPECT_EQ(root->FillListByPath(QStringLiteral("element.Plocha")),
              (QStringList{QStringLiteral("2,5"), QStringLiteral("0"), QString()}));
    EXPECT_EQ(root->FillListByPath(QStringLiteral("findelementbyname(smrk).Plocha")), QStringList{QStringLiteral("2,5")});
}

TEST_F(PathsTest, ElementListErrors)
{
    EXPECT_EQ(errorOf([&] { root->FillListByPath(QStringLiteral("ELEMENT.Name.X")); }),
              QStringLiteral("Chybné zakončení příkazu: ."));
    EXPECT_EQ(errorOf([&] { root->FillListByPath(QStringLiteral("findelementbyname(Dub).ELEMENT.Name")); }),
              QStringLiteral("Poslední objekt není Entita - nelze vytvořit seznam !"));
}

TEST_F(PathsTest, StrayClosingParenthesisIsIgnored)
{
    EXPECT_EQ(root->GetValueByPath(QStringLiteral(")Count")), QStringLiteral("3"));
}

} // namespace
