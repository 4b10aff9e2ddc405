#include "Samples.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace corvane::test {

namespace {

std::string ExistingDir(const char* path)
{
    std::error_code error;
    const std::filesystem::path dir(path);
    return std::filesystem::is_directory(dir, error) ? dir.lexically_normal().string() : std::string();
}

} // namespace

std::string SamplesDir()
{
    return ExistingDir(CORVANE_SAMPLES_DIR);
}

std::string Mt5SamplesDir()
{
    return ExistingDir(CORVANE_MT5_SAMPLES_DIR);
}

std::vector<std::string> SampleReports()
{
    std::vector<std::string> files;
    const std::string dir = SamplesDir();
    if (dir.empty())
        return files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".htm")
            files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<std::string> EverySampleReport()
{
    std::vector<std::string> files;
    for (const std::string& dir : {SamplesDir(), Mt5SamplesDir()}) {
        if (dir.empty())
            continue;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.path().extension() == ".htm" || entry.path().extension() == ".html")
                files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::map<std::string, std::map<std::string, std::string>> SampleFigures(const std::string& dir,
                                                                        const std::string& table)
{
    std::map<std::string, std::map<std::string, std::string>> figures;
    if (dir.empty())
        return figures;
    std::ifstream in(std::filesystem::path(dir) / table);
    std::string line;
    std::vector<std::string> header;
    const auto split = [](const std::string& text) {
        std::vector<std::string> fields;
        std::stringstream stream(text);
        std::string field;
        while (std::getline(stream, field, '\t'))
            fields.push_back(field);
        if (!text.empty() && text.back() == '\t')
            fields.emplace_back();
        return fields;
    };
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::vector<std::string> fields = split(line);
        if (header.empty()) {
            header = fields;
            continue;
        }
        auto& row = figures[fields.empty() ? std::string() : fields[0]];
        for (std::size_t i = 1; i < header.size(); ++i)
            row[header[i]] = i < fields.size() ? fields[i] : std::string();
    }
    return figures;
}

} // namespace corvane::test
