#include "reports/mt5/Mt5Report.h"

#include <algorithm>

#include "reports/html/HtmlRowScanner.h"
#include "reports/html/RowReadAhead.h"
#include "reports/html/UnicodeFileReader.h"
#include "reports/mt5/Mt5Rows.h"
#include "text/Errors.h"
#include "text/LineReader.h"
#include "text/TextRoutines.h"

namespace corvane {

namespace {

constexpr std::size_t kHeadLimit = 1 << 20;

class NoRows final : public HtmlRowSink
{
public:
    void OnRow(const HtmlRow&) override {}
};

} // namespace

std::optional<ReportKind> DetectMt5Report(LineReader& opened)
{
    std::string generator;
    {
        // The head is looked for in pieces of 64 KB, or of the file's size when it is smaller.
        UnicodeFileReader file(opened.File(), opened.Size() > 0 ? std::clamp<std::size_t>(opened.Size(), 4, 1 << 16)
                                                                : std::size_t{1} << 16);
        NoRows rows;
        HtmlRowScanner scanner(rows);
        std::string piece;
        std::size_t read = 0;
        while (read < kHeadLimit && scanner.Generator().empty() && !scanner.BodyStarted() && file.Next(piece)) {
            scanner.Feed(piece);
            read += piece.size();
        }
        generator = scanner.Generator();
    }
    opened.Rewind();
    if (EqualsIgnoringCase(generator, "client terminal"))
        return ReportKind::Statement;
    if (EqualsIgnoringCase(generator, "strategy tester"))
        return ReportKind::Tester;
    return std::nullopt;
}

ReportState ReadMt5Report(LineReader& opened, const std::string& path, ReportKind kind, TextGrid& full, int firstRow,
                          SelectionList& pairs, const TradeLineCallback& onTradeLine)
{
    // The file is read, decoded and cut into rows ahead on a second thread while this one reads the rows.
    RowReadAhead rows(opened.File(), Mt5Rows::SkippedTable(kind), opened.Size());
    if (!rows.IsOpen())
        throw FileError("Could not read " + path + ": the file cannot be opened.");
    Mt5Rows reader(kind, full, firstRow, pairs, onTradeLine);
    // The load's progress follows the read-ahead through the file, for as long as it reads.
    struct Following
    {
        LineReader& Opened;
        ~Following() { Opened.FollowReader(nullptr); }
    } following{opened};
    opened.FollowReader(&rows.BytesRead());
    bool read = false;
    try {
        read = rows.ReadRows(reader);
    } catch (const ConversionError& error) {
        throw error.InFile(path);
    }
    if (!read)
        throw FileError("Could not read " + path
                        + ": the file ended in a read error; the trades loaded before are kept.");
    if (!reader.DealsStarted())
        throw FileError("Could not read " + path + ": the report holds no Deals table.");
    ReportState state = reader.Finish(rows.Title(), rows.EndSeen());
    // A page saved again in a code page of its own, saying so in its head: its cells keep that page's bytes.
    const std::string& declared = rows.DeclaredCharset();
    if (rows.Encoding() == TextEncoding::Utf8 && !declared.empty() && declared != "utf-8")
        state.CodePage = declared;
    return state;
}

} // namespace corvane
