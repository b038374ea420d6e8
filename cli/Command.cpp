#include "Command.h"

#include "ExitStatus.h"
#include "FileExportCommand.h"
#include "FileInspectCommand.h"
#include "TextBaselineCommand.h"
#include "TextCleanCommand.h"
#include "TextCompareCommand.h"
#include "TextInspectCommand.h"
#include "TextPromptCommand.h"
#include "TextReviewCommand.h"

#include <array>
#include <ostream>

namespace velquor::cli {

namespace {

constexpr std::array<Command, 8> commandTable{{
    {"text", "inspect", "[FILE|-] [--json]",
     "Report hidden Unicode, hidden messages, style signals, privacy findings and counts for a text.",
     runTextInspect},
    {"text", "clean", "[FILE|-] [OPTIONS] [--json]", "Write the cleaned text to standard output.", runTextClean},
    {"text", "review", "[FILE|-] [--json]", "List what cleaning with every option would change, and where.",
     runTextReview},
    {"text", "baseline", "DIR [--json]", "Build a personal writing baseline from your own .txt and Markdown files.",
     runTextBaseline},
    {"text", "prompt", "[FILE|-] [--baseline FILE]", "Print a rewrite prompt with secrets redacted.", runTextPrompt},
    {"text", "compare", "ORIGINAL REWRITE [--json]", "Check a rewrite for lost or invented facts and other concerns.",
     runTextCompare},
    {"file", "inspect", "PATH [--json]", "List a file's metadata by section, and any content credentials.",
     runFileInspect},
    {"file", "export", "PATH... [--output DEST]", "Write a verified privacy copy next to each file.", runFileExport},
}};

void printOverview(std::ostream& out) {
    out << "Usage: velquor-cli COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const auto& command : commandTable) {
        out << "  " << command.group << ' ' << command.name << ' ' << command.usage << "\n      " << command.summary
            << '\n';
    }
    out << "\nExit status: 0 nothing needs attention, 1 findings need attention, 2 bad input or usage.\n";
}

}  // namespace

std::span<const Command> commands() { return commandTable; }

int runCommandLine(std::span<const std::string> arguments, CommandStreams& streams) {
    if (arguments.empty() || arguments[0] == "--help" || arguments[0] == "-h") {
        printOverview(arguments.empty() ? streams.err : streams.out);
        return arguments.empty() ? badInputOrUsage : nothingToReport;
    }
    for (const auto& command : commandTable) {
        if (arguments.size() >= 2 && arguments[0] == command.group && arguments[1] == command.name) {
            return command.run(arguments.subspan(2), streams);
        }
    }
    streams.err << "velquor-cli: unknown command '" << arguments[0] << (arguments.size() >= 2 ? " " + arguments[1] : "")
                << "'\n";
    printOverview(streams.err);
    return badInputOrUsage;
}

}  // namespace velquor::cli
