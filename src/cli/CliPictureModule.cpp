#include "cli/CliPictures.h"

#include "platform/PlatformFiles.h"
#include "platform/PlatformModules.h"

#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace corvane {

namespace {

/**
 * The picture module, loaded at the first drawing command: beside the program (the build folder, and
 * the tests), else in the installation's library folder (CORVANE_PICTURES_FOLDER, relative to the
 * program's). Throws std::runtime_error saying what is missing; `refusal` ends that message.
 */
const PictureCommands& LoadPictureCommands(const char* refusal)
{
    static const PictureCommands* commands = nullptr;
    if (commands)
        return *commands;
    const std::filesystem::path beside = NativePath(ProgramFolder());
    const std::filesystem::path installed = (beside / CORVANE_PICTURES_FOLDER).lexically_normal();
    std::string error = CORVANE_PICTURES_FILE " is neither beside the program nor in " + Utf8Path(installed);
    for (const std::filesystem::path& folder : {beside, installed}) {
        const std::filesystem::path candidate = folder / CORVANE_PICTURES_FILE;
        std::error_code failed;
        if (!std::filesystem::exists(candidate, failed))
            continue;
        void* module = LoadModule(Utf8Path(candidate), error);
        if (!module)
            break;
        using Entry = const PictureCommands* (*)();
        const auto entry = reinterpret_cast<Entry>(ModuleFunction(module, kPictureCommandsFunction));
        const PictureCommands* found = entry ? entry() : nullptr;
        if (!found || std::strcmp(found->Version, CORVANE_VERSION) != 0) {
            error = Utf8Path(candidate) + " is not the picture module of corvane4-cli " CORVANE_VERSION;
            break;
        }
        commands = found;
        return *commands;
    }
    throw std::runtime_error("corvane4-cli cannot draw pictures: " + error + "; " + refusal);
}

void Check(const std::string& failure)
{
    if (!failure.empty())
        throw std::runtime_error(failure);
}

} // namespace

void WriteChartPicture(const Session& session, ViewMode view, const std::string& path, const ClockShift* clock)
{
    Check(LoadPictureCommands("chart is not available").WriteChart(session, view, path, clock));
}

void WriteComparisonPicture(const Comparison& comparison, bool percent, const std::string& path)
{
    Check(LoadPictureCommands("give compare without -o for the text alone").WriteComparison(comparison, percent, path));
}

void WriteMonteCarloPicture(const MonteCarloResult& result, const std::string& path)
{
    Check(LoadPictureCommands("montecarlo -o is not available").WriteMonteCarlo(result, path));
}

void ExportHtmlWithPicture(const Session& session, const std::string& path)
{
    Check(LoadPictureCommands("give export-html --no-picture for the page alone").ExportHtml(session, path));
}

} // namespace corvane
