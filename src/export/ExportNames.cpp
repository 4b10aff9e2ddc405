#include "export/ExportNames.h"

#include "platform/PlatformFiles.h"

#include <filesystem>

namespace corvane {

namespace {

constexpr const char* kReportExtension = ".htm";
constexpr const char* kPictureExtension = ".jpg";

// Whether two paths name the same file: the same absolute path, or one file reached by both.
bool SameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return false;
    std::error_code error;
    const auto absoluteA = std::filesystem::absolute(NativePath(a), error).lexically_normal();
    const auto absoluteB = std::filesystem::absolute(NativePath(b), error).lexically_normal();
    if (absoluteA == absoluteB)
        return true;
    return std::filesystem::equivalent(absoluteA, absoluteB, error) && !error;
}

} // namespace

std::optional<std::string> ProposedExportName(const std::string& reportPath, const std::string& extension)
{
    const std::size_t cut = reportPath.find(kReportExtension);
    if (cut == std::string::npos)
        return std::nullopt;
    return reportPath.substr(0, cut) + extension;
}

std::string PicturePath(const std::string& reportPath, const std::string& pagePath)
{
    std::string picture;
    if (const auto fromReport = ProposedExportName(reportPath, kPictureExtension))
        picture = *fromReport;
    else
        picture = ProposedExportName(pagePath, kPictureExtension).value_or(pagePath + kPictureExtension);
    while (SameFile(picture, reportPath) || SameFile(picture, pagePath))
        picture.insert(picture.size() - std::char_traits<char>::length(kPictureExtension), "-chart");
    return picture;
}

} // namespace corvane
