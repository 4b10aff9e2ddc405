#include "export/JpegWriter.h"

#include "export/ReplacingFile.h"
#include "text/Errors.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace corvane {

namespace {

constexpr int kQuality = 100;

// libjpeg reports a fatal error by calling error_exit, which must not return: it jumps back to
// Compress with the library's message.
struct JpegErrors
{
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

extern "C" void OnJpegError(j_common_ptr info)
{
    JpegErrors* errors = reinterpret_cast<JpegErrors*>(info->err);
    (*info->err->format_message)(info, errors->Message);
    std::longjmp(errors->Jump, 1);
}

extern "C" void IgnoreJpegMessage(j_common_ptr) {}

// Row `y` of `image` as red, green and blue bytes. The picture is converted a row at a time rather than
// with QImage's own conversion, which hands a large picture to Qt's global thread pool, whose threads
// outlive the export.
void RgbRow(const QImage& image, int y, unsigned char* out)
{
    const bool direct = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32;
    const QRgb* pixels = direct ? reinterpret_cast<const QRgb*>(image.constScanLine(y)) : nullptr;
    for (int x = 0; x < image.width(); ++x, out += 3) {
        const QRgb pixel = direct ? pixels[x] : image.pixel(x, y);
        out[0] = static_cast<unsigned char>(qRed(pixel));
        out[1] = static_cast<unsigned char>(qGreen(pixel));
        out[2] = static_cast<unsigned char>(qBlue(pixel));
    }
}

/**
 * Encodes the rows of `image` into `file`, each through `row` (three bytes a pixel). Returns false with
 * the library's message in `errors` when it fails. Nothing with a destructor lives in this function, so
 * jumping out of the library back to the setjmp below skips no clean-up; the compressor is destroyed on
 * both ways out.
 */
bool Compress(const QImage& image, unsigned char* row, std::FILE* file, JpegErrors& errors)
{
    jpeg_compress_struct info;
    info.err = jpeg_std_error(&errors.Manager);
    errors.Manager.error_exit = OnJpegError;
    errors.Manager.output_message = IgnoreJpegMessage;
    errors.Message[0] = '\0';
    if (setjmp(errors.Jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(image.width());
    info.image_height = static_cast<JDIMENSION>(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        RgbRow(image, static_cast<int>(info.next_scanline), row);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

} // namespace

void SaveJpeg(const QImage& image, const std::string& path)
{
    if (image.isNull())
        throw FileError("Cannot write the picture '" + path + "': there is no picture.");
    std::vector<unsigned char> row(static_cast<std::size_t>(image.width()) * 3);
    ReplacingFile file(path);
    JpegErrors errors;
    if (!Compress(image, row.data(), file.File(), errors))
        throw FileError("Cannot write the picture '" + path + "': " + errors.Message + ".");
    file.Commit();
}

} // namespace corvane
