// Tests of path queries: searches, object steps, ELEMENT lists and error positions.
#include "framework/support/ElementsTestSupport.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

using namespace lumextest;

namespace {

class PathsTest : public ElementsFixture
{
protected:
    void SetUp() override
    {
        ElementsFixture::SetUp();
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

// A value path and what it gives: its value, or the message of the error it raises.
struct ValueCase {
    const char* name;
    const char* path;
    const char* value;
    const char* error;
};

class ValuePath : public PathsTest, public ::testing::WithParamInterface<ValueCase>
{
};

TEST_P(ValuePath, GivesValueOrError)
{
    const ValueCase& c = GetParam();
    QString value;
    const QString error = errorOf([&] { value = root->GetValueByPath(QString::fromUtf8(c.path)); });
    EXPECT_EQ(error, QString::fromUtf8(c.error));
    EXPECT_EQ(value, QString::fromUtf8(c.value));
}

INSTANTIATE_TEST_SUITE_P(
    Queries, ValuePath,
    ::testing::Values(
        ValueCase{"SearchIgnoresCase", "findelementbyname(smrk).Plocha", "2,5", ""},
        ValueCase{"ObjectProperty", "FINDELEMENTBYNAME(Buk).Odkaz.Name", "Smrk", ""},
        ValueCase{"OwnProperty", "Count", "3", ""},
        ValueCase{"StrayClosingParenthesis", ")Count", "3", ""},
        ValueCase{"ByClass", "FINDELEMENTBYCLASS(TPropProbe).Name", "Smrk", ""},
        ValueCase{"UnknownClass", "FINDELEMENTBYCLASS(TNeni).Name", "", "Lumex nenašel třídu TNeni"},
        ValueCase{"EndingInASearch", "findelementbyname(Dub)", "", "Chyba syntaxe. .. na pozici 22 očekávám \".\""},
        ValueCase{"MissingParenthesis", "findelementbyname(Smrk.Plocha", "",
                  "Chyba syntaxe. .. na pozici 23 očekávám \")\""},
        ValueCase{"SearchInANonEntity", "findelementbyname(Dub).findelementbyname(x).Name", "",
                  "Objekt na pozici 40 není Entita ... nelze prohledávat"},
        ValueCase{"MissingName", "findelementbyname(Jedle).Plocha", "", "Chyba ... nenalezl jsem objekt Jedle"},
        ValueCase{"NilObjectProperty", "findelementbyname(Smrk).Odkaz.Name", "",
                  "Chyba ... nenalezl jsem objekt Smrk"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PathsTest, ElementPaths)
{
    EXPECT_EQ(root->GetElementByPath(QStringLiteral("findelementbyname(Dub)")), dub);
    EXPECT_EQ(root->GetElementByPath(QStringLiteral("findelementbyname(Jedle)")), nullptr);
    EXPECT_EQ(root->GetElementByPath(QStringLiteral("findelementbyname(Buk).Odkaz")), smrk);
    EXPECT_EQ(root->GetElementByPath(QStringLiteral("findelementbyname(Buk).Plocha")), nullptr);
}

TEST_F(PathsTest, ElementListsOneLinePerChild)
{
    EXPECT_EQ(root->FillListByPath(QStringLiteral("ELEMENT.Name")),
              (QStringList{QStringLiteral("Smrk"), QStringLiteral("Buk"), QStringLiteral("Dub")}));
    EXPECT_EQ(root->FillListByPath(QStringLiteral("element.Plocha")),
              (QStringList{QStringLiteral("2,5"), QStringLiteral("0"), QString()}));
    EXPECT_EQ(errorOf([&] { root->FillListByPath(QStringLiteral("ELEMENT.Name.X")); }),
              QStringLiteral("Chybné zakončení příkazu: ."));
    EXPECT_EQ(errorOf([&] { root->FillListByPath(QStringLiteral("findelementbyname(Dub).ELEMENT.Name")); }),
              QStringLiteral("Poslední objekt není Entita - nelze vytvořit seznam !"));
}

} // namespace
