#include "reports/mt5/HistoryPositions.h"

#include <algorithm>
#include <functional>

namespace corvane {

namespace {

std::uint64_t SideKey(std::string_view symbol, bool buy)
{
    return HashText(symbol, buy ? 1 : 2);
}

std::uint64_t CloseKey(std::string_view symbol, bool buy, std::string_view time)
{
    return HashText(time, SideKey(symbol, buy));
}

} // namespace

std::string_view HistoryPositions::TextAt(int position, int index) const
{
    return m_text.Text(m_rows[static_cast<std::size_t>(position)].Text, index);
}

void HistoryPositions::Add(const PositionRow& row)
{
    Row stored;
    stored.Text = m_text.Add<8>(
        {row.Id, row.Symbol, row.OpenTime, row.Price, row.StopLoss, row.TakeProfit, row.Comment, row.CloseTime});
    stored.Volume = row.Volume;
    stored.ClosePrice = row.ClosePrice;
    stored.Profit = row.Profit;
    stored.Buy = row.Buy;
    m_rows.push_back(stored);
}

void HistoryPositions::Index()
{
    const int count = static_cast<int>(m_rows.size());
    for (KeyIndex* keyed : {&m_byId, &m_byClose, &m_bySide})
        keyed->Rows.reserve(m_rows.size());
    for (int i = 0; i < count; ++i) {
        const bool buy = m_rows[static_cast<std::size_t>(i)].Buy;
        m_byId.Rows.emplace_back(HashText(Text(i, Field::Id)), i);
        m_byClose.Rows.emplace_back(CloseKey(Text(i, Field::Symbol), buy, CloseTime(i)), i);
        m_bySide.Rows.emplace_back(SideKey(Text(i, Field::Symbol), buy), i);
    }
    for (KeyIndex* keyed : {&m_byId, &m_byClose, &m_bySide})
        keyed->Build();
    for (std::size_t i = 1; i < m_byId.Rows.size(); ++i) {
        for (std::size_t before = i; before > 0 && m_byId.Rows[before - 1].first == m_byId.Rows[i].first; --before) {
            const int row = m_byId.Rows[i].second;
            if (Text(m_byId.Rows[before - 1].second, Field::Id) == Text(row, Field::Id)) {
                m_rows[static_cast<std::size_t>(row)].FirstOfId = false;
                break;
            }
        }
    }
}

int HistoryPositions::Find(std::string_view id) const
{
    const int next = static_cast<int>(m_nextFound);
    if (m_nextFound < m_rows.size() && m_rows[m_nextFound].FirstOfId && Text(next, Field::Id) == id) {
        ++m_nextFound;
        return next;
    }
    const auto [first, last] = m_byId.Under(HashText(id));
    for (std::size_t i = first; i < last; ++i) {
        if (Text(m_byId.Rows[i].second, Field::Id) == id) {
            m_nextFound = static_cast<std::size_t>(m_byId.Rows[i].second) + 1;
            return m_byId.Rows[i].second;
        }
    }
    return -1;
}

PositionFacts HistoryPositions::Facts(int position) const
{
    const Row& row = m_rows[static_cast<std::size_t>(position)];
    return PositionFactsOf([&](PositionText field) { return Text(position, field); }, row.Buy, row.PartialVolume,
                           row.PartialProfit);
}

int HistoryPositions::TakeLastClose(std::string_view symbol, bool positionBuy, std::string_view time, long long price,
                                    long long profit, long long volume)
{
    const auto [first, last] = m_byClose.Under(CloseKey(symbol, positionBuy, time));
    int best = -1;
    int bestScore = 3;
    for (std::size_t i = first; i < last; ++i) {
        const int position = m_byClose.Rows[i].second;
        const Row& row = m_rows[static_cast<std::size_t>(position)];
        if (row.LastClose || row.Buy != positionBuy || row.Volume < volume || Text(position, Field::Symbol) != symbol
            || CloseTime(position) != time)
            continue;
        const int score = (row.ClosePrice == price ? 0 : 1) + (row.Profit == profit ? 0 : 1);
        if (score < bestScore) {
            best = position;
            bestScore = score;
        }
    }
    if (best >= 0) {
        Row& row = m_rows[static_cast<std::size_t>(best)];
        row.LastClose = true;
        row.PartialVolume = row.Volume - volume;
        row.PartialProfit = row.Profit - profit;
    }
    return best;
}

int HistoryPositions::TakeEarlier(std::string_view symbol, bool positionBuy, std::string_view time)
{
    const std::uint64_t key = SideKey(symbol, positionBuy);
    const auto [low, high] = m_bySide.Under(key);
    std::size_t& first = m_firstUnopened.try_emplace(key, low).first->second;
    while (first < high && Opened(m_bySide.Rows[first].second))
        ++first;
    for (std::size_t i = first; i < high; ++i) {
        const int position = m_bySide.Rows[i].second;
        if (Opened(position) || Text(position, Field::Symbol) != symbol
            || m_rows[static_cast<std::size_t>(position)].Buy != positionBuy)
            continue;
        if (Text(position, Field::OpenTime) > time)
            break; // the table is in opening order
        if (!CloseTime(position).empty() && CloseTime(position) >= time) {
            SetOpened(position);
            return position;
        }
    }
    return -1;
}

} // namespace corvane
