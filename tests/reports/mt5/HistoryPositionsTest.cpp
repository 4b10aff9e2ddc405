#include "reports/mt5/HistoryPositions.h"

#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

constexpr long long kTenth = kVolumeScale / 10;

std::string At(const char* time)
{
    return *time ? std::string("2024.01.02 ") + time + ":00" : "";
}

struct HistoryRow
{
    const char* Id;
    const char* OpenTime;
    const char* CloseTime = ""; // none: still open
    bool Buy = true;
    int Tenths = 1; // its volume
    const char* ClosePrice = "1.10200";
    long long Profit = 1000;
    const char* Symbol = "EURUSD";
};

HistoryPositions Indexed(const std::vector<HistoryRow>& positions)
{
    HistoryPositions history;
    for (const HistoryRow& p : positions) {
        const std::string openTime = At(p.OpenTime), closeTime = At(p.CloseTime);
        history.Add({.Id = p.Id,
                     .Symbol = p.Symbol,
                     .OpenTime = openTime,
                     .Price = "1.10000",
                     .StopLoss = "",
                     .TakeProfit = "1.12000",
                     .Comment = "note " + std::string(p.Id),
                     .CloseTime = closeTime,
                     .Buy = p.Buy,
                     .Volume = p.Tenths * kTenth,
                     .ClosePrice = *ParseScaled(p.ClosePrice, 8),
                     .Profit = p.Profit});
    }
    history.Index();
    return history;
}

// A ticket listed twice is found at its first row, however the look-ups before went.
TEST(HistoryPositions, FindsAPositionsFirstRowByItsTicket)
{
    HistoryPositions history = Indexed({{"10", "09:00"}, {"11", "09:00"}, {"10", "09:00"}, {"12", "09:00"}});
    const std::pair<const char*, int> finds[] = {{"10", 0},  {"11", 1}, {"10", 0},   {"12", 3}, {"11", 1},
                                                 {"13", -1}, {"1", -1}, {"100", -1}, {"", -1}};
    for (const auto& [id, row] : finds)
        EXPECT_EQ(history.Find(id), row) << "ticket '" << id << "'";

    std::vector<HistoryRow> many;
    std::vector<std::string> ids;
    for (int i = 0; i < 6000; ++i)
        ids.push_back(std::to_string(i % 3000));
    for (const std::string& id : ids)
        many.push_back({id.c_str(), "09:00"});
    HistoryPositions large = Indexed(many);
    int wrong = 0;
    for (int i = 5999; i >= 0; --i)
        wrong += large.Find(ids[static_cast<std::size_t>(i)]) != i % 3000;
    EXPECT_EQ(wrong, 0);
}

// Of the positions closed last at the deal's time on its symbol and side, the first with the deal's close
// price and profit, else the first with volume enough; each once.
TEST(HistoryPositions, TakesThePositionWhoseLastCloseADealIs)
{
    HistoryPositions history = Indexed({
        {"1", "09:00", "12:00", true, 3, "1.10300", 6000},
        {"2", "09:00", "12:00"},
        {"3", "09:00", "12:00", false},
        {"4", "09:00", "12:00", true, 1, "1.10200", 1000, "GBPUSD"},
        {"5", "09:00", "12:00", true, 2},
        {"6", "09:00", "13:00"},
        {"7", "09:00", "14:00", true, 1, "1.20000", 5},
        {"8", "09:00", "14:00", true, 1, "1.30000", 500},
    });
    const struct
    {
        const char* Symbol;
        bool Buy;
        const char* Time;
        const char* Price;
        long long Profit;
        int Tenths;
        int Expect;
    } deals[] = {
        {"EURUSD", true, "12:00", "1.10200", 1000, 1, 1},  {"EURUSD", true, "12:00", "1.10200", 1000, 1, 4},
        {"EURUSD", true, "12:00", "1.10300", 999, 4, -1},  {"EURUSD", true, "12:00", "1.10300", 999, 1, 0},
        {"EURUSD", true, "12:00", "1.10300", 6000, 1, -1}, {"EURUSD", false, "12:00", "1.00000", 0, 1, 2},
        {"GBPUSD", true, "12:00", "1.00000", 0, 1, 3},     {"EURUSD", true, "12:30", "1.10200", 1000, 1, -1},
        {"EURUSD", true, "13:00", "1.00000", 0, 1, 5},     {"EURUSD", true, "14:00", "1.30000", 7, 1, 7},
    };
    for (const auto& d : deals)
        EXPECT_EQ(
            history.TakeLastClose(d.Symbol, d.Buy, At(d.Time), *ParseScaled(d.Price, 8), d.Profit, d.Tenths * kTenth),
            d.Expect)
            << d.Symbol << (d.Buy ? " buy " : " sell ") << d.Time << " " << d.Price << " " << d.Profit;

    // What was closed before the last close: the rest of the position's volume and profit.
    const PositionFacts first = history.Facts(0), second = history.Facts(1), notTaken = history.Facts(6);
    EXPECT_EQ(std::make_pair(first.PartialVolume, first.PartialProfit), std::make_pair(2 * kTenth, 6000LL - 999));
    EXPECT_EQ(std::make_pair(second.PartialVolume, second.PartialProfit), std::make_pair(0LL, 0LL));
    EXPECT_EQ(std::make_pair(notTaken.PartialVolume, notTaken.PartialProfit), std::make_pair(kUnknown, kUnknown));
    EXPECT_EQ(std::string(first.Id) + "|" + std::string(first.Symbol) + "|" + std::string(first.OpenTime) + "|"
                  + std::string(first.Price) + "|" + std::string(first.StopLoss) + "|" + std::string(first.TakeProfit)
                  + "|" + std::string(first.Comment),
              "1|EURUSD|2024.01.02 09:00:00|1.10000||1.12000|note 1");
    EXPECT_EQ(history.Ticket(7), "8");
}

// A position no deal has opened, open at the deal's time and closed at or after it, in opening order.
TEST(HistoryPositions, TakesAPositionOpenedBeforeTheHistoryOnce)
{
    HistoryPositions history = Indexed({
        {"1", "08:00"},
        {"2", "09:00", "11:00"},
        {"3", "10:00", "13:00"},
        {"4", "10:30", "13:00", false},
        {"5", "12:00", "14:00"},
    });
    history.SetOpened(history.Find("2")); // by its opening deal
    const struct
    {
        const char* Symbol;
        bool Buy;
        const char* Time;
        int Expect;
    } closes[] = {
        {"EURUSD", true, "09:30", -1}, // the next opens after it
        {"EURUSD", true, "12:30", 2},  {"EURUSD", true, "12:30", 4},  {"EURUSD", true, "12:30", -1},
        {"EURUSD", false, "12:30", 3}, {"GBPUSD", true, "12:30", -1}, {"EURUSD", true, "08:30", -1},
    };
    for (const auto& c : closes)
        EXPECT_EQ(history.TakeEarlier(c.Symbol, c.Buy, At(c.Time)), c.Expect)
            << c.Symbol << (c.Buy ? " buy " : " sell ") << c.Time;
    EXPECT_TRUE(history.Opened(2) && history.Opened(4) && history.Opened(3));
}

} // namespace
} // namespace corvane
