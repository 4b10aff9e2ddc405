// The HTML report's picture, drawn by charts/ and saved as a JPEG beside the report: by the export, by
// the tool, and the JPEG file itself.
#include "export/HtmlPicture.h"

#include "ExportSessions.h"
#include "ReportBuilder.h"
#include "RunTool.h"
#include "TempDir.h"
#include "charts/EquityCurve.h"
#include "export/JpegWriter.h"
#include "text/Errors.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>

namespace corvane {
namespace {

using test::RunTool;

// A JPEG file read back by Qt's own decoder, apart from the encoder under test.
QImage Decode(const std::string& path)
{
    QImage image;
    EXPECT_TRUE(image.load(QString::fromStdString(path), "JPEG")) << path;
    return image;
}

TEST(Picture, HtmlExportSavesTheWholeSurfaceBesideTheReportOrNoFileWithoutIt)
{
    test::TempDir dir;
    Session session = test::ThreeTrades();
    session.ReportPath = dir.File("march.htm");
    std::filesystem::create_directory(dir.Path() / "pages");
    const std::string page = (dir.Path() / "pages" / "march.html").string();
    ImageCanvas canvas;
    DrawChartFrame(canvas, kNarrowWidth);
    ASSERT_TRUE(ExportHtml(session, page, PictureTarget{canvas, kNarrowWidth}));

    const QImage picture = Decode(dir.File("march.jpg"));
    EXPECT_EQ(picture.size(), QSize(809, 217));
    EXPECT_EQ(picture.format(), QImage::Format_RGB32) << "three colour components";
    EXPECT_NE(test::ReadBytes(page).find("\r\n<br>\r\n<img src=" + dir.File("march.jpg") + ">\r\n<table"),
              std::string::npos);

    std::filesystem::remove(dir.File("march.jpg"));
    ASSERT_TRUE(ExportHtml(session, page, std::nullopt));
    EXPECT_FALSE(std::filesystem::exists(dir.File("march.jpg")));
    EXPECT_EQ(test::ReadBytes(page).find("<img"), std::string::npos);
}

TEST(Picture, JpegKeepsTheColoursAtQualityHundred)
{
    test::TempDir dir;
    QImage image(809, 217, QImage::Format_RGB32);
    image.fill(QColor(0x20, 0x80, 0xc0));
    SaveJpeg(image, dir.File("blue.jpg"));
    const QColor centre = Decode(dir.File("blue.jpg")).pixelColor(404, 108);
    EXPECT_NEAR(centre.red(), 0x20, 2);
    EXPECT_NEAR(centre.green(), 0x80, 2);
    EXPECT_NEAR(centre.blue(), 0xc0, 2);
}

// The picture's bytes depend on the encoder alone: the Windows build, with libjpeg-turbo built from the
// same Debian source as the build machine's library, writes the bytes Debian's build writes. A picture
// without text, so that no font takes part; its bytes were taken from the Debian build.
TEST(Picture, JpegBytesAreTheSameOnEverySystem)
{
    test::TempDir dir;
    QImage image(809, 217, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb((x * 7 + y) % 256, (y * 5) % 256, (x ^ y) % 256));
    }
    SaveJpeg(image, dir.File("known.jpg"));
    const std::string bytes = test::ReadBytes(dir.File("known.jpg"));
    std::uint64_t hash = 14695981039346656037u; // FNV-1a, 64 bits
    for (const char byte : bytes) {
        hash ^= static_cast<unsigned char>(byte);
        hash *= 1099511628211u;
    }
    EXPECT_EQ(bytes.size(), 139680u);
    EXPECT_EQ(hash, 3932371170626809708u);

    // The same colours in a format the encoder reads pixel by pixel. A picture under 131,072 pixels: Qt
    // converts a larger one on its global thread pool, whose threads outlive the test.
    const QImage part = image.copy(0, 0, 300, 217);
    SaveJpeg(part, dir.File("part.jpg"));
    SaveJpeg(part.convertToFormat(QImage::Format_RGB888), dir.File("packed.jpg"));
    EXPECT_EQ(test::ReadBytes(dir.File("packed.jpg")), test::ReadBytes(dir.File("part.jpg")));
}

TEST(Picture, UnwritablePictureIsAFileErrorAndThePageIsNotWritten)
{
    test::TempDir dir;
    Session session = test::ThreeTrades();
    session.ReportPath = dir.File("missing-folder/march.htm");
    ImageCanvas canvas;
    EXPECT_THROW(ExportHtml(session, dir.File("march.html"), PictureTarget{canvas, kWideWidth}), FileError);
    EXPECT_FALSE(std::filesystem::exists(dir.File("march.html")));
    EXPECT_THROW(SaveJpeg(QImage(), dir.File("none.jpg")), FileError);
}

TEST(Picture, EncoderErrorIsAFileErrorAndLeavesNoFile)
{
    test::TempDir dir;
    const std::string path = dir.Write("wide.jpg", "the picture of last week");
    try {
        SaveJpeg(QImage(70000, 1, QImage::Format_RGB32), path); // wider than a JPEG may be
        FAIL() << "no error";
    } catch (const FileError& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.rfind("Cannot write the picture '" + path + "': ", 0), 0u) << message;
    }
    EXPECT_EQ(test::ReadBytes(path), "the picture of last week");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(CliExport, HtmlPageWithItsPictureBesideTheReport)
{
    test::TempDir dir;
    const std::string report = dir.Write("march.htm", test::Statement({{.Magic = "111"}, {.Ticket = "1002"}}));
    std::filesystem::create_directory(dir.Path() / "pages");
    const std::string page = (dir.Path() / "pages" / "march.html").string();
    const test::CliResult result = RunTool({"export-html", report, "-o", page});
    ASSERT_EQ(result.Status, kExitOk) << result.Err;
    EXPECT_EQ(result.Out, "");
    EXPECT_NE(test::ReadBytes(page).find("<img src=" + dir.File("march.jpg") + ">\r\n"), std::string::npos);
    EXPECT_EQ(test::ReadBytes(dir.File("march.jpg")).substr(0, 3), "\xff\xd8\xff") << "a JPEG file";
}

} // namespace
} // namespace corvane
