#pragma once

#include "cli/CliOptions.h"
#include "portfolio/Comparison.h"

#include <ostream>
#include <string>

namespace corvane {

// The path the window's dialog would hand over: absolute, and a file that can be read; throws
// std::runtime_error saying why not.
std::string ReadablePath(const std::string& path);

/**
 * compare: loads every report, each as Load File does, takes its strategies (each magic number one with
 * --by-magic) on its clock, combines and correlates them with the weights and rates given, prints the
 * comparison as text or JSON, and writes its picture to -o FILE.png.
 */
void RunCompare(const Options& options, std::ostream& out, std::ostream& err);

/**
 * The comparison as one JSON object: the strategies with their figures (the keys of stats --json) and
 * daily results, the shared calendar's days with each strategy's result and each combination's, the
 * combinations' figures, the correlation matrix with the days each pair traded together and counted, and
 * the notes. Money to the cent, correlations unrounded, null for no value.
 */
std::string ComparisonJson(const Comparison& comparison);

} // namespace corvane
