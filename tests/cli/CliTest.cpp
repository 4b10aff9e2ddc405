#include "Cli.h"

#include <gtest/gtest.h>

#include <sstream>

namespace corvane {
namespace {

TEST(Cli, HelpDocumentsTheCommands)
{
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--help"}, out, err), kExitOk);
    EXPECT_NE(out.str().find("summary"), std::string::npos);
    EXPECT_NE(out.str().find("--append"), std::string::npos);
}

} // namespace
} // namespace corvane
