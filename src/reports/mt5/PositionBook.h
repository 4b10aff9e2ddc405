#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace corvane {

// Volumes are counted in hundred-millionths of a lot, so that partial closes add up exactly.
inline constexpr long long kVolumeScale = 100'000'000;
// A price or volume the report does not give.
inline constexpr long long kUnknown = -1;

// Money of a deal, in cents.
struct DealMoney
{
    long long Profit = 0;
    long long Swap = 0;
    long long Costs = 0; // commission and fee

    DealMoney& operator+=(const DealMoney& other)
    {
        Profit += other.Profit;
        Swap += other.Swap;
        Costs += other.Costs;
        return *this;
    }
};

// What the report tells of a position apart from the volumes of its deals. The texts are views, of
// the report's rows or of a store that keeps them (HistoryPositions, PositionBook).
struct PositionFacts
{
    std::string_view Id; // the position's ticket: the order that opened it
    std::string_view Symbol;
    bool Buy = true;
    std::string_view OpenTime;
    std::string_view Price;
    std::string_view StopLoss;
    std::string_view TakeProfit;
    std::string_view Comment;
    // When the account history tells it: the volume closed before the position's last closing deal,
    // and the profit, in cents, of those partial closes.
    long long PartialVolume = kUnknown;
    long long PartialProfit = kUnknown;
};

// The texts of a position, in the order the readers keep them one after the other.
enum class PositionText
{
    Id,
    Symbol,
    OpenTime,
    Price,
    StopLoss,
    TakeProfit,
    Comment,
};
constexpr std::size_t kPositionTexts = 7;

// A position's facts: its texts as `text` (a PositionText to its view) gives them, and its other facts.
template <typename TextOf>
PositionFacts PositionFactsOf(const TextOf& text, bool buy, long long partialVolume, long long partialProfit)
{
    PositionFacts facts;
    facts.Id = text(PositionText::Id);
    facts.Symbol = text(PositionText::Symbol);
    facts.Buy = buy;
    facts.OpenTime = text(PositionText::OpenTime);
    facts.Price = text(PositionText::Price);
    facts.StopLoss = text(PositionText::StopLoss);
    facts.TakeProfit = text(PositionText::TakeProfit);
    facts.Comment = text(PositionText::Comment);
    facts.PartialVolume = partialVolume;
    facts.PartialProfit = partialProfit;
    return facts;
}

// A closing deal as the book needs it.
struct ClosingDeal
{
    std::string_view Symbol;
    bool Buy = true; // a closing buy ends a sell position
    long long Volume = 0;
    long long Price = kUnknown; // scaled by kVolumeScale
    long long Profit = 0;       // in cents
    std::string_view Comment;   // "#A by #B" names the two positions of a close by; "sl P" or "tp P" a stop
    std::string_view Position;  // the position whose last close the history says this deal is, or ""
};

/**
 * The positions of one report, opened and closed deal by deal in the report's order. Each opening
 * deal opens a position of its own (a hedging account), except that a deal of a position already
 * open (the same ticket), or on a netting account any deal on a symbol with a position of the same
 * side, adds to that position.
 *
 * A closing deal closes a position of the other side on its symbol:
 *  - the position whose last close the history says it is, or the one of the two a close by ("#A by
 *    #B") names;
 *  - otherwise, among the positions that can take its whole volume (and, where the history tells how
 *    much is closed before the last close, have that much left to close in parts), one whose partial
 *    volume and profit it completes exactly, then one whose stop loss or take profit a stop ("sl P",
 *    "tp P") names, then the one whose open price explains the deal's profit best (at the profit per
 *    point and lot of the symbol's closes that had one position to choose from), then the one opened
 *    first;
 *  - when no position can take the whole volume (a netting account), the positions in the order they
 *    were opened, until the volume is used up.
 * The entry deals' money goes with the volume: a close of part of a position takes that part of what
 * remains of it, rounded to the cent, and the last close takes the rest, so nothing is lost or counted
 * twice.
 */
// NOLINTNEXTLINE(bugprone-reserved-identifier): clang-tidy 14 names an implicit member's parameter
class PositionBook
{
public:
    explicit PositionBook(bool netting) : m_netting(netting) {}

    // Keeps a copy of the facts' texts; `facts` must not view the book's own (those of Facts).
    void Open(const PositionFacts& facts, long long volume, const DealMoney& entry);
    // Makes room for this many positions in all.
    void Reserve(std::size_t positions) { m_positions.reserve(positions); }

    struct Closed
    {
        int Position = -1;    // the first position closed, or -1 when none was open
        long long Volume = 0; // the volume taken from open positions
        long long Excess = 0; // the deal's volume beyond what was open
        DealMoney Entry;      // the entry deals' money that goes with the volume
    };
    Closed Close(const ClosingDeal& deal);

    // Its facts, viewing texts the book keeps: valid until the next Open.
    PositionFacts Facts(int position) const;
    long long OpenVolume(int position) const { return m_positions[static_cast<std::size_t>(position)].Volume; }
    // Every position ever opened, in the order they were opened (closed ones have no open volume).
    int Count() const { return static_cast<int>(m_positions.size()); }
    // The open position with this ticket, or -1.
    int FindOpen(std::string_view id) const;
    // Takes the rest of an open position off the book and returns the entry money still with it.
    DealMoney Settle(int position);

private:
    using Field = PositionText;
    static constexpr std::size_t kFields = kPositionTexts;
    struct Position
    {
        std::size_t TextAt = 0; // where its facts' texts start in m_text, in the order of Field
        std::array<std::uint32_t, kFields> Length{};
        bool Buy = true;
        long long PartialVolume = kUnknown; // as PositionFacts'
        long long PartialProfit = kUnknown;
        long long Volume = 0; // still open
        DealMoney Entry;      // the entry deals' money not yet taken by a close
        // Read from the facts' texts when a close first weighs the position (ReadPrices).
        bool PricesRead = false;
        long long StopLoss = kUnknown;
        long long TakeProfit = kUnknown;
        long long OpenPrice = kUnknown;
    };

    std::string_view Text(const Position& position, Field field) const;
    std::vector<int>& OpenList(std::string_view symbol, bool buy);
    DealMoney Take(int index, long long volume);
    int Choose(const std::vector<int>& open, const ClosingDeal& deal);
    void ReadPrices(Position& position) const;
    // The deal's profit per unit of price move and volume had it closed this position; 0 when unknown.
    double ProfitRate(const Position& position, const ClosingDeal& deal) const;

    // Maps keyed by text that are looked up by a view of it, without making a string.
    struct TextHash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>()(text); }
    };
    template <typename T> using TextMap = std::unordered_map<std::string, T, TextHash, std::equal_to<>>;

    bool m_netting;
    std::vector<Position> m_positions;
    std::string m_text; // the positions' texts end to end: a few allocations for many positions
    TextMap<int> m_openById;
    TextMap<std::vector<int>> m_open[2]; // symbol -> open positions, per side
    TextMap<double> m_profitRate;        // symbol -> the rate of its last sure close
};

} // namespace corvane
