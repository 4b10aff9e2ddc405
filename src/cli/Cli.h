#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace corvane {

// Exit statuses of the command-line tool.
inline constexpr int kExitOk = 0;
inline constexpr int kExitError = 1;   // bad usage, an unreadable file, a cell that is not a number
inline constexpr int kExitRefused = 2; // the report is not one the terminal wrote

/**
 * corvane4-cli COMMAND REPORT [--append REPORT]... [--symbols S,...] [--magics M,...]
 * Loads the reports as the window's Load File does (each --append as a Shift-press on the button),
 * selects list entries as a user would and runs that list's click handler, then prints what the
 * command asks for. `args` excludes the program name.
 */
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace corvane
