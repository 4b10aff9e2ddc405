// Reports of the perf shape grown to any number of trades (PerfShape.h).
#include "PerfShape.h"

#include "GeneratorText.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <stdexcept>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace corvane::bench {

namespace {

// How a table row begins, and the mark of the row of column titles over the trades, in both kinds of report.
constexpr std::string_view kRowStart = "<tr";
constexpr std::string_view kColumnTitles = "bgcolor=\"#C0C0C0\"";

constexpr std::size_t kTypeCell = 2;         // a row's type, in both kinds of report
constexpr std::size_t kTesterNumberCell = 0; // a tester row's number: 1, 2, 3...
constexpr std::size_t kTesterOrderCell = 3;  // a tester row's order number

// A time as the terminal writes it, "yyyy.mm.dd hh:mm" ('d' stands for a digit); a copy moves its date.
constexpr std::string_view kTimePattern = "dddd.dd.dd dd:dd";
constexpr std::size_t kDateLength = 10; // "yyyy.mm.dd"
constexpr long long kDaysPerWeek = 7;
constexpr long long kLastYear = 9999; // years are written in four digits
constexpr std::size_t kLongestNumber = 15;

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool AllDigits(std::string_view text)
{
    return !text.empty() && text.size() <= kLongestNumber && std::all_of(text.begin(), text.end(), IsDigit);
}

// The value of a text of digits alone (AllDigits).
long long DigitsValue(std::string_view digits)
{
    long long value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

bool TimeAt(std::string_view line, std::size_t at)
{
    if (line.size() - at < kTimePattern.size())
        return false;
    for (std::size_t i = 0; i < kTimePattern.size(); ++i)
        if (kTimePattern[i] == 'd' ? !IsDigit(line[at + i]) : line[at + i] != kTimePattern[i])
            return false;
    return true;
}

// The day number of the date "yyyy.mm.dd" at `at`.
long long DayAt(std::string_view line, std::size_t at)
{
    return DayOfDate(
        {DigitsValue(line.substr(at, 4)), DigitsValue(line.substr(at + 5, 2)), DigitsValue(line.substr(at + 8, 2))});
}

// Where a cell's content stands in its line.
struct Span
{
    std::size_t Begin = 0;
    std::size_t End = 0;
};

// The contents of the <td> cells of a table row, in their order. A quoted attribute value may hold a '>'.
std::vector<Span> Cells(std::string_view line)
{
    std::vector<Span> cells;
    std::size_t at = 0;
    while ((at = line.find("<td", at)) != std::string_view::npos) {
        std::size_t p = at + 3;
        char quote = '\0';
        for (; p < line.size(); ++p) {
            if (quote != '\0') {
                if (line[p] == quote)
                    quote = '\0';
            } else if (line[p] == '"' || line[p] == '\'') {
                quote = line[p];
            } else if (line[p] == '>') {
                break;
            }
        }
        const std::size_t end = p < line.size() ? line.find("</td>", p) : std::string_view::npos;
        if (end == std::string_view::npos)
            break;
        cells.push_back({p + 1, end});
        at = end;
    }
    return cells;
}

// A date of a row: where it stands and its day number.
struct RowDate
{
    std::size_t At = 0;
    long long Day = 0;
};

// A line of the source, and what a copy changes in it when it is a table row holding a time.
struct SourceLine
{
    std::string_view Text;
    bool Row = false;           // a table row holding a time; any other line is written as it is
    std::vector<RowDate> Dates; // the date of each time
    Span Number;                // the cell a copy renumbers: a statement's ticket, a tester row's order
    long long NumberValue = 0;  // ... and its value
    Span RowNumber;             // a tester row's number, which counts the rows written
    bool Trade = false;         // whether the reader makes a trade of the row
};

std::vector<RowDate> DatesOf(std::string_view line)
{
    std::vector<RowDate> dates;
    for (std::size_t at = 0; at + kTimePattern.size() <= line.size(); ++at)
        if (TimeAt(line, at)) {
            dates.push_back({at, DayAt(line, at)});
            at += kTimePattern.size() - 1;
        }
    return dates;
}

/**
 * Reads a line of the source. `where` names it in an error: a row holding a time that lacks the cells a
 * copy renumbers is not of the shape.
 */
SourceLine ReadLine(std::string_view text, bool tester, const std::string& where)
{
    SourceLine line;
    line.Text = text;
    if (text.substr(0, kRowStart.size()) != kRowStart)
        return line;
    line.Dates = DatesOf(text);
    if (line.Dates.empty())
        return line;
    line.Row = true;
    const std::vector<Span> cells = Cells(text);
    const auto content = [text](Span cell) { return text.substr(cell.Begin, cell.End - cell.Begin); };
    const std::string_view type = cells.size() > kTypeCell ? content(cells[kTypeCell]) : std::string_view();
    if (tester) {
        if (cells.size() <= kTesterOrderCell || !AllDigits(content(cells[kTesterNumberCell]))
            || !AllDigits(content(cells[kTesterOrderCell])))
            throw std::runtime_error(where + ": a tester row without its number and order number");
        line.RowNumber = cells[kTesterNumberCell];
        line.Number = cells[kTesterOrderCell];
        line.Trade = type == "buy" || type == "sell" || type == "swap open";
    } else {
        const auto ticket =
            std::find_if(cells.begin(), cells.end(), [&content](Span cell) { return AllDigits(content(cell)); });
        if (ticket == cells.end())
            throw std::runtime_error(where + ": a statement row without a ticket");
        line.Number = *ticket;
        line.Trade = type == "buy" || type == "sell" || type == "process";
    }
    line.NumberValue = DigitsValue(content(line.Number));
    return line;
}

std::string ReadWhole(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr)
        throw std::runtime_error("cannot read " + path);
    std::string text;
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed)
        throw std::runtime_error("cannot read " + path);
    return text;
}

