#include "charts/MonteCarloChart.h"

#include "text/Numbers.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace corvane {

namespace {

constexpr Rgb kOuterBand = 0xd8e4f0;
constexpr Rgb kInnerBand = 0xa8c0dc;
constexpr Rgb kMedian = 0x404040;
constexpr Rgb kReport = 0xc00000;
constexpr Rgb kStartLine = 0x808080;
constexpr Rgb kBar = 0x808080;
constexpr Rgb kDivider = 0xc0c0c0;
constexpr int kBins = 40;
constexpr int kTextHeight = 14;

// A pixel coordinate truncated toward zero; values no account reaches are held a million pixels away.
int Pixel(double value)
{
    return std::isnan(value) ? 0 : static_cast<int>(std::clamp(value, -1e6, 1e6));
}

// Balances mapped to y between `top` (the highest) and `bottom` (the lowest); a flat scale at mid-height.
class Scale
{
public:
    Scale(double low, double high, int top, int bottom) : m_low(low), m_high(high), m_top(top), m_bottom(bottom) {}
    int Y(double value) const
    {
        if (m_high == m_low)
            return (m_top + m_bottom) / 2;
        return Pixel(m_bottom - (m_bottom - m_top) * (value - m_low) / (m_high - m_low));
    }

private:
    double m_low;
    double m_high;
    int m_top;
    int m_bottom;
};

// Band `band` (0 to 4) of the runs, or the report's curve (5), after `trades` trades: linear between the
// checkpoints on either side.
double ValueAt(const MonteCarloResult& result, int band, double trades)
{
    const std::vector<long long>& at = result.CheckpointTrades;
    const auto after = std::upper_bound(at.begin(), at.end(), static_cast<long long>(std::floor(trades)));
    const std::size_t right = std::min<std::size_t>(static_cast<std::size_t>(after - at.begin()), at.size() - 1);
    const std::size_t left = right > 0 ? right - 1 : 0;
    const auto value = [&](std::size_t i) { return band < 5 ? result.Bands[i][band] : result.ReportCurve[i]; };
    if (left == right || at[right] == at[left])
        return value(right);
    const double share = (trades - static_cast<double>(at[left])) / static_cast<double>(at[right] - at[left]);
    return value(left) + (value(right) - value(left)) * std::clamp(share, 0.0, 1.0);
}

void DrawFan(Canvas& canvas, const MonteCarloResult& result, int right, int height)
{
    double low = result.Start;
    double high = result.Start;
    for (std::size_t i = 0; i < result.Bands.size(); ++i) {
        low = std::min({low, result.Bands[i][0], result.ReportCurve[i]});
        high = std::max({high, result.Bands[i][4], result.ReportCurve[i]});
    }
    const Scale scale(low, high, 3, height - 3);
    const int span = right - 2 - 4;
    const auto n = static_cast<double>(result.Trades);
    for (int x = 2; x < 2 + span; ++x) {
        const double trades = n * (x - 2) / (span - 1);
        canvas.FillRect(x, scale.Y(ValueAt(result, 4, trades)), x + 1, scale.Y(ValueAt(result, 0, trades)) + 1,
                        kOuterBand);
        canvas.FillRect(x, scale.Y(ValueAt(result, 3, trades)), x + 1, scale.Y(ValueAt(result, 1, trades)) + 1,
                        kInnerBand);
    }
    canvas.SetPen(kStartLine, PenStyle::Dashed);
    canvas.MoveTo(2, scale.Y(result.Start));
    canvas.LineTo(2 + span, scale.Y(result.Start));
    for (const auto& [band, colour] : {std::pair(2, kMedian), std::pair(5, kReport)}) {
        canvas.SetPen(colour, PenStyle::Solid);
        canvas.MoveTo(2, scale.Y(ValueAt(result, band, 0)));
        for (std::size_t i = 1; i < result.CheckpointTrades.size(); ++i) {
            const auto x = static_cast<long long>(span) * result.CheckpointTrades[i] / result.Trades + 2;
            canvas.LineTo(static_cast<int>(x), scale.Y(band < 5 ? result.Bands[i][band] : result.ReportCurve[i]));
        }
    }
    canvas.TextOut(4, 3, FormatFixed(high, 0, 0));
    canvas.TextOut(4, height - 17, FormatFixed(low, 0, 0));
    canvas.TextOut(60, 3,
                   std::string(MethodName(result.Settings.Method)) + ", " + std::to_string(result.Settings.Runs)
                       + " runs, seed " + std::to_string(result.Settings.Seed));
    canvas.TextOut(60, height - 17, "5-95% and 25-75% of the runs, median, report");
}

void DrawHistogram(Canvas& canvas, const MonteCarloResult& result, int left, int right, int height)
{
    const int money = result.MoneyDigits;
    canvas.TextOut(left, 3, "Maximal drawdown of the runs");
    canvas.TextOut(left, 3 + kTextHeight,
                   "Ruin " + (result.RuinPct ? FormatRounded(*result.RuinPct, 2) + "%" : std::string("n/a"))
                       + ", below start " + FormatRounded(result.BelowStartPct, 2) + "%");
    canvas.TextOut(left, 3 + 2 * kTextHeight,
                   "Report " + FormatRounded(result.MaxDrawdown.Report, money) + ", rank "
                       + FormatRounded(result.MaxDrawdown.ReportRank, 0) + "%");
    const int top = 3 + 4 * kTextHeight;
    const int bottom = height - 20;
    const int barWidth = std::max(1, (right - left) / kBins);
    const std::vector<double>& drawdowns = result.Drawdowns;
    const double deepest = std::max(drawdowns.empty() ? 0.0 : drawdowns.back(), result.MaxDrawdown.Report);
    std::vector<long long> counts(kBins, 0);
    for (const double drawdown : drawdowns)
        ++counts[deepest > 0 ? std::min(kBins - 1, static_cast<int>(drawdown / deepest * kBins)) : 0];
    const long long most = std::max(1LL, *std::max_element(counts.begin(), counts.end()));
    for (int b = 0; b < kBins; ++b) {
        if (counts[b] == 0)
            continue;
        const int barTop = bottom - static_cast<int>(static_cast<double>(bottom - top) * counts[b] / most);
        canvas.FillRect(left + b * barWidth, std::min(barTop, bottom - 1), left + (b + 1) * barWidth - 1, bottom, kBar);
    }
    canvas.SetPen(kDivider, PenStyle::Solid);
    canvas.MoveTo(left, bottom);
    canvas.LineTo(left + kBins * barWidth, bottom);
    const auto xOf = [&](double drawdown) {
        return left + (deepest > 0 ? Pixel(drawdown / deepest * kBins * barWidth) : 0);
    };
    const double ruin = result.Settings.RuinPct / 100 * result.Start;
    if (result.RuinPct && ruin <= deepest) {
        canvas.SetPen(kMedian, PenStyle::Dashed);
        canvas.MoveTo(xOf(ruin), top);
        canvas.LineTo(xOf(ruin), bottom);
    }
    canvas.SetPen(kReport, PenStyle::Solid);
    canvas.MoveTo(xOf(result.MaxDrawdown.Report), top - 4);
    canvas.LineTo(xOf(result.MaxDrawdown.Report), bottom);
    canvas.TextOut(left, height - 17, "0");
    const std::string deepestText = FormatRounded(deepest, money);
    canvas.TextOut(left + kBins * barWidth - 7 * static_cast<int>(deepestText.size()), height - 17, deepestText);
}

} // namespace

void DrawMonteCarloMessage(Canvas& canvas, std::string_view text, int width, int height)
{
    canvas.FillRect(2, 2, width - 3, height - 2, kWhite);
    canvas.TextOut(12, height / 2 - 7, text);
}

void DrawMonteCarloChart(Canvas& canvas, const MonteCarloResult& result, int width, int height)
{
    if (result.Trades == 0) {
        DrawMonteCarloMessage(canvas, "Monte Carlo: no closed trade among the trades the filters keep", width, height);
        return;
    }
    canvas.FillRect(2, 2, width - 3, height - 2, kWhite);
    const int fanRight = width * 5 / 8;
    DrawFan(canvas, result, fanRight, height);
    canvas.SetPen(kDivider, PenStyle::Solid);
    canvas.MoveTo(fanRight, 2);
    canvas.LineTo(fanRight, height - 2);
    DrawHistogram(canvas, result, fanRight + 8, width - 6, height);
}

} // namespace corvane
