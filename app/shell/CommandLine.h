#pragma once

#include <QStringList>

#include <optional>

namespace velquor::shell {

struct CommandLine {
    bool cleanSelection = false;  // --clean-selection: ask the running Velquor to clean the selection
    bool service = false;         // started by the bus for a call: the window stays hidden
    QStringList paths;            // absolute, resolved against the folder of the call
};

// The command line, or the exit status when it was --help or --version (printed here, no
// display needed) or bad usage (the problem on standard error, status 2).
struct ParsedCommandLine {
    std::optional<CommandLine> command;
    int exitStatus = 0;
};

ParsedCommandLine parseCommandLine(int argc, char** argv);

}  // namespace velquor::shell
