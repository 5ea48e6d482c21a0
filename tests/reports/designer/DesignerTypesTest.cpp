#include "reports/designer/DesignerTypes.h"

#include "reports/model/ReportElement.h"

#include <gtest/gtest.h>

using namespace reports;
using namespace reports::designer;

TEST(DesignerTypes, ToolCodesAndKindsAreInverse)
{
    const std::pair<int, ToolElement> cases[] = {
        {1, {ekText, 0}}, {2, {ekLine, 0}}, {3, {ekRectangle, 0}}, {4, {ekRoundRect, 0}},
        {5, {ekEllipse, 0}}, {6, {ekPicture, 0}}, {2000, {ekColumn, 0}}, {3999, {ekColumn, 1999}},
        {4007, {ekLabel, 7}}, {6002, {ekParameter, 2}}, {8006, {ekVariable, 6}},
        {10003, {ekFunction, 3}}, {13999, {ekDetail, 1999}},
    };
    for (const auto& [code, element] : cases) {
        const ToolElement got = toolElement(code);
        EXPECT_EQ(got.kind, element.kind) << code;
        EXPECT_EQ(got.reference, element.reference) << code;
        EXPECT_EQ(toolCodeOf(got.kind, got.reference), code) << code;
    }
    for (const int code : {0, 7, 1999, 14000, -1})
        EXPECT_EQ(toolElement(code).kind, 0) << code;
    EXPECT_EQ(toolCodeOf(99, 0), 0);
}

TEST(DesignerTypes, KindNamesAndSectionLetters)
{
    EXPECT_EQ(kindName(ekColumn), "Položka tabulky");
    EXPECT_EQ(kindName(ekRoundRect), "Zaoblený rámeček");
    EXPECT_EQ(kindName(ekPicture), "Obrázek");
    EXPECT_EQ(kindName(ekDetail), "Neznámý");
    EXPECT_EQ(kindName(0), "Neznámý");

    EXPECT_EQ(QString(sectionLetter(biBody)), "T");
    EXPECT_EQ(QString(sectionLetter(groupStartBand(0))), "S");
    EXPECT_EQ(QString(sectionLetter(groupEndBand(0))), "U");
    EXPECT_EQ(QString(sectionLetter(groupStartBand(3))), "S");
    EXPECT_EQ(QString(sectionLetter(groupEndBand(3))), "U");
    EXPECT_EQ(groupOfBand(groupEndBand(2)), 2);
    EXPECT_EQ(groupOfBand(biPageFoot), -1);
}
