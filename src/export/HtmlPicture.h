#pragma once

#include "charts/ImageCanvas.h"
#include "export/HtmlExport.h"

#include <optional>
#include <string>

namespace corvane {

// Where Export html draws its picture: a chart surface, and the size of the chart area on it.
struct PictureTarget
{
    ImageCanvas& Canvas;
    int ChartWidth;
    int ChartHeight = kSurfaceHeight;
};

/**
 * Export html with its picture: with a `picture` target, first draws the equity curve on its canvas
 * (the view mode untouched) and saves the whole surface (809 x 217 unless the window grew) as a JPEG
 * at PicturePath(report, page), next to the report loaded last; the window passes its own surface,
 * other callers one with the frame drawn. Otherwise the page alone, as ExportHtml without a picture
 * writer.
 */
bool ExportHtml(const Session& session, const std::string& path, std::optional<PictureTarget> picture);

} // namespace corvane
