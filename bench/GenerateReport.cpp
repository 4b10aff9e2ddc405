// generate-report statement|tester|mt5-history|mt5-tester N OUT.htm
// generate-report perf-statement|perf-tester N OUT.htm [SOURCE.htm]
//
// Writes a large report in the terminal's format, for timing loads by hand, e.g.
//     generate-report statement 100000 big.htm && time corvane4-cli summary big.htm

#include "PerfShape.h"
#include "ReportGenerator.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitError = 1;

using corvane::bench::ReportType;

constexpr std::array<std::pair<std::string_view, ReportType>, 6> kKinds = {{
    {"statement", ReportType::Statement},
    {"tester", ReportType::Tester},
    {"mt5-history", ReportType::Mt5History},
    {"mt5-tester", ReportType::Mt5Tester},
    {"perf-statement", ReportType::PerfStatement},
    {"perf-tester", ReportType::PerfTester},
}};

int Usage()
{
    std::fputs("Usage: generate-report statement|tester|mt5-history|mt5-tester N OUT.htm\n"
               "       generate-report perf-statement|perf-tester N OUT.htm [SOURCE.htm]\n"
               "  statement       an account statement with N closed trades and a few open ones\n"
               "  tester          a strategy-tester report with N trades\n"
               "  mt5-history     a MetaTrader 5 account history with N closing deals and a few open positions\n"
               "  mt5-tester      a MetaTrader 5 tester report with N closing deals\n"
               "  perf-statement  an account statement of N trades, open ones included, grown from the trade\n"
               "                  rows of SOURCE (default: statement-10k.htm of the perf folder)\n"
               "  perf-tester     a strategy-tester report of N trades grown from SOURCE (default:\n"
               "                  tester-10k.htm of the perf folder)\n",
               stderr);
    return kExitError;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 5)
        return Usage();
    const std::string_view kind = argv[1];
    const std::string_view count = argv[2];
    const std::string path = argv[3];

    const auto known =
        std::find_if(kKinds.begin(), kKinds.end(), [kind](const auto& entry) { return entry.first == kind; });
    if (known == kKinds.end())
        return Usage();
    const ReportType type = known->second;
    const bool perfShape = type == ReportType::PerfStatement || type == ReportType::PerfTester;
    if (argc == 5 && !perfShape)
        return Usage();
    long long trades = 0;
    const auto parsed = std::from_chars(count.data(), count.data() + count.size(), trades);
    if (parsed.ec != std::errc() || parsed.ptr != count.data() + count.size() || trades < 0)
        return Usage();

    try {
        const auto start = std::chrono::steady_clock::now();
        const corvane::bench::GeneratedReport report = argc == 5
                                                           ? corvane::bench::WritePerfShape(type, argv[4], path, trades)
                                                           : corvane::bench::WriteReport(type, path, trades);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        std::printf("%s: %lld trade rows, %lld bytes, %.2f s\n", path.c_str(), report.TradeRows, report.Bytes,
                    elapsed.count());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "generate-report: %s\n", error.what());
        return kExitError;
    }
    return kExitOk;
}
