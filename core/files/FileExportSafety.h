#pragma once

#include "core/files/FileInspector.h"
#include "core/posix/FileDescriptor.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace velquor::files {

// A staged privacy copy: a hidden sibling of the destination. Once this has created the file it
// removes it when going out of scope, on every path; after a publish there is nothing left to
// remove. Removal errors are ignored.
class StagedFile {
public:
    explicit StagedFile(std::filesystem::path path) : path_(std::move(path)) {}
    ~StagedFile();
    StagedFile(StagedFile&& other) noexcept;
    StagedFile& operator=(StagedFile&&) = delete;
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Creates the file (never through a symbolic link, never over an existing file), writes all
    // of the bytes and flushes them to disk. A failure throws the system error.
    void write(std::span<const std::uint8_t> bytes);

    // Creates the file like write() and hands over its open descriptor.
    posix::FileDescriptor create();

    // Moves the staged file to the destination without ever replacing anything there.
    void publish(const std::filesystem::path& destination);

private:
    std::filesystem::path path_;
    bool created_ = false;
};

// The staging and publishing rules every exporter follows, and the one export they make up.
namespace FileExportSafety {

// "." + base + "-velquor-" + an upper-case UUID, then "." + the extension when there is one,
// in the destination's directory. A base so long that the name would not fit in one directory
// entry is shortened (at a UTF-8 boundary); the name stays unique through its UUID.
std::filesystem::path stagingURL(const std::filesystem::path& destination);

// Throws destinationExists when anything is at the path, a dangling symbolic link included.
void prepareDestination(const std::filesystem::path& destination);

// Checks the destination again, then moves the staged file there without replacing anything:
// renameat2 with RENAME_NOREPLACE; where the file system refuses the flag, a hard link and an
// unlink; where it refuses hard links too, a last existence check and a rename. A destination
// taken in the meantime is destinationExists; any other failed move is exportFailed.
void publish(const std::filesystem::path& staged, const std::filesystem::path& destination);

// A random version-4 UUID in its canonical upper-case 36-character form.
std::string randomUUIDString();

// How a family writes its privacy copy, in one of two ways.

// The whole copy, built in memory; the export writes it to the staged file.
struct BytesWriter {
    std::function<std::vector<std::uint8_t>()> bytes;
};

// Writes the copy into the staged file through its descriptor, open for writing at the start of
// the empty file; the export flushes it to disk and closes it.
struct DescriptorWriter {
    std::function<void(int descriptor)> write;
};

using CopyWriter = std::variant<BytesWriter, DescriptorWriter>;

// What a family's own inspection of its written copy found.
enum class CopyVerdict {
    passed,
    personalDataLeft,  // the copy still shows what it must not: verificationFailed
    contentLost,       // the copy is not the same picture or recording any more: exportFailed
};

// Inspects the written copy at the path with the family's inspector and judges the report by the
// family's rule. Failures of that inspection propagate unchanged.
using CopyVerification = std::function<CopyVerdict(const std::filesystem::path& copy)>;

// The verdict on a copy whose report the inspector's privacy rule judges; `contentKept` is what
// the family checks beyond the metadata, and only counts once the rule has passed.
CopyVerdict verdictOn(const FileInspector& inspector, const FileMetadataReport& copyReport, bool contentKept = true);

// The privacy export of every family: refuses a taken destination before any work, stages,
// writes, verifies the written copy, publishes it, and removes what it staged on every path.
// The destination is only ever written by the final move, which never replaces anything; a
// destination taken while the copy was written is destinationExists.
void exportPrivacyCopy(const std::filesystem::path& destination, const CopyWriter& writer,
                       const CopyVerification& verify);

}  // namespace FileExportSafety

namespace detail {

// The system calls publish() relies on; tests replace them to act like file systems that
// refuse RENAME_NOREPLACE or hard links. Each returns 0 or -1 with errno set.
struct PublishCalls {
    int (*renameNoReplace)(const char* from, const char* to);
    int (*hardLink)(const char* from, const char* to);
    int (*rename)(const char* from, const char* to);
};

const PublishCalls& systemPublishCalls();

void publish(const std::filesystem::path& staged, const std::filesystem::path& destination, const PublishCalls& calls);

}  // namespace detail

}  // namespace velquor::files
