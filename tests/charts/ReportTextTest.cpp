// The window shows a cell through Qt's decoders (DecodeReportText), the CSV table writes it through the
// core's own (ReportTextToUtf8): both must give the same letters.
#include "charts/ReportText.h"

#include "Samples.h"
#include "reports/LoadReport.h"
#include "text/TextDecoding.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ReportText, TheCoresDecoderAgreesWithQtsOnEveryByteOfTheSingleBytePages)
{
    for (const std::string codePage : {"windows-1251", "windows-1252", "windows-1254"}) {
        for (int byte = 0x80; byte <= 0xff; ++byte) {
            const std::string bytes = {'a', static_cast<char>(byte)};
            EXPECT_EQ(QString::fromStdString(ReportTextToUtf8(bytes, codePage)), DecodeReportText(bytes, codePage))
                << codePage << " byte " << byte;
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
                const QString core = QString::fromStdString(ReportTextToUtf8(cell, codePage));
                ASSERT_EQ(core, DecodeReportText(cell, codePage)) << codePage << " row " << row << " column " << column;
                nonAscii += core.size() != static_cast<qsizetype>(cell.size());
            }
        }
    }
    EXPECT_GT(nonAscii, 0) << "the samples' letters beyond ASCII were compared";
}

} // namespace
} // namespace corvane
