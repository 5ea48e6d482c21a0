// Tests of the field-bound edit and combo box: binding by data source and field name.
#include "platform/ui/DataControls.h"

#include "platform/db/MemoryDataSet.h"

#include <gtest/gtest.h>

namespace {

// The control follows the field it is bound to now; a former binding no longer writes to it.
TEST(DBEdit, ShowsTheFieldItIsBoundToAndFollowsARebinding)
{
    test::MemoryDataSet ds({{QStringLiteral("ODD"), db::FieldType::ftInteger, 0},
                            {QStringLiteral("NAJEMCE"), db::FieldType::ftString, 30}},
                           {{1, QStringLiteral("Lesy obce")}, {2, QStringLiteral("Obec Lhota")}});
    ds.Open();
    db::DataSource source(&ds);
    ui::DBEdit edit;
    edit.SetDataField(QStringLiteral("ODD"));
    EXPECT_EQ(edit.binding().link(), nullptr);
    edit.SetDataSource(&source);
    EXPECT_EQ(edit.text(), QStringLiteral("1"));
    edit.SetDataField(QStringLiteral("najemce"));
    EXPECT_EQ(edit.text(), QStringLiteral("Lesy obce"));
    ds.Next();
    EXPECT_EQ(edit.text(), QStringLiteral("Obec Lhota"));
    edit.SetDataSource(nullptr);
    ds.First();
    EXPECT_EQ(edit.text(), QStringLiteral("Obec Lhota"));

    ui::DBComboBox combo;
    combo.SetDataSource(&source);
    combo.SetDataField(QStringLiteral("NAJEMCE"));
    EXPECT_TRUE(combo.isEditable());
    EXPECT_EQ(combo.currentText(), QStringLiteral("Lesy obce"));
    ds.Next();
    EXPECT_EQ(combo.currentText(), QStringLiteral("Obec Lhota"));
}

} // namespace
