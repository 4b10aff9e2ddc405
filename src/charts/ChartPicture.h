#pragma once

#include "charts/Chart.h"
#include "charts/ImageCanvas.h"
#include "charts/MonteCarloChart.h"
#include "trades/Session.h"

#include <string>

namespace corvane {

/**
 * The chart surface as the window shows it in the wide layout after the session's last filter pass:
 * the frame drawn first, then the chart of `view` (nothing more when the visible table has no trades);
 * 809 x 217 as the window has it at its first size, larger as a window grown larger has it.
 * Needs a running QGuiApplication for the text.
 */
QImage DrawChartPicture(const Session& session, ViewMode view, int width = kWideWidth, int height = kSurfaceHeight,
                        const ClockShift* clock = nullptr);

// The chart surface of the Monte Carlo view as the window shows it in the wide layout: the frame, the fan
// chart and the drawdown histogram of `result`.
QImage DrawMonteCarloPicture(const MonteCarloResult& result);

// Writes the picture in the format its file name's extension names (PNG for ".png"); throws
// FileError when the file cannot be written.
void SaveChartPicture(const QImage& picture, const std::string& path);

} // namespace corvane
