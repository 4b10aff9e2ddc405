#include "charts/EquityCurve.h"

#include "text/Numbers.h"
#include "trades/CellErrors.h"
#include "trades/Session.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace corvane {

namespace {

constexpr Rgb kDarkGrey = 0x606060;
constexpr Rgb kLightGrey = 0xc0c0c0;
constexpr Rgb kReference = 0xe0e0e0;
constexpr Rgb kCurve = 0x808080;
constexpr Rgb kDrawdown = 0xc00000;

// A coordinate truncated toward zero; balances no account reaches (beyond the double range, or
// infinite) are held to a million pixels off the surface, and one that is not a number lies at 0.
int Truncate(double y)
{
    if (std::isnan(y))
        return 0;
    return static_cast<int>(std::clamp(y, -1e6, 1e6));
}

// y of a balance: `span` pixels above the bottom line H - 3 for the highest value. A flat curve has
// no span and is placed at mid-height.
int MapToY(double value, double low, double high, int height, int span)
{
    if (high == low)
        return Truncate((height - 3) - span * 0.5);
    return Truncate((height - 3) - span * (value - low) / (high - low));
}

// The running balance from the deposit through the trades, and the drawing of it.
class Curve
{
public:
    Curve(double deposit, int trades)
        : m_deposit(deposit)
        , m_high(deposit)
        , m_low(deposit)
        , m_balances(trades > 0 ? trades : 0)
        , m_inDrawdown(m_balances.size())
    {
    }

    void Add(int row, const TradeValues& trade, bool inDrawdown)
    {
        m_balance = AddNetResult(m_balance, trade, NetOrder::NetFirst);
        m_balances[row - 1] = m_balance;
        m_inDrawdown[row - 1] = inDrawdown ? 1 : 0;
        if (m_balance > m_high)
            m_high = m_balance;
        if (m_balance < m_low)
            m_low = m_balance;
    }

    void Draw(Canvas& canvas, int width, int height) const
    {
        const int trades = static_cast<int>(m_balances.size());
        canvas.FillRect(2, 2, width - 3, height - 2, kWhite);
        const int depositY = MapToY(m_deposit, m_low, m_high, height, height - 7);
        canvas.SetPen(kReference, PenStyle::Dashed);
        canvas.MoveTo(2, depositY);
        canvas.LineTo(width - 4, depositY);

        canvas.MoveTo(2, depositY);
        Rgb pen = kCurve;
        canvas.SetPen(pen, PenStyle::Solid);
        for (int row = 1; row <= trades; ++row) {
            const Rgb colour = m_inDrawdown[row - 1] ? kDrawdown : kCurve;
            if (colour != pen) {
                pen = colour;
                canvas.SetPen(pen, PenStyle::Solid);
            }
            const long long x = static_cast<long long>(width - 6) * row / trades + 2;
            canvas.LineTo(static_cast<int>(x), MapToY(m_balances[row - 1], m_low, m_high, height, height - 6));
        }

        canvas.TextOut(4, 3, FormatFixed(m_high, 0, 0));
        canvas.TextOut(4, height - 17, FormatFixed(m_low, 0, 0));
    }

private:
    double m_deposit;
    double m_balance = m_deposit;
    double m_high;
    double m_low;
    std::vector<double> m_balances;
    std::vector<char> m_inDrawdown;
};

} // namespace

TradeValues ReadAmounts(const std::string_view* cells)
{
    TradeValues trade;
    trade.HasSwap = !IsBlankCell(cells[kSwap]);
    trade.Swap = trade.HasSwap ? ParseCellOf(kSwap, cells[kSwap], ParseMoneyCell) : 0.0;
    trade.HasComm = !IsBlankCell(cells[kComm]);
    trade.Comm = trade.HasComm ? ParseCellOf(kComm, cells[kComm], ParseMoneyCell) : 0.0;
    trade.Profit = ParseCellOf(kProfit, cells[kProfit], ParseProfitCell);
    return trade;
}

void DrawChartFrame(Canvas& canvas, int width, int height)
{
    canvas.FillRect(0, 0, width, height, kWhite);
    canvas.SetPen(kDarkGrey, PenStyle::Solid);
    canvas.MoveTo(0, 0);
    canvas.LineTo(width - 1, 0);
    canvas.MoveTo(1, 1);
    canvas.LineTo(width - 2, 1);
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, height - 1);
    canvas.MoveTo(1, 1);
    canvas.LineTo(1, height - 1);
    canvas.SetPen(kLightGrey, PenStyle::Solid);
    canvas.MoveTo(width - 2, height - 2);
    canvas.LineTo(1, height - 2);
    canvas.MoveTo(width - 2, height - 2);
    canvas.LineTo(width - 2, 1);
}

bool DrawEquityCurve(Canvas& canvas, const TextGrid& grid, double deposit, int width, int height)
{
    if (grid.Cell(kPips, 1).empty())
        return false;
    const int trades = grid.RowCount() - 1;
    Curve curve(deposit, trades);
    std::string_view cells[kGridColumns];
    for (int row = 1; row <= trades; ++row) {
        grid.ReadCells(row, cells);
        curve.Add(row, ReadRowOf(grid, row, [&cells] { return ReadAmounts(cells); }),
                  cells[kBalance].find('*') != std::string_view::npos);
    }
    curve.Draw(canvas, width, height);
    return true;
}

void DrawEquityCurve(Canvas& canvas, const std::vector<TradeValues>& values, const std::vector<char>& inDrawdown,
                     double deposit, int width, int height)
{
    const int trades = static_cast<int>(values.size());
    Curve curve(deposit, trades);
    for (int row = 1; row <= trades; ++row)
        curve.Add(row, values[row - 1], inDrawdown[row - 1] != 0);
    curve.Draw(canvas, width, height);
}

} // namespace corvane
