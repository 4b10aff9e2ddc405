#include "charts/CalendarCurve.h"

#include "charts/EquityCurve.h"
#include "text/CivilTime.h"
#include "text/Numbers.h"
#include "trades/CellErrors.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvane {

namespace {

constexpr Rgb kReference = 0xe0e0e0;
constexpr Rgb kCurve = 0x808080;
constexpr Rgb kDrawdown = 0xc00000;
constexpr Rgb kTick = 0x808080;

struct Point
{
    long long Close; // the report's time: the order
    long long Shown; // on the trader's clock: the place
    TradeValues Amounts;
    bool InDrawdown;
};

// The closed trades of the visible table in order of close time; its numbers as the filter pass left them
// when they are current, else read from the cells.
std::vector<Point> ClosedPoints(const Session& session, const ClockShift* clock)
{
    const TextGrid& grid = session.Grid;
    const VisibleTableFacts& facts = session.ShownFacts;
    const bool known = facts.GridVersion == grid.Version() && facts.Values.size() + 1 == std::size_t(grid.RowCount());
    std::vector<Point> points;
    std::string_view cells[kGridColumns];
    for (int row = 1; row < grid.RowCount(); ++row) {
        grid.ReadCells(row, cells);
        const std::optional<long long> close = TimeTextSeconds(cells[kCloseTime]);
        if (!close)
            continue;
        const auto at = static_cast<std::size_t>(row - 1);
        const TradeValues amounts =
            known ? facts.Values[at] : ReadRowOf(grid, row, [&cells] { return ReadAmounts(cells); });
        const bool marked = known ? facts.Marked[at] != 0 : cells[kBalance].find('*') != std::string_view::npos;
        points.push_back({*close, clock ? clock->ToTrader(*close) : *close, amounts, marked});
    }
    std::stable_sort(points.begin(), points.end(), [](const Point& a, const Point& b) { return a.Close < b.Close; });
    return points;
}

int MapToY(double value, double low, double high, int height, int span)
{
    const double y = high == low ? (height - 3) - span * 0.5 : (height - 3) - span * (value - low) / (high - low);
    return static_cast<int>(std::clamp(std::isnan(y) ? 0.0 : y, -1e6, 1e6));
}

} // namespace

bool DrawCalendarCurve(Canvas& canvas, const Session& session, int width, const ClockShift* clock, int height)
{
    if (session.Grid.Cell(kPips, 1).empty())
        return false;
    const std::vector<Point> points = ClosedPoints(session, clock);
    if (points.empty())
        return false;
    const double deposit = session.Report.InitialDeposit;
    std::vector<double> balances;
    balances.reserve(points.size());
    double balance = deposit, high = deposit, low = deposit;
    for (const Point& point : points) {
        balance = AddNetResult(balance, point.Amounts, NetOrder::NetFirst);
        balances.push_back(balance);
        high = std::max(high, balance);
        low = std::min(low, balance);
    }
    long long first = points.front().Shown, last = first;
    for (const Point& point : points) {
        first = std::min(first, point.Shown);
        last = std::max(last, point.Shown);
    }
    const auto xOf = [&](long long seconds) {
        if (last == first)
            return width - 4;
        return static_cast<int>(2
                                + static_cast<double>(width - 6) * static_cast<double>(seconds - first)
                                      / static_cast<double>(last - first));
    };

    canvas.FillRect(2, 2, width - 3, height - 2, kWhite);
    const int depositY = MapToY(deposit, low, high, height, height - 7);
    canvas.SetPen(kReference, PenStyle::Dashed);
    canvas.MoveTo(2, depositY);
    canvas.LineTo(width - 4, depositY);
    // Where each month begins, a short tick on the bottom line.
    canvas.SetPen(kTick, PenStyle::Solid);
    CivilDate month = CivilFromDays(DayOfSeconds(first));
    for (month.Day = 1;;
         month = month.Month == 12 ? CivilDate{month.Year + 1, 1, 1} : CivilDate{month.Year, month.Month + 1, 1}) {
        const long long start = DaysFromCivil(month.Year, month.Month, 1) * 86400;
        if (start > last)
            break;
        if (start >= first) {
            canvas.MoveTo(xOf(start), height - 3);
            canvas.LineTo(xOf(start), height - 8);
        }
    }
    canvas.MoveTo(2, depositY);
    Rgb pen = kCurve;
    canvas.SetPen(pen, PenStyle::Solid);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const Rgb colour = points[i].InDrawdown ? kDrawdown : kCurve;
        if (colour != pen) {
            pen = colour;
            canvas.SetPen(pen, PenStyle::Solid);
        }
        canvas.LineTo(xOf(points[i].Shown), MapToY(balances[i], low, high, height, height - 6));
    }
    canvas.TextOut(4, 3, FormatFixed(high, 0, 0));
    canvas.TextOut(4, height - 17, FormatFixed(low, 0, 0));
    canvas.TextOut(width / 2 - 60, height - 17, DateText(DayOfSeconds(first)) + " to " + DateText(DayOfSeconds(last)));
    return true;
}

} // namespace corvane
