#pragma once

#include "cli/Cli.h"

#include <sstream>
#include <string>
#include <vector>

namespace corvane::test {

// What one run of the command-line tool gave: its exit status and both streams.
struct CliResult
{
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline CliResult RunTool(const std::vector<std::string>& args)
{
    std::ostringstream out, err;
    const int status = RunCli(args, out, err);
    return {status, out.str(), err.str()};
}

} // namespace corvane::test
