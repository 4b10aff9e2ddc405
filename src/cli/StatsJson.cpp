#include "cli/StatsJson.h"

#include "analysis/MoreStatistics.h"
#include "export/CsvExport.h"
#include "export/SpreadsheetText.h"
#include "text/Numbers.h"
#include "trades/CellErrors.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>

namespace corvane {

double JsonCents(double value)
{
    const double rounded = std::strtod(FormatRounded(value, 2).c_str(), nullptr);
    return rounded == 0 ? 0.0 : rounded; // no "-0"
}

namespace {

double Cents(double value)
{
    return JsonCents(value);
}

nlohmann::ordered_json CentsOrNull(const std::optional<double>& value)
{
    return value ? nlohmann::ordered_json(Cents(*value)) : nlohmann::ordered_json(nullptr);
}

// The rows of a table by symbol or magic number, each named as the report names it, its HTML entities
// decoded where the cells keep them.
nlohmann::ordered_json Groups(const std::vector<GroupFigures>& rows, const char* nameKey, bool entitiesKept)
{
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const GroupFigures& row : rows)
        array.push_back({{nameKey, entitiesKept ? DecodeHtmlEntities(row.Name) : row.Name},
                         {"trades", row.Trades},
                         {"net_profit", Cents(row.NetProfit)},
                         {"won_pct", Cents(row.WonPct)},
                         {"pips", row.Pips}});
    return array;
}

} // namespace

nlohmann::ordered_json FiguresJson(const MoreFigures& f, bool entitiesKept)
{
    nlohmann::ordered_json json;
    json["trades"] = f.Trades;
    json["gross_profit"] = Cents(f.GrossProfit);
    json["gross_loss"] = Cents(f.GrossLoss);
    json["net_profit"] = Cents(f.NetProfit);
    json["profit_factor"] = CentsOrNull(f.ProfitFactor);
    json["expected_payoff"] = Cents(f.ExpectedPayoff);
    json["largest_profit_trade"] = Cents(f.LargestProfitTrade);
    json["largest_loss_trade"] = Cents(f.LargestLossTrade);
    json["average_profit_trade"] = Cents(f.AverageProfitTrade);
    json["average_loss_trade"] = Cents(f.AverageLossTrade);
    json["max_consecutive_wins"] = f.MaxConsecutiveWins;
    json["max_consecutive_wins_money"] = Cents(f.MaxConsecutiveWinsMoney);
    json["max_consecutive_losses"] = f.MaxConsecutiveLosses;
    json["max_consecutive_losses_money"] = Cents(f.MaxConsecutiveLossesMoney);
    json["short_trades"] = f.ShortTrades;
    json["short_won_pct"] = Cents(f.ShortWonPct);
    json["long_trades"] = f.LongTrades;
    json["long_won_pct"] = Cents(f.LongWonPct);
    json["max_drawdown"] = Cents(f.MaxDrawdown);
    json["max_drawdown_pct"] = Cents(f.MaxDrawdownPct);
    json["absolute_drawdown"] = Cents(f.AbsoluteDrawdown);
    json["gain_pct"] = CentsOrNull(f.GainPct);
    json["sharpe_ratio"] = CentsOrNull(f.SharpeRatio);
    json["sharpe_ratio_annual"] = CentsOrNull(f.SharpeRatioAnnual);
    json["sortino_ratio_annual"] = CentsOrNull(f.SortinoRatioAnnual);
    json["recovery_factor"] = CentsOrNull(f.RecoveryFactor);
    json["average_holding_seconds"] =
        f.AverageHoldingSeconds ? nlohmann::ordered_json(std::llround(*f.AverageHoldingSeconds)) : nullptr;
    nlohmann::ordered_json months = nlohmann::ordered_json::array();
    for (const MonthFigures& month : f.Months)
        months.push_back({{"month", month.Month},
                          {"trades", month.Trades},
                          {"net_profit", Cents(month.NetProfit)},
                          {"gain_pct", CentsOrNull(month.GainPct)}});
    json["months"] = months;
    json["symbols"] = Groups(f.Symbols, "symbol", entitiesKept);
    json["magics"] = Groups(f.Magics, "magic", entitiesKept);
    return json;
}

std::string StatsJson(const Session& session)
{
    const ReportState& report = session.Report;
    // The figures of the last filter pass: the trades as the trade table holds them, whatever order the
    // visible table was sorted in since.
    const auto ofTradeTable = [&] {
        try {
            return ComputeMoreStatistics(ClosedTrades(session.Full, session.Full, kMagic, report), report);
        } catch (const ConversionError& error) {
            throw InTradeTable(session, error);
        }
    };
    const MoreFigures f = session.ShownMore ? *session.ShownMore : ofTradeTable();
    nlohmann::ordered_json json = FiguresJson(f, CellsKeepEntities(report));

    json["report_summary"] = nullptr;
    json["agrees"] = nullptr;
    if (const std::optional<PrintedSummary>& printed = report.Printed) {
        json["report_summary"] = {
            {"trades", printed->Trades ? nlohmann::ordered_json(*printed->Trades) : nlohmann::ordered_json(nullptr)},
            {"net_profit", CentsOrNull(printed->NetProfit)},
            {"gross_profit", CentsOrNull(printed->GrossProfit)},
            {"gross_loss", CentsOrNull(printed->GrossLoss)}};
        if (session.Agrees)
            json["agrees"] = *session.Agrees;
    }
    return json.dump(2);
}

} // namespace corvane
