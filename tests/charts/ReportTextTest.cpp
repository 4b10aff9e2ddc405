// The report's text is decoded by the core's own decoder (ReportTextToUtf8) for the window, the CSV table
// and the JSON alike. Qt's decoders, made apart from it, are the reference its letters are held to.
#include "charts/ReportText.h"

#include "Samples.h"
#include "reports/LoadReport.h"
#include "text/TextDecoding.h"

#include <QStringDecoder>

#include <gtest/gtest.h>

namespace corvane {
namespace {

// Qt's reading of `bytes`, or nothing where Qt has no decoder for the page (built without ICU, as on
// Windows, it has none for GBK and Shift_JIS).
std::optional<QString> QtReading(std::string_view bytes, const std::string& codePage)
{
    QStringDecoder decoder(codePage.c_str());
    if (!decoder.isValid())
        return std::nullopt;
    return decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

TEST(ReportText, TheCoresDecoderAgreesWithQtsOnEveryByteOfTheSingleBytePages)
{
    for (const std::string codePage : {"windows-1251", "windows-1252", "windows-1254"}) {
        for (int byte = 0x80; byte <= 0xff; ++byte) {
            const std::string bytes = {'a', static_cast<char>(byte)};
            std::optional<QString> qt = QtReading(bytes, codePage);
            if (!qt)
                GTEST_SKIP() << "Qt has no decoder for " << codePage;
            // The five bytes windows-1252 leaves undefined, which Qt passes on as control characters, read as
            // the replacement character.
            if (codePage == "windows-1252" && qt->at(1).unicode() >= 0x80 && qt->at(1).unicode() < 0xa0)
                (*qt)[1] = QChar(0xfffd);
            EXPECT_EQ(DecodeReportText(bytes, codePage), *qt) << codePage << " byte " << byte;
        }
    }
}

TEST(ReportText, TheCoresDecoderAgreesWithQtsOnEveryCellOfTheRealReports)
{
    CORVANE_REQUIRE_SAMPLES();
    int nonAscii = 0;
    for (const std::string& path : test::SampleReports()) {
        SCOPED_TRACE(path);
        Session session;
        LoadReport(session, path, LoadMode::Replace);
        const std::string& codePage = session.Report.CodePage;
        for (int row = 1; row < session.Full.RowCount(); ++row) {
            for (int column = 0; column < kFullColumns; ++column) {
                const std::string_view cell = session.Full.Cell(column, row);
                const QString shown = DecodeReportText(cell, codePage);
                ASSERT_EQ(shown, QString::fromStdString(ReportTextToUtf8(cell, codePage)));
                if (const std::optional<QString> qt = QtReading(cell, codePage)) {
                    ASSERT_EQ(shown, *qt) << codePage << " row " << row << " column " << column;
                }
                nonAscii += shown.size() != static_cast<qsizetype>(cell.size());
            }
        }
    }
    EXPECT_GT(nonAscii, 0) << "the samples' letters beyond ASCII were compared";
}

} // namespace
} // namespace corvane
