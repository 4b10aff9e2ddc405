#pragma once

#include "analysis/MonteCarlo.h"
#include "charts/ViewMode.h"
#include "portfolio/Comparison.h"
#include "text/ClockShift.h"
#include "trades/Session.h"

#include <string>

namespace corvane {

// The tool's pictures, drawn by charts/ (Qt Gui). The tool itself links no Qt, so that the commands that
// draw nothing start without loading it: with Qt, CliPictureModule.cpp loads the module corvane4-pictures
// (CliPictures.cpp) when a command draws, and says so when it cannot. The tool built without Qt has
// CliNoPictures.cpp instead. The functions throw std::runtime_error when they cannot draw or write.

// chart: the picture the window shows in the wide layout, the frame and then the chart of `view`, its times
// read on `clock` when given.
void WriteChartPicture(const Session& session, ViewMode view, const std::string& path,
                       const ClockShift* clock = nullptr);

// compare -o: the comparison's picture as the window shows it, its curves from 0 or in % of each deposit.
void WriteComparisonPicture(const Comparison& comparison, bool percent, const std::string& path);

// export-html: the page and its picture, drawn on a fresh chart surface with the frame of the wide
// layout, as the window shows it.
void ExportHtmlWithPicture(const Session& session, const std::string& path);

// montecarlo -o: the fan chart and the drawdown histogram, as the window's Monte Carlo view shows them.
void WriteMonteCarloPicture(const MonteCarloResult& result, const std::string& path);

// What the module hands the tool: the commands, each returning an empty text when it drew, else
// what failed. The module is built with the tool, from the same sources; `Version` tells a module of
// another build.
struct PictureCommands
{
    const char* Version;
    std::string (*WriteChart)(const Session& session, ViewMode view, const std::string& path, const ClockShift* clock);
    std::string (*ExportHtml)(const Session& session, const std::string& path);
    std::string (*WriteMonteCarlo)(const MonteCarloResult& result, const std::string& path);
    std::string (*WriteComparison)(const Comparison& comparison, bool percent, const std::string& path);
};

// The C name of the module's function `const PictureCommands* ()`.
inline constexpr const char* kPictureCommandsFunction = "corvane_picture_commands";

} // namespace corvane
