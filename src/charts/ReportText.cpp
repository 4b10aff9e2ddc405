#include "charts/ReportText.h"

#include "text/TextDecoding.h"

namespace corvane {

QString DecodeReportText(std::string_view bytes, const std::string& codePage)
{
    return QString::fromStdString(ReportTextToUtf8(bytes, codePage));
}

} // namespace corvane
