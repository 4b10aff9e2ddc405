#pragma once

#include <QImage>

#include <string>

namespace corvane {

/**
 * Saves a picture as a baseline JPEG file through libjpeg: the library's default settings, then
 * quality 100. The file is written beside `path` and renamed into place when complete (ReplacingFile),
 * so a failure leaves no partial picture and an existing one unchanged. Any failure, of the file or
 * of the encoder, throws FileError with a message naming `path`.
 */
void SaveJpeg(const QImage& image, const std::string& path);

} // namespace corvane
