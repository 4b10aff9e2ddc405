#include "charts/ComparisonChart.h"

#include "charts/EquityCurve.h"
#include "charts/ImageCanvas.h"
#include "text/CivilTime.h"
#include "text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

constexpr int kPanelHeight = kSurfaceHeight;
constexpr int kLegendRow = 14;
constexpr int kCellHeight = 28;
constexpr int kUnderwater = 40; // the strip under a combined curve that shows the fall below the peak
constexpr Rgb kAxis = 0xc0c0c0;
constexpr Rgb kCurve = 0x808080;
constexpr Rgb kDrawdown = 0xc00000;
constexpr Rgb kPalette[] = {0x1f77b4, 0xd62728, 0x2ca02c, 0xff7f0e, 0x9467bd,
                            0x8c564b, 0xe377c2, 0x17becf, 0xbcbd22, 0x404040};

// A panel of the picture: the canvas moved down by `top`, so that each panel draws from its own (0, 0).
class PanelCanvas : public Canvas
{
public:
    PanelCanvas(Canvas& canvas, int top) : m_canvas(canvas), m_top(top) {}
    void FillRect(int left, int top, int right, int bottom, Rgb colour) override
    {
        m_canvas.FillRect(left, top + m_top, right, bottom + m_top, colour);
    }
    void SetPen(Rgb colour, PenStyle style) override { m_canvas.SetPen(colour, style); }
    void MoveTo(int x, int y) override { m_canvas.MoveTo(x, y + m_top); }
    void LineTo(int x, int y) override { m_canvas.LineTo(x, y + m_top); }
    void TextOut(int x, int y, std::string_view text) override { m_canvas.TextOut(x, y + m_top, text); }

private:
    Canvas& m_canvas;
    int m_top;
};

// A linear map of values onto pixels; a range without span maps to its middle.
struct Scale
{
    double Low, High;
    int From, To; // the pixels of Low and High

    int operator()(double value) const
    {
        if (High == Low)
            return (From + To) / 2;
        return static_cast<int>(std::lround(From + (To - From) * (value - Low) / (High - Low)));
    }
};

int LegendHeight(const Comparison& comparison)
{
    return 8 + kLegendRow * static_cast<int>((comparison.Strategies.size() + 1) / 2);
}

int MatrixHeight(const Comparison& comparison)
{
    return 40 + kCellHeight * static_cast<int>(comparison.Strategies.size());
}

// A name cut to at most `letters` letters (UTF-8), its end replaced by "..." when cut.
std::string Shortened(const std::string& name, std::size_t letters)
{
    std::size_t count = 0;
    for (std::size_t at = 0; at < name.size(); ++at) {
        if ((static_cast<unsigned char>(name[at]) & 0xc0) == 0x80)
            continue; // inside a letter
        if (++count > letters)
            return name.substr(0, at) + "...";
    }
    return name;
}

std::string DateSpan(long long first, long long last)
{
    return DateText(DayOfSeconds(first)) + " to " + DateText(DayOfSeconds(last));
}

void DrawCurves(Canvas& canvas, const Comparison& comparison, bool percent, int width)
{
    DrawChartFrame(canvas, width, kPanelHeight);
    std::vector<std::vector<CurvePoint>> curves;
    double low = 0.0, high = 0.0;
    long long first = 0, last = 0;
    bool any = false;
    for (const Strategy& strategy : comparison.Strategies) {
        curves.push_back(EquityCurveOf(strategy, percent));
        for (const CurvePoint& point : curves.back()) {
            low = std::min(low, point.Value);
            high = std::max(high, point.Value);
            first = any ? std::min(first, point.Seconds) : point.Seconds;
            last = any ? std::max(last, point.Seconds) : point.Seconds;
            any = true;
        }
    }
    canvas.TextOut(100, 3,
                   percent ? "Equity of each strategy in % of the balance it started from"
                           : "Equity of each strategy from 0");
    if (!any)
        return;
    const Scale x{static_cast<double>(first), static_cast<double>(last), 2, width - 4};
    const Scale y{low, high, kPanelHeight - 20, 18};
    canvas.SetPen(kAxis, PenStyle::Dashed);
    canvas.MoveTo(2, y(0.0));
    canvas.LineTo(width - 4, y(0.0));
    for (std::size_t i = 0; i < curves.size(); ++i) {
        if (curves[i].empty())
            continue;
        canvas.SetPen(StrategyColour(i), StrategyPen(i));
        canvas.MoveTo(x(static_cast<double>(curves[i].front().Seconds)), y(curves[i].front().Value));
        for (const CurvePoint& point : curves[i])
            canvas.LineTo(x(static_cast<double>(point.Seconds)), y(point.Value));
    }
    const char* unit = percent ? "%" : "";
    canvas.TextOut(4, 3, FormatRounded(high, 0) + unit);
    canvas.TextOut(4, kPanelHeight - 17, FormatRounded(low, 0) + unit);
    canvas.TextOut(width / 2 - 60, kPanelHeight - 17, DateSpan(first, last));
}

