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
    bool errorIsTerminal = false;  // progress lines are shown only on a terminal
};

struct CommandOption {
    std::string_view name;         // "--output DEST"
    std::string_view description;  // one sentence or two, unwrapped
};

struct CommandExample {
    std::string_view commandLine;  // "velquor-cli file inspect ~/Pictures"
    std::string_view explanation;  // unwrapped
};

// One command with everything its help and the manual page say about it. Each command's file
// defines its own; the table in Command.cpp lists them.
struct Command {
    std::string_view group;        // "text"
    std::string_view name;         // "inspect"
    std::string_view usage;        // the arguments after the command's name
    std::string_view summary;      // one line for the overview
    std::string_view description;  // paragraphs separated by blank lines, unwrapped
    std::span<const CommandOption> options;
    std::span<const CommandExample> examples;
    std::string_view exitStatus;  // one paragraph, unwrapped
    int (*run)(std::span<const std::string> arguments, CommandStreams& streams);
};

// Every command of the tool, in the order the overview and the manual list them.
std::span<const Command* const> commands();

// "velquor-cli 0.1.0"
std::string_view versionLine();

// Runs the command named by the first arguments; returns the process exit status. "--help"
// or "-h" anywhere before "--" shows the command's help instead of running it.
int runCommandLine(std::span<const std::string> arguments, CommandStreams& streams);

// The usage line, "Usage: velquor-cli text inspect [FILE|-] [--json]", and a newline.
std::string usageLine(const Command& command);

// A usage mistake: "velquor-cli: " and the mistake on standard error, then the usage line.
int reportUsageMistake(const Command& command, std::string_view mistake, CommandStreams& streams);

}  // namespace velquor::cli
