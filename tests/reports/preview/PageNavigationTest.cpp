// Paging in the preview: the printed range bounds the buttons, the chooser reaches any page,
// and a range without pages does nothing.
#include "reports/preview/PageNavigation.h"

#include <gtest/gtest.h>

namespace {

using reports::PageNavigation;

TEST(PageNavigation, ButtonsStayInThePrintedRangeWhileTheChooserReachesEveryPage)
{
    PageNavigation nav(3, 5, 10);
    nav.showFirstOfRange();
    EXPECT_EQ(nav.current(), 2);
    EXPECT_EQ(nav.currentText(), "3");
    EXPECT_EQ(nav.countText(), "10");
    EXPECT_FALSE(nav.first());
    EXPECT_FALSE(nav.prior());
    EXPECT_EQ(nav.next(), 3);
    EXPECT_EQ(nav.last(), 4);

    ASSERT_TRUE(nav.setCurrent(*nav.last()));
    EXPECT_FALSE(nav.next());
    EXPECT_EQ(nav.first(), 2);
    EXPECT_EQ(nav.prior(), 3);

    EXPECT_EQ(nav.chosen("1"), 0);
    EXPECT_EQ(nav.chosen(" 10 "), 9);
    EXPECT_EQ(nav.chosen("55"), 9);
    EXPECT_EQ(nav.chosen("-4"), 0);
    EXPECT_EQ(nav.chosen("x"), 2);           // not a number: StartPage
    EXPECT_EQ(nav.chosen("-2147483648"), 0);
    EXPECT_FALSE(nav.chosen("5"));           // already there
}

TEST(PageNavigation, NoPageInTheRangeShowsZeroAndMovesNowhere)
{
    for (const auto& [start, end, count] : {std::tuple{1, 9999, 0}, std::tuple{4, 9999, 3}}) {
        PageNavigation nav(start, end, count);
        nav.showFirstOfRange();
        EXPECT_TRUE(nav.isEmpty());
        EXPECT_EQ(nav.currentText(), "0");
        EXPECT_EQ(nav.countText(), "0");
        EXPECT_FALSE(nav.first() || nav.prior() || nav.next() || nav.last());
        EXPECT_FALSE(nav.chosen("1"));
        EXPECT_FALSE(nav.chosen("x"));
    }
}

TEST(PageNavigation, AGrowingRunExtendsTheRange)
{
    PageNavigation nav(1, 9999, 1);
    nav.showFirstOfRange();
    EXPECT_FALSE(nav.next());
    nav.setPageCount(4);
    EXPECT_EQ(nav.last(), 3);
    EXPECT_EQ(nav.countText(), "4");
    EXPECT_EQ(nav.chosen("9"), 3);
}

} // namespace
