// ami-sim: runs IBIS-AMI models in a simulated serial link and measures the
// eye at the receiver. See --help.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "tools/ami-sim/Simulation.h"

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv, argv + argc);
    return amisim::RunCommandLine(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
}
