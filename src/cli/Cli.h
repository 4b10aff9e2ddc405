#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane {

// Exit statuses of the command-line tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;   // bad usage, a file that cannot be read or written, a bad cell
inline constexpr int kExitRefused = 2; // the report is not one the terminal wrote

/**
 * corvane4-cli COMMAND [REPORT] [options]
 * Loads the report as the window's Load File does, then runs the options in the order given, each as
 * the window's command would (--append as a Shift-press on Load File, --symbols and --magics as list
 * clicks, --import, --delete, --normalize, --normalize-x10, --sort), then prints or writes what the
 * command asks for. `args` excludes the program name.
 */
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace corvane
