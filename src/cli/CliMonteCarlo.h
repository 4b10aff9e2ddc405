#pragma once

#include "analysis/MonteCarlo.h"
#include "trades/Session.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>

namespace corvane {

// The options of the montecarlo command, as typed values.
struct MonteCarloOptions
{
    MonteCarloSettings Settings;
    bool SeedGiven = false;
    std::string FirstGiven; // the first of these options on the command line, "" when none was given
};

/**
 * Takes `arg` when it is an option of montecarlo (--method, --runs, --seed, --compound, --ruin,
 * --confidence, --deposit), its value read through `value`; false for any other argument. Throws
 * UsageError for a value out of range.
 */
bool ParseMonteCarloOption(const std::string& arg, const std::function<const std::string&()>& value,
                           MonteCarloOptions& options);

// `corvane4-cli montecarlo --help`: the command and its options.
std::string_view MonteCarloUsageText();

/**
 * montecarlo: the analysis of the closed trades the filters keep, printed as text or, with `json`, as one
 * JSON object; with a `picture` path, the fan chart and the drawdown histogram written there as PNG. A
 * seed not given is drawn afresh; either way the output names it. A long run says on `err` how far it
 * has come.
 */
void RunMonteCarloCommand(const Session& session, const MonteCarloOptions& options, bool json,
                          const std::string& picture, std::ostream& out, std::ostream& err);

} // namespace corvane