void DrawLegend(Canvas& canvas, const Comparison& comparison, bool percent, int width)
{
    canvas.FillRect(0, 0, width, LegendHeight(comparison), kWhite);
    for (std::size_t i = 0; i < comparison.Strategies.size(); ++i) {
        const Strategy& strategy = comparison.Strategies[i];
        const int left = 8 + static_cast<int>(i % 2) * (width / 2);
        const int top = 4 + static_cast<int>(i / 2) * kLegendRow;
        canvas.SetPen(StrategyColour(i), StrategyPen(i));
        for (const int dy : {6, 7}) {
            canvas.MoveTo(left, top + dy);
            canvas.LineTo(left + 18, top + dy);
        }
        const bool leftOut = percent && !strategy.Deposit;
        const std::string note = leftOut ? " (no balance: not drawn)" : "";
        canvas.TextOut(left + 24, top,
                       std::to_string(i + 1) + "  " + Shortened(strategy.Name, 58 - note.size()) + note);
    }
}

void DrawCombination(Canvas& canvas, const Comparison& comparison, const Combination& c, int width)
{
    DrawChartFrame(canvas, width, kPanelHeight);
    const int digits = c.Members.empty() ? 2 : comparison.Strategies[c.Members.front()].MoneyDigits > 0 ? 2 : 0;
    std::string members;
    for (std::size_t m = 0; m < c.Members.size(); ++m)
        members += (m ? "+" : "") + std::to_string(c.Members[m] + 1);
    const auto money = [digits](long long cents) { return FormatRounded(static_cast<double>(cents) / 100, digits); };
    canvas.TextOut(100, 3,
                   "Combined " + members + " (" + (c.Currency.empty() ? "unknown" : c.Currency) + "): net "
                       + money(c.NetCents) + ", drawdown " + money(c.MaxDrawdownCents) + ", single drawdowns "
                       + money(c.SumOfSingleDrawdownsCents));
    if (c.Days.empty())
        return;
    std::vector<long long> running(c.Cents.size()), below(c.Cents.size());
    long long sum = 0, peak = 0, low = 0, high = 0;
    for (std::size_t d = 0; d < c.Cents.size(); ++d) {
        sum += c.Cents[d];
        peak = std::max(peak, sum);
        running[d] = sum;
        below[d] = peak - sum;
        low = std::min(low, sum);
        high = std::max(high, sum);
    }
    const int curveBottom = kPanelHeight - kUnderwater - 24;
    const Scale x{static_cast<double>(c.Days.front()), static_cast<double>(c.Days.back()), 2, width - 4};
    const Scale y{static_cast<double>(low), static_cast<double>(high), curveBottom, 18};
    canvas.SetPen(kAxis, PenStyle::Dashed);
    canvas.MoveTo(2, y(0.0));
    canvas.LineTo(width - 4, y(0.0));
    canvas.SetPen(kAxis, PenStyle::Solid);
    canvas.MoveTo(2, curveBottom + 4);
    canvas.LineTo(width - 3, curveBottom + 4);
    canvas.MoveTo(x(static_cast<double>(c.Days.front())), y(0.0));
    for (std::size_t d = 0; d < c.Days.size(); ++d) {
        const bool inStretch =
            c.MaxDrawdownCents > 0 && d <= c.DrawdownTrough && (!c.DrawdownPeak || d > *c.DrawdownPeak);
        canvas.SetPen(inStretch ? kDrawdown : kCurve, PenStyle::Solid);
        canvas.LineTo(x(static_cast<double>(c.Days[d])), y(static_cast<double>(running[d])));
    }
    // Under the curve: each day's fall below the peak before it, the deepest reaching the strip's bottom.
    const Scale fall{0.0, static_cast<double>(std::max<long long>(c.MaxDrawdownCents, 1)), curveBottom + 5,
                     curveBottom + 5 + kUnderwater};
    for (std::size_t d = 0; d < c.Days.size(); ++d)
        if (below[d] > 0) {
            // Each day's bar reaches to the next day's place.
            const int left = x(static_cast<double>(c.Days[d]));
            const int right =
                d + 1 < c.Days.size() ? std::max(x(static_cast<double>(c.Days[d + 1])), left + 1) : left + 1;
            canvas.FillRect(left, curveBottom + 5, right, fall(static_cast<double>(below[d])) + 1, kDrawdown);
        }
    canvas.TextOut(4, 3, money(high));
    canvas.TextOut(4, curveBottom - 14, money(low));
    canvas.TextOut(width / 2 - 60, kPanelHeight - 17, DateText(c.Days.front()) + " to " + DateText(c.Days.back()));
}

