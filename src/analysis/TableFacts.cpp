#include "analysis/TableFacts.h"

#include "analysis/TextIds.h"
#include "trades/TextRoutines.h"

#include <algorithm>

namespace corvane {

namespace {

std::shared_ptr<TableFacts> ReadFacts(const TextGrid& full, bool dealOrder)
{
    auto facts = std::make_shared<TableFacts>();
    facts->Version = full.Version();
    facts->Mt5 = dealOrder;
    const int rows = full.RowCount();
    facts->Rows.resize(static_cast<std::size_t>(std::max(rows, 1)));
    std::vector<ClosedTrade>& trades = facts->Trades;
    trades.reserve(facts->Rows.size());
    facts->CloseOrder.reserve(facts->Rows.size());
    TextIds symbolId(facts->Symbols);
    TextIds magicId(facts->MagicTexts);
    // The magic numbers group the more statistics by their names: no magic number is named "0".
    TextIds magicNameId(facts->MagicNames);
    std::vector<int> magicGroup;
    std::string_view cells[kMagic + 1];
    for (int row = 1; row < rows; ++row) {
        full.ReadCells(row, cells);
        TableFacts::Row& factsRow = facts->Rows[static_cast<std::size_t>(row)];
        factsRow.Symbol = symbolId(cells[kItem]);
        const std::string_view magic = Trimmed(cells[kMagic], kWhiteSpace);
        factsRow.Magic = magicId(magic);
        if (static_cast<std::size_t>(factsRow.Magic) == magicGroup.size())
            magicGroup.push_back(magicNameId(magic.empty() ? std::string_view("0") : magic));
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
        trade.SymbolId = factsRow.Symbol;
        trade.MagicId = magicGroup[static_cast<std::size_t>(factsRow.Magic)];
        trades.push_back(trade);
        facts->CloseOrder.push_back(row);
    }
    // Most tables are in that order already: the check costs less than a sort.
    if (std::is_sorted(trades.begin(), trades.end(),
                       [dealOrder](const ClosedTrade& a, const ClosedTrade& b) { return RunsBefore(a, b, dealOrder); }))
        return facts;
    std::vector<int> order(trades.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    const auto before = [&trades, dealOrder](int a, int b) {
        return RunsBefore(trades[static_cast<std::size_t>(a)], trades[static_cast<std::size_t>(b)], dealOrder);
    };
    std::stable_sort(order.begin(), order.end(), before);
    // Each trade moves to its place in that order along the cycles of the order, in place: a table of a
    // million trades is not held twice.
    std::vector<int>& rowsOf = facts->CloseOrder;
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
    return facts;
}

} // namespace

TableFacts& TableFactsOf(Session& session)
{
    const bool dealOrder = RunsInDealOrder(session.Report);
    const std::shared_ptr<TableFacts>& facts = session.FullFacts;
    if (!facts || facts->Version != session.Full.Version() || facts->Mt5 != dealOrder) {
        session.FullFacts.reset(); // the old facts go before the new ones are read
        session.FullFacts = ReadFacts(session.Full, dealOrder);
    }
    return *session.FullFacts;
}

} // namespace corvane
