#include "reports/TextImport.h"

#include "platform/PlatformFiles.h"
#include "text/Errors.h"
#include "text/LineReader.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <utility>

namespace corvane {

namespace {

constexpr std::string_view kHeaderStart = "Ticket";

// Splits a record at its tabs into the 15 cells of a visible row; missing fields stay empty.
void SplitRecord(std::string_view record, std::string_view (&cells)[kGridColumns])
{
    for (std::string_view& cell : cells)
        cell = {};
    for (std::string_view& cell : cells) {
        const std::size_t tab = record.find('\t');
        cell = record.substr(0, tab);
        if (tab == std::string_view::npos)
            break;
        record.remove_prefix(tab + 1);
    }
}

} // namespace

void ImportText(Session& session, const std::string& path)
{
    std::error_code ignored;
    if (std::filesystem::is_directory(NativePath(path), ignored))
        throw FileError("Cannot import '" + path + "': it is a folder, not a file.");
    errno = 0;
    LineReader reader(path);
    if (!reader.IsOpen()) {
        const int error = errno;
        throw FileError("Cannot import '" + path + "': " + (error ? std::strerror(error) : "it cannot be opened")
                        + ".");
    }

    // The new table and symbol list are built aside and take over only when the file has been read.
    TextGrid full(kFullColumns, 2);
    SelectionList pairs;
    int row = 1;
    std::string_view piece;
    std::string_view cells[kGridColumns];
    while (reader.Next(piece)) {
        if (piece.substr(0, kHeaderStart.size()) == kHeaderStart)
            continue;
        if (!piece.empty() && piece.back() == '\n')
            piece.remove_suffix(1);
        SplitRecord(piece, cells);
        full.SetRow(row, cells);
        pairs.AddIfAbsent(cells[kItem]);
        full.SetRowCount(++row + 1);
    }
    ThrowIfUnread(reader, path);
    full.SetRowCount(row);
    pairs.SelectAll();

    session.Report.Title = path;
    session.TradesFile = path;
    session.Report.InitialDeposit = 10000.0;
    // A text file has no balance rows, no printed summary and no closing lines; its money has cents.
    session.Report.BalanceRows.clear();
    session.Report.Printed.reset();
    session.Report.StartBalance.reset();
    session.Report.CloseLines.clear();
    session.Report.MoneyDigits = 2;
    session.Report.Rescaled = false;
    ResetGrid(session.Grid);
    ResetGrid(session.XGrid);
    session.Full = std::move(full);
    ForgetSummary(session);
    session.Pairs = std::move(pairs);
    session.Magic.Clear();
}

} // namespace corvane
