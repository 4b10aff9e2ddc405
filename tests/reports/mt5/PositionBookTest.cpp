#include "reports/mt5/PositionBook.h"

#include "text/Numbers.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <variant>
#include <vector>

namespace corvane {
namespace {

// Volumes in the tables below are in hundredths of a lot.
long long Lots(long long hundredths)
{
    return kVolumeScale / 100 * hundredths;
}

std::string Text(const DealMoney& money)
{
    return std::to_string(money.Profit) + "/" + std::to_string(money.Swap) + "/" + std::to_string(money.Costs);
}

struct OpeningFacts
{
    bool Buy = true;
    int Volume = 10;
    const char* Price = "1.10000";
    const char* StopLoss = "";
    const char* TakeProfit = "";
    int PartialVolume = -1; // unknown
    long long PartialProfit = kUnknown;
    const char* Symbol = "EURUSD";
};

struct Opening
{
    const char* Id;
    OpeningFacts With{};
};

struct Closing
{
    bool Buy = false; // a sell closes a buy
    int Volume = 10;
    const char* Price = "";
    long long Profit = 0;
    const char* Comment = "";
    const char* Position = ""; // the history's position whose last close it is
    const char* Symbol = "EURUSD";
    int Expect = 0; // the position it closes, in the order they were opened; -1 for none
    int Taken = -1; // the volume it takes and the volume beyond what was open, when checked
    int Excess = 0;
};

void Open(PositionBook& book, const Opening& opening, const DealMoney& entry = {})
{
    const OpeningFacts& o = opening.With;
    const PositionFacts facts{.Id = opening.Id,
                              .Symbol = o.Symbol,
                              .Buy = o.Buy,
                              .OpenTime = "2024.01.02 10:00:00",
                              .Price = o.Price,
                              .StopLoss = o.StopLoss,
                              .TakeProfit = o.TakeProfit,
                              .Comment = "",
                              .PartialVolume = o.PartialVolume < 0 ? kUnknown : Lots(o.PartialVolume),
                              .PartialProfit = o.PartialProfit};
    book.Open(facts, Lots(o.Volume), entry);
}

PositionBook::Closed Close(PositionBook& book, const Closing& c)
{
    return book.Close({.Symbol = c.Symbol,
                       .Buy = c.Buy,
                       .Volume = Lots(c.Volume),
                       .Price = ParseScaled(c.Price, 8).value_or(kUnknown),
                       .Profit = c.Profit,
                       .Comment = c.Comment,
                       .Position = c.Position});
}

TEST(PositionBook, OpensAddsToAndClosesThePositionsTheDealsName)
{
    using Step = std::variant<Opening, Closing>;
    using O = Opening;
    using C = Closing;
    const struct
    {
        const char* Name;
        std::vector<Step> Steps;
        std::vector<int> Left; // every position's open volume afterwards
        bool Netting = false;
    } cases[] = {
        {"an open ticket adds to its position",
         {O{"1"}, O{"2"}, O{"1", {.Volume = 20}}, O{"1", {.Symbol = "GBPUSD"}}, O{"1", {.Buy = false}}},
         {30, 10, 10, 10}},
        {"netting: one position a symbol and side",
         {O{"1"}, O{"2", {.Volume = 20}}, O{"3", {.Symbol = "GBPUSD"}}},
         {30, 10},
         true},
        {"no volume opens nothing", {O{"1", {.Volume = 0}}}, {}},
        {"nothing tells them apart: the first opened", {O{"1"}, O{"2"}, C{}, C{.Expect = 1}}, {0, 0}},
        {"the history names the position", {O{"1"}, O{"2"}, C{.Position = "2", .Expect = 1}}, {10, 0}},
        {"a named position too small is passed over",
         {O{"1", {.Volume = 20}}, O{"2"}, C{.Volume = 20, .Position = "2"}},
         {0, 10}},
        {"a close by closes the named position of its side",
         {O{"1"}, O{"2"}, O{"3", {.Buy = false}}, C{.Comment = "#2 by #3", .Expect = 1},
          C{.Buy = true, .Comment = "#2 by #3", .Expect = 2}},
         {10, 0, 0}},
        {"a stop names the position",
         {O{"1", {.StopLoss = "1.09000"}}, O{"2", {.StopLoss = "1.08000"}}, O{"3", {.TakeProfit = "1.12"}}, O{"4"},
          C{.Comment = "[tp 1.12000]", .Expect = 2}, C{.Comment = "sl 1.08000", .Expect = 1},
          C{.Comment = "sl 1.07000"}},
         {0, 0, 0, 10}},
        {"the last part close brings the part profit",
         {O{"1", {.Volume = 30, .PartialVolume = 20, .PartialProfit = 2000}},
          O{"2", {.Volume = 30, .PartialVolume = 20, .PartialProfit = 1500}},
          C{.Profit = 700, .Comment = "#2 by #9", .Expect = 1}, C{.Profit = 800, .Expect = 1}, C{.Profit = 5}},
         {20, 10}},
        {"a close that would end the parts with another profit goes elsewhere",
         {O{"1", {.Volume = 30, .PartialVolume = 10, .PartialProfit = 500}}, O{"2"}, C{.Profit = 700, .Expect = 1}},
         {30, 0}},
        {"a position closed whole takes no part close",
         {O{"1", {.PartialVolume = 0, .PartialProfit = 0}}, O{"2"}, C{.Expect = 1}, C{.Position = "1"}},
         {0, 0}},
        {"the open price explains the profit at the sure rate",
         {O{"1"}, C{.Price = "1.10100", .Profit = 1000}, O{"2"}, O{"3", {.Price = "1.09000"}},
          C{.Price = "1.10100", .Profit = 11000, .Expect = 2}},
         {0, 10, 0}},
        {"... set by a close with one position to choose from",
         {O{"1"}, O{"2"}, C{.Price = "1.10100", .Profit = 1000}, O{"3", {.Price = "1.09000"}},
          C{.Price = "1.10100", .Profit = 11000, .Expect = 1}},
         {0, 0, 10}},
        {"... of sells too",
         {O{"1", {.Buy = false}}, C{.Buy = true, .Price = "1.09900", .Profit = 1000}, O{"2", {.Buy = false}},
          O{"3", {.Buy = false, .Price = "1.11000"}}, C{.Buy = true, .Price = "1.09900", .Profit = 11000, .Expect = 2}},
         {0, 10, 0}},
        {"... of the same symbol only",
         {O{"1", {.Symbol = "GBPUSD"}}, C{.Price = "1.10100", .Profit = 1000, .Symbol = "GBPUSD"}, O{"2"},
          O{"3", {.Price = "1.09000"}}, C{.Price = "1.10100", .Profit = 11000, .Expect = 1}},
         {0, 0, 10}},
        {"nothing of the other side or symbol to close",
         {O{"1"}, C{.Buy = true, .Expect = -1, .Taken = 0, .Excess = 10},
          C{.Symbol = "GBPUSD", .Expect = -1, .Taken = 0, .Excess = 10}, C{.Volume = 0, .Expect = -1, .Taken = 0}},
         {10}},
        {"a ticket opened again after its close", {O{"1"}, C{}, O{"1"}, C{.Expect = 1}}, {0, 0}},
        {"no position takes it all: in the order opened",
         {O{"1"}, O{"2", {.Volume = 20}}, C{.Volume = 25, .Taken = 25}},
         {0, 5}},
        {"... and the rest is excess",
         {O{"1"}, O{"2", {.Volume = 20}}, C{.Volume = 40, .Taken = 30, .Excess = 10}},
         {0, 0}},
        {"netting: a reversal",
         {O{"1"}, O{"2"}, C{.Volume = 50, .Taken = 20, .Excess = 30}, O{"3", {.Buy = false, .Volume = 30}},
          C{.Buy = true, .Volume = 30, .Expect = 1}},
         {0, 0},
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PositionBook book(c.Netting);
        int step = 0;
        for (const Step& s : c.Steps) {
            ++step;
            if (const auto* opening = std::get_if<Opening>(&s)) {
                Open(book, *opening);
                continue;
            }
            const Closing& closing = std::get<Closing>(s);
            const PositionBook::Closed closed = Close(book, closing);
            EXPECT_EQ(closed.Position, closing.Expect) << "step " << step;
            if (closing.Taken >= 0) {
                EXPECT_EQ(std::make_pair(closed.Volume, closed.Excess),
                          std::make_pair(Lots(closing.Taken), Lots(closing.Excess)))
                    << "step " << step;
            }
        }
        std::vector<int> left;
        for (int i = 0; i < book.Count(); ++i)
            left.push_back(static_cast<int>(book.OpenVolume(i) / Lots(1)));
        EXPECT_EQ(left, c.Left);
    }
}

// The opening deals' money goes with the volume: a part close takes its part of what is left, rounded half
// away from zero, and the last close the rest.
TEST(PositionBook, SharesTheOpeningDealsMoneyOutToTheCloses)
{
    const struct
    {
        const char* Name;
        int Volume;
        DealMoney Entry;
        std::vector<int> Closes;
        std::vector<std::string> Shares; // profit/swap/costs in cents
    } cases[] = {
        {"thirds of what does not divide by three", 30, {0, 7, -100}, {10, 10, 10}, {"0/2/-33", "0/3/-34", "0/2/-33"}},
        {"a third, then the rest", 30, {0, 0, -240}, {10, 20}, {"0/0/-80", "0/0/-160"}},
        {"uneven parts", 30, {0, 0, -1}, {7, 13, 10}, {"0/0/0", "0/0/-1", "0/0/0"}},
        {"halves of an odd profit", 20, {101, 0, 0}, {10, 10}, {"51/0/0", "50/0/0"}},
        {"more than is open takes it all", 10, {0, -5, -70}, {30}, {"0/-5/-70"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        PositionBook book(false);
        Open(book, {"1", {.Volume = c.Volume}}, c.Entry);
        std::vector<std::string> shares;
        for (const int volume : c.Closes)
            shares.push_back(Text(Close(book, {.Volume = volume}).Entry));
        EXPECT_EQ(shares, c.Shares);
    }
}

// Two positions, each of two opening deals, closed in random parts and the rest settled: each one's closes
// add up to its deals' money to the cent.
TEST(PositionBook, ClosesInAnyPartsAddUpToTheOpeningDealsMoney)
{
    std::mt19937 random(20240102);
    const auto any = [&](long long low, long long high) {
        return std::uniform_int_distribution<long long>(low, high)(random);
    };
    for (int round = 0; round < 300; ++round) {
        PositionBook book(false);
        DealMoney total[2], taken[2];
        for (int deal = 0; deal < 4; ++deal) {
            const DealMoney entry{any(-99'999, 99'999), any(-9'999, 9'999), any(-9'999, 0)};
            Open(book, {deal % 2 ? "2" : "1", {.Volume = static_cast<int>(any(1, 500))}}, entry);
            total[deal % 2] += entry;
        }
        while (book.OpenVolume(0) + book.OpenVolume(1) > 0) {
            const int position = book.OpenVolume(0) > 0 && (book.OpenVolume(1) == 0 || any(0, 1)) ? 0 : 1;
            const long long left = book.OpenVolume(position) / Lots(1);
            if (any(0, 9) == 0) {
                taken[position] += book.Settle(position);
                continue;
            }
            taken[position] +=
                Close(book, {.Volume = static_cast<int>(any(1, left)), .Position = position ? "2" : "1"}).Entry;
        }
        for (const int position : {0, 1})
            ASSERT_EQ(Text(taken[position]), Text(total[position])) << "round " << round << ", position " << position;
    }
}

// The facts given to Open view texts that are gone by the time the book is asked.
TEST(PositionBook, KeepsCopiesOfTheFactsTexts)
{
    PositionBook book(false);
    for (int i = 0; i < 300; ++i) {
        const std::string id = std::to_string(5000 + i), note = i % 2 ? "" : "note " + id;
        book.Open({.Id = id,
                   .Symbol = i % 3 ? "EURUSD" : "USDJPY",
                   .Buy = i % 2 == 0,
                   .OpenTime = "t" + id,
                   .Price = "1." + id,
                   .StopLoss = "",
                   .TakeProfit = "1." + id + "9",
                   .Comment = note,
                   .PartialVolume = i,
                   .PartialProfit = -i},
                  Lots(1), {});
    }
    for (int i = 0; i < 300; ++i) {
        const std::string id = std::to_string(5000 + i);
        const PositionFacts f = book.Facts(book.FindOpen(id));
        const std::vector<std::string> texts{std::string(f.Id),     std::string(f.Symbol),   std::string(f.OpenTime),
                                             std::string(f.Price),  std::string(f.StopLoss), std::string(f.TakeProfit),
                                             std::string(f.Comment)};
        const std::vector<std::string> expected{
            id, i % 3 ? "EURUSD" : "USDJPY", "t" + id, "1." + id, "", "1." + id + "9", i % 2 ? "" : "note " + id};
        EXPECT_EQ(texts, expected);
        EXPECT_EQ(std::make_tuple(f.Buy, f.PartialVolume, f.PartialProfit),
                  std::make_tuple(i % 2 == 0, 1LL * i, -1LL * i));
    }
}

} // namespace
} // namespace corvane
