#include "charts/ReportText.h"

#include "text/TextDecoding.h"

namespace corvane {

QString DecodeReportText(std::string_view bytes, const std::string& codePage)
{
    bool ascii = true;
    for (const char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    return QString::fromStdString(ReportTextToUtf8(bytes, codePage));
}

} // namespace corvane
