#include "charts/ChartPicture.h"

#include "charts/EquityCurve.h"
#include "text/Errors.h"

namespace corvane {

QImage DrawChartPicture(const Session& session, ViewMode view, const ClockShift* clock)
{
    ImageCanvas canvas;
    canvas.SetCodePage(session.Report.CodePage);
    DrawChartFrame(canvas, kWideWidth);
    DrawChart(canvas, session, view, kWideWidth, clock);
    return canvas.Image();
}

void SaveChartPicture(const QImage& picture, const std::string& path)
{
    if (!picture.save(QString::fromStdString(path)))
        throw FileError("cannot write the picture '" + path + "'");
}

} // namespace corvane
