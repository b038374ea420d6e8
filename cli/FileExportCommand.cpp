#include "FileExportCommand.h"

#include "ArgumentParser.h"
#include "ExitStatus.h"
#include "TerminalText.h"

#include <files/FileSanitizerError.h>
#include <files/InspectorRegistry.h>
#include <files/MetadataText.h>
#include <files/PrivacyCopyDestination.h>

#include <limits>
#include <ostream>
#include <system_error>

namespace velquor::cli {

namespace {

constexpr std::string_view usage = "Usage: velquor-cli file export PATH... [--output DEST]\n";

constexpr std::string_view help =
    "Write a verified privacy copy of each file next to it, as name-privacy.ext (then\n"
    "name-privacy-2.ext and onward), and print the copy's path. Nothing is ever replaced.\n"
    "Files with content credentials stay inspect-only and are refused. Audio and video copies\n"
    "are written for MP4, MOV, M4V and M4A; other audio is inspect-only.\n\n"
    "  --output DEST   write the copy of a single file to DEST, which must not exist\n\n"
    "Exit status: 0 every copy was written and verified; 2 a file was refused, or bad usage.\n";

std::string shown(const std::filesystem::path& path) { return terminalSafe(files::metadataText(path.string())); }

// One file: the copy's path on standard output, or the reason it was refused on standard error.
bool exportOne(const std::filesystem::path& source, const std::optional<std::filesystem::path>& output,
               bool nameTheSource, CommandStreams& streams) {
    const std::string prefix = nameTheSource ? shown(source) + ": " : std::string();
    try {
        const auto destination = output ? *output : files::uniquePrivacyDestination(source);
        files::createPrivacyCopy(source, destination);
        streams.out << shown(destination) << '\n';
        return true;
    } catch (const files::FileSanitizerError& error) {
        streams.err << prefix << error.what() << '\n';
    } catch (const std::system_error& error) {
        streams.err << "velquor-cli: " << prefix << error.what() << '\n';
    }
    return false;
}

}  // namespace

int runFileExport(std::span<const std::string> arguments, CommandStreams& streams) {
    const auto parsed = parseArguments(
        arguments,
        {.flags = {}, .valueOptions = {"--output"}, .maximumPositionals = std::numeric_limits<std::size_t>::max()});
    if (parsed.helpRequested) {
        streams.out << usage << '\n' << help;
        return nothingToReport;
    }
    std::optional<std::string> mistake = parsed.error;
    if (!mistake && parsed.positionals.empty()) mistake = "a file to export is needed";
    if (!mistake && parsed.values.contains("--output") && parsed.positionals.size() > 1) {
        mistake = "--output takes exactly one file";
    }
    if (mistake) {
        streams.err << "velquor-cli: " << *mistake << '\n' << usage;
        return badInputOrUsage;
    }

    std::optional<std::filesystem::path> output;
    if (const auto value = parsed.values.find("--output"); value != parsed.values.end()) output = value->second;
    bool allWritten = true;
    for (const auto& source : parsed.positionals) {
        allWritten = exportOne(source, output, parsed.positionals.size() > 1, streams) && allWritten;
    }
    return allWritten ? nothingToReport : badInputOrUsage;
}

}  // namespace velquor::cli
