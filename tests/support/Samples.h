#pragma once

#include <map>
#include <string>
#include <vector>

namespace corvane::test {

// The folder of real reports written by the terminal, or "" when it is absent.
std::string SamplesDir();

// The folder of real reports written by the MetaTrader 5 terminal, or "" when it is absent.
std::string Mt5SamplesDir();

// Every *.htm file of the samples folder, sorted by name; empty when the folder is absent.
std::vector<std::string> SampleReports();

// Every report of both terminals' samples folders (*.htm and *.html), sorted by name.
std::vector<std::string> EverySampleReport();

// A table of figures (figures.tsv, figures-more.tsv) of a samples folder: file name -> column name ->
// text; empty when `dir` is "".
std::map<std::string, std::map<std::string, std::string>> SampleFigures(const std::string& dir = SamplesDir(),
                                                                        const std::string& table = "figures.tsv");

} // namespace corvane::test

// Skips the running test when the samples folder is absent.
#define CORVANE_REQUIRE_SAMPLES()                                                                                      \
    do {                                                                                                               \
        if (::corvane::test::SamplesDir().empty())                                                                     \
            GTEST_SKIP() << "samples folder absent: " CORVANE_SAMPLES_DIR;                                             \
    } while (false)
