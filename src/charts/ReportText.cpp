#include "charts/ReportText.h"

#include "text/TextDecoding.h"

#include <QStringDecoder>

namespace corvane {

QString DecodeReportText(std::string_view bytes, const std::string& codePage)
{
    bool ascii = true;
    for (const char c : bytes)
        ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii)
        return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
    // The newer terminal's reports are read into UTF-8 cells whatever their encoding on disk.
    if (codePage == "UTF-8")
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (codePage != "windows-1252") {
        QStringDecoder decoder(codePage.c_str());
        if (decoder.isValid())
            return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }
    // windows-1252, and a page Qt has no decoder for (built without ICU, as on Windows), by the core's own
    // decoder, as the CSV table decodes it.
    return QString::fromStdString(ReportTextToUtf8(bytes, codePage));
}

} // namespace corvane