// The lines of `text`, each with its line end.
std::vector<std::string_view> Lines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t size = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(0, size));
        text.remove_prefix(size);
    }
    return lines;
}

bool EndsRow(std::string_view line)
{
    const std::size_t last = line.find_last_not_of(" \t\r\n");
    return last != std::string_view::npos && line.substr(0, last + 1).ends_with("</tr>");
}

// The report being written; Finish closes it and tells its size.
class OutputFile
{
public:
    explicit OutputFile(const std::string& path) : m_path(path), m_file(std::fopen(path.c_str(), "wb"))
    {
        if (m_file == nullptr)
            throw std::runtime_error("cannot create " + path);
    }

    ~OutputFile()
    {
        if (m_file != nullptr)
            std::fclose(m_file);
    }

    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Put(std::string_view text)
    {
        if (!text.empty() && std::fwrite(text.data(), 1, text.size(), m_file) != text.size())
            throw std::runtime_error("cannot write " + m_path);
        m_bytes += static_cast<long long>(text.size());
    }

    long long Finish()
    {
        const int closed = std::fclose(m_file);
        m_file = nullptr;
        if (closed != 0)
            throw std::runtime_error("cannot write " + m_path);
        return m_bytes;
    }

private:
    std::string m_path;
    std::FILE* m_file;
    long long m_bytes = 0;
};

// What copy number n changes: n times the days and the numbers a copy moves its rows by.
struct CopyShift
{
    long long Days = 0;
    long long Numbers = 0;
};

/**
 * A report of the perf shape cut in three (PerfShape.h): the head, the trade rows and the tail, with how
 * far each copy moves the dates and the numbers.
 */
