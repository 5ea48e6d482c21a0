// Every framework class offered by name: creatable through the registry, its published
// properties (name, kind, type, access, stored) as the domain lists them, ancestors first.
#include "framework/core/ClassRegistry.h"
#include "framework/core/Messages.h"
#include "framework/core/StartupRegistration.h"
#include "framework/elements/Timers.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// The classes each framework unit registers at start-up.
const char* const registeredClasses[] = {
    "TElement", "TNameElement", "TOwnerElement", "TEntity", "TNameEntity", "TOwnerEntity", "TEnvelopeEntity",
    "TLumexMessage", "T2DCoordinate", "T3DCoordinate", "TRectangle", "TDrawRectangle", "TText", "TRectEntity",
    "TSelectedElement", "TMemoryElement", "TTypeElement", "TBooleanElement", "TCharElement", "TByteElement",
    "TFloatElement", "TIntegerListElement", "TStringElement", "TIntegerElement", "TPointerElement",
    "TStringListElement", "TPathElement", "TPropertyList", "TSystemRegister", "TRegisterClassModel",
    "TRegisterClassModels", "TRegisterPropertyModel", "TPropertyModel", "TElementModel", "TToolModel",
    "TObjectModel", "TWorld", "TProgressMessage", "TToolProperties", "TTool", "TResultTool", "TBooleanTool",
    "TTechnology", "TSeqTechnology", "TSelectTechnology", "TTimeElement", "TRecursorWithTools", "TGroupper",
    "TPropsAndClass", "TSaver", "TSave", "TLoader", "TLoad", "TFileElement", "TDirectoryElement",
    "TLogicalDriveElement", "TLocalComputerElement", "TTextFileElement", "TFileModel", "TFilePathModel",
    "TFileBasedEntity", "TAllSelector", "TFirstSelector", "TLevelSelector", "TAbsFirstSelector", "TDatabaseClass",
};

// Classes deliberately left out of the registry.
const char* const unregisteredClasses[] = {
    "TQuickEntity", "TAliases", "TAliasElement", "TLumexTextMessage", "TModelItems", "TTickElement",
    "TParameters", "TSelector", "TLumexSaver", "TStreamSaver", "TLumexLoader", "TStreamLoader",
};

struct ClassTable {
    const char* name;
    const char* parent;
    std::vector<const char*> own;   // name:kind:type:access:stored ("test" = per instance)
};

