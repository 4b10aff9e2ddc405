#pragma once

#include "trades/SelectionList.h"
#include "trades/Session.h"
#include "trades/TextGrid.h"

#include <optional>
#include <string>

namespace corvane {

class LineReader;

/**
 * Whether the file is a report of the MetaTrader 5 terminal: an HTML page, in UTF-16 as the terminal
 * writes it or saved again as UTF-8 or in another code page, whose head names the terminal as its
 * generator. Returns the report kind ("client terminal": an account history, read as a statement;
 * "strategy tester": a tester report), or nothing for any other file, one that cannot be read
 * included. Leaves `opened` at its start.
 */
std::optional<ReportKind> DetectMt5Report(LineReader& opened);

/**
 * Reads a MetaTrader 5 report of the given kind (the `opened` file, named `path` in messages) into
 * trade rows of `full`, from `firstRow` on, raising
 * the row count after every row as a statement's body loop does, adding each row's symbol to `pairs`
 * and calling `onTradeLine` after it. Returns the report's state: title, symbol, initial deposit,
 * kind, generator mark, the code page of the cells and what could not be read. The cells are UTF-8
 * ("UTF-8"), but for a page saved again in another code page that its head declares ("windows-1251"...):
 * they keep its bytes, and the state names that code page, as an older report's does.
 *
 * The report is read as a stream, by the position of its tables and cells, not by their translated
 * labels (Mt5Rows). One row per closing deal (out, out by, the closing part of in/out), in the
 * order of the Deals table, so that the closed rows count as the terminal's Total Trades:
 *  - Ticket, open time, side, price, S/L, T/P and comment are the position's: from the history's
 *    Positions table, or from the opening deal and, in a tester report, its order's S/L and T/P;
 *  - Lots, close time and close price are the closing deal's;
 *  - P/L, Swap and Comm (commission and fee) are the closing deal's, plus its share of the money of
 *    the deals that opened the position (PositionBook), so that P/L + Swap + Comm over the closed rows
 *    add up to the total of the deals to the cent, as the printed net profit does when no position is
 *    left open. The cells take the older reports' formats (TradeRowWriter).
 * An account history's open positions follow as rows without a close time: the market price as close
 * price, the floating profit and swap, and as Comm what is left of their opening deals' commission and
 * fee. Balance, credit and other deals are no trades. The initial deposit is a history's first balance
 * deal commented "Deposit", else its first balance deal before the first trade; a tester report's
 * Initial Deposit setting, else its first balance deal; 0 when there is none.
 *
 * Deals that cannot be paired, positions left open that the report does not list as open, unreadable
 * rows of the Deals table, rows with a cell cut at the scanner's limit (HtmlRowScanner::kMaxCellText)
 * and a file that ends early are told in the state's ReadWarning; the rows that could be read are kept. Throws
 * FileError when the file cannot be read or holds no Deals table, ConversionError for a deal whose volume or money is
 * not a number (naming the file, the deal and the column).
 */
ReportState ReadMt5Report(LineReader& opened, const std::string& path, ReportKind kind, TextGrid& full, int firstRow,
                          SelectionList& pairs, const TradeLineCallback& onTradeLine = {});

} // namespace corvane
