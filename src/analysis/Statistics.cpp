#include "analysis/Statistics.h"

#include "text/Numbers.h"
#include "text/TextRoutines.h"
#include "text/TimeFields.h"
#include "trades/CellErrors.h"
#include "trades/Session.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

bool IsLeapYear(long long year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(long long year, int month)
{
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 of a proleptic Gregorian date, the month and day first moved to the nearest
// date that exists; a missing field counts as 0.
long long DayNumber(std::string_view date)
{
    const TimeFields fields = ReadTimeFields(date);
    const long long year = fields.Year.value_or(0);
    const int month = std::clamp(fields.Month.value_or(0), 1, 12);
    const int day = std::clamp(fields.Day.value_or(0), 1, DaysInMonth(year, month));
    const long long y = month <= 2 ? year - 1 : year;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

} // namespace

int DaysBetween(std::string_view first, std::string_view last)
{
    const long long days = DayNumber(last) - DayNumber(first);
    return days > 0 ? static_cast<int>(days) : 0;
}

int ReportDays(const TextGrid& grid)
{
    std::string_view earliest = "3000";
    std::string_view latest = "1000";
    std::string_view cells[kCloseTime + 1];
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.ReadCells(row, cells);
        for (const int column : {kOpenTime, kCloseTime}) {
            const std::string_view cell = cells[column];
            if (!StartsWithDigit(cell))
                continue;
            if (earliest > cell)
                earliest = cell;
            if (latest < cell)
                latest = cell;
        }
    }
    if (earliest == "3000" || latest == "1000")
        return 0;
    return DaysBetween(earliest, latest);
}

std::vector<TradeValues> ReadTradeValues(const TextGrid& grid)
{
    std::vector<TradeValues> trades;
    trades.reserve(grid.RowCount() > 1 ? grid.RowCount() - 1 : 0);
    std::string_view cells[kGridColumns];
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.ReadCells(row, cells);
        trades.push_back(ReadRowOf(grid, row, [&cells] {
            TradeValues trade;
            trade.Profit = ParseCellOf(kProfit, cells[kProfit], ParseProfitCell);
            trade.Pips = ParseCellOf(kPips, cells[kPips], ParsePipsCell, BlankPips::NotANumber);
            trade.HasComm = !IsBlankCell(cells[kComm]);
            trade.HasSwap = !IsBlankCell(cells[kSwap]);
            trade.Comm = trade.HasComm ? ParseCellOf(kComm, cells[kComm], ParseMoneyCell) : 0.0;
            trade.Swap = trade.HasSwap ? ParseCellOf(kSwap, cells[kSwap], ParseMoneyCell) : 0.0;
            return trade;
        }));
    }
    return trades;
}

Statistics ComputeStatistics(const TextGrid& grid, double initialDeposit)
{
    return ComputeStatistics(ReadTradeValues(grid), initialDeposit);
}

Statistics ComputeStatistics(const std::vector<TradeValues>& trades, double initialDeposit)
{
    Statistics result;
    SummaryFigures& f = result.Figures;
    double grossLoss = 0.0;
    long long winningPips = 0, losingPips = 0;
    double commission = 0.0, interest = 0.0, net = 0.0, peakNet = 0.0;
    double balance = initialDeposit, peakBalance = initialDeposit;
    int peakRow = 1;
    double maximumDrawdown = 0.0;

    for (std::size_t i = 0; i < trades.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        const TradeValues& trade = trades[i];
        const double profit = trade.Profit;
        const long long pips = trade.Pips;

        if (profit >= 0) {
            ++f.Wins;
            f.GrossProfit += profit;
            winningPips += pips;
        } else {
            ++f.Losses;
            grossLoss += profit;
            losingPips += pips;
        }
        if (trade.HasComm)
            commission += trade.Comm;
        if (trade.HasSwap)
            interest += trade.Swap;
        net = AddNetResult(net, trade, NetOrder::ProfitSwapComm);
        if (!(peakNet > net))
            peakNet = net;
        balance = AddNetResult(balance, trade, NetOrder::ProfitSwapComm);
        if (balance > peakBalance) {
            peakBalance = balance;
            peakRow = row;
        }
        if (peakBalance != 0) {
            const double drawdown = (peakNet - net) * 100 / peakBalance;
            if (drawdown > maximumDrawdown) {
                maximumDrawdown = drawdown;
                result.TroughRow = row;
                result.StretchStart = peakRow;
            }
        }
    }

    f.NetProfit = net;
    f.InitialDeposit = initialDeposit;
    f.InterestEarned = interest;
    f.GrossLoss = -grossLoss;
    f.CommissionPaid = std::fabs(commission);
    f.Trades = f.Wins + f.Losses;
    f.PercentProfitable = f.Trades ? static_cast<double>(f.Wins) * 100 / static_cast<double>(f.Trades) : 0.0;
    f.TotalPips = winningPips + losingPips;
    f.AveragePips = f.Trades ? f.TotalPips / f.Trades : 0;
    f.AverageWin = f.Wins ? f.GrossProfit / static_cast<double>(f.Wins) : 0.0;
    f.AverageLoss = f.Losses ? -grossLoss / static_cast<double>(f.Losses) : 0.0;
    f.AverageWinPips = f.Wins ? winningPips / f.Wins : 0;
    f.AverageLossPips = f.Losses ? -losingPips / f.Losses : 0;
    f.Return = initialDeposit > 0 ? net * 100 / initialDeposit : 0.0;
    f.MaximumDrawdown = maximumDrawdown;
    return result;
}

void MarkDrawdown(TextGrid& grid, const Statistics& statistics, double initialDeposit)
{
    if (statistics.TroughRow <= 0)
        return;
    for (int row = statistics.StretchStart + 1; row <= statistics.TroughRow; ++row)
        grid.AppendToCell(kBalance, row, kDrawdownMarker);
    const auto firstBalance = [&grid] {
        return ReadRowOf(grid, 1, [&grid] { return ParseCellOf(kBalance, grid.Cell(kBalance, 1), ParseNumber); });
    };
    if (statistics.StretchStart == 1 && firstBalance() < initialDeposit)
        grid.AppendToCell(kBalance, 1, kDrawdownMarker);
}

} // namespace corvane