const std::vector<ClassTable>& classTables()
{
    static const std::vector<ClassTable> tables = {
    {"T2DCoordinate", "TCoordinate", {}},
    {"T3DCoordinate", "T2DCoordinate", {}},
    {"TAbsFirstSelector", "TSelector", {}},
    {"TAllSelector", "TSelector", {}},
    {"TBooleanElement", "TTypeElement", {"Value:3:Boolean:RW:yes"}},
    {"TBooleanTool", "TTool", {"Result:3:Boolean:RW:no"}},
    {"TByteElement", "TTypeElement", {"Value:1:Byte:RW:yes"}},
    {"TCharElement", "TTypeElement", {"Value:2:Char:RW:yes"}},
    {"TCoordinate", "TElement", {"CS:1:Byte:RW:yes", "X:4:Double:RW:yes", "Y:4:Double:RW:yes", "Z:4:Double:RW:yes"}},
    {"TDatabaseClass", "TOwnerEntity", {"DataSourcePath:5:string:RW:yes", "DataSourceType:3:TDSType:RW:yes",
        "DataSource:5:string:RW:yes", "AdressField:5:string:RW:yes", "NameField:5:string:RW:yes",
        "PropertyCount:1:Integer:R:yes", "RecordSize:1:Integer:R:yes"}},
    {"TDirectoryElement", "TFileElement", {"DirOnly:3:Boolean:RW:yes"}},
    {"TDrawRectangle", "TRectEntity", {"PenColor:1:TColor:RW:yes", "PenStyle:3:TPenStyle:RW:yes",
        "PenWidth:4:Double:RW:yes", "BrushColor:1:TColor:RW:yes", "BrushStyle:3:TBrushStyle:RW:yes"}},
    {"TElement", "TPersistent", {"ID:1:Integer:RW:no", "Name:5:string:RW:test", "OwnersCount:1:Integer:R:yes",
        "Size:1:Integer:R:yes", "WholeSize:1:Integer:R:yes"}},
    {"TElementModel", "TOwnerEntity", {"ImageIndex:1:Integer:RW:yes", "ElementClassName:5:string:RW:yes",
        "Comment:5:string:RW:yes", "Alias:5:string:RW:yes", "AttachToPropertyName:5:string:RW:yes",
        "ModelProperties:7:TOwnerEntity:R:yes", "ModelElements:7:TOwnerEntity:R:yes",
        "Images:7:TStringListElement:R:yes", "NoModelProperties:3:Boolean:R:yes", "NoModelElements:3:Boolean:R:yes",
        "NoImages:3:Boolean:R:yes", "NewPropertyName:5:string:W:yes", "NewElementName:5:string:W:yes",
        "NewImage:5:string:W:yes"}},
    {"TEntity", "TElement", {"NextElement:7:TElement:W:yes", "ElementToFree:7:TElement:W:yes",
        "ElementToRemove:7:TElement:W:yes", "AddAllFrom:7:TElement:W:yes", "WholeCount:1:Integer:R:yes",
        "Count:1:Integer:R:yes", "LastIndex:1:Integer:R:yes"}},
    {"TEnvelopeEntity", "TEntity", {}},
    {"TFileBasedEntity", "TOwnerEntity", {"Error:1:Integer:RW:yes", "FileName:5:string:RW:yes"}},
    {"TFileElement", "TOwnerEntity", {"Exists:3:Boolean:R:no", "FileName:5:string:RW:yes", "FilePath:5:string:R:no",
        "FileExt:5:string:RW:no", "FileSize:1:Integer:R:no", "FileTime:4:TDateTime:RW:no",
        "FileTimeString:5:string:RW:no", "Attributes:1:Byte:RW:no", "AttrReadOnly:3:Boolean:RW:no",
        "AttrHidden:3:Boolean:RW:no", "AttrSysFile:3:Boolean:RW:no", "AttrArchive:3:Boolean:RW:no",
        "AttrVolumeID:3:Boolean:R:no", "AttrDirectory:3:Boolean:R:no", "ReadInfo:3:Boolean:W:no"}},
    {"TFileModel", "TOwnerEntity", {"FileName:5:string:RW:yes", "Path:5:string:RW:yes"}},
    {"TFilePathModel", "TFileModel", {"Path1:5:string:RW:yes"}},
    {"TFirstSelector", "TSelector", {}},
    {"TFloatElement", "TTypeElement", {"Value:4:Double:RW:yes"}},
    {"TGroupper", "TTool", {"Criterion:7:TEntity:RW:yes", "OwnerClass:5:string:RW:yes", "NextAssigment:5:string:W:yes",
        "DoItEmpty:3:Boolean:RW:yes"}},
    {"TInheritanceModel", "TOwnerEntity", {"Items:7:TModelItems:R:yes", "NoItems:3:Boolean:R:yes",
        "NextItem:7:TInheritanceModel:W:yes", "ElementClassName:5:string:RW:yes"}},
    {"TInheritanceModelEntity", "TInheritanceModel", {"Error:1:Integer:RW:yes", "ActualItem:7:TInheritanceModel:R:yes",
        "ItemClassName:5:string:RW:yes", "NewClassName:5:string:W:yes", "FindClassName:5:string:W:yes",
        "ActualClassName:5:string:RW:yes", "DeleteActualItem:1:Integer:W:yes", "IsError:3:Boolean:R:yes"}},
    {"TIntegerElement", "TTypeElement", {"Value:1:Integer:RW:yes"}},
    {"TIntegerListElement", "TOwnerEntity", {}},
    {"TLevelSelector", "TSelector", {"Maxlevel:1:Integer:RW:yes"}},
    {"TLoad", "TStreamLoader", {}},
    {"TLoader", "TTool", {}},
    {"TLocalComputerElement", "TOwnerEntity", {}},
    {"TLogicalDriveElement", "TDirectoryElement", {"Active:3:Boolean:RW:yes", "RootName:2:Char:RW:yes",
        "DriveType:3:TDriveType:R:no", "DriveTypeString:5:string:R:no"}},
    {"TLumexLoader", "TTool", {"FileName:10:AnsiString:RW:yes"}},
    {"TLumexMessage", "TElement", {"Sender:7:TElement:RW:yes", "Receiver:7:TElement:RW:yes", "Message:1:Integer:RW:yes",
        "Data:7:TElement:RW:yes", "KillData:3:Boolean:RW:yes", "Time:4:TDateTime:RW:yes", "PostIt:1:Integer:W:yes",
        "SendIt:1:Integer:W:yes"}},
    {"TLumexSaver", "TRecursor", {"FileName:10:AnsiString:RW:yes"}},
    {"TMemoryElement", "TOwnerElement", {"AlocatedMemory:1:Cardinal:R:no", "AvailMemory:1:Cardinal:R:no",
        "MemoryLoad:1:Cardinal:R:no", "TotalPhys:1:Cardinal:R:no", "AvailPhys:1:Cardinal:R:no",
        "TotalPageFile:1:Cardinal:R:no", "AvailPageFile:1:Cardinal:R:no", "TotalVirtual:1:Cardinal:R:no",
        "AvailVirtual:1:Cardinal:R:no"}},
    {"TNameElement", "TElement", {}},
    {"TNameEntity", "TEntity", {}},
    {"TObjectModel", "TOwnerEntity", {}},
    {"TOwnerElement", "TNameElement", {}},
    {"TOwnerEntity", "TNameEntity", {}},
    {"TPathElement", "TStringElement", {}},
    {"TPointerElement", "TTypeElement", {}},
    {"TProgressMessage", "TLumexMessage", {"MaxProgress:1:Integer:RW:yes", "Progress:1:Integer:RW:yes",
        "MinProgress:1:Integer:RW:yes", "ProcessName:5:string:RW:yes"}},
    {"TPropertyList", "TStringListElement", {"Element:7:TElement:W:yes", "Catenation:5:string:R:yes",
        "Delimiter:5:string:RW:yes"}},
    {"TPropertyModel", "TOwnerElement", {"Alias:5:string:RW:yes", "Value:5:string:RW:yes"}},
    {"TPropsAndClass", "TPropertyList", {"OwnerClassName:5:string:RW:yes", "SocketName:5:string:RW:yes",
        "SocketClassName:5:string:RW:yes"}},
    {"TRectEntity", "TOwnerEntity", {"Index:1:Integer:RW:yes", "MinX:4:Double:RW:yes", "MinY:4:Double:RW:yes",
        "MaxX:4:Double:RW:no", "MaxY:4:Double:RW:no", "IsValid:3:Boolean:R:no", "Width:4:Double:RW:yes",
        "Height:4:Double:RW:yes", "CenterX:4:Double:R:no", "CenterY:4:Double:R:no", "X:4:Double:RW:no",
        "Y:4:Double:RW:no", "RelRefX:4:Double:RW:no", "RelRefY:4:Double:RW:no", "DeltaRefX:4:Double:RW:no",
        "DeltaRefY:4:Double:RW:no", "AbsRefX:4:Double:RW:yes", "AbsRefY:4:Double:RW:yes", "HorizAllign:5:string:RW:no",
        "VertAllign:5:string:RW:no", "RefPosition:1:TRefPosition:RW:no", "DeltaX:4:Double:W:no", "DeltaY:4:Double:W:no",
        "UpdateNoReset:3:Boolean:W:no"}},
    {"TRectangle", "TElement", {"MinX:4:Double:RW:yes", "MinY:4:Double:RW:yes", "MaxX:4:Double:RW:yes",
        "MaxY:4:Double:RW:yes", "Height:4:Double:RW:yes", "Width:4:Double:RW:yes"}},
    {"TRecursor", "TTechnology", {"NotInside:3:Boolean:RW:yes", "Level:1:Integer:RW:yes"}},
    {"TRecursorWithTools", "TRecursor", {"BeforeTool:7:TTool:RW:yes", "AfterTool:7:TTool:RW:yes",
        "QGoInsideTool:7:TTool:RW:yes"}},
    {"TRegisterClassModel", "TInheritanceModel", {"Alias:5:string:RW:yes", "ImageIndex:1:Integer:RW:yes",
        "ImageSelectedIndex:1:Integer:RW:yes", "Editor:5:string:RW:yes", "Interpret:5:string:RW:yes",
        "SubClass:5:string:RW:yes"}},
    {"TRegisterClassModels", "TInheritanceModelEntity", {"ActualClassModel:7:TRegisterClassModel:R:yes"}},
    {"TRegisterPropertyModel", "TOwnerEntity", {"Alias:5:string:RW:yes", "ImageIndex:1:Integer:RW:yes",
        "Editor:5:string:RW:yes"}},
    {"TResultTool", "TTool", {"Result:5:string:RW:no"}},
    {"TSave", "TStreamSaver", {}},
    {"TSaver", "TRecursor", {}},
    {"TSelectTechnology", "TTechnology", {"ElseTool:7:TTool:RW:yes", "SelIndex:1:Integer:RW:yes"}},
    {"TSelectedElement", "TRectEntity", {"SelectName:5:string:R:yes"}},
    {"TSelector", "TRecursor", {"Condition:5:string:RW:yes"}},
    {"TSeqTechnology", "TTechnology", {}},
    {"TStreamLoader", "TLumexLoader", {}},
    {"TStreamSaver", "TLumexSaver", {}},
    {"TStringElement", "TTypeElement", {"Value:5:string:RW:yes", "NameIsValue:5:string:RW:no"}},
    {"TStringListElement", "TOwnerEntity", {"NextValue:5:string:W:yes", "NextName:5:string:W:yes",
        "NextNameIsValue:5:string:W:yes", "NextStringList:7:TStrings:W:yes", "LoadFromFile:5:string:W:yes",
        "SaveToFile:5:string:W:yes"}},
    {"TSystemRegister", "TOwnerEntity", {"Images:7:TStringListElement:R:yes", "Cursors:7:TStringListElement:R:yes",
        "ClassModels:7:TRegisterClassModels:R:yes"}},
    {"TTechnology", "TTool", {"ActiveTool:7:TTool:RW:yes", "ToolToAdd:7:TTool:W:yes",
        "NewToolByModel:7:TToolModel:W:yes", "ToolToFree:7:TElement:W:yes", "ToolToRemove:7:TElement:W:yes"}},
    {"TText", "TRectEntity", {"Text:5:string:RW:yes", "Orientation:4:Double:RW:yes", "Color:1:TColor:RW:yes",
        "FontName:5:string:RW:yes", "FontStyle:6:TFontStyles:RW:yes", "Charset:1:TFontCharset:RW:yes"}},
    {"TTextFileElement", "TFileElement", {}},
    {"TTimeElement", "TOwnerElement", {"Interval:5:string:RW:yes", "Alarm:3:Boolean:R:yes",
        "AlarmCount:1:Integer:R:yes", "MultiAlarm:3:Boolean:RW:yes"}},
    {"TTool", "TOwnerEntity", {"Input:7:TElement:RW:yes", "Output:7:TElement:RW:yes", "DynamicTool:3:Boolean:RW:yes",
        "SelfModel:7:TToolModel:RW:yes", "Error:1:Integer:RW:no", "NextParameter:7:TElement:W:yes"}},
    {"TToolModel", "TElementModel", {"DynamicTool:3:Boolean:RW:yes", "ModelTools:7:TOwnerEntity:R:yes",
        "NoModelTools:3:Boolean:R:yes", "NewToolName:5:string:W:yes"}},
    {"TToolProperties", "TOwnerElement", {}},
    {"TTypeElement", "TOwnerElement", {"Typ:3:TType:R:no", "TypeAsString:5:string:R:no", "AsByte:1:Byte:RW:no",
        "AsInteger:1:Integer:RW:no", "AsChar:2:Char:RW:no", "AsString:5:string:RW:no", "AsFloat:4:Double:RW:no",
        "AsBoolean:3:Boolean:RW:no", "Text:5:string:RW:no", "UpperName:5:string:R:no"}},
    {"TWorld", "TEntity", {"Application:7:TApplication:R:yes", "ApplicExeName:5:string:R:yes",
        "ApplicDir:5:string:R:yes", "ApplicHelpFile:5:string:RW:yes", "ApplicHint:5:string:RW:yes",
        "ApplicShowHint:3:Boolean:RW:yes", "ApplicHintColor:1:TColor:RW:yes", "ApplicHintPause:1:Integer:RW:yes",
        "ApplicMainForm:7:TPersistent:R:yes", "ApplicTitle:5:string:RW:yes", "TestElement:7:TElement:W:yes",
        "MainTool:7:TTool:RW:yes", "SystemRegister:7:TSystemRegister:RW:yes", "ObjectClasses:7:TLumexClasses:RW:yes",
        "ObjectModel:7:TObjectModel:RW:yes"}},
    {"TLumexClass", "TOwnerEntity", {"PropCount:1:Integer:R:yes", "ElementClassName:5:string:R:yes",
        "AncestorClassName:5:string:R:yes"}},
    {"TLumexClassProperty", "TNameElement", {"PropIndex:1:Integer:RW:yes", "TypeKind:3:TTypeKind:R:yes"}},
    {"TLumexClasses", "TOwnerEntity", {"ShowProperties:3:Boolean:RW:yes", "SortByName:3:Boolean:RW:yes"}},
    {"TLumexInstance", "TLumexClass", {}},
    {"TLumexTextMessage", "TLumexMessage", {"Text:5:string:RW:yes"}},
    {"TTickElement", "TOwnerElement", {"Interval:1:Integer:RW:yes", "Alarm:3:Boolean:R:yes", "Pause:3:Boolean:RW:yes"}},
    };
    return tables;
}

