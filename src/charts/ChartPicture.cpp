#include "charts/ChartPicture.h"

#include "charts/EquityCurve.h"
#include "text/Errors.h"

namespace corvane {

QImage DrawChartPicture(const Session& session, ViewMode view, int width, int height, const ClockShift* clock)
{
    ImageCanvas canvas(width, height);
    canvas.SetCodePage(session.Report.CodePage);
    DrawChartFrame(canvas, width, height);
    DrawChart(canvas, session, view, width, height, clock);
    return canvas.Image();
}

QImage DrawMonteCarloPicture(const MonteCarloResult& result)
{
    ImageCanvas canvas;
    DrawChartFrame(canvas, kWideWidth);
    DrawMonteCarloChart(canvas, result, kWideWidth);
    return canvas.Image();
}

void SaveChartPicture(const QImage& picture, const std::string& path)
{
    if (!picture.save(QString::fromStdString(path)))
        throw FileError("cannot write the picture '" + path + "'");
}

} // namespace corvane
