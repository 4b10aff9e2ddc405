#pragma once

#include "cli/CliOptions.h"
#include "trades/Session.h"

#include <ostream>
#include <string>
#include <string_view>

namespace corvane {

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
