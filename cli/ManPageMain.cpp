// Prints velquor-cli's manual page, built from its command table; resources/velquor-cli.1 is
// this program's output, and a test keeps the two the same.
#include "cli/ManPage.h"

#include <iostream>

int main() {
    velquor::cli::writeManPage(std::cout);
    return std::cout.good() ? 0 : 1;
}
