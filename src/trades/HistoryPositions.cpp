#include "trades/HistoryPositions.h"

#include <algorithm>
#include <functional>

namespace corvane {

namespace {

std::uint64_t Hash(std::string_view text, std::uint64_t seed = 0)
{
    return std::hash<std::string_view>()(text) ^ (seed * 0x9e3779b97f4a7c15ULL + (seed >> 7));
}

std::uint64_t SideKey(std::string_view symbol, bool buy)
{
    return Hash(symbol, buy ? 1 : 2);
}

std::uint64_t CloseKey(std::string_view symbol, bool buy, std::string_view time)
{
    return Hash(time, SideKey(symbol, buy));
}

// The rows under `key`, in the order they were added.
std::pair<std::vector<std::pair<std::uint64_t, int>>::const_iterator,
          std::vector<std::pair<std::uint64_t, int>>::const_iterator>
Under(const std::vector<std::pair<std::uint64_t, int>>& keyed, std::uint64_t key)
{
    const auto low = std::lower_bound(keyed.begin(), keyed.end(), std::make_pair(key, -1));
    auto high = low;
    while (high != keyed.end() && high->first == key)
        ++high;
    return {low, high};
}

} // namespace

std::string_view HistoryPositions::Text(int position, Field field) const
{
    return m_text.Text(m_rows[static_cast<std::size_t>(position)].Text, static_cast<int>(field));
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
    for (int i = 0; i < count; ++i) {
        const bool buy = m_rows[static_cast<std::size_t>(i)].Buy;
        m_byId.emplace_back(Hash(Text(i, Field::Id)), i);
        m_byClose.emplace_back(CloseKey(Text(i, Field::Symbol), buy, Text(i, Field::CloseTime)), i);
        m_bySide.emplace_back(SideKey(Text(i, Field::Symbol), buy), i);
    }
    for (Keyed* keyed : {&m_byId, &m_byClose, &m_bySide})
        std::sort(keyed->begin(), keyed->end());
}

int HistoryPositions::Find(std::string_view id) const
{
    const auto [low, high] = Under(m_byId, Hash(id));
    for (auto it = low; it != high; ++it)
        if (Text(it->second, Field::Id) == id)
            return it->second;
    return -1;
}

PositionFacts HistoryPositions::Facts(int position) const
{
    const Row& row = m_rows[static_cast<std::size_t>(position)];
    PositionFacts facts;
    facts.Id = Text(position, Field::Id);
    facts.Symbol = Text(position, Field::Symbol);
    facts.Buy = row.Buy;
    facts.OpenTime = Text(position, Field::OpenTime);
    facts.Price = Text(position, Field::Price);
    facts.StopLoss = Text(position, Field::StopLoss);
    facts.TakeProfit = Text(position, Field::TakeProfit);
    facts.Comment = Text(position, Field::Comment);
    facts.PartialVolume = row.PartialVolume;
    facts.PartialProfit = row.PartialProfit;
    return facts;
}

int HistoryPositions::TakeLastClose(std::string_view symbol, bool positionBuy, std::string_view time, long long price,
                                    long long profit, long long volume)
{
    const auto [low, high] = Under(m_byClose, CloseKey(symbol, positionBuy, time));
    int best = -1;
    int bestScore = 3;
    for (auto it = low; it != high; ++it) {
        const Row& row = m_rows[static_cast<std::size_t>(it->second)];
        if (row.LastClose || row.Buy != positionBuy || row.Volume < volume || Text(it->second, Field::Symbol) != symbol
            || Text(it->second, Field::CloseTime) != time)
            continue;
        const int score = (row.ClosePrice == price ? 0 : 1) + (row.Profit == profit ? 0 : 1);
        if (score < bestScore) {
            best = it->second;
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
    const auto [low, high] = Under(m_bySide, key);
    std::size_t& first =
        m_firstUnopened.try_emplace(key, static_cast<std::size_t>(low - m_bySide.begin())).first->second;
    while (m_bySide.begin() + static_cast<std::ptrdiff_t>(first) != high && Opened(m_bySide[first].second))
        ++first;
    for (auto it = m_bySide.begin() + static_cast<std::ptrdiff_t>(first); it != high; ++it) {
        const int position = it->second;
        if (Opened(position) || Text(position, Field::Symbol) != symbol
            || m_rows[static_cast<std::size_t>(position)].Buy != positionBuy)
            continue;
        if (Text(position, Field::OpenTime) > time)
            break; // the table is in opening order
        if (!Text(position, Field::CloseTime).empty() && Text(position, Field::CloseTime) >= time) {
            SetOpened(position);
            return position;
        }
    }
    return -1;
}

} // namespace corvane
