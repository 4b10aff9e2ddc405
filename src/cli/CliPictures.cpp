#include "cli/CliPictures.h"

#include "charts/ChartPicture.h"
#include "charts/EquityCurve.h"
#include "export/HtmlPicture.h"

#include <QGuiApplication>

#include <clocale>

namespace corvane {

namespace {

// Text on the charts needs the toolkit's fonts, so a drawing command starts it, without a display.
void StartGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "corvane4-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
}

} // namespace

void WriteChartPicture(const Session& session, ViewMode view, const std::string& path)
{
    StartGuiApplication();
    SaveChartPicture(DrawChartPicture(session, view), path);
}

void ExportHtmlWithPicture(const Session& session, const std::string& path)
{
    StartGuiApplication();
    ImageCanvas canvas;
    canvas.SetCodePage(session.Report.CodePage);
    DrawChartFrame(canvas, kWideWidth);
    ExportHtml(session, path, PictureTarget{canvas, kWideWidth});
}

} // namespace corvane
