#include "export/ExportNames.h"
#include "export/ReplacingFile.h"

#include "ExportSessions.h"
#include "TempDir.h"
#include "export/HtmlExport.h"
#include "platform/PlatformFiles.h"
#include "text/Errors.h"

#include <gtest/gtest.h>

#include <fstream>

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
    std::error_code noSymbolicLinks; // Windows lets administrators alone make them; a hard link is a link too
    std::filesystem::create_symlink(dir.Write("march.jpg", ""), link, noSymbolicLinks);
    if (noSymbolicLinks)
        std::filesystem::create_hard_link(dir.File("march.jpg"), link);
    EXPECT_EQ(PicturePath(dir.File("march.htm"), link), dir.File("march-chart.jpg")) << "a page reached by a link";
}

// ---- writing beside the target --------------------------------------------------------------------

std::vector<std::string> FilesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(Utf8Path(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(ReplacingFile, FailedExportLeavesTheOldFileAndNoTemporary)
{
    test::TempDir dir;
    const std::string path = dir.Write("march.html", "the page of last week");
    Session session = test::ThreeTrades();
    session.Grid.SetCell(kSwap, 2, "n/a"); // the summary cannot be computed, after the head was written
    EXPECT_THROW(ExportHtml(session, path, nullptr), ConversionError);
    EXPECT_EQ(test::ReadBytes(path), "the page of last week");
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"march.html"});
}

TEST(ReplacingFile, ReplacesAnExistingFileKeepingItsPermissions)
{
    namespace fs = std::filesystem;
    test::TempDir dir;
    const std::string path = dir.Write("out.txt", "old");
    // rw-r----- where the system has such bits; Windows keeps only whether a file is read-only.
    fs::permissions(NativePath(path), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    const fs::perms before = fs::status(NativePath(path)).permissions();
    {
        ReplacingFile file(path);
        file.Stream() << "new\r\n";
        file.Commit();
    }
    EXPECT_EQ(test::ReadBytes(path), "new\r\n");
    EXPECT_EQ(fs::status(NativePath(path)).permissions(), before);
    EXPECT_EQ(FilesIn(dir.Path()), std::vector<std::string>{"out.txt"});
}

TEST(ReplacingFile, ReplacesAFileInAFolderNamedInAnotherAlphabet)
{
    test::TempDir dir;
    std::filesystem::create_directory(dir.Path() / NativePath("Отчёты"));
    const std::string path = dir.Write("Отчёты/итог.txt", "old");
    for (const char* text : {"new\r\n", "newer\r\n"}) {
        ReplacingFile file(path);
        file.Stream() << text;
        file.Commit();
        EXPECT_EQ(test::ReadBytes(path), text);
    }
    EXPECT_EQ(FilesIn(dir.Path() / NativePath("Отчёты")), std::vector<std::string>{"итог.txt"});
}

TEST(ReplacingFile, WithoutCommitNothingIsWritten)
{
    test::TempDir dir;
    {
        ReplacingFile file(dir.File("out.txt"));
        file.Stream() << "half";
    }
    EXPECT_TRUE(FilesIn(dir.Path()).empty());
}

TEST(ReplacingFile, ReadOnlyFileIsRefused)
{
    namespace fs = std::filesystem;
    test::TempDir dir;
    const std::string path = dir.Write("locked.txt", "keep");
    fs::permissions(NativePath(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    if (std::ofstream(NativePath(path), std::ios::app)) {
        fs::permissions(NativePath(path), fs::perms::owner_write, fs::perm_options::add);
        GTEST_SKIP() << "this user may write any file (the superuser, also under Wine)";
    }
    EXPECT_THROW(ReplacingFile{path}, FileError);
    EXPECT_EQ(test::ReadBytes(path), "keep");
    fs::permissions(NativePath(path), fs::perms::owner_write, fs::perm_options::add); // Windows removes none else
}

} // namespace
} // namespace corvane
