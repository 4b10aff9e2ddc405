#include "cli/CliPictures.h"

#include "charts/ChartPicture.h"
#include "charts/ComparisonChart.h"
#include "charts/EquityCurve.h"
#include "export/HtmlPicture.h"

#include <QGuiApplication>
#include <QThreadPool>

#include <clocale>
#include <exception>

// The module corvane4-pictures: the tool's drawing commands, loaded by the tool when a command draws.

namespace corvane {

namespace {

// Text on the charts needs the toolkit's fonts, so a drawing command starts it, without a display: on
// Linux with the offscreen platform, whose fonts fontconfig finds. On Windows the system's own platform
// needs no display either, and only it has the system's fonts: offscreen would look in Qt's own folder.
void StartGuiApplication()
{
    if (QCoreApplication::instance())
        return;
#ifndef _WIN32
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
    static int argc = 1;
    static char name[] = "corvane4-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    // The painter may fill long runs of spans on Qt's global thread pool. The tool draws a picture and
    // ends: those threads end with their work, not idle on past the tool's own end, which waits for the
    // pool but not for its threads to be gone.
    QThreadPool::globalInstance()->setExpiryTimeout(0);
}

// Failures cross back to the tool as text: the tool prints them as it prints its own.
std::string WriteChart(const Session& session, ViewMode view, const std::string& path, const ClockShift* clock)
{
    try {
        StartGuiApplication();
        SaveChartPicture(DrawChartPicture(session, view, kWideWidth, kSurfaceHeight, clock), path);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

std::string ExportHtmlAndPicture(const Session& session, const std::string& path)
{
    try {
        StartGuiApplication();
        ImageCanvas canvas;
        canvas.SetCodePage(session.Report.CodePage);
        DrawChartFrame(canvas, kWideWidth);
        ExportHtml(session, path, PictureTarget{canvas, kWideWidth});
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

std::string WriteMonteCarlo(const MonteCarloResult& result, const std::string& path)
{
    try {
        StartGuiApplication();
        SaveChartPicture(DrawMonteCarloPicture(result), path);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

std::string WriteComparison(const Comparison& comparison, bool percent, const std::string& path)
{
    try {
        StartGuiApplication();
        SaveChartPicture(DrawComparisonPicture(comparison, percent), path);
    } catch (const std::exception& e) {
        return e.what();
    }
    return {};
}

constexpr PictureCommands kCommands{CORVANE_VERSION, WriteChart, ExportHtmlAndPicture, WriteMonteCarlo,
                                    WriteComparison};

} // namespace

} // namespace corvane

#ifdef _WIN32
#define CORVANE_MODULE_EXPORT __declspec(dllexport)
#else
#define CORVANE_MODULE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" CORVANE_MODULE_EXPORT const corvane::PictureCommands* corvane_picture_commands()
{
    return &corvane::kCommands;
}
