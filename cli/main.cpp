#include "cli/Command.h"

#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    velquor::cli::CommandStreams streams{STDIN_FILENO, std::cout, std::cerr, ::isatty(STDERR_FILENO) == 1};
    const int status = velquor::cli::runCommandLine(arguments, streams);
    std::cout.flush();
    return status;
}
