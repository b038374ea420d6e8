#pragma once

#include "core/files/office/ChildProcess.h"
#include "core/posix/FileDescriptor.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace velquor::files {

// The limits that keep a hostile archive from exhausting memory, disk or time.
namespace ArchiveLimits {
inline constexpr std::uint64_t archiveBytes = 268'435'456;
inline constexpr std::size_t entryCount = 20'000;
inline constexpr std::int64_t uncompressedBytes = 268'435'456;
inline constexpr std::size_t nameListingBytes = 5'000'000;
inline constexpr std::size_t longListingBytes = 8'388'608;
inline constexpr std::size_t totalsBytes = 65'536;
inline constexpr std::size_t inspectedPartBytes = 1'000'000;
// No listing or part read of a valid archive comes near these; a tool that does is stuck.
inline constexpr std::chrono::milliseconds listingTime{60'000};
inline constexpr std::chrono::milliseconds unpackingTime{300'000};
}  // namespace ArchiveLimits

// One archive, opened once. Every tool run reads this same open file (as sharedDescriptorPath),
// so what was validated is what gets read or unpacked, and a name such as "Report [1].docx" is
// never taken by unzip as a wildcard pattern for some other file.
class OpenArchive {
public:
    // Throws the system error when the file cannot be opened, unreadableFile when it is not a
    // regular file (a FIFO would block the tool forever).
    explicit OpenArchive(const std::filesystem::path& file);

    int descriptor() const { return file_.get(); }
    std::uint64_t byteCount() const { return byteCount_; }

private:
    posix::FileDescriptor file_;
    std::uint64_t byteCount_ = 0;
};

struct UnzipRun {
    std::vector<std::string> arguments;  // the archive is named by sharedDescriptorPath
    std::size_t maximumOutput = 0;
    bool allowTruncation = false;
    std::chrono::milliseconds timeLimit = ArchiveLimits::listingTime;
};

// /usr/bin/unzip with its standard output captured up to the cap. Output past the cap ends the
// tool: archiveResourceLimitExceeded unless truncation is allowed. A tool that runs out of time
// is archiveResourceLimitExceeded too; a complete run with a non-zero status is unreadableFile.
// The output is returned as the tool wrote it (bytes, usually UTF-8).
std::string runUnzip(const OpenArchive& archive, const UnzipRun& run);

enum class ArchiveTool { unzip, zip };

struct ToolRun {
    std::vector<std::string> arguments;
    std::optional<std::filesystem::path> workingDirectory;
    const OpenArchive* archive = nullptr;  // given to the tool as sharedDescriptorPath
    std::chrono::milliseconds timeLimit = ArchiveLimits::unpackingTime;
    std::uint64_t maximumFileSize = 0;
    std::function<bool()> overLimit;
};

// /usr/bin/unzip or /usr/bin/zip run for its effect. Running out of time or past a limit is
// archiveResourceLimitExceeded; a non-zero status is unreadableFile.
void runProcess(ArchiveTool tool, const ToolRun& run);

// The entry names, in the tool's order (unzip -Z1).
std::vector<std::string> listEntries(const OpenArchive& archive);

// Size, entry count, entry names, symbolic links in the long listing and the declared
// uncompressed total. Throws archiveResourceLimitExceeded, unsafeArchiveEntry or unreadableFile.
void validateArchive(const OpenArchive& archive, const std::vector<std::string>& entries);

// At most `maximumBytes` of one entry (unzip -p). Nothing when it cannot be read.
std::optional<std::string> readPart(const OpenArchive& archive, const std::string& name,
                                    std::size_t maximumBytes = ArchiveLimits::inspectedPartBytes);

// The whole entry, or archiveResourceLimitExceeded past `maximumBytes`; unreadableFile when it
// cannot be read.
std::string readWholePart(const OpenArchive& archive, const std::string& name, std::size_t maximumBytes);

}  // namespace velquor::files
