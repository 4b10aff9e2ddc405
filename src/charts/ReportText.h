#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace corvane {

// The report's bytes as text to show in the window and on the charts, decoded from its code page
// ("windows-1251", "Shift_JIS"..., "UTF-8" for the cells of a MetaTrader 5 report) by the decoder the CSV
// table and the JSON use (ReportTextToUtf8, text/TextDecoding.h): the window shows the letters the files
// hold.
QString DecodeReportText(std::string_view bytes, const std::string& codePage);

} // namespace corvane
