#include "trades/TradeRowWriter.h"

#include "trades/Numbers.h"
#include "trades/Session.h"
#include "trades/TextRoutines.h"

#include <array>

namespace corvane {

namespace {

std::string StopText(const std::string& stop, const std::string& price)
{
    if (!stop.empty())
        return stop;
    const std::size_t point = price.find('.');
    return point == std::string::npos ? "0" : "0." + std::string(price.size() - point - 1, '0');
}

} // namespace

std::string MoneyText(long long cents, int width)
{
    return FormatFixed(static_cast<double>(cents) / 100.0, width, 2);
}

TradeRowWriter::TradeRowWriter(TextGrid& full, int firstRow, SelectionList& pairs, const TradeLineCallback& onTradeLine,
                               bool lowerCaseItems)
    : m_full(full)
    , m_row(firstRow)
    , m_pairs(pairs)
    , m_onTradeLine(onTradeLine)
    , m_lowerCaseItems(lowerCaseItems)
{
}

void TradeRowWriter::Write(const PositionFacts& facts, std::string_view lots, std::string_view closeTime,
                           std::string_view closePrice, const DealMoney& money)
{
    const std::string item = m_lowerCaseItems ? AsciiLower(facts.Symbol) : facts.Symbol;
    const std::string stopLoss = StopText(facts.StopLoss, facts.Price);
    const std::string takeProfit = StopText(facts.TakeProfit, facts.Price);
    const std::string comm = PadLeft(MoneyText(money.Costs, 0), 6);
    const std::string swap = PadLeft(MoneyText(money.Swap, 0), 6);
    const std::string profit = MoneyText(money.Profit, 10);
    static const std::string kNoMagic(12, ' ');
    std::array<std::string_view, kFullColumns> cells{};
    cells[kTicket] = facts.Id;
    cells[kOpenTime] = facts.OpenTime;
    cells[kType] = facts.Buy ? "buy" : "sell";
    cells[kLots] = lots;
    cells[kItem] = item;
    cells[kOpenPrice] = facts.Price;
    cells[kStopLoss] = stopLoss;
    cells[kTakeProfit] = takeProfit;
    cells[kCloseTime] = closeTime;
    cells[kClosePrice] = closePrice;
    cells[kComm] = comm;
    cells[kSwap] = swap;
    cells[kProfit] = profit;
    cells[kMagic] = kNoMagic;
    cells[kComment] = facts.Comment;
    m_full.SetRow(m_row, cells);
    m_full.SetRowCount(m_full.RowCount() + 1);
    ++m_row;
    m_pairs.AddIfAbsent(item);
    if (m_onTradeLine)
        m_onTradeLine();
}

} // namespace corvane
