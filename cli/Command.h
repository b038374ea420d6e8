#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace velquor::cli {

// Where a command reads and writes; the real process streams, or test doubles of them.
struct CommandStreams {
    int standardInput;
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string_view group;    // "text"
    std::string_view name;     // "inspect"
    std::string_view usage;    // the arguments after the command's name
    std::string_view summary;  // one line for the overview
    int (*run)(std::span<const std::string> arguments, CommandStreams& streams);
};

// Every command of the tool, in the order the overview lists them.
std::span<const Command> commands();

// Runs the command named by the first arguments; returns the process exit status.
int runCommandLine(std::span<const std::string> arguments, CommandStreams& streams);

}  // namespace velquor::cli
