#include "ExportNames.h"

#include "TempDir.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct NameCase
{
    const char* name;
    std::string report;
    std::string extension;
    std::optional<std::string> proposed;
};

class ProposedName : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(ProposedName, CutsAtTheFirstHtm)
{
    EXPECT_EQ(ProposedExportName(GetParam().report, GetParam().extension), GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProposedName,
    ::testing::Values(NameCase{"Htm", "/r/march.htm", ".txt", "/r/march.txt"},
                      NameCase{"Html", "/r/march.html", ".txt", "/r/march.txt"},
                      NameCase{"HtmlPage", "/r/march.html", ".html", "/r/march.html"},
                      NameCase{"FolderNamedHtm", "/r/x.htm.d/march.htm", ".txt", "/r/x.txt"},
                      NameCase{"CaseSensitive", "/r/MARCH.HTM", ".txt", std::nullopt},
                      NameCase{"Cvn", "/r/march.cvn", ".txt", std::nullopt},
                      NameCase{"NoReport", "", ".html", std::nullopt}),
    [](const ::testing::TestParamInfo<NameCase>& param) { return std::string(param.param.name); });

struct PictureCase
{
    const char* name;
    std::string report;
    std::string page;
    std::string picture;
};

class PictureName : public ::testing::TestWithParam<PictureCase>
{
};

TEST_P(PictureName, NeverNamesTheReportOrThePage)
{
    EXPECT_EQ(PicturePath(GetParam().report, GetParam().page), GetParam().picture);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PictureName,
    ::testing::Values(
        PictureCase{"BesideTheReport", "/r/march.htm", "/out/page.html", "/r/march.jpg"},
        PictureCase{"ReportWithoutHtm", "/r/march.cvn", "/out/page.html", "/out/page.jpg"},
        PictureCase{"NeitherHasHtm", "/r/march.cvn", "/out/page", "/out/page.jpg"},
        PictureCase{"PageNamedLikeThePicture", "/r/march.htm", "/r/march.jpg", "/r/march-chart.jpg"},
        PictureCase{"ReportNamedLikeThePicture", "/r/p.jpg", "/r/p", "/r/p-chart.jpg"},
        PictureCase{"PageOfTheSameNameElsewhere", "/r/p.htm", "/r/x/../p.jpg", "/r/p-chart.jpg"}),
    [](const ::testing::TestParamInfo<PictureCase>& param) { return std::string(param.param.name); });

TEST(PictureName, PageReachedThroughALinkCounts)
{
    test::TempDir dir;
    const std::string picture = dir.Write("march.jpg", "");
    const std::string link = dir.File("link.jpg");
    std::filesystem::create_symlink(picture, link);
    EXPECT_EQ(PicturePath(dir.File("march.htm"), link), dir.File("march-chart.jpg"));
}

} // namespace
} // namespace corvane
