#pragma once

#include "charts/Chart.h"
#include "charts/ImageCanvas.h"
#include "trades/Session.h"

#include <string>

namespace corvane {

/**
 * The chart surface as the window shows it in the wide layout after the session's last filter pass:
 * the frame drawn first, then the chart of `view` (nothing more when the visible table has no trades).
 * Needs a running QGuiApplication for the text.
 */
QImage DrawChartPicture(const Session& session, ViewMode view, const ClockShift* clock = nullptr);

// Writes the picture in the format its file name's extension names (PNG for ".png"); throws
// FileError when the file cannot be written.
void SaveChartPicture(const QImage& picture, const std::string& path);

} // namespace corvane
