#include "portfolio/Correlation.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

struct Pair
{
    std::optional<double> Value;
    long long Together = 0;
    long long Counted = 0;
};

// The two strategies' results on the days either traded, walked in step.
Pair CorrelatePair(const DailyResults& a, const DailyResults& b)
{
    std::vector<double> x, y;
    Pair pair;
    std::size_t i = 0, j = 0;
    while (i < a.Days.size() || j < b.Days.size()) {
        const bool fromA = j == b.Days.size() || (i < a.Days.size() && a.Days[i] <= b.Days[j]);
        const bool fromB = i == a.Days.size() || (j < b.Days.size() && b.Days[j] <= a.Days[i]);
        x.push_back(fromA ? static_cast<double>(a.Cents[i]) : 0.0);
        y.push_back(fromB ? static_cast<double>(b.Cents[j]) : 0.0);
        pair.Together += fromA && fromB ? 1 : 0;
        i += fromA ? 1 : 0;
        j += fromB ? 1 : 0;
    }
    pair.Counted = static_cast<long long>(x.size());
    if (x.size() < 2)
        return pair;
    const auto n = static_cast<double>(x.size());
    double meanX = 0.0, meanY = 0.0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        meanX += x[k];
        meanY += y[k];
    }
    meanX /= n;
    meanY /= n;
    double products = 0.0, squaresX = 0.0, squaresY = 0.0;
    for (std::size_t k = 0; k < x.size(); ++k) {
        products += (x[k] - meanX) * (y[k] - meanY);
        squaresX += (x[k] - meanX) * (x[k] - meanX);
        squaresY += (y[k] - meanY) * (y[k] - meanY);
    }
    if (squaresX > 0 && squaresY > 0)
        pair.Value = std::clamp(products / std::sqrt(squaresX * squaresY), -1.0, 1.0);
    return pair;
}

} // namespace

CorrelationMatrix Correlate(const std::vector<DailyResults>& daily)
{
    CorrelationMatrix matrix;
    const std::size_t n = daily.size();
    matrix.Size = n;
    matrix.Values.assign(n * n, std::nullopt);
    matrix.DaysTogether.assign(n * n, 0);
    matrix.DaysCounted.assign(n * n, 0);
    for (std::size_t row = 0; row < n; ++row) {
        for (std::size_t column = row; column < n; ++column) {
            Pair pair = CorrelatePair(daily[row], daily[column]);
            if (row == column && pair.Value)
                pair.Value = 1.0;
            for (const std::size_t at : {row * n + column, column * n + row}) {
                matrix.Values[at] = pair.Value;
                matrix.DaysTogether[at] = pair.Together;
                matrix.DaysCounted[at] = pair.Counted;
            }
        }
    }
    return matrix;
}

} // namespace corvane
