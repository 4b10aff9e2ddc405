#include "analysis/TableFacts.h"

#include "analysis/TextIds.h"
#include "text/TextRoutines.h"
#include "trades/AtOnce.h"

#include <algorithm>

namespace corvane {

namespace {

// What rows [first, end) of the trade table hold, ids given in the order this part meets the texts.
struct FactsPart
{
    std::vector<std::string> Symbols;
    std::vector<std::string> MagicTexts;
    std::vector<std::string> MagicNames;
    std::vector<int> MagicGroup; // the name of each of MagicTexts
    std::vector<ClosedTrade> Trades;
    std::vector<int> CloseOrder;
};

// Reads rows [first, end) into `rows` (the facts' rows) and `part`, which may hold the rows before.
void ReadPart(const TextGrid& full, const ReportState& report, int first, int end, std::vector<TableFacts::Row>& rows,
              FactsPart& part, RowVisitor* visitor)
{
    Sequences sequences(report);
    TextIds symbolId(part.Symbols);
    TextIds magicId(part.MagicTexts);
    // The magic numbers group the more statistics by their names: no magic number is named "0".
    TextIds magicNameId(part.MagicNames);
    std::string_view cells[kMagic + 1];
    for (int row = first; row < end; ++row) {
        full.ReadCells(row, cells);
        if (visitor)
            visitor->Visit(row, cells);
        TableFacts::Row& factsRow = rows[static_cast<std::size_t>(row)];
        factsRow.Symbol = symbolId(cells[kItem]);
        const std::string_view magic = Trimmed(cells[kMagic], kWhiteSpace);
        factsRow.Magic = magicId(magic);
        if (static_cast<std::size_t>(factsRow.Magic) == part.MagicGroup.size())
            part.MagicGroup.push_back(magicNameId(magic.empty() ? std::string_view("0") : magic));
        const bool open = StartsWithDigit(cells[kOpenTime]);
        const bool close = StartsWithDigit(cells[kCloseTime]);
        if (open && close) {
            factsRow.Earliest = cells[kCloseTime] < cells[kOpenTime] ? TableFacts::Date::Close : TableFacts::Date::Open;
            factsRow.Latest = cells[kOpenTime] < cells[kCloseTime] ? TableFacts::Date::Close : TableFacts::Date::Open;
        } else if (open || close) {
            factsRow.Earliest = factsRow.Latest = open ? TableFacts::Date::Open : TableFacts::Date::Close;
        }
        ClosedTrade trade;
        if (!ReadClosedTrade(cells, trade))
            continue;
        trade.Sequence = sequences.Of(trade.Sequence);
        trade.SymbolId = factsRow.Symbol;
        trade.MagicId = part.MagicGroup[static_cast<std::size_t>(factsRow.Magic)];
        part.Trades.push_back(trade);
        part.CloseOrder.push_back(row);
    }
}

/**
 * Appends the rows of `later`, read on their own, to `earlier`, the part that holds the rows before
 * them: their texts get the ids the earlier part gives them, or new ones in the order the later part
 * met them, as reading all the rows in one part would have given.
 */
void JoinParts(FactsPart& earlier, FactsPart& later, std::vector<TableFacts::Row>& rows, int first, int end)
{
    TextIds symbolId(earlier.Symbols);
    TextIds magicId(earlier.MagicTexts);
    TextIds magicNameId(earlier.MagicNames);
    std::vector<int> symbolOf(later.Symbols.size());
    for (std::size_t i = 0; i < later.Symbols.size(); ++i)
        symbolOf[i] = symbolId(later.Symbols[i]);
    std::vector<int> magicOf(later.MagicTexts.size());
    for (std::size_t i = 0; i < later.MagicTexts.size(); ++i) {
        magicOf[i] = magicId(later.MagicTexts[i]);
        if (static_cast<std::size_t>(magicOf[i]) == earlier.MagicGroup.size())
            earlier.MagicGroup.push_back(magicNameId(later.MagicNames[static_cast<std::size_t>(later.MagicGroup[i])]));
    }
    for (int row = first; row < end; ++row) {
        TableFacts::Row& factsRow = rows[static_cast<std::size_t>(row)];
        factsRow.Symbol = symbolOf[static_cast<std::size_t>(factsRow.Symbol)];
        factsRow.Magic = magicOf[static_cast<std::size_t>(factsRow.Magic)];
    }
    for (std::size_t i = 0; i < later.Trades.size(); ++i) {
        ClosedTrade& trade = later.Trades[i];
        const TableFacts::Row& factsRow = rows[static_cast<std::size_t>(later.CloseOrder[i])];
        trade.SymbolId = factsRow.Symbol;
        trade.MagicId = earlier.MagicGroup[static_cast<std::size_t>(factsRow.Magic)];
    }
    earlier.Trades.insert(earlier.Trades.end(), later.Trades.begin(), later.Trades.end());
    earlier.CloseOrder.insert(earlier.CloseOrder.end(), later.CloseOrder.begin(), later.CloseOrder.end());
}

// Puts the closed trades, and the rows they stand in, in the order the terminal runs them.
void PutInRunOrder(std::vector<ClosedTrade>& trades, std::vector<int>& rowsOf)
{
    // Most tables are in that order already: the check costs less than a sort.
    if (std::is_sorted(trades.begin(), trades.end(), RunsBefore))
        return;
    // The order is sorted as keys side by side, not as indexes into the trades: the sort reads the keys
    // in runs instead of the trades all over memory. The index makes equal run keys keep the table's
    // order, so an unstable sort gives the order a stable sort of the trades gives.
    struct Key
    {
        std::pair<long long, long long> Run;
        int Index;
    };
    std::vector<Key> keys(trades.size());
    for (std::size_t i = 0; i < keys.size(); ++i)
        keys[i] = {RunKey(trades[i]), static_cast<int>(i)};
    const auto before = [](const Key& a, const Key& b) { return a.Run != b.Run ? a.Run < b.Run : a.Index < b.Index; };
    if (keys.size() < static_cast<std::size_t>(kTwoPartsFrom)) {
        std::sort(keys.begin(), keys.end(), before);
    } else {
        // Each half sorted on its own, the second on a thread of its own, then merged: each sorts its
        // own half of the keys.
        const auto middle = keys.begin() + static_cast<std::ptrdiff_t>(keys.size() / 2);
        RunAtOnce([&] { std::sort(keys.begin(), middle, before); }, [&] { std::sort(middle, keys.end(), before); });
        std::inplace_merge(keys.begin(), middle, keys.end(), before);
    }
    std::vector<int> order(keys.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = keys[i].Index;
    keys = std::vector<Key>();
    // Each trade moves to its place in that order along the cycles of the order, in place: a table of a
    // million trades is not held twice.
    std::vector<char> placed(order.size(), 0);
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (placed[start])
            continue;
        ClosedTrade held = trades[start];
        const int heldRow = rowsOf[start];
        for (std::size_t at = start;;) {
            placed[at] = 1;
            const auto from = static_cast<std::size_t>(order[at]);
            if (from == start) {
                trades[at] = held;
                rowsOf[at] = heldRow;
                break;
            }
            trades[at] = trades[from];
            rowsOf[at] = rowsOf[from];
            at = from;
        }
    }
}

std::shared_ptr<TableFacts> ReadFacts(const TextGrid& full, const ReportState& report, RowVisitor* visitor)
{
    auto facts = std::make_shared<TableFacts>();
    facts->Version = full.Version();
    facts->Mt5 = RunsInDealOrder(report);
    const int rows = full.RowCount();
    facts->Rows.resize(static_cast<std::size_t>(std::max(rows, 1)));
    FactsPart part;
    part.Trades.reserve(facts->Rows.size());
    part.CloseOrder.reserve(facts->Rows.size());
    if (rows < kTwoPartsFrom) {
        ReadPart(full, report, 1, rows, facts->Rows, part, visitor);
    } else {
        // The rows are read apart and joined in order: the same facts as one reading gives. Each part
        // writes the facts' rows of its own rows and a FactsPart of its own; both read the table.
        const int middle = rows / 2;
        FactsPart later;
        later.Trades.reserve(static_cast<std::size_t>(rows - middle));
        later.CloseOrder.reserve(static_cast<std::size_t>(rows - middle));
        RunAtOnce([&] { ReadPart(full, report, 1, middle, facts->Rows, part, visitor); },
                  [&] { ReadPart(full, report, middle, rows, facts->Rows, later, visitor); });
        JoinParts(part, later, facts->Rows, middle, rows);
    }
    facts->Symbols = std::move(part.Symbols);
    facts->MagicTexts = std::move(part.MagicTexts);
    facts->MagicNames = std::move(part.MagicNames);
    facts->Trades = std::move(part.Trades);
    facts->CloseOrder = std::move(part.CloseOrder);
    PutInRunOrder(facts->Trades, facts->CloseOrder);
    return facts;
}

} // namespace

bool FactsCurrent(const Session& session)
{
    const std::shared_ptr<TableFacts>& facts = session.FullFacts;
    return facts && facts->Version == session.Full.Version() && facts->Mt5 == RunsInDealOrder(session.Report);
}

TableFacts& TableFactsOf(Session& session, RowVisitor* visitor)
{
    if (!FactsCurrent(session)) {
        session.FullFacts.reset(); // the old facts go before the new ones are read
        session.FullFacts = ReadFacts(session.Full, session.Report, visitor);
    }
    return *session.FullFacts;
}

std::vector<ClosedTrade> KeptClosedTrades(const Session& session)
{
    std::vector<ClosedTrade> kept;
    const std::shared_ptr<TableFacts>& facts = session.FullFacts;
    if (!FactsCurrent(session) || session.ShownKept.size() != facts->Trades.size())
        return kept;
    for (std::size_t i = 0; i < facts->Trades.size(); ++i)
        if (session.ShownKept[i])
            kept.push_back(facts->Trades[i]);
    return kept;
}

} // namespace corvane
