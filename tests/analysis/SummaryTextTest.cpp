#include "SummaryText.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(SummaryText, HeadingJoinsTitleAndPath)
{
    EXPECT_EQ(SummaryHeading("Statement: 1", "/r/a.htm"), "Statement: 1, /r/a.htm");
    EXPECT_EQ(SummaryHeading("", "/r/a.htm"), "/r/a.htm");
}

TEST(SummaryText, NetProfitLineHasItsColumns)
{
    SummaryFigures figures;
    figures.NetProfit = -1234.5;
    figures.InitialDeposit = 10000;
    const std::string line = SummaryFigureLines(figures).at(0);
    EXPECT_EQ(line, "Net profit                -1234.50              Initial deposit           10000.00");
    EXPECT_EQ(line.size(), 82u);
}

} // namespace
} // namespace corvane
