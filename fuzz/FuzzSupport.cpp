#include "FuzzSupport.h"

#include "text/Errors.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <unistd.h>

namespace corvane::fuzz {

InputFile::InputFile(const std::uint8_t* data, std::size_t size)
{
    static const std::string folder = [] {
        const char* shm = "/dev/shm";
        return std::string(access(shm, W_OK) == 0 ? shm : "/tmp");
    }();
    std::string pattern = folder + "/corvane-fuzz-XXXXXX";
    const int fd = mkstemp(pattern.data());
    if (fd < 0)
        throw std::runtime_error("cannot create an input file");
    std::size_t written = 0;
    while (written < size) {
        const ssize_t n = write(fd, data + written, size - written);
        if (n <= 0)
            break;
        written += static_cast<std::size_t>(n);
    }
    close(fd);
    m_path = pattern;
}

InputFile::~InputFile()
{
    std::remove(m_path.c_str());
}

bool LoadInto(const std::string& path, LoadMode mode, Terminal writer, Session* loaded)
{
    Session own;
    Session& session = loaded ? *loaded : own;
    if (mode == LoadMode::Append) {
        session.Report.Writer = writer;
        session.Full.SetRowCount(4);
        for (int row = 1; row < 4; ++row)
            session.Full.SetCell(kTicket, row, std::to_string(row * 7));
    }
    try {
        LoadReport(session, path, mode);
    } catch (const ConversionError&) {
        return false;
    } catch (const FileError&) {
        return false;
    }
    return true;
}

std::vector<std::vector<std::string_view>> SplitCells(std::string_view text)
{
    std::vector<std::vector<std::string_view>> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        std::vector<std::string_view>& cells = lines.emplace_back();
        while (true) {
            const std::size_t tab = line.find('\t');
            cells.push_back(line.substr(0, tab));
            if (tab == std::string_view::npos)
                break;
            line.remove_prefix(tab + 1);
        }
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

} // namespace corvane::fuzz