class PerfSource
{
public:
    PerfSource(const std::string& path, bool tester) : m_tester(tester), m_text(ReadWhole(path))
    {
        const std::vector<std::string_view> lines = Lines(m_text);
        std::size_t at = 0;
        while (at < lines.size()
               && !(lines[at].starts_with(kRowStart) && lines[at].find(kColumnTitles) != std::string_view::npos))
            ++at;
        while (at < lines.size() && !EndsRow(lines[at]))
            ++at;
        if (at == lines.size())
            throw std::runtime_error(path + ": no row of column titles over the trades");
        m_head.assign(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(at + 1));
        for (++at; at < lines.size(); ++at) {
            SourceLine line = ReadLine(lines[at], m_tester, path + ", line " + std::to_string(at + 1));
            if (!line.Row)
                break;
            m_rows.push_back(std::move(line));
        }
        for (; at < lines.size(); ++at)
            m_tail.push_back(ReadLine(lines[at], m_tester, path + ", line " + std::to_string(at + 1)));
        m_tradesPerCopy = Trades(m_rows);
        if (m_tradesPerCopy == 0)
            throw std::runtime_error(path + ": no trade rows after the column titles");
        m_firstRowNumber = m_tester ? DigitsValue(CellText(m_rows.front(), m_rows.front().RowNumber)) : 0;
        SetStrides();
    }

    GeneratedReport Grow(const std::string& path, long long trades) const
    {
        const long long tailTrades = Trades(m_tail);
        if (trades < tailTrades)
            throw std::runtime_error("the report's tail alone holds " + std::to_string(tailTrades) + " trades");
        const long long copies = (trades - tailTrades) / m_tradesPerCopy;
        const long long rest = (trades - tailTrades) % m_tradesPerCopy;
        const long long lastCopy = std::max(0LL, rest > 0 ? copies : copies - 1);
        if (DateOfDay(m_lastDay + lastCopy * m_dayStride).Year > kLastYear)
            throw std::runtime_error(std::to_string(trades) + " trades would run past the year "
                                     + std::to_string(kLastYear));

        OutputFile out(path);
        for (const std::string_view line : m_head)
            out.Put(line);
        long long rowNumber = m_firstRowNumber;
        std::string edited;
        const auto put = [&](const SourceLine& line, long long copy) {
            if (!line.Row) {
                out.Put(line.Text);
                return;
            }
            Edit(line, {copy * m_dayStride, copy * m_numberStride}, rowNumber++, edited);
            out.Put(edited);
        };
        for (long long copy = 0; copy < copies; ++copy)
            for (const SourceLine& line : m_rows)
                put(line, copy);
        if (rest > 0) {
            const std::vector<bool> kept = ShortCopy(rest);
            for (std::size_t i = 0; i < m_rows.size(); ++i)
                if (kept[i])
                    put(m_rows[i], copies);
        }
        for (const SourceLine& line : m_tail)
            put(line, lastCopy);

        GeneratedReport report;
        report.TradeRows = trades;
        report.Bytes = out.Finish();
        return report;
    }

private:
    static long long Trades(const std::vector<SourceLine>& lines)
    {
        return std::count_if(lines.begin(), lines.end(), [](const SourceLine& line) { return line.Trade; });
    }

    static std::string_view CellText(const SourceLine& line, Span cell)
    {
        return line.Text.substr(cell.Begin, cell.End - cell.Begin);
    }

    // A copy starts a whole number of weeks after the one before, past its last date, and adds to the
    // numbers past the largest of the one before.
    void SetStrides()
    {
        long long firstDay = m_rows.front().Dates.front().Day;
        long long smallest = m_rows.front().NumberValue;
        long long largest = smallest;
        m_lastDay = firstDay;
        for (const std::vector<SourceLine>* part : {&m_rows, &m_tail})
            for (const SourceLine& line : *part) {
                if (!line.Row)
                    continue;
                smallest = std::min(smallest, line.NumberValue);
                largest = std::max(largest, line.NumberValue);
                for (const RowDate& date : line.Dates) {
                    firstDay = std::min(firstDay, date.Day);
                    m_lastDay = std::max(m_lastDay, date.Day);
                }
            }
        const long long days = m_lastDay - firstDay + 1;
        m_dayStride = (days + kDaysPerWeek - 1) / kDaysPerWeek * kDaysPerWeek;
        m_numberStride = largest - smallest + 1;
    }

