#include "ChartPicture.h"

#include "EquityCurve.h"
#include "Errors.h"
#include "TimeOfWeekChart.h"

#include <QFile>

namespace corvane {

QImage DrawChartPicture(const Session& session, ChartView view)
{
    ImageCanvas canvas;
    canvas.SetCodePage(session.Report.CodePage);
    DrawChartFrame(canvas, kWideWidth);
    if (view == ChartView::EquityCurve)
        DrawEquityCurve(canvas, session.Grid, session.Report.InitialDeposit, kWideWidth);
    else
        DrawTimeOfWeekChart(canvas, session.Grid, view == ChartView::TimeByClose, kWideWidth);
    return canvas.Image();
}

void SaveChartPicture(const QImage& picture, const std::string& path)
{
    if (!picture.save(QFile::decodeName(QByteArray::fromStdString(path))))
        throw FileError("cannot write the picture '" + path + "'");
}

} // namespace corvane
