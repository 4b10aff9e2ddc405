#include "Filters.h"

#include "Numbers.h"
#include "ReportReader.h"
#include "Statistics.h"
#include "SummaryText.h"

#include <cmath>
#include <vector>

namespace corvane {

namespace {

bool IsWhiteSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Remembers the entry found for the previous text: trades of one symbol and magic number usually
// come in runs, so most rows skip the search.
class CachedFind
{
public:
    explicit CachedFind(const SelectionList& list) : m_list(list) {}

    int operator()(std::string_view text)
    {
        if (!m_valid || text != m_text) {
            m_text.assign(text);
            m_index = m_list.Find(text);
            m_valid = true;
        }
        return m_index;
    }

private:
    const SelectionList& m_list;
    std::string m_text;
    int m_index = -1;
    bool m_valid = false;
};

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

void ComputeBalanceColumn(Session& session)
{
    TextGrid& grid = session.Grid;
    double balance = session.Report.InitialDeposit;
    for (int row = 1; row < grid.RowCount(); ++row) {
        balance += ParseProfitCell(grid.Cell(kProfit, row));
        const std::string_view comm = grid.Cell(kComm, row);
        if (!IsBlankCell(comm))
            balance -= std::fabs(ParseMoneyCell(comm));
        const std::string_view swap = grid.Cell(kSwap, row);
        if (!IsBlankCell(swap))
            balance += ParseMoneyCell(swap);
        grid.SetCell(kBalance, row, FormatFixed(balance, 14, 2));
    }
}

void ComputePipsColumn(Session& session)
{
    TextGrid& grid = session.Grid;
    for (int row = 1; row < grid.RowCount(); ++row) {
        long long pips =
            TradePips(grid.Cell(kType, row), grid.Cell(kOpenPrice, row), grid.Cell(kClosePrice, row));
        if (ParseProfitCell(grid.Cell(kProfit, row)) == 0)
            pips = 0;
        grid.SetCell(kPips, row, FormatInt(pips, 6));
    }
}

} // namespace

std::string MagicKeyOfCell(std::string_view magicCell)
{
    while (!magicCell.empty() && IsWhiteSpace(magicCell.front()))
        magicCell.remove_prefix(1);
    while (!magicCell.empty() && IsWhiteSpace(magicCell.back()))
        magicCell.remove_suffix(1);
    return MagicKeyOf(magicCell);
}

long long TradePips(std::string_view type, std::string_view openPrice, std::string_view closePrice)
{
    const long long open = FivePlacePrice(openPrice);
    const long long close = FivePlacePrice(closePrice);
    return (!type.empty() && type.front() == 'b') ? close - open : open - close;
}

void ApplyFilters(Session& session)
{
    SelectionList& pairs = session.Pairs;
    SelectionList& magic = session.Magic;
    if (!pairs.AnySelected())
        pairs.SelectAll();
    if (!magic.AnySelected())
        magic.SelectAll();

    const TextGrid& full = session.Full;
    TextGrid& grid = session.Grid;
    TextGrid& xgrid = session.XGrid;
    grid.SetRowCount(1);
    xgrid.SetRowCount(1);
    CachedFind findPair(pairs);
    CachedFind findMagic(magic);
    const bool magicShown = session.MagicListShown;
    int next = 1;
    for (int row = 1; row < full.RowCount(); ++row) {
        const int pair = findPair(full.Cell(kItem, row));
        if (pair < 0)
            continue;
        int key = -1;
        if (magicShown) {
            key = findMagic(MagicKeyOfCell(full.Cell(kMagic, row)));
            if (key < 0)
                continue;
        }
        if (!pairs.Selected(pair) || (magicShown && !magic.Selected(key)))
            continue;
        grid.CopyRowPrefix(next, full, row, kGridColumns);
        xgrid.SetCell(0, next, full.Cell(kTicket, row));
        xgrid.SetCell(1, next, full.Cell(kMagic, row));
        xgrid.SetCell(2, next, full.Cell(kComment, row));
        ++next;
    }
    grid.SetRowCount(next);
    xgrid.SetRowCount(next);
    if (next == 1)
        return;
    ComputeBalanceColumn(session);
    ComputePipsColumn(session);
    ShowSummary(session);
}

void RebuildMagicList(Session& session)
{
    SelectionList& pairs = session.Pairs;
    SelectionList& magic = session.Magic;
    if (!pairs.AnySelected())
        pairs.SelectAll();
    std::vector<char> remembered(magic.Count());
    for (int i = 0; i < magic.Count(); ++i)
        remembered[i] = magic.Selected(i);
    magic.Clear();

    const TextGrid& full = session.Full;
    CachedFind findPair(pairs);
    std::string previousKey;
    for (int row = 1; row < full.RowCount(); ++row) {
        const int pair = findPair(full.Cell(kItem, row));
        if (pair < 0 || !pairs.Selected(pair))
            continue;
        std::string key = MagicKeyOfCell(full.Cell(kMagic, row));
        if (key != previousKey) {
            magic.AddIfAbsent(key);
            previousKey = std::move(key);
        }
    }
    if (magic.Count() == static_cast<int>(remembered.size()))
        for (int i = 0; i < magic.Count(); ++i)
            magic.SetSelected(i, remembered[i] != 0);
}

} // namespace corvane