Rgb CorrelationColour(const std::optional<double>& value)
{
    if (!value)
        return 0xe8e8e8;
    const double v = std::clamp(*value, -1.0, 1.0);
    const auto channel = [](double share, int full) {
        return static_cast<Rgb>(std::lround(255 - share * (255 - full)));
    };
    if (v >= 0)
        return channel(v, 0xe0) << 16 | channel(v, 0x40) << 8 | channel(v, 0x40);
    return channel(-v, 0x40) << 16 | channel(-v, 0x60) << 8 | channel(-v, 0xe0);
}

void DrawMatrix(Canvas& canvas, const Comparison& comparison, int width)
{
    const CorrelationMatrix& m = comparison.Correlation;
    const int height = MatrixHeight(comparison);
    canvas.FillRect(0, 0, width, height, kWhite);
    canvas.TextOut(8, 4, "Correlation of the daily results, and the days both traded (days neither traded left out)");
    if (m.Size == 0)
        return;
    const int left = 30, top = 36;
    const int cell = std::clamp((width - left - 8) / static_cast<int>(m.Size), 24, 64);
    for (std::size_t i = 0; i < m.Size; ++i) {
        const std::string number = std::to_string(i + 1);
        canvas.TextOut(left + static_cast<int>(i) * cell + 3, top - 15, number);
        canvas.TextOut(8, top + static_cast<int>(i) * kCellHeight + 7, number);
    }
    for (std::size_t r = 0; r < m.Size; ++r)
        for (std::size_t c = 0; c < m.Size; ++c) {
            const int x = left + static_cast<int>(c) * cell, y = top + static_cast<int>(r) * kCellHeight;
            canvas.FillRect(x, y, x + cell - 1, y + kCellHeight - 1, CorrelationColour(m.Value(r, c)));
            canvas.TextOut(x + 2, y + 1, m.Value(r, c) ? FormatRounded(*m.Value(r, c), 2) : "n/a");
            canvas.TextOut(x + 2, y + 14, std::to_string(m.Together(r, c)) + "d");
        }
}

} // namespace

Rgb StrategyColour(std::size_t index)
{
    return kPalette[index % std::size(kPalette)];
}

PenStyle StrategyPen(std::size_t index)
{
    return index < std::size(kPalette) ? PenStyle::Solid : PenStyle::Dashed;
}

int ComparisonPictureHeight(const Comparison& comparison, int)
{
    return kPanelHeight + LegendHeight(comparison) + kPanelHeight * static_cast<int>(comparison.Combinations.size())
           + MatrixHeight(comparison);
}

void DrawComparison(Canvas& canvas, const Comparison& comparison, bool percent, int width)
{
    int top = 0;
    PanelCanvas curves(canvas, top);
    DrawCurves(curves, comparison, percent, width);
    top += kPanelHeight;
    PanelCanvas legend(canvas, top);
    DrawLegend(legend, comparison, percent, width);
    top += LegendHeight(comparison);
    for (const Combination& combination : comparison.Combinations) {
        PanelCanvas panel(canvas, top);
        DrawCombination(panel, comparison, combination, width);
        top += kPanelHeight;
    }
    PanelCanvas matrix(canvas, top);
    DrawMatrix(matrix, comparison, width);
}

QImage DrawComparisonPicture(const Comparison& comparison, bool percent, int width)
{
    ImageCanvas canvas(width, ComparisonPictureHeight(comparison, width));
    canvas.SetCodePage("UTF-8");
    DrawComparison(canvas, comparison, percent, width);
    return canvas.Image();
}

} // namespace corvane
