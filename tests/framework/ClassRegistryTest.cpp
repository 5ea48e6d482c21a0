// Tests of the class registry: sorted entries, lookups, creation by name, property tables.
#include "ElementsTestSupport.h"

#include "framework/E_Class.h"
#include "framework/LumexMessages.h"

#include <gtest/gtest.h>

using namespace lumextest;

namespace {

class ClassRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        registerTestClasses();
        recorder().clear();
    }
};

TClassInfo plainClass(const char* name)
{
    return TClassInfo(QString::fromUtf8(name), TElement::StaticClass(), 8, [] {
        return static_cast<TPersistent*>(Create<TElement>().release());
    });
}

TEST_F(ClassRegistryTest, EntriesStaySortedIgnoringCase)
{
    const TClassInfo zeta = plainClass("TZeta");
    const TClassInfo alfa = plainClass("talfa");
    const TClassInfo beta = plainClass("TBeta");
    auto registry = Create<TLumexClasses>();
    registry->RegisterClass(&zeta);
    registry->RegisterClass(&alfa);
    registry->RegisterClass(&beta);

    ASSERT_EQ(registry->Count(), 3);
    EXPECT_EQ(registry->EntryAt(0)->GetName(), QStringLiteral("talfa"));
    EXPECT_EQ(registry->EntryAt(1)->GetName(), QStringLiteral("TBeta"));
    EXPECT_EQ(registry->EntryAt(2)->GetName(), QStringLiteral("TZeta"));
    EXPECT_EQ(registry->FindClass(QStringLiteral("TBETA")), &beta);
    // Registration numbers in registration order, counted once each.
    EXPECT_EQ(registry->EntryAt(2)->ID(), 0);
    EXPECT_EQ(registry->EntryAt(0)->ID(), 1);
    EXPECT_EQ(registry->EntryAt(1)->ID(), 2);
    EXPECT_EQ(registry->Current(), registry->EntryAt(1));
}

TEST_F(ClassRegistryTest, SearchFindsEveryEntryAndInsertPositions)
{
    auto registry = Create<TLumexClasses>();
    std::vector<std::unique_ptr<TClassInfo>> classes;
    const QStringList names = {"TA", "TC", "TE", "TG", "TI", "TK", "TM"};
    for (const QString& n : names) {
        classes.push_back(std::make_unique<TClassInfo>(n, TElement::StaticClass(), 8, nullptr));
        registry->RegisterClass(classes.back().get());
    }
    for (int i = 0; i < names.size(); ++i) {
        int insertAt = 0;
        EXPECT_EQ(registry->Search(names[i].toLower(), insertAt), i) << names[i].toStdString();
    }
    int insertAt = 0;
    EXPECT_EQ(registry->Search(QStringLiteral("TD"), insertAt), -1);
    EXPECT_EQ(insertAt, 2);
    EXPECT_EQ(registry->Search(QStringLiteral("T0"), insertAt), -1);
    EXPECT_EQ(insertAt, 0);
    EXPECT_EQ(registry->Search(QStringLiteral("TZ"), insertAt), -1);
    EXPECT_EQ(insertAt, -1);
}

TEST_F(ClassRegistryTest, CzechNamesSortByLetters)
{
    const TClassInfo a = plainClass("TČáp");
    const TClassInfo b = plainClass("TCukr");
    const TClassInfo c = plainClass("TDub");
    auto registry = Create<TLumexClasses>();
    registry->RegisterClass(&c);
    registry->RegisterClass(&a);
    registry->RegisterClass(&b);
    EXPECT_EQ(registry->FindClass(QStringLiteral("tčÁP")), &a);
    EXPECT_EQ(registry->FindClass(QStringLiteral("TCUKR")), &b);
    EXPECT_EQ(registry->FindClass(QStringLiteral("tdub")), &c);
    EXPECT_EQ(registry->FindClass(QStringLiteral("TCap")), nullptr);
}

TEST_F(ClassRegistryTest, GlobalLookups)
{
    EXPECT_EQ(FindLumexClass(QStringLiteral("townerentity")), TOwnerEntity::StaticClass());
    EXPECT_EQ(FindLumexClass(QStringLiteral("TNeni")), nullptr);
    EXPECT_EQ(GetLumexClass(QStringLiteral("TEntity")), TEntity::StaticClass());
    try {
        GetLumexClass(QStringLiteral("TNeni"));
        FAIL() << "no exception";
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Lumex nenašel třídu TNeni"));
    }
    // Classes the unit keeps to itself.
    EXPECT_EQ(FindLumexClass(QStringLiteral("TQuickEntity")), nullptr);
    EXPECT_EQ(FindLumexClass(QStringLiteral("TAliases")), nullptr);
}

