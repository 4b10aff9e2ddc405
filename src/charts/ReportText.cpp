#include "charts/ReportText.h"

#include <QStringDecoder>

namespace corvane {

namespace {

// windows-1252's letters for the bytes 0x80 to 0x9F; the rest of the page is Latin-1.
constexpr char16_t kWindows1252High[32] = {
    0x20ac, 0xfffd, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xfffd, 0x017d, 0xfffd, 0xfffd, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0xfffd, 0x017e, 0x0178,
};

QString DecodeWindows1252(std::string_view bytes)
{
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        text.append(byte >= 0x80 && byte < 0xa0 ? QChar(kWindows1252High[byte - 0x80]) : QChar(byte));
    }
    return text;
}

} // namespace

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
    return DecodeWindows1252(bytes);
}

} // namespace corvane
