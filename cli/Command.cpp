#include "cli/Command.h"

#include "cli/CommandHelp.h"
#include "cli/ExitStatus.h"
#include "cli/FileExportCommand.h"
#include "cli/FileInspectCommand.h"
#include "cli/TextBaselineCommand.h"
#include "cli/TextCleanCommand.h"
#include "cli/TextCompareCommand.h"
#include "cli/TextInspectCommand.h"
#include "cli/TextPromptCommand.h"
#include "cli/TextReviewCommand.h"

#include <algorithm>
#include <array>
#include <ostream>

namespace velquor::cli {

namespace {

// The one list of commands: the overview, the help and the manual page follow it.
constexpr std::array<const Command*, 8> commandTable{{
    &textInspectCommand,
    &textCleanCommand,
    &textReviewCommand,
    &textBaselineCommand,
    &textPromptCommand,
    &textCompareCommand,
    &fileInspectCommand,
    &fileExportCommand,
}};

bool asksForHelp(std::span<const std::string> arguments) {
    const auto end = std::find(arguments.begin(), arguments.end(), "--");
    return std::any_of(arguments.begin(), end, [](const std::string& a) { return a == "--help" || a == "-h"; });
}

bool isGroup(std::string_view name) {
    return std::any_of(commandTable.begin(), commandTable.end(), [&](const Command* c) { return c->group == name; });
}

const Command* findCommand(std::span<const std::string> arguments) {
    if (arguments.size() < 2) return nullptr;
    const auto found = std::find_if(commandTable.begin(), commandTable.end(), [&](const Command* command) {
        return arguments[0] == command->group && arguments[1] == command->name;
    });
    return found == commandTable.end() ? nullptr : *found;
}

}  // namespace

std::span<const Command* const> commands() { return commandTable; }

std::string_view versionLine() { return "velquor-cli " VELQUOR_VERSION; }

std::string usageLine(const Command& command) {
    return "Usage: velquor-cli " + std::string(command.group) + ' ' + std::string(command.name) + ' ' +
           std::string(command.usage) + '\n';
}

int reportUsageMistake(const Command& command, std::string_view mistake, CommandStreams& streams) {
    streams.err << "velquor-cli: " << mistake << '\n' << usageLine(command);
    return badInputOrUsage;
}

int runCommandLine(std::span<const std::string> arguments, CommandStreams& streams) {
    if (arguments.empty()) {
        printOverview(streams.err);
        return badInputOrUsage;
    }
    if (arguments[0] == "--version") {
        streams.out << versionLine() << '\n';
        return nothingToReport;
    }
    const Command* command = findCommand(arguments);
    if (command != nullptr && asksForHelp(arguments.subspan(2))) {
        printCommandHelp(streams.out, *command);
        return nothingToReport;
    }
    if (command != nullptr) return command->run(arguments.subspan(2), streams);
    const bool overviewAsked = arguments[0] == "--help" || arguments[0] == "-h";
    if (overviewAsked || (isGroup(arguments[0]) && asksForHelp(arguments.subspan(1)))) {
        printOverview(streams.out);
        return nothingToReport;
    }
    streams.err << "velquor-cli: unknown command '" << arguments[0] << (arguments.size() >= 2 ? " " + arguments[1] : "")
                << "'\n";
    printOverview(streams.err);
    return badInputOrUsage;
}

}  // namespace velquor::cli
