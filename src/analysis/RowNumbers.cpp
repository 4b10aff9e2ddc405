#include "analysis/RowNumbers.h"

#include "text/Numbers.h"
#include "text/TextRoutines.h"
#include "trades/AtOnce.h"
#include "trades/CellErrors.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace corvane {

namespace {

long long FivePlacePrice(std::string_view price)
{
    char field[5] = {'0', '0', '0', '0', '0'};
    std::size_t pos = price.size() == 5 ? 1 : 0;
    for (char c : price) {
        if (c == '.')
            continue;
        if (pos >= sizeof field)
            break;
        field[pos++] = c;
    }
    return LeadingInteger(std::string_view(field, sizeof field));
}

TradeValuesCache::Entry EntryOf(const TradeValues& read)
{
    TradeValuesCache::Entry entry;
    entry.Profit = read.Profit;
    entry.Comm = read.Comm;
    entry.Swap = read.Swap;
    entry.Pips = static_cast<std::int32_t>(read.Pips);
    entry.HasComm = read.HasComm;
    entry.HasSwap = read.HasSwap;
    entry.Known = true;
    return entry;
}

// Reads the numbers of a row of the trade table; a row with a cell that is not a number stays unread,
// for the pass to meet its error in its place.
void ReadValue(int row, const std::string_view* cells, std::vector<TradeValuesCache::Entry>& values)
{
    try {
        values[static_cast<std::size_t>(row)] = EntryOf(ReadRowNumbers(cells));
    } catch (const ConversionError&) {
    }
}

void ReadValues(const TextGrid& full, int first, int end, std::vector<TradeValuesCache::Entry>& values)
{
    std::string_view cells[kProfit + 1];
    for (int row = first; row < end; ++row) {
        full.ReadCells(row, cells);
        ReadValue(row, cells, values);
    }
}

// Leaves the session's number cache empty for the trade table as it now stands, a place for each row.
void StartValues(Session& session)
{
    TradeValuesCache& cache = session.FullValues;
    cache.Version = session.Full.Version();
    cache.Values.assign(session.Full.RowCount(), TradeValuesCache::Entry());
}

} // namespace

long long TradePips(std::string_view type, std::string_view openPrice, std::string_view closePrice)
{
    const long long open = FivePlacePrice(openPrice);
    const long long close = FivePlacePrice(closePrice);
    return (!type.empty() && type.front() == 'b') ? close - open : open - close;
}

TradeValues ReadRowNumbers(const std::string_view* cells)
{
    TradeValues trade;
    trade.Profit = ParseCellOf(kProfit, cells[kProfit], ParseProfitCell);
    trade.HasComm = !IsBlankCell(cells[kComm]);
    trade.HasSwap = !IsBlankCell(cells[kSwap]);
    trade.Comm = trade.HasComm ? ParseCellOf(kComm, cells[kComm], ParseMoneyCell) : 0.0;
    trade.Swap = trade.HasSwap ? ParseCellOf(kSwap, cells[kSwap], ParseMoneyCell) : 0.0;
    trade.Pips = trade.Profit == 0 ? 0 : TradePips(cells[kType], cells[kOpenPrice], cells[kClosePrice]);
    return trade;
}

void MakeRowNumbersCurrent(Session& session)
{
    if (session.FullValues.Version == session.Full.Version())
        return;
    StartValues(session);
    // A small table's rows are read as the pass meets them; a large one's at once, in two parts.
    std::vector<TradeValuesCache::Entry>& values = session.FullValues.Values;
    const int rows = std::min(session.Full.RowCount(), static_cast<int>(values.size()));
    if (rows < kTwoPartsFrom)
        return;
    const int middle = rows / 2;
    // Each part writes the cache entries of its own rows; both read the table.
    RunAtOnce([&] { ReadValues(session.Full, 1, middle, values); },
              [&] { ReadValues(session.Full, middle, rows, values); });
}

TradeValues RowNumbers(Session& session, int fullRow, const std::string_view* cells)
{
    TradeValuesCache::Entry& entry = session.FullValues.Values[static_cast<std::size_t>(fullRow)];
    if (!entry.Known) {
        const TradeValues read = ReadRowNumbers(cells);
        entry = EntryOf(read);
        return read;
    }
    TradeValues trade;
    trade.Profit = entry.Profit;
    trade.Comm = entry.Comm;
    trade.Swap = entry.Swap;
    trade.Pips = entry.Pips;
    trade.HasComm = entry.HasComm;
    trade.HasSwap = entry.HasSwap;
    return trade;
}

std::optional<TradeValuesCache::Entry> RowNumbersOf(Session& session, int fullRow, bool keep)
{
    TradeValuesCache::Entry& entry = session.FullValues.Values[static_cast<std::size_t>(fullRow)];
    if (entry.Known)
        return entry;
    std::string_view cells[kProfit + 1];
    session.Full.ReadCells(fullRow, cells);
    TradeValuesCache::Entry read;
    try {
        read = EntryOf(ReadRowNumbers(cells));
    } catch (const ConversionError&) {
        return std::nullopt;
    }
    if (keep)
        entry = read;
    return read;
}

bool NumbersWithFacts::Wanted() const
{
    return m_session.Full.RowCount() >= kTwoPartsFrom && m_session.FullValues.Version != m_session.Full.Version()
           && !FactsCurrent(m_session);
}

void NumbersWithFacts::Prepare()
{
    StartValues(m_session);
}

void NumbersWithFacts::Visit(int row, const std::string_view* cells)
{
    ReadValue(row, cells, m_session.FullValues.Values);
}

} // namespace corvane
