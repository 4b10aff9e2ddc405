#include "reports/AccountCurrency.h"

#include "platform/PlatformFiles.h"
#include "reports/html/UnicodeFileReader.h"
#include "text/TextRoutines.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace corvane {

namespace {

constexpr std::size_t kHeadBytes = std::size_t{256} * 1024;

bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}

// The text between `open` and `close` from `at` on; `at` moves past it. None when they are not there.
std::optional<std::string_view> Between(std::string_view text, std::string_view open, std::string_view close,
                                        std::size_t& at)
{
    const std::size_t start = text.find(open, at);
    if (start == std::string_view::npos)
        return std::nullopt;
    const std::size_t end = text.find(close, start + open.size());
    if (end == std::string_view::npos)
        return std::nullopt;
    at = end + close.size();
    return text.substr(start + open.size(), end - start - open.size());
}

// The statement's head row: Account, Name, Currency, (Leverage,) date, each "<td colspan=N><b>label: value".
// A broker's own rows of "<th>" cells may come before it.
std::string Mt4StatementCurrency(std::string_view head)
{
    for (std::size_t row = head.find("<tr align=left>"); row != std::string_view::npos;
         row = head.find("<tr align=left>", row + 1)) {
        const std::size_t rowEnd = head.find("</tr>", row);
        const std::string_view cells =
            head.substr(row, rowEnd == std::string_view::npos ? std::string_view::npos : rowEnd - row);
        if (cells.find("<td colspan=") == std::string_view::npos)
            continue;
        std::size_t at = 0;
        std::optional<std::string_view> text;
        for (int cell = 0; cell < 3; ++cell)
            if (!(text = Between(cells, "<b>", "</b>", at)))
                return "";
        const std::size_t colon = text->rfind(": ");
        return colon == std::string_view::npos ? "" : std::string(Trimmed(text->substr(colon + 2)));
    }
    return "";
}

// "9200101&nbsp;(USD,&nbsp;MetaQuotes-Demo,&nbsp;demo,&nbsp;Hedge)": a number, then the currency in brackets.
std::string Mt5HistoryCurrency(std::string_view head)
{
    for (std::size_t open = head.find('('); open != std::string_view::npos; open = head.find('(', open + 1)) {
        const std::string_view before = head.substr(0, open);
        const bool afterNumber = (before.size() >= 7 && before.substr(before.size() - 6) == "&nbsp;"
                                  && before[before.size() - 7] >= '0' && before[before.size() - 7] <= '9')
                                 || (before.size() >= 2 && before.back() == ' ' && before[before.size() - 2] >= '0'
                                     && before[before.size() - 2] <= '9');
        if (!afterNumber)
            continue;
        std::size_t end = open + 1;
        while (end < head.size() && (IsUpper(head[end]) || (head[end] >= '0' && head[end] <= '9')))
            ++end;
        if (end - open - 1 >= 3 && end < head.size() && head[end] == ',')
            return std::string(head.substr(open + 1, end - open - 1));
    }
    return "";
}

// The settings: rows of a label cell and a value cell "<td nowrap colspan="10" align="left"><b>VALUE</b>".
std::string Mt5TesterCurrency(std::string_view head)
{
    std::vector<std::string_view> values;
    std::size_t at = 0;
    constexpr std::string_view kValue = "colspan=\"10\" align=\"left\"><b>";
    while (true) {
        const std::size_t cell = head.find(kValue, at);
        if (cell == std::string_view::npos)
            break;
        // A row of another shape between two values ends the settings.
        if (!values.empty() && head.substr(at, cell - at).find("<div") != std::string_view::npos)
            break;
        at = cell + kValue.size();
        const std::size_t end = head.find("</b>", at);
        if (end == std::string_view::npos)
            break;
        values.push_back(head.substr(at, end - at));
        at = end;
    }
    return values.size() >= 4 ? std::string(Trimmed(values[values.size() - 3])) : "";
}

} // namespace

std::string AccountCurrencyOf(std::string_view head, const ReportState& report)
{
    if (report.Writer == Terminal::Mt4)
        return report.Kind == ReportKind::Statement ? Mt4StatementCurrency(head) : "";
    if (report.Writer == Terminal::Mt5)
        return report.Kind == ReportKind::Statement ? Mt5HistoryCurrency(head) : Mt5TesterCurrency(head);
    return "";
}

std::string ReadAccountCurrency(const std::string& path, const ReportState& report)
{
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenFile(path, "rb"), std::fclose);
    if (!file)
        return "";
    std::string bytes(kHeadBytes, '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file.get()));
    const bool littleEndian = bytes.size() >= 2 && bytes[0] == '\xff' && bytes[1] == '\xfe';
    const bool bigEndian = bytes.size() >= 2 && bytes[0] == '\xfe' && bytes[1] == '\xff';
    if (!littleEndian && !bigEndian)
        return AccountCurrencyOf(bytes, report);
    Utf16Decoder decoder(bigEndian);
    std::string text;
    decoder.Decode(std::string_view(bytes).substr(2), text);
    decoder.Finish(text);
    return AccountCurrencyOf(text, report);
}

} // namespace corvane
