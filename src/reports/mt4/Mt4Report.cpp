#include "reports/mt4/Mt4Report.h"

#include "text/LineReader.h"
#include "text/Numbers.h"
#include "text/TextRoutines.h"

#include <cmath>
#include <optional>
#include <vector>

namespace corvane {

namespace {

constexpr std::string_view kGeneratorTag = "<meta name=\"generator\" content=\"MetaQuotes Software Corp.\">";

} // namespace

namespace {

// The head the terminal writes without a generator tag: a statement of 2022 on has its style sheet on
// line 5, a tester report of build 1380 on its build number.
bool IsTerminalHead(ReportKind kind, std::string_view fifth)
{
    fifth = Trimmed(fifth, " \t");
    if (kind == ReportKind::Statement)
        return fifth.substr(0, 38) == "<style type=\"text/css\" media=\"screen\">";
    constexpr std::string_view kVersion = "<meta name=\"version\" content=\"Build ";
    if (fifth.substr(0, kVersion.size()) != kVersion)
        return false;
    std::size_t i = kVersion.size();
    const std::size_t digits = i;
    while (i < fifth.size() && fifth[i] >= '0' && fifth[i] <= '9')
        ++i;
    return i > digits && fifth.substr(i, 2) == "\">";
}

bool HasTitle(std::string_view fourth)
{
    return Contains(fourth, "<title>Statement") || Contains(fourth, "<title>Strategy");
}

// A statement's deposit: the row with title="Deposit" or, when there is none, the first balance row
// before the first trade (brokers title their balance rows with text of their own).
double StatementDeposit(LineReader& reader)
{
    std::optional<double> firstBalance;
    bool tradeSeen = false;
    std::string_view piece;
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (Contains(line, "title=\"Deposit\""))
            return ScanDouble(WithoutBlanks(Field(line, "mspt>", "</td>", 1))).value_or(0.0);
        if (tradeSeen || firstBalance)
            continue;
        if (Contains(line, "<td>balance</td>"))
            firstBalance = ScanDouble(WithoutBlanks(Field(line, "mspt>", "</td>", 1))).value_or(0.0);
        else if (Contains(line, "<td>buy</td>") || Contains(line, "<td>sell</td>"))
            tradeSeen = true;
    }
    return firstBalance.value_or(0.0);
}

// A tester report's deposit: the number 28 characters after the word "deposit". In a localized report
// the word is missing, so the deposit row is found by its place: the first row after the spacer row
// that ends the test's settings.
double TesterDeposit(LineReader& reader)
{
    std::optional<double> byWord;
    bool afterSpacer = false;
    bool inTrades = false;
    std::string_view piece;
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (!byWord) {
            const std::size_t word = line.find("deposit");
            if (word != std::string_view::npos) {
                const std::size_t start = word + 28;
                byWord = start <= line.size() ? ScanDouble(WithoutBlanks(line.substr(start))).value_or(0.0) : 0.0;
            }
        }
        if (!inTrades && afterSpacer && Contains(line, "<tr align=left><td>")) {
            if (const auto byPlace = ScanDouble(WithoutBlanks(Field(line, "<td align=right>", "</td>", 1))))
                return *byPlace;
            inTrades = true; // no number there: not the head the terminal writes
        }
        if (Contains(line, "<tr height=8>"))
            afterSpacer = true;
        if (Contains(line, "msdate>"))
            inTrades = true;
        if (inTrades && byWord)
            break;
    }
    return byWord.value_or(0.0);
}

} // namespace

ReportHead ReadReportHead(LineReader& reader)
{
    ReportHead head;
    if (!reader.IsOpen())
        return head;
    reader.Rewind();
    for (int i = 0; i < 3; ++i)
        reader.NextOrEmpty();
    const std::string fourth(UpToNul(reader.NextOrEmpty()));
    if (Contains(fourth, "<title>Statement"))
        head.Kind = ReportKind::Statement;
    if (Contains(fourth, "<title>Strategy"))
        head.Kind = ReportKind::Tester;

    const std::string fifth(UpToNul(reader.NextOrEmpty()));
    std::string_view line;
    for (int i = 0; i < 50 && reader.Next(line); ++i) {
        if (Contains(UpToNul(line), "<td>Taxes</td>")) {
            head.Layout = RowLayout::Taxes;
            break;
        }
    }
    if (Contains(fifth, kGeneratorTag) || (HasTitle(fourth) && IsTerminalHead(head.Kind, fifth)))
        head.Writer = Terminal::Mt4;
    reader.Rewind();
    return head;
}

double InitialDeposit(LineReader& reader, ReportKind kind)
{
    if (!reader.IsOpen())
        return 0.0;
    reader.Rewind();
    const double deposit = kind == ReportKind::Statement ? StatementDeposit(reader) : TesterDeposit(reader);
    reader.Rewind();
    // "nan", "inf" or a number beyond a double: no deposit.
    return std::isfinite(deposit) ? deposit : 0.0;
}

