#include "HtmlExport.h"

#include "EquityCurve.h"
#include "Errors.h"
#include "ExportSessions.h"
#include "JpegWriter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace corvane {
namespace {

struct Decoded
{
    bool Ok = false;
    int Width = 0;
    int Height = 0;
    int Components = 0;
    unsigned char Centre[3] = {0, 0, 0}; // the pixel in the middle of the picture
};

struct DecodeErrors
{
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
};

extern "C" void OnDecodeError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<DecodeErrors*>(info->err)->Jump, 1);
}

// Reads a JPEG file back with libjpeg; nothing with a destructor lives between setjmp and the library.
void DecodeFile(std::FILE* file, Decoded& result)
{
    jpeg_decompress_struct info;
    DecodeErrors errors;
    info.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = OnDecodeError;
    if (setjmp(errors.Jump)) {
        jpeg_destroy_decompress(&info);
        return;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    jpeg_start_decompress(&info);
    result.Width = static_cast<int>(info.output_width);
    result.Height = static_cast<int>(info.output_height);
    result.Components = info.output_components;
    unsigned char row[809 * 3];
    JSAMPROW rows[] = {row};
    while (info.output_scanline < info.output_height) {
        const bool centre = static_cast<int>(info.output_scanline) == result.Height / 2;
        jpeg_read_scanlines(&info, rows, 1);
        if (centre && result.Width <= 809)
            for (int c = 0; c < 3; ++c)
                result.Centre[c] = row[(result.Width / 2) * 3 + c];
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    result.Ok = true;
}

Decoded Decode(const std::string& path)
{
    Decoded result;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        DecodeFile(file, result);
        std::fclose(file);
    }
    return result;
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
    ASSERT_TRUE(ExportHtml(session, page, &canvas, kNarrowWidth, true));

    const Decoded picture = Decode(dir.File("march.jpg"));
    ASSERT_TRUE(picture.Ok);
    EXPECT_EQ(picture.Width, 809);
    EXPECT_EQ(picture.Height, 217);
    EXPECT_EQ(picture.Components, 3);
    EXPECT_NE(test::ReadBytes(page).find("\r\n<br>\r\n<img src=" + dir.File("march.jpg") + ">\r\n<table"),
              std::string::npos);

    std::filesystem::remove(dir.File("march.jpg"));
    ASSERT_TRUE(ExportHtml(session, page, nullptr, kWideWidth, false));
    EXPECT_FALSE(std::filesystem::exists(dir.File("march.jpg")));
    EXPECT_EQ(test::ReadBytes(page).find("<img"), std::string::npos);
}

TEST(Picture, JpegKeepsTheColoursAtQualityHundred)
{
    test::TempDir dir;
    QImage image(809, 217, QImage::Format_RGB32);
    image.fill(QColor(0x20, 0x80, 0xc0));
    SaveJpeg(image, dir.File("blue.jpg"));
    const Decoded picture = Decode(dir.File("blue.jpg"));
    ASSERT_TRUE(picture.Ok);
    EXPECT_NEAR(picture.Centre[0], 0x20, 2);
    EXPECT_NEAR(picture.Centre[1], 0x80, 2);
    EXPECT_NEAR(picture.Centre[2], 0xc0, 2);
}

TEST(Picture, UnwritablePictureIsAFileErrorAndThePageIsNotWritten)
{
    test::TempDir dir;
    Session session = test::ThreeTrades();
    session.ReportPath = dir.File("missing-folder/march.htm");
    ImageCanvas canvas;
    EXPECT_THROW(ExportHtml(session, dir.File("march.html"), &canvas, kWideWidth, true), FileError);
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

} // namespace
} // namespace corvane
