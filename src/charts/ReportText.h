#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace corvane {

// The report's bytes as text to show in the window and on the charts, decoded by Qt from its code page
// ("windows-1251", "Shift_JIS"..., "UTF-8" for the cells of a MetaTrader 5 report). A code page the text
// decoders do not know falls back to windows-1252, decoded byte by byte. The same letters as
// ReportTextToUtf8 (trades/TextDecoding.h) gives without Qt for the CSV table.
QString DecodeReportText(std::string_view bytes, const std::string& codePage);

} // namespace corvane