namespace {

// A printed amount: blanks (thousands separators) left out; a trailing "(12.3%)" or "%" ends it.
std::optional<double> PrintedAmount(std::string_view text)
{
    const auto value = ScanDouble(WithoutBlanks(text));
    return value && std::isfinite(*value) ? value : std::nullopt;
}

std::optional<long long> PrintedCount(std::string_view text)
{
    const auto value = PrintedAmount(text);
    if (!value || *value < 0 || *value != std::floor(*value))
        return std::nullopt;
    return static_cast<long long>(*value);
}

// The figures of rows of values, by place: [row][value]. Nothing when none of the four is there.
std::optional<PrintedSummary> Printed(std::optional<long long> trades, std::optional<double> net,
                                      std::optional<double> grossProfit, std::optional<double> grossLoss)
{
    if (!trades && !net && !grossProfit && !grossLoss)
        return std::nullopt;
    PrintedSummary summary;
    summary.Trades = trades;
    summary.NetProfit = net;
    summary.GrossProfit = grossProfit;
    if (grossLoss)
        summary.GrossLoss = -std::fabs(*grossLoss);
    return summary;
}

using ValueRows = std::vector<std::vector<std::string>>;

std::string_view ValueAt(const ValueRows& rows, std::size_t row, std::size_t value)
{
    return row < rows.size() && value < rows[row].size() ? std::string_view(rows[row][value]) : std::string_view();
}

} // namespace

std::optional<PrintedSummary> ReadTesterSummary(LineReader& reader)
{
    if (!reader.IsOpen())
        return std::nullopt;
    reader.Rewind();
    ValueRows rows;
    bool afterSpacer = false;
    std::string_view piece;
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (Contains(line, "msdate>"))
            break;
        if (Contains(line, "<tr height=8>")) {
            afterSpacer = true;
            continue;
        }
        if (!afterSpacer || !Contains(line, "<tr align=left><td") || !Contains(line, "<td align=right>"))
            continue;
        std::vector<std::string>& values = rows.emplace_back();
        for (int n = 1; n <= 3; ++n)
            values.push_back(Field(line, "<td align=right>", "</td>", n));
    }
    reader.Rewind();
    // Rows: initial deposit; net profit, gross profit, gross loss; profit factor; drawdowns; total trades.
    auto summary = Printed(PrintedCount(ValueAt(rows, 4, 0)), PrintedAmount(ValueAt(rows, 1, 0)),
                           PrintedAmount(ValueAt(rows, 1, 1)), PrintedAmount(ValueAt(rows, 1, 2)));
    if (summary)
        summary->MoneyDigits = PrintedDecimals(ValueAt(rows, 1, 0));
    return summary;
}

std::optional<PrintedSummary> ReadStatementSummary(LineReader& reader)
{
    ValueRows rows;
    bool rowOpen = false;
    std::string_view piece;
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (Contains(line, "<tr")) {
            rowOpen = false;
        }
        // Bold money cells; the totals under the trades name their sum in a title and are left out.
        if (!Contains(line, "class=mspt><b>") || Contains(line, "title="))
            continue;
        if (!rowOpen)
            rows.emplace_back();
        rowOpen = true;
        rows.back().push_back(Field(line, "<b>", "</b>", 1));
    }
    auto summary = Printed(PrintedCount(ValueAt(rows, 6, 0)), PrintedAmount(ValueAt(rows, 1, 0)),
                           PrintedAmount(ValueAt(rows, 3, 0)), PrintedAmount(ValueAt(rows, 3, 1)));
    if (summary) {
        summary->DepositWithdrawal = PrintedAmount(ValueAt(rows, 0, 0));
        summary->Balance = PrintedAmount(ValueAt(rows, 2, 0));
        summary->MoneyDigits = PrintedDecimals(ValueAt(rows, 1, 0));
    }
    return summary;
}

void ReadPreamble(LineReader& reader, Session& session)
{
    ReportState& report = session.Report;
    report.Symbol.clear();
    std::string_view piece;
    if (report.Kind == ReportKind::Tester) {
        // Every tester report has its title on line 4, so the title is searched line by line.
        while (reader.Next(piece)) {
            const std::string_view line = UpToNul(piece);
            if (Contains(line, "</title>")) {
                report.Title = Field(line, "<title>", "</title>", 0);
                break;
            }
        }
        // A localized head names the symbol row in its own language: then the first row of the
        // settings table, which holds the symbol in every language, gives it.
        std::optional<std::string> localized;
        bool settingsRowSeen = false;
        while (reader.Next(piece)) {
            const std::string_view line = UpToNul(piece);
            if (Contains(line, kSymbolMarker)) {
                report.Symbol = AsciiLower(Field(line, kSymbolMarker, " ", 0));
                break;
            }
            if (!settingsRowSeen && Contains(line, "<tr align=left><td colspan=2>")
                && Contains(line, "</td><td colspan=4>")) {
                settingsRowSeen = true;
                // "GBPUSD (Great Britain Pound vs US Dollar)": the symbol, then its name in brackets.
                const std::string value = Field(line, "</td><td colspan=4>", "</td>", 1);
                const std::size_t blank = value.find(' ');
                if (blank != std::string::npos && blank > 0 && value.compare(blank, 2, " (") == 0)
                    localized = AsciiLower(value.substr(0, blank));
            }
            if (localized && Contains(line, "bgcolor=\"#C0C0C0\"")) { // the trade table's header row
                report.Symbol = *localized;
                break;
            }
        }
        session.Pairs.Clear();
        session.Pairs.Append(report.Symbol);
        if (!report.Symbol.empty())
            return;
    }
    while (reader.Next(piece)) {
        const std::string_view line = UpToNul(piece);
        if (Contains(line, "</title>")) {
            report.Title = Field(line, "<title>", "</title>", 0);
            break;
        }
    }
    session.Pairs.Clear();
}

} // namespace corvane
