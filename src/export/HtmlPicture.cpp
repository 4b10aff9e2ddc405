#include "export/HtmlPicture.h"

#include "charts/Chart.h"
#include "export/JpegWriter.h"

namespace corvane {

bool ExportHtml(const Session& session, const std::string& path, std::optional<PictureTarget> picture)
{
    if (!picture)
        return ExportHtml(session, path, static_cast<const PictureWriter*>(nullptr));
    const PictureWriter drawAndSave = [&](const std::string& picturePath) {
        DrawChart(picture->Canvas, session, ViewMode::EquityCurve, picture->ChartWidth, picture->ChartHeight);
        SaveJpeg(picture->Canvas.Image(), picturePath);
    };
    return ExportHtml(session, path, &drawAndSave);
}

} // namespace corvane
