#include "cli/CliPictures.h"

#include <stdexcept>

namespace corvane {

namespace {

constexpr const char* kNoPictures = "this build of corvane4-cli has no pictures (it was built without Qt): ";

} // namespace

void WriteChartPicture(const Session&, ViewMode, const std::string&, const ClockShift*)
{
    throw std::runtime_error(std::string(kNoPictures) + "chart is not available");
}

void WriteMonteCarloPicture(const MonteCarloResult&, const std::string&)
{
    throw std::runtime_error(std::string(kNoPictures) + "montecarlo -o is not available");
}

void WriteComparisonPicture(const Comparison&, bool, const std::string&)
{
    throw std::runtime_error(std::string(kNoPictures) + "give compare without -o for the text alone");
}

void ExportHtmlWithPicture(const Session&, const std::string&)
{
    throw std::runtime_error(std::string(kNoPictures) + "give export-html --no-picture for the page alone");
}

} // namespace corvane
