#include "reports/mt5/PositionBook.h"

#include "text/Numbers.h"

#include <algorithm>
#include <cmath>

namespace corvane {

namespace {

// The part `volume / whole` of an amount, rounded half away from zero.
long long Share(long long amount, long long volume, long long whole)
{
    return static_cast<long long>(std::llround(static_cast<long double>(amount) * volume / whole));
}

long long ScaledPrice(std::string_view text)
{
    const auto value = ParseScaled(text, 8);
    return value && *value > 0 ? *value : kUnknown;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The tickets a close by names in its comment, "#A by #B"; empty views when it names none.
void CloseByTickets(std::string_view comment, std::string_view& first, std::string_view& second)
{
    const auto ticketAt = [&](std::size_t at) {
        std::size_t end = at + 1;
        while (end < comment.size() && IsDigit(comment[end]))
            ++end;
        return end > at + 1 ? comment.substr(at + 1, end - at - 1) : std::string_view();
    };
    const std::size_t by = comment.find(" by #");
    if (comment.empty() || comment.front() != '#' || by == std::string_view::npos)
        return;
    first = ticketAt(0);
    second = ticketAt(by + 4);
}

// The price a stop names in a closing deal's comment: "sl 1.17517", "[tp 1.14269]".
long long StopPrice(std::string_view comment)
{
    if (!comment.empty() && comment.front() == '[')
        comment.remove_prefix(1);
    if (comment.size() < 4 || !(comment.substr(0, 3) == "sl " || comment.substr(0, 3) == "tp "))
        return kUnknown;
    comment.remove_prefix(3);
    const std::size_t end = comment.find_first_of("] ");
    return ScaledPrice(comment.substr(0, end));
}

} // namespace

std::vector<int>& PositionBook::OpenList(std::string_view symbol, bool buy)
{
    auto& lists = m_open[buy ? 1 : 0];
    auto found = lists.find(symbol);
    if (found == lists.end())
        found = lists.emplace(std::string(symbol), std::vector<int>()).first;
    return found->second;
}

int PositionBook::FindOpen(std::string_view id) const
{
    const auto found = m_openById.find(id);
    return found == m_openById.end() ? -1 : found->second;
}

std::string_view PositionBook::Text(const Position& position, Field field) const
{
    const auto index = static_cast<std::size_t>(field);
    std::size_t at = position.TextAt;
    for (std::size_t i = 0; i < index; ++i)
        at += position.Length[i];
    return std::string_view(m_text).substr(at, position.Length[index]);
}

PositionFacts PositionBook::Facts(int position) const
{
    const Position& stored = m_positions[static_cast<std::size_t>(position)];
    return PositionFactsOf([&](PositionText field) { return Text(stored, field); }, stored.Buy, stored.PartialVolume,
                           stored.PartialProfit);
}

void PositionBook::Open(const PositionFacts& facts, long long volume, const DealMoney& entry)
{
    if (volume <= 0)
        return;
    std::vector<int>& open = OpenList(facts.Symbol, facts.Buy);
    int position = FindOpen(facts.Id);
    if (position >= 0) {
        const Position& same = m_positions[static_cast<std::size_t>(position)];
        if (Text(same, Field::Symbol) != facts.Symbol || same.Buy != facts.Buy)
            position = -1;
    }
    if (position < 0 && m_netting && !open.empty())
        position = open.front();
    if (position >= 0) {
        Position& same = m_positions[static_cast<std::size_t>(position)];
        same.Volume += volume;
        same.Entry += entry;
        return;
    }
    Position added;
    added.TextAt = m_text.size();
    std::size_t field = 0;
    for (const std::string_view text :
         {facts.Id, facts.Symbol, facts.OpenTime, facts.Price, facts.StopLoss, facts.TakeProfit, facts.Comment}) {
        added.Length[field++] = static_cast<std::uint32_t>(text.size());
        m_text.append(text);
    }
    added.Buy = facts.Buy;
    added.PartialVolume = facts.PartialVolume;
    added.PartialProfit = facts.PartialProfit;
    added.Volume = volume;
    added.Entry = entry;
    position = Count();
    m_openById[std::string(facts.Id)] = position;
    m_positions.push_back(added);
    open.push_back(position);
}

DealMoney PositionBook::Take(int index, long long volume)
{
    Position& position = m_positions[static_cast<std::size_t>(index)];
    DealMoney share;
    if (volume >= position.Volume) {
        share = position.Entry;
        position.Entry = DealMoney();
        position.Volume = 0;
        std::vector<int>& open = OpenList(Text(position, Field::Symbol), position.Buy);
        open.erase(std::find(open.begin(), open.end(), index));
        const auto byId = m_openById.find(Text(position, Field::Id));
        if (byId != m_openById.end() && byId->second == index)
            m_openById.erase(byId);
        return share;
    }
    share.Profit = Share(position.Entry.Profit, volume, position.Volume);
    share.Swap = Share(position.Entry.Swap, volume, position.Volume);
    share.Costs = Share(position.Entry.Costs, volume, position.Volume);
    position.Entry.Profit -= share.Profit;
    position.Entry.Swap -= share.Swap;
    position.Entry.Costs -= share.Costs;
    position.Volume -= volume;
    return share;
}

void PositionBook::ReadPrices(Position& position) const
{
    if (position.PricesRead)
        return;
    position.PricesRead = true;
    position.StopLoss = ScaledPrice(Text(position, Field::StopLoss));
    position.TakeProfit = ScaledPrice(Text(position, Field::TakeProfit));
    position.OpenPrice = ScaledPrice(Text(position, Field::Price));
}

double PositionBook::ProfitRate(const Position& position, const ClosingDeal& deal) const
{
    if (position.OpenPrice == kUnknown || deal.Price == kUnknown || deal.Price == position.OpenPrice
        || deal.Volume <= 0)
        return 0.0;
    const double move = static_cast<double>(deal.Price - position.OpenPrice) * (position.Buy ? 1.0 : -1.0);
    return static_cast<double>(deal.Profit) / (move * static_cast<double>(deal.Volume));
}

int PositionBook::Choose(const std::vector<int>& open, const ClosingDeal& deal)
{
    const long long stop = StopPrice(deal.Comment);
    const auto rate = m_profitRate.find(deal.Symbol);
    int best = -1;
    int bestScore = 8;
    double bestMiss = 0.0;
    int candidates = 0;
    for (const int index : open) {
        Position& position = m_positions[static_cast<std::size_t>(index)];
        const long long partial = position.PartialVolume;
        if (position.Volume < deal.Volume || (partial != kUnknown && partial < deal.Volume))
            continue;
        ++candidates;
        ReadPrices(position);
        // The last of a position's partial closes must bring its partial profit as well.
        int score = 2;
        if (partial == deal.Volume)
            score = position.PartialProfit == deal.Profit ? 0 : 4;
        if (stop == kUnknown || (position.StopLoss != stop && position.TakeProfit != stop))
            score += 1;
        // How far the profit this position would have made at the symbol's rate is from the deal's.
        double miss = 0.0;
        if (rate != m_profitRate.end() && position.OpenPrice != kUnknown && deal.Price != kUnknown) {
            const double move = static_cast<double>(deal.Price - position.OpenPrice) * (position.Buy ? 1.0 : -1.0);
            miss = std::fabs(static_cast<double>(deal.Profit) - rate->second * move * static_cast<double>(deal.Volume));
        }
        if (best < 0 || score < bestScore || (score == bestScore && miss < bestMiss)) {
            best = index;
            bestScore = score;
            bestMiss = miss;
        }
    }
    if (candidates == 1) {
        const double sure = ProfitRate(m_positions[static_cast<std::size_t>(best)], deal);
        if (sure > 0.0)
            m_profitRate[std::string(deal.Symbol)] = sure;
    }
    return best;
}

PositionBook::Closed PositionBook::Close(const ClosingDeal& deal)
{
    Closed closed;
    std::vector<int>& open = OpenList(deal.Symbol, !deal.Buy);
    if (deal.Volume <= 0 || open.empty()) {
        closed.Excess = std::max(deal.Volume, 0LL);
        return closed;
    }
    int chosen = -1;
    std::string_view first, second;
    CloseByTickets(deal.Comment, first, second);
    for (const std::string_view ticket : {deal.Position, first, second}) {
        const int named = ticket.empty() ? -1 : FindOpen(ticket);
        if (chosen < 0 && named >= 0 && OpenVolume(named) >= deal.Volume
            && std::find(open.begin(), open.end(), named) != open.end())
            chosen = named;
    }
    const bool last = chosen >= 0 && !deal.Position.empty()
                      && Text(m_positions[static_cast<std::size_t>(chosen)], Field::Id) == deal.Position;
    if (chosen < 0)
        chosen = Choose(open, deal);
    if (chosen >= 0) {
        Position& position = m_positions[static_cast<std::size_t>(chosen)];
        if (position.PartialVolume != kUnknown && !last) {
            position.PartialVolume = std::max(position.PartialVolume - deal.Volume, 0LL);
            position.PartialProfit -= deal.Profit;
        }
        closed.Position = chosen;
        closed.Volume = deal.Volume;
        closed.Entry = Take(chosen, deal.Volume);
        return closed;
    }
    long long left = deal.Volume;
    while (left > 0 && !open.empty()) {
        const int index = open.front();
        const long long taken = std::min(left, OpenVolume(index));
        if (closed.Position < 0)
            closed.Position = index;
        closed.Entry += Take(index, taken);
        closed.Volume += taken;
        left -= taken;
    }
    closed.Excess = left;
    return closed;
}

DealMoney PositionBook::Settle(int position)
{
    return OpenVolume(position) > 0 ? Take(position, OpenVolume(position)) : DealMoney();
}

} // namespace corvane
