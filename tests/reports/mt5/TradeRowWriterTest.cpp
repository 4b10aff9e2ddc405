#include "reports/mt5/TradeRowWriter.h"

#include "GridText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using test::Cells;
using test::Entries;
using test::RowText;

PositionFacts Facts(std::string_view id, std::string_view symbol, bool buy, std::string_view openTime,
                    std::string_view price, std::string_view stopLoss, std::string_view takeProfit,
                    std::string_view comment)
{
    return PositionFactsOf(
        [&](PositionText text) {
            const std::string_view texts[] = {id, symbol, openTime, price, stopLoss, takeProfit, comment};
            return texts[static_cast<int>(text)];
        },
        buy, kUnknown, kUnknown);
}

// The cells of a trade row: Ticket to P/L, then Magic and Comment; the others are empty.
std::string Row(const Cells& toProfit, const std::string& comment)
{
    Cells cells = toProfit;
    cells.resize(kFullColumns);
    cells[kMagic] = std::string(12, ' ');
    cells[kComment] = comment;
    std::string text = cells[0];
    for (std::size_t i = 1; i < cells.size(); ++i)
        text += "\t" + cells[i];
    return text;
}

// Rows written after two trades already in the table, as an appending load writes them.
TEST(TradeRowWriter, WritesTradesInTheOlderReportsCellFormats)
{
    TextGrid full(kFullColumns, 3);
    full.SetCell(kTicket, 1, "900");
    full.SetCell(kTicket, 2, "901");
    SelectionList pairs;
    pairs.Append("EURUSD");
    std::vector<int> rowCounts;
    const TradeLineCallback onTradeLine = [&] { rowCounts.push_back(full.RowCount()); };
    TradeRowWriter writer(full, 3, pairs, onTradeLine);
    writer.Write(Facts("1001", "eurusd", true, "2024.01.02 10:00:00", "1.10000", "1.09500", "", "ブレイク"), "0.30",
                 "2024.01.02 13:00:00", "1.10300", {.Profit = 6000, .Swap = -50, .Costs = -240});
    writer.Write(Facts("1002", "USDJPY", false, "2024.01.02 11:00:00", "150.000", "", "149.000", ""), "1.00", "",
                 "149.500", {.Profit = -123456, .Swap = 0, .Costs = -1});
    writer.Write(Facts("1003", "XAUUSD", true, "2024.01.03 09:00:00", "2050", "", "", ""), "0.01",
                 "2024.01.03 10:00:00", "2051", {.Profit = 12345678901, .Swap = 12345, .Costs = -123456});

    const std::string d = "2024.01.02 ";
    Cells rows;
    for (int row = 3; row < full.RowCount(); ++row)
        rows.push_back(RowText(full, row));
    EXPECT_EQ(rows, (Cells{
                        Row({"1001", d + "10:00:00", "buy", "0.30", "eurusd", "1.10000", "1.09500", "0.00000",
                             d + "13:00:00", "1.10300", " -2.40", " -0.50", "     60.00"},
                            "ブレイク"),
                        Row({"1002", d + "11:00:00", "sell", "1.00", "USDJPY", "150.000", "0.000", "149.000", "",
                             "149.500", " -0.01", "  0.00", "  -1234.56"},
                            ""),
                        Row({"1003", "2024.01.03 09:00:00", "buy", "0.01", "XAUUSD", "2050", "0", "0",
                             "2024.01.03 10:00:00", "2051", "-1234.56", "123.45", "123456789.01"},
                            ""),
                    }));
    EXPECT_EQ(full.Cell(kTicket, 1), "900") << "the trades before are kept";
    EXPECT_EQ(full.Cell(kTicket, 2), "901");
    EXPECT_EQ(rowCounts, (std::vector<int>{4, 5, 6})) << "the callback comes after the row is in the table";
    EXPECT_EQ(Entries(pairs), (Cells{"EURUSD", "USDJPY", "XAUUSD"}));

    const TradeLineCallback none;
    TradeRowWriter quiet(full, 6, pairs, none);
    quiet.Write(Facts("1004", "GBPUSD", true, "", "", "", "", ""), "0.10", "", "", {});
    EXPECT_EQ(full.RowCount(), 7);
    EXPECT_EQ(full.Cell(kTicket, 6), "1004");
}

TEST(TradeRowWriter, MoneyTextHasTwoDecimalsRightAligned)
{
    const struct
    {
        long long Cents;
        int Width;
        const char* Text;
    } cases[] = {
        {0, 6, "  0.00"},       {-5, 6, " -0.05"},           {1005, 6, " 10.05"},    {-1015, 0, "-10.15"},
        {150000, 6, "1500.00"}, {-123456, 10, "  -1234.56"}, {99, 10, "      0.99"}, {12345678901, 10, "123456789.01"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MoneyText(c.Cents, c.Width), c.Text) << c.Cents << " cents in " << c.Width;
}

} // namespace
} // namespace corvane