QString rowOf(PPropInfo p)
{
    const QString access = QString(p->HasRead() ? "R" : "") + (p->HasWrite() ? "W" : "");
    const QString stored = p->HasStoredTest() ? "test" : p->StoredConst ? "yes" : "no";
    return QStringLiteral("%1:%2:%3:%4:%5").arg(p->Name).arg(int(p->Kind)).arg(p->TypeName(), access, stored);
}

// Every class reachable from the registry (entries and their ancestors), plus the registry's own
// classes and the unregistered timer, by name.
std::map<QString, TClass> knownClasses()
{
    RegisterFrameworkUnits();
    std::map<QString, TClass> known;
    const auto addWithAncestors = [&known](TClass cls) {
        for (; cls; cls = cls->ClassParent())
            known.emplace(cls->ClassName(), cls);
    };
    TLumexClasses* registry = LumexClasses();
    for (int i = 0; i < registry->Count(); ++i)
        if (const auto* entry = dynamic_cast<TLumexClass*>(registry->Items(i)))
            addWithAncestors(entry->ElementClass());
    for (const TClass cls : {TLumexClasses::StaticClass(), TLumexInstance::StaticClass(),
                             TLumexClassProperty::StaticClass(), TLumexTextMessage::StaticClass(),
                             TTickElement::StaticClass()})
        addWithAncestors(cls);
    return known;
}

