#pragma once

#include "charts/ViewMode.h"
#include "trades/Session.h"

#include <string>

namespace corvane {

// The tool's pictures, drawn by charts/ (Qt Gui): CliPictures.cpp. The tool built without Qt has
// CliNoPictures.cpp instead, whose two functions throw std::runtime_error saying that this build draws
// no pictures.

// chart: the picture the window shows in the wide layout, the frame and then the chart of `view`.
void WriteChartPicture(const Session& session, ViewMode view, const std::string& path);

// export-html: the page and its picture, drawn on a fresh chart surface with the frame of the wide
// layout, as the window shows it.
void ExportHtmlWithPicture(const Session& session, const std::string& path);

} // namespace corvane
