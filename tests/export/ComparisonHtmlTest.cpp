#include "export/ComparisonHtml.h"

#include "text/CivilTime.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

Strategy Made(const std::string& name, const std::vector<std::pair<const char*, double>>& closes)
{
    Strategy strategy;
    strategy.Name = name;
    for (const auto& [close, result] : closes) {
        ClosedTrade trade;
        trade.CloseSeconds = *TimeTextSeconds(close);
        trade.Result = result;
        strategy.Trades.push_back(trade);
    }
    return strategy;
}

TEST(ComparisonHtml, ThePageHoldsTheTextTheMatrixAndThePicture)
{
    const Comparison comparison = Compare({Made("a<b>.htm", {{"2024.01.08 10:00", 10}, {"2024.01.09 10:00", -5}}),
                                           Made("c&d.htm", {{"2024.01.08 12:00", 4}, {"2024.01.10 12:00", 1}})},
                                          {});
    std::ostringstream page;
    WriteComparisonHtml(page, comparison, "curves.png");
    const std::string html = page.str();
    EXPECT_EQ(html.rfind("<!DOCTYPE HTML PUBLIC", 0), 0u);
    EXPECT_NE(html.find("a&lt;b&gt;.htm"), std::string::npos);
    EXPECT_NE(html.find("c&amp;d.htm"), std::string::npos);
    EXPECT_EQ(html.find("a<b>"), std::string::npos);
    EXPECT_NE(html.find("<img src=\"curves.png\""), std::string::npos);
    // Four cells, the diagonal the deepest red.
    std::size_t cells = 0;
    for (std::size_t at = html.find("<td bgcolor="); at != std::string::npos; at = html.find("<td bgcolor=", at + 1))
        ++cells;
    EXPECT_EQ(cells, 4u);
    EXPECT_NE(html.find("<td bgcolor=\"#E04040\">1.00<br>2d</td>"), std::string::npos);
    // Every line ends in CR LF.
    for (std::size_t at = html.find('\n'); at != std::string::npos; at = html.find('\n', at + 1))
        ASSERT_EQ(html[at - 1], '\r') << at;
    std::ostringstream without;
    WriteComparisonHtml(without, comparison, "");
    EXPECT_EQ(without.str().find("<img"), std::string::npos);
}

} // namespace
} // namespace corvane