class RegisteredClass : public ::testing::TestWithParam<const char*>
{
};

TEST_P(RegisteredClass, IsCreatableByName)
{
    RegisterFrameworkUnits();
    const QString name = QString::fromLatin1(GetParam());
    const TClass cls = FindLumexClass(name);
    ASSERT_NE(cls, nullptr);
    EXPECT_EQ(cls->ClassName(), name);
    const Owned<TElement> element = CreateElementByName(name);
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->ClassType(), cls);
}

INSTANTIATE_TEST_SUITE_P(Framework, RegisteredClass, ::testing::ValuesIn(registeredClasses),
                         [](const auto& info) { return std::string(info.param); });

TEST(RegisteredClasses, OthersStayUnknown)
{
    RegisterFrameworkUnits();
    for (const char* name : unregisteredClasses)
        EXPECT_EQ(FindLumexClass(QString::fromLatin1(name)), nullptr) << name;
}

TEST(RegisteredClasses, StartUpTwiceRegistersNothingMore)
{
    RegisterFrameworkUnits();
    const int count = LumexClasses()->Count();
    RegisterFrameworkUnits();
    EXPECT_EQ(LumexClasses()->Count(), count);
}

class PropertyTable : public ::testing::TestWithParam<ClassTable>
{
};

TEST_P(PropertyTable, MatchesTheDomainTable)
{
    const ClassTable& expected = GetParam();
    const std::map<QString, TClass> known = knownClasses();
    const auto found = known.find(QString::fromLatin1(expected.name));
    ASSERT_NE(found, known.end()) << "not reachable from the registry";
    const TClass cls = found->second;
    ASSERT_NE(cls->ClassParent(), nullptr);
    EXPECT_EQ(cls->ClassParent()->ClassName(), QString::fromLatin1(expected.parent));
    QStringList own;
    for (const auto& p : cls->OwnProps())
        own << rowOf(p.get());
    QStringList wanted;
    for (const char* row : expected.own)
        wanted << QString::fromLatin1(row);
    EXPECT_EQ(own, wanted);
    // Inherited properties come first, in the parent's order.
    const std::vector<PPropInfo>& all = cls->Props();
    ASSERT_EQ(all.size(), cls->ClassParent()->Props().size() + cls->OwnProps().size());
    EXPECT_TRUE(std::equal(cls->ClassParent()->Props().begin(), cls->ClassParent()->Props().end(), all.begin()));
}

INSTANTIATE_TEST_SUITE_P(Framework, PropertyTable, ::testing::ValuesIn(classTables()),
                         [](const auto& info) { return std::string(info.param.name); });

// Every framework class reachable from the registry has its table above.
TEST(PropertyTables, CoverEveryRegisteredClass)
{
    QStringList listed;
    for (const ClassTable& t : classTables())
        listed << QString::fromLatin1(t.name);
    for (const char* name : registeredClasses)
        EXPECT_TRUE(listed.contains(QString::fromLatin1(name))) << name;
}

} // namespace
