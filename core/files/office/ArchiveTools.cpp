#include "core/files/office/ArchiveTools.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveEntryNames.h"
#include "core/files/office/ChildProcess.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <cerrno>
#include <system_error>

namespace velquor::files {

namespace {

[[noreturn]] void fail(FileSanitizerError::Case errorCase) { throw FileSanitizerError(errorCase); }

std::filesystem::path toolPath(ArchiveTool tool) {
    return tool == ArchiveTool::unzip ? "/usr/bin/unzip" : "/usr/bin/zip";
}

}  // namespace

OpenArchive::OpenArchive(const std::filesystem::path& file)
    : file_(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
    if (!file_.valid()) throw std::system_error(errno, std::generic_category(), file.string());
    struct stat status {};
    if (::fstat(file_.get(), &status) != 0) throw std::system_error(errno, std::generic_category(), file.string());
    if (!S_ISREG(status.st_mode)) fail(FileSanitizerError::Case::unreadableFile);
    byteCount_ = static_cast<std::uint64_t>(status.st_size);
}

std::string runUnzip(const OpenArchive& archive, const UnzipRun& run) {
    auto outcome = runChildProcess({.program = toolPath(ArchiveTool::unzip),
                                    .arguments = run.arguments,
                                    .workingDirectory = std::nullopt,
                                    .sharedDescriptor = archive.descriptor(),
                                    .captureOutput = true,
                                    .maximumOutput = run.maximumOutput,
                                    .timeLimit = run.timeLimit,
                                    .maximumFileSize = 0,
                                    .overLimit = {}});
    if (outcome.timedOut || (outcome.truncated && !run.allowTruncation)) {
        fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
    }
    // A run that was cut short at the cap was ended by us, so its status says nothing.
    if (!outcome.truncated && outcome.exitStatus != 0) fail(FileSanitizerError::Case::unreadableFile);
    return std::move(outcome.output);
}

void runProcess(ArchiveTool tool, const ToolRun& run) {
    const auto outcome = runChildProcess({.program = toolPath(tool),
                                          .arguments = run.arguments,
                                          .workingDirectory = run.workingDirectory,
                                          .sharedDescriptor = run.archive ? run.archive->descriptor() : -1,
                                          .captureOutput = false,
                                          .maximumOutput = 0,
                                          .timeLimit = run.timeLimit,
                                          .maximumFileSize = run.maximumFileSize,
                                          .overLimit = run.overLimit});
    if (outcome.timedOut || outcome.overLimit) fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
    if (outcome.exitStatus != 0) fail(FileSanitizerError::Case::unreadableFile);
}

std::vector<std::string> listEntries(const OpenArchive& archive) {
    const auto listing = runUnzip(
        archive, {.arguments = {"-Z1", sharedDescriptorPath}, .maximumOutput = ArchiveLimits::nameListingBytes});
    return entryNamesFromListing(listing);
}

void validateArchive(const OpenArchive& archive, const std::vector<std::string>& entries) {
    if (archive.byteCount() > ArchiveLimits::archiveBytes || entries.size() > ArchiveLimits::entryCount) {
        fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
    }
    validateArchiveEntryNames(entries);
    const auto listing = runUnzip(
        archive, {.arguments = {"-Z", "-l", sharedDescriptorPath}, .maximumOutput = ArchiveLimits::longListingBytes});
    if (archiveListingContainsSymbolicLink(listing)) fail(FileSanitizerError::Case::unsafeArchiveEntry);
    const auto totals = runUnzip(
        archive, {.arguments = {"-Z", "-t", sharedDescriptorPath}, .maximumOutput = ArchiveLimits::totalsBytes});
    const auto total = uncompressedByteTotal(totals);
    if (!total) fail(FileSanitizerError::Case::unreadableFile);
    if (*total > ArchiveLimits::uncompressedBytes) fail(FileSanitizerError::Case::archiveResourceLimitExceeded);
}

std::optional<std::string> readPart(const OpenArchive& archive, const std::string& name, std::size_t maximumBytes) {
    try {
        return runUnzip(archive, {.arguments = {"-p", sharedDescriptorPath, literalMemberPattern(name)},
                                  .maximumOutput = maximumBytes,
                                  .allowTruncation = true});
    } catch (const FileSanitizerError&) {
        return std::nullopt;
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

std::string readWholePart(const OpenArchive& archive, const std::string& name, std::size_t maximumBytes) {
    return runUnzip(archive, {.arguments = {"-p", sharedDescriptorPath, literalMemberPattern(name)},
                              .maximumOutput = maximumBytes,
                              .allowTruncation = false});
}

}  // namespace velquor::files
