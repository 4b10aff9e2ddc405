#include "analysis/MoreStatistics.h"
#include "Samples.h"
#include "TradeRows.h"
#include "analysis/Commands.h"
#include "analysis/Filters.h"
#include "reports/mt5/Mt5Report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace corvane {
namespace {

ReportState Report(bool mt5 = false, double deposit = 1000.0, std::vector<BalanceRow> rows = {})
{
    ReportState report;
    report.Kind = ReportKind::Tester;
    report.Writer = mt5 ? Terminal::Mt5 : Terminal::Mt4;
    report.InitialDeposit = mt5 ? 0.0 : deposit;
    report.BalanceRows = std::move(rows);
    return report;
}

// Trades closing an hour apart from 2024.01.01 00:00 on, each held for an hour.
ClosedTradeList Trades(const std::vector<double>& results)
{
    ClosedTradeList trades{{}, {"eurusd"}, {"0"}};
    for (std::size_t i = 0; i < results.size(); ++i) {
        ClosedTrade trade;
        trade.Sequence = static_cast<long long>(i) + 1;
        trade.CloseSeconds = 1704067200 + 3600 * (static_cast<long long>(i) + 1);
        trade.OpenSeconds = trade.CloseSeconds - 3600;
        trade.Month = MonthKey("2024.01.01");
        trade.Short = i % 2 == 1;
        trade.Result = results[i];
        trades.Trades.push_back(trade);
    }
    return trades;
}

TEST(MoreStatistics, FiguresOfSmallTables)
{
    // Worked out by hand. Win runs (2, 10), (1, 30), (2, 20): the terminal of MetaTrader 4 keeps the
    // earlier run of two, as the later one set no record (30 is the record); MetaTrader 5 the larger.
    const auto mt4 = ComputeMoreStatistics(Trades({4, 6, -1, 30, -1, 10, 10}), Report());
    EXPECT_EQ(mt4.Trades, 7);
    EXPECT_DOUBLE_EQ(mt4.GrossProfit, 60);
    EXPECT_DOUBLE_EQ(mt4.GrossLoss, -2);
    EXPECT_DOUBLE_EQ(mt4.NetProfit, 58);
    EXPECT_DOUBLE_EQ(*mt4.ProfitFactor, 30);
    EXPECT_DOUBLE_EQ(mt4.ExpectedPayoff, 58.0 / 7);
    EXPECT_DOUBLE_EQ(mt4.LargestProfitTrade, 30);
    EXPECT_DOUBLE_EQ(mt4.LargestLossTrade, -1);
    EXPECT_DOUBLE_EQ(mt4.AverageProfitTrade, 12);
    EXPECT_DOUBLE_EQ(mt4.AverageLossTrade, -1);
    EXPECT_EQ(mt4.MaxConsecutiveWins, 2);
    EXPECT_DOUBLE_EQ(mt4.MaxConsecutiveWinsMoney, 10);
    EXPECT_EQ(mt4.MaxConsecutiveLosses, 1);
    EXPECT_DOUBLE_EQ(mt4.MaxConsecutiveLossesMoney, -1);
    EXPECT_EQ(mt4.ShortTrades, 3); // trades 2, 4 and 6; the loss of trade 3 is a long one
    EXPECT_DOUBLE_EQ(mt4.ShortWonPct, 100);
    EXPECT_DOUBLE_EQ(mt4.LongWonPct, 50);
    EXPECT_DOUBLE_EQ(*mt4.AverageHoldingSeconds, 3600);
    const auto mt5 = ComputeMoreStatistics(Trades({4, 6, -1, 30, -1, 10, 10}), Report(true));
    EXPECT_DOUBLE_EQ(mt5.MaxConsecutiveWinsMoney, 20);

    // Deposit 1000 and +100, -300, +50: the fall of 300 from the peak of 1100 is 27.27%; the gain
    // multiplies 1100/1000, 800/1100 and 850/800.
    const auto fall = ComputeMoreStatistics(Trades({100, -300, 50}), Report());
    EXPECT_DOUBLE_EQ(fall.MaxDrawdown, 300);
    EXPECT_NEAR(fall.MaxDrawdownPct, 27.2727, 1e-4);
    EXPECT_NEAR(*fall.GainPct, -15, 1e-9);
    EXPECT_NEAR(*fall.RecoveryFactor, -150.0 / 300, 1e-12);
    EXPECT_NEAR(*fall.SharpeRatio, (-50.0) / std::sqrt((150.0 * 150 + 250.0 * 250 + 100.0 * 100) / 3), 1e-12);
}

TEST(MoreStatistics, BalanceRowsMoveTheBalanceButEarnNothing)
{
    // 1000 deposited, +100 (10%), 900 more deposited, -200 (-10% of 2000), then all but 100 withdrawn, +5
    // (5%): the withdrawal is no drawdown.
    std::vector<BalanceRow> rows = {{"2024.01.01 00:00", 1000, "Deposit", 1, false},
                                    {"2024.01.01 01:30", 900, "Deposit", 2, false},
                                    {"2024.01.01 02:30", -1700, "Withdrawal", 3, false}};
    const auto f = ComputeMoreStatistics(Trades({100, -200, 5}), Report(true, 0, rows));
    EXPECT_NEAR(*f.GainPct, (1.1 * 0.9 * 1.05 - 1) * 100, 1e-9);
    EXPECT_DOUBLE_EQ(f.MaxDrawdown, 200);
    EXPECT_NEAR(f.MaxDrawdownPct, 200 * 100 / 1100.0, 1e-9); // measured on the deposit before the first trade
    // Everything withdrawn but a residue of binary sums: the balance is 0 in cents, and a trade on it earns a
    // gain that cannot be told, in its month as in all.
    rows[2].Amount = -1800 + 1e-12;
    const auto none = ComputeMoreStatistics(Trades({100, -200, 5}), Report(true, 0, rows));
    EXPECT_FALSE(none.GainPct);
    ASSERT_EQ(none.Months.size(), 1u);
    EXPECT_FALSE(none.Months[0].GainPct);
}

TEST(MoreStatistics, EdgeCases)
{
    const struct
    {
        const char* Name;
        std::vector<double> Results;
        double Deposit;
        bool ProfitFactor, Sharpe, Gain, Recovery;
    } cases[] = {
        {"no trade", {}, 1000, false, false, false, false},
        {"a single trade", {5}, 1000, false, false, true, false},
        {"all trades at zero", {0, 0}, 1000, false, false, true, false},
        {"no losing trade", {1, 2}, 1000, false, true, true, false},
        {"a deposit of zero", {-1, 2}, 0, true, true, false, true},
    };
    for (const auto& c : cases) {
        const auto f = ComputeMoreStatistics(Trades(c.Results), Report(false, c.Deposit));
        EXPECT_EQ(f.ProfitFactor.has_value(), c.ProfitFactor) << c.Name;
        EXPECT_EQ(f.SharpeRatio.has_value(), c.Sharpe) << c.Name;
        EXPECT_EQ(f.GainPct.has_value(), c.Gain) << c.Name;
        EXPECT_EQ(f.RecoveryFactor.has_value(), c.Recovery) << c.Name;
        EXPECT_FALSE(MoreStatisticsLines(f).empty()) << c.Name;
    }
}

// The tables by symbol and by magic number group the trades by their texts, a Magic cell of blanks under
// "0" with the magic number 0; the months are named by the close times. The filter pass finds the same.
TEST(MoreStatistics, TablesNameTheirRowsByTheTradesTexts)
{
    using test::MagicCell;
    Session session = test::SessionWith(
        1000, {{.Ticket = "1", .Item = "eurusd", .CloseTime = "2024.01.31 23:00", .Magic = MagicCell("0")},
               {.Ticket = "2", .Item = "gbpusd", .CloseTime = "2024.02.01 10:00", .Magic = MagicCell("")},
               {.Ticket = "3", .Item = "eurusd", .CloseTime = "2024.02.03 10:00", .Magic = MagicCell("77")},
               {.Ticket = "4", .Item = "EURUSD", .CloseTime = "", .Magic = MagicCell("88")}});
    ApplyFilters(session, MagicFilterFor(session));
    const auto f =
        ComputeMoreStatistics(ClosedTrades(session.Grid, session.XGrid, kXMagic, session.Report), session.Report);
    const auto names = [](const std::vector<GroupFigures>& rows) {
        std::vector<std::pair<std::string, long long>> named;
        for (const GroupFigures& row : rows)
            named.emplace_back(row.Name, row.Trades);
        return named;
    };
    using Named = std::vector<std::pair<std::string, long long>>;
    EXPECT_EQ(names(f.Symbols), (Named{{"eurusd", 2}, {"gbpusd", 1}}));
    EXPECT_EQ(names(f.Magics), (Named{{"0", 2}, {"77", 1}}));
    ASSERT_EQ(f.Months.size(), 2u);
    EXPECT_EQ(f.Months[0].Month, "2024.01");
    EXPECT_EQ(f.Months[1].Month, "2024.02");
    const std::vector<std::string> lines = MoreStatisticsLines(f);
    ASSERT_GE(session.MoreMemo.size(), lines.size());
    EXPECT_EQ(std::vector<std::string>(session.MoreMemo.end() - static_cast<std::ptrdiff_t>(lines.size()),
                                       session.MoreMemo.end()),
              lines);
}

TEST(MoreStatistics, CheckLineSaysWhatAgreesAndWhatDiffers)
{
    ReportState report = Report(true);
    report.Printed = PrintedSummary();
    report.Printed->Trades = 2;
    report.Printed->NetProfit = 3.0;
    report.Printed->GrossProfit = 5.0;
    report.Printed->GrossLoss = -2.0;
    const auto all = ComputeMoreStatistics(Trades({5, -2}), report);
    EXPECT_EQ(CheckAgainstReport(all, report)->Line,
              "Checked against the report's own summary: 2 trades, net profit 3.00");
    report.Printed->NetProfit = 3.01;
    report.Printed->Trades = 3;
    const auto check = CheckAgainstReport(all, report);
    EXPECT_FALSE(check->Agrees);
    EXPECT_EQ(check->Line, "Differs from the report's own summary: trades 2 here, 3 in the report (1 fewer); "
                           "net profit 3.00 here, 3.01 in the report (0.01 less)");
    report.Printed.reset();
    EXPECT_FALSE(CheckAgainstReport(all, report));
}

// The figure as the terminal prints it with `decimals` places: half away from zero on the binary value.
std::string Printed(double value, int decimals)
{
    char text[64];
    if (decimals == 0)
        std::snprintf(text, sizeof text, "%.0f", std::round(value));
    else
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return std::string(text) == "-0" || std::string(text) == "-0.00" ? std::string(text).substr(1) : text;
}

int Decimals(const std::string& text)
{
    const auto dot = text.find('.');
    return dot == std::string::npos ? 0 : static_cast<int>(text.size() - dot - 1);
}

TEST(MoreStatistics, EveryRealReportPrintsOurFigures)
{
    CORVANE_REQUIRE_SAMPLES();
    for (const std::string& dir : {test::SamplesDir(), test::Mt5SamplesDir()}) {
        for (const auto& [name, row] : test::SampleFigures(dir, "figures-more.tsv")) {
            if (row.at("total_trades").empty())
                continue; // the report prints no Details block
            Session session;
            ASSERT_EQ(LoadAndFilter(session, dir + "/" + name, LoadMode::Replace), LoadOutcome::Loaded) << name;
            const ReportState& report = session.Report;
            const bool mt5 = report.Writer == Terminal::Mt5;
            const bool mt4Tester = !mt5 && report.Kind == ReportKind::Tester;
            // A tester's Sharpe ratio and recovery factor follow its equity, which the rows do not hold either.
            const bool mt5Tester = mt5 && report.Kind == ReportKind::Tester;
            const auto f = ComputeMoreStatistics(ClosedTrades(session.Full, session.Full, kMagic, report), report);
            const auto check = CheckAgainstReport(f, report);
            ASSERT_TRUE(check) << name;
            EXPECT_TRUE(check->Agrees) << name << ": " << check->Line;
            const struct
            {
                const char* Column;
                double Ours;
                bool Sum; // an MT4 tester sums rounded rows: a few cents apart from its printed figure
            } figures[] = {
                {"total_trades", static_cast<double>(f.Trades), false},
                {"gross_profit", f.GrossProfit, true},
                {"gross_loss", f.GrossLoss, true},
                {"net_profit", f.NetProfit, true},
                {"profit_factor", f.ProfitFactor.value_or(-1), false},
                {"expected_payoff", f.ExpectedPayoff, true},
                {"largest_profit_trade", f.LargestProfitTrade, false},
                {"largest_loss_trade", f.LargestLossTrade, false},
                {"average_profit_trade", f.AverageProfitTrade, true},
                {"average_loss_trade", f.AverageLossTrade, true},
                {"max_consecutive_wins", static_cast<double>(f.MaxConsecutiveWins), false},
                {"max_consecutive_wins_money", f.MaxConsecutiveWinsMoney, true},
                {"max_consecutive_losses", static_cast<double>(f.MaxConsecutiveLosses), false},
                {"max_consecutive_losses_money", f.MaxConsecutiveLossesMoney, true},
                {"short_trades", static_cast<double>(f.ShortTrades), false},
                {"short_won_pct", f.ShortWonPct, false},
                {"long_trades", static_cast<double>(f.LongTrades), false},
                {"long_won_pct", f.LongWonPct, false},
                // An MT4 tester's drawdown follows the floating equity, which its rows do not hold.
                {"max_drawdown", mt4Tester ? -1 : f.MaxDrawdown, false},
                {"max_drawdown_pct", mt4Tester ? -1 : f.MaxDrawdownPct, false},
                {"absolute_drawdown", mt4Tester ? -1 : f.AbsoluteDrawdown, false},
                {"sharpe_ratio", mt5Tester ? -1 : f.SharpeRatio.value_or(-1), false},
                {"recovery_factor", mt5Tester ? -1 : f.RecoveryFactor.value_or(-1), false},
            };
            for (const auto& figure : figures) {
                const std::string& expected = row.at(figure.Column);
                if (expected.empty() || figure.Ours == -1)
                    continue;
                if (mt4Tester && figure.Sum)
                    EXPECT_NEAR(figure.Ours, std::stod(expected), 0.15) << name << " " << figure.Column;
                else
                    EXPECT_EQ(Printed(figure.Ours, Decimals(expected)), expected) << name << " " << figure.Column;
            }
        }
    }
}

} // namespace
} // namespace corvane