TEST_F(ClassRegistryTest, CreateElementByNameRetriesWithT)
{
    Owned<TElement> probe = CreateElementByName(QStringLiteral("OwnedProbe"));
    ASSERT_NE(probe, nullptr);
    EXPECT_EQ(probe->ClassType(), TOwnedProbe::StaticClass());
    Owned<TElement> direct = CreateElementByName(QStringLiteral("townedprobe"));
    EXPECT_NE(direct, nullptr);
    EXPECT_TRUE(recorder().messages.empty());

    EXPECT_EQ(CreateElementByName(QStringLiteral("Oddeleni")), nullptr);
    ASSERT_EQ(recorder().messages.size(), 1u);
    EXPECT_EQ(recorder().messages[0].text, QStringLiteral("Neregistrovaný element: TOddeleni"));
    EXPECT_EQ(recorder().messages[0].type, ui::MsgType::Error);
}

TEST_F(ClassRegistryTest, CreatedElementsRanTheAfterConstructionStep)
{
    Owned<TElement> element = CreateElementByName(QStringLiteral("Entity"));
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->ID(), -1);
    EXPECT_TRUE(element->IsEmpty());
}

TEST_F(ClassRegistryTest, EntriesListTheirProperties)
{
    TLumexClass* entry = LumexClasses()->FindClassEntry(QStringLiteral("TEntity"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->PropCount(), 12);
    EXPECT_EQ(entry->Count(), 12);   // ShowProperties
    EXPECT_EQ(entry->Items(5)->GetName(), QStringLiteral("NextElement"));
    EXPECT_EQ(entry->GetPropAsString(QStringLiteral("ElementClassName")), QStringLiteral("TEntity"));
    EXPECT_EQ(entry->GetPropAsString(QStringLiteral("AncestorClassName")), QStringLiteral("TElement"));
    EXPECT_EQ(entry->IndexOfProperty(QStringLiteral("wholecount")), 9);
    EXPECT_EQ(entry->Items(9)->GetPropAsString(QStringLiteral("TypeKind")), QStringLiteral("tkInteger"));
    EXPECT_EQ(entry->Items(5)->GetPropAsString(QStringLiteral("TypeKind")), QStringLiteral("tkClass"));
    EXPECT_FALSE(entry->IsStored(0));   // ID
    EXPECT_TRUE(entry->IsStored(1));    // Name: stored by a test
}

TEST_F(ClassRegistryTest, InstanceAsksTheStoredTestOfItsObject)
{
    auto named = Create<TNameElement>();
    auto instance = Create<TLumexInstance>();
    EXPECT_FALSE(instance->IsStored(0));
    instance->SetInstance(named.get());
    EXPECT_FALSE(instance->IsStored(1));
    named->SetName(QStringLiteral("x"));
    EXPECT_TRUE(instance->IsStored(1));
    EXPECT_EQ(instance->GetName(), QStringLiteral("TNameElement"));
}

TEST_F(ClassRegistryTest, WorldMayNotFreeTheGlobalRegistry)
{
    auto world = Create<TEntity>();
    world->Add(LumexClasses());
    world.reset();
    EXPECT_EQ(FindLumexClass(QStringLiteral("TEntity")), TEntity::StaticClass());
}

// --- published property tables of the unit's classes -----------------------------------------

struct PropRow {
    QString name;
    TTypeKind kind;
    QString typeName;
    bool read;
    bool write;
    QString stored;   // "yes", "no" or "test"
};

QString storedText(PPropInfo p)
{
    if (p->HasStoredTest())
        return QStringLiteral("test");
    return p->StoredConst ? QStringLiteral("yes") : QStringLiteral("no");
}

std::vector<PropRow> rowsOf(TClass cls)
{
    std::vector<PropRow> rows;
    for (const PPropInfo p : cls->Props())
        rows.push_back({p->Name, p->Kind, p->TypeName(), p->HasRead(), p->HasWrite(), storedText(p)});
    return rows;
}

const std::vector<PropRow>& elementRows()
{
    static const std::vector<PropRow> rows = {
        {"ID", tkInteger, "Integer", true, true, "no"},
        {"Name", tkString, "string", true, true, "test"},
        {"OwnersCount", tkInteger, "Integer", true, false, "yes"},
        {"Size", tkInteger, "Integer", true, false, "yes"},
        {"WholeSize", tkInteger, "Integer", true, false, "yes"},
    };
    return rows;
}

std::vector<PropRow> entityRows()
{
    std::vector<PropRow> rows = elementRows();
    const std::vector<PropRow> own = {
        {"NextElement", tkClass, "TElement", false, true, "yes"},
        {"ElementToFree", tkClass, "TElement", false, true, "yes"},
        {"ElementToRemove", tkClass, "TElement", false, true, "yes"},
        {"AddAllFrom", tkClass, "TElement", false, true, "yes"},
        {"WholeCount", tkInteger, "Integer", true, false, "yes"},
        {"Count", tkInteger, "Integer", true, false, "yes"},
        {"LastIndex", tkInteger, "Integer", true, false, "yes"},
    };
    rows.insert(rows.end(), own.begin(), own.end());
    return rows;
}

std::vector<PropRow> messageRows()
{
    std::vector<PropRow> rows = elementRows();
    const std::vector<PropRow> own = {
        {"Sender", tkClass, "TElement", true, true, "yes"},
        {"Receiver", tkClass, "TElement", true, true, "yes"},
        {"Message", tkInteger, "Integer", true, true, "yes"},
        {"Data", tkClass, "TElement", true, true, "yes"},
        {"KillData", tkEnumeration, "Boolean", true, true, "yes"},
        {"Time", tkFloat, "TDateTime", true, true, "yes"},
        {"PostIt", tkInteger, "Integer", false, true, "yes"},
        {"SendIt", tkInteger, "Integer", false, true, "yes"},
    };
    rows.insert(rows.end(), own.begin(), own.end());
    return rows;
}

std::vector<PropRow> withOwn(std::vector<PropRow> rows, const std::vector<PropRow>& own)
{
    rows.insert(rows.end(), own.begin(), own.end());
    return rows;
}

struct TableCase {
    const char* className;
    std::vector<PropRow> rows;
};

void PrintTo(const TableCase& c, std::ostream* os)
{
    *os << c.className;
}

class PropertyTableTest : public ClassRegistryTest, public ::testing::WithParamInterface<TableCase>
{
};

TEST_P(PropertyTableTest, MatchesThePublishedTable)
{
    const TableCase& c = GetParam();
    const TClass cls = FindLumexClass(QString::fromLatin1(c.className));
    ASSERT_NE(cls, nullptr) << "not registered";
    const std::vector<PropRow> actual = rowsOf(cls);
    ASSERT_EQ(actual.size(), c.rows.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(c.rows[i].name.toStdString());
        EXPECT_EQ(actual[i].name, c.rows[i].name);
        EXPECT_EQ(actual[i].kind, c.rows[i].kind);
        EXPECT_EQ(actual[i].typeName, c.rows[i].typeName);
        EXPECT_EQ(actual[i].read, c.rows[i].read);
        EXPECT_EQ(actual[i].write, c.rows[i].write);
        EXPECT_EQ(actual[i].stored, c.rows[i].stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Unit, PropertyTableTest,
    ::testing::Values(TableCase{"TElement", elementRows()}, TableCase{"TNameElement", elementRows()},
                      TableCase{"TOwnerElement", elementRows()}, TableCase{"TEntity", entityRows()},
                      TableCase{"TNameEntity", entityRows()}, TableCase{"TOwnerEntity", entityRows()},
                      TableCase{"TEnvelopeEntity", entityRows()}, TableCase{"TLumexMessage", messageRows()}),
    [](const ::testing::TestParamInfo<TableCase>& info) { return std::string(info.param.className); });

TEST_F(ClassRegistryTest, RegistryClassesPublishTheirTables)
{
    const std::vector<PropRow> classes = withOwn(entityRows(), {
        {"ShowProperties", tkEnumeration, "Boolean", true, true, "yes"},
        {"SortByName", tkEnumeration, "Boolean", true, true, "yes"},
    });
    const std::vector<PropRow> entry = withOwn(entityRows(), {
        {"PropCount", tkInteger, "Integer", true, false, "yes"},
        {"ElementClassName", tkString, "string", true, false, "yes"},
        {"AncestorClassName", tkString, "string", true, false, "yes"},
    });
    const std::vector<PropRow> property = withOwn(elementRows(), {
        {"PropIndex", tkInteger, "Integer", true, true, "yes"},
        {"TypeKind", tkEnumeration, "TTypeKind", true, false, "yes"},
    });
    const std::vector<PropRow> text = withOwn(messageRows(), {{"Text", tkString, "string", true, true, "yes"}});
    for (const auto& [cls, rows] : {std::pair{TLumexClasses::StaticClass(), classes},
                                    std::pair{TLumexClass::StaticClass(), entry},
                                    std::pair{TLumexInstance::StaticClass(), entry},
                                    std::pair{TLumexClassProperty::StaticClass(), property},
                                    std::pair{TLumexTextMessage::StaticClass(), text}}) {
        SCOPED_TRACE(cls->ClassName().toStdString());
        const std::vector<PropRow> actual = rowsOf(cls);
        ASSERT_EQ(actual.size(), rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            EXPECT_EQ(actual[i].name, rows[i].name);
            EXPECT_EQ(actual[i].kind, rows[i].kind);
            EXPECT_EQ(actual[i].read, rows[i].read);
            EXPECT_EQ(actual[i].write, rows[i].write);
        }
    }
}

TEST_F(ClassRegistryTest, SortByNameIgnoresWrites)
{
    auto registry = Create<TLumexClasses>();
    registry->SetPropAsBoolean(QStringLiteral("SortByName"), true);
    EXPECT_FALSE(registry->GetPropAsBoolean(QStringLiteral("SortByName")));
    registry->SetPropAsBoolean(QStringLiteral("ShowProperties"), true);
    EXPECT_TRUE(registry->ShowProperties());
}

} // namespace
