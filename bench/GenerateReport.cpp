// generate-report statement|tester|mt5-history|mt5-tester N OUT.htm
//
// Writes a large report in the terminal's format, for timing loads by hand, e.g.
//     generate-report statement 100000 big.htm && time corvane4-cli summary big.htm

#include "ReportGenerator.h"

#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

namespace {

constexpr int kExitOk = 0;
constexpr int kExitError = 1;

int Usage()
{
    std::fputs("Usage: generate-report statement|tester|mt5-history|mt5-tester N OUT.htm\n"
               "  statement    an account statement with N closed trades and a few open ones\n"
               "  tester       a strategy-tester report with N trades\n"
               "  mt5-history  a MetaTrader 5 account history with N closing deals and a few open positions\n"
               "  mt5-tester   a MetaTrader 5 tester report with N closing deals\n",
               stderr);
    return kExitError;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return Usage();
    const std::string_view kind = argv[1];
    const std::string_view count = argv[2];
    const std::string path = argv[3];

    corvane::bench::ReportType type = corvane::bench::ReportType::Statement;
    if (kind == "tester")
        type = corvane::bench::ReportType::Tester;
    else if (kind == "mt5-history")
        type = corvane::bench::ReportType::Mt5History;
    else if (kind == "mt5-tester")
        type = corvane::bench::ReportType::Mt5Tester;
    else if (kind != "statement")
        return Usage();
    long long trades = 0;
    const auto parsed = std::from_chars(count.data(), count.data() + count.size(), trades);
    if (parsed.ec != std::errc() || parsed.ptr != count.data() + count.size() || trades < 0)
        return Usage();

    try {
        const auto start = std::chrono::steady_clock::now();
        const corvane::bench::GeneratedReport report = corvane::bench::WriteReport(type, path, trades);
        const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
        std::printf("%s: %lld trade rows, %lld bytes, %.2f s\n", path.c_str(), report.TradeRows, report.Bytes,
                    elapsed.count());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "generate-report: %s\n", error.what());
        return kExitError;
    }
    return kExitOk;
}
