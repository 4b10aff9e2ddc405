// The MetaTrader 5 reader on arbitrary bytes: detection, decoding, table rows and deal pairing, as a fresh
// load and as an appending one onto an account history.
#include "FuzzSupport.h"
#include "reports/LoadReport.h"
#include "text/Errors.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const corvane::fuzz::InputFile input(data, size);
    corvane::Session session;
    bool failed = false;
    try {
        corvane::LoadReport(session, input.Path(), corvane::LoadMode::Replace);
    } catch (const corvane::ConversionError&) {
        failed = true;
    } catch (const corvane::FileError&) {
        failed = true;
    }
    if (!failed && session.Report.Writer != corvane::Terminal::Mt5)
        return 0; // no newer report: an appending load onto a history would ignore it

    // The same bytes appended to an account history already loaded.
    corvane::Session appending;
    appending.Report.Writer = corvane::Terminal::Mt5;
    appending.Full.SetRowCount(4);
    for (int row = 1; row < 4; ++row)
        appending.Full.SetCell(corvane::kTicket, row, std::to_string(row * 7));
    try {
        corvane::LoadReport(appending, input.Path(), corvane::LoadMode::Append);
    } catch (const corvane::ConversionError&) {
    } catch (const corvane::FileError&) {
    }
    return 0;
}
