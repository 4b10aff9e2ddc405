#pragma once

#include "charts/Canvas.h"
#include "reports/LoadReport.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::fuzz {

// Writes the input to a file of its own for the readers that take a path; removed when destroyed.
class InputFile
{
public:
    InputFile(const std::uint8_t* data, std::size_t size);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// A surface that draws nothing, for running the charts over arbitrary tables.
class NullCanvas : public Canvas
{
public:
    void FillRect(int, int, int, int, Rgb) override {}
    void SetPen(Rgb, PenStyle) override {}
    void MoveTo(int, int) override {}
    void LineTo(int, int) override {}
    void TextOut(int, int, std::string_view) override {}
};

// Loads `path` into a fresh session as a load of its own (Replace) or after three trades of a report the
// terminal `writer` wrote (Append); a file the readers cannot read is passed over. Returns false when the load
// failed half-way (a read error, a cell that is not a number).
bool LoadInto(const std::string& path, LoadMode mode, Terminal writer, Session* loaded = nullptr);

// Splits the input into lines and each line into tab-separated cells.
std::vector<std::vector<std::string_view>> SplitCells(std::string_view text);

} // namespace corvane::fuzz