    // Which rows a copy cut short after its first `trades` trades keeps: a statement's rows up to that
    // trade, a tester report's rows of those trades' orders (their pending orders, changes and closes).
    std::vector<bool> ShortCopy(long long trades) const
    {
        std::vector<bool> kept(m_rows.size(), false);
        std::unordered_set<long long> orders;
        for (std::size_t i = 0, seen = 0; i < m_rows.size() && static_cast<long long>(seen) < trades; ++i) {
            if (m_rows[i].Trade) {
                ++seen;
                orders.insert(m_rows[i].NumberValue);
            }
            kept[i] = true;
        }
        if (m_tester)
            for (std::size_t i = 0; i < m_rows.size(); ++i)
                kept[i] = orders.count(m_rows[i].NumberValue) != 0;
        return kept;
    }

    // The row `line` as a copy moved by `shift` writes it, into `out`; a tester row numbered `rowNumber`.
    void Edit(const SourceLine& line, const CopyShift& shift, long long rowNumber, std::string& out) const
    {
        struct Change
        {
            Span Place;
            long long Value;
            bool Date;
        };
        std::vector<Change> changes;
        changes.reserve(line.Dates.size() + 2);
        for (const RowDate& date : line.Dates)
            changes.push_back({{date.At, date.At + kDateLength}, date.Day + shift.Days, true});
        changes.push_back({line.Number, line.NumberValue + shift.Numbers, false});
        if (m_tester)
            changes.push_back({line.RowNumber, rowNumber, false});
        std::sort(changes.begin(), changes.end(),
                  [](const Change& a, const Change& b) { return a.Place.Begin < b.Place.Begin; });

        out.clear();
        std::size_t done = 0;
        char room[48];
        for (const Change& change : changes) {
            out.append(line.Text.substr(done, change.Place.Begin - done));
            out.append(change.Date ? DateText(room, change.Value) : IntText(room, change.Value));
            done = change.Place.End;
        }
        out.append(line.Text.substr(done));
    }

    // "yyyy.mm.dd" of a day number.
    static std::string_view DateText(NumberRoom room, long long day)
    {
        const auto [year, month, dayOfMonth] = DateOfDay(day);
        char* p = room.data();
        const auto digits = [&p](long long value, int count) {
            for (int i = count - 1; i >= 0; --i, value /= 10)
                p[i] = static_cast<char>('0' + value % 10);
            p += count;
        };
        digits(year, 4);
        *p++ = '.';
        digits(month, 2);
        *p++ = '.';
        digits(dayOfMonth, 2);
        return {room.data(), static_cast<std::size_t>(p - room.data())};
    }

    bool m_tester;
    std::string m_text;
    std::vector<std::string_view> m_head;
    std::vector<SourceLine> m_rows; // the trade rows
    std::vector<SourceLine> m_tail;
    long long m_tradesPerCopy = 0;
    long long m_firstRowNumber = 0;
    long long m_lastDay = 0;
    long long m_dayStride = 0;
    long long m_numberStride = 0;
};

} // namespace

std::string PerfShapeSource(ReportType type)
{
    if (type == ReportType::PerfStatement)
        return CORVANE_PERF_DIR "/statement-10k.htm";
    if (type == ReportType::PerfTester)
        return CORVANE_PERF_DIR "/tester-10k.htm";
    return {};
}

GeneratedReport WritePerfShape(ReportType type, const std::string& source, const std::string& path, long long trades)
{
    if (type != ReportType::PerfStatement && type != ReportType::PerfTester)
        throw std::runtime_error("not a report type of the perf shape");
    const PerfSource report(source, type == ReportType::PerfTester);
    return report.Grow(path, std::max(0LL, trades));
}

} // namespace corvane::bench
