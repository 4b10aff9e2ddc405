#include "cli/Cli.h"

#include <clocale>
#include <iostream>

int main(int argc, char** argv)
{
    std::setlocale(LC_NUMERIC, "C");
    std::ios::sync_with_stdio(false);
    return corvane::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
}
