#include "ExportNames.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

TEST(ProposedName, CutsAtTheFirstHtm)
{
    const std::tuple<std::string, std::string, std::optional<std::string>> cases[] = {
        {"/r/march.htm", ".txt", "/r/march.txt"},
        {"/r/march.html", ".txt", "/r/march.txt"},
        {"/r/march.html", ".html", "/r/march.html"},
        {"/r/x.htm.d/march.htm", ".txt", "/r/x.txt"}, // a folder named .htm
        {"/r/MARCH.HTM", ".txt", std::nullopt},       // letter case counts
        {"/r/march.cvn", ".txt", std::nullopt},
        {"", ".html", std::nullopt}, // no report
    };
    for (const auto& [report, extension, proposed] : cases)
        EXPECT_EQ(ProposedExportName(report, extension), proposed) << report << " " << extension;
}

TEST(PictureName, NeverNamesTheReportOrThePage)
{
    const std::tuple<std::string, std::string, std::string> cases[] = {
        {"/r/march.htm", "/out/page.html", "/r/march.jpg"}, // beside the report
        {"/r/march.cvn", "/out/page.html", "/out/page.jpg"},
        {"/r/march.cvn", "/out/page", "/out/page.jpg"},
        {"/r/march.htm", "/r/march.jpg", "/r/march-chart.jpg"}, // the page has the picture's name
        {"/r/p.jpg", "/r/p", "/r/p-chart.jpg"},                 // so has the report
        {"/r/p.htm", "/r/x/../p.jpg", "/r/p-chart.jpg"},        // the same file by another path
    };
    for (const auto& [report, page, picture] : cases)
        EXPECT_EQ(PicturePath(report, page), picture) << report << " " << page;

    test::TempDir dir;
    const std::string link = dir.File("link.jpg");
    std::filesystem::create_symlink(dir.Write("march.jpg", ""), link);
    EXPECT_EQ(PicturePath(dir.File("march.htm"), link), dir.File("march-chart.jpg"))
        << "a page reached by a link";
}

} // namespace
} // namespace corvane
