#include "core/files/FileExportSafety.h"

#include "core/files/FileSanitizerError.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <system_error>
#include <utility>

namespace velquor::files {

namespace {

// A longer name is refused by every common Linux file system.
constexpr std::size_t maximumNameBytes = 255;

constexpr mode_t stagedFileMode = 0666;

// Cuts UTF-8 text to at most `limit` bytes without splitting a scalar.
std::string shortenedUtf8(const std::string& text, std::size_t limit) {
    if (text.size() <= limit) return text;
    std::size_t end = limit;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    return text.substr(0, end);
}

int systemRenameNoReplace(const char* from, const char* to) {
    return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
}
int systemLink(const char* from, const char* to) { return ::link(from, to); }
int systemRename(const char* from, const char* to) { return ::rename(from, to); }

bool refusesFlag(int error) { return error == EINVAL || error == ENOSYS || error == ENOTSUP; }
bool refusesHardLinks(int error) { return error == EPERM || error == ENOTSUP || error == ENOSYS || error == EMLINK; }

[[noreturn]] void throwFailedMove(int error) {
    throw FileSanitizerError(error == EEXIST ? FileSanitizerError::Case::destinationExists
                                             : FileSanitizerError::Case::exportFailed);
}

void check(FileExportSafety::CopyVerdict verdict) {
    using Verdict = FileExportSafety::CopyVerdict;
    if (verdict == Verdict::personalDataLeft) throw FileSanitizerError(FileSanitizerError::Case::verificationFailed);
    if (verdict == Verdict::contentLost) throwExportFailed();
}

void exportThroughStagedFile(const std::filesystem::path& destination, const std::function<void(StagedFile&)>& write,
                             const FileExportSafety::CopyVerification& verify) {
    StagedFile staged(FileExportSafety::stagingURL(destination));
    write(staged);
    check(verify(staged.path()));
    staged.publish(destination);
}

void exportWith(const std::filesystem::path& destination, const FileExportSafety::BytesWriter& writer,
                const FileExportSafety::CopyVerification& verify) {
    exportThroughStagedFile(
        destination, [&](StagedFile& staged) { staged.write(writer.bytes()); }, verify);
}

void exportWith(const std::filesystem::path& destination, const FileExportSafety::DescriptorWriter& writer,
                const FileExportSafety::CopyVerification& verify) {
    exportThroughStagedFile(
        destination,
        [&](StagedFile& staged) {
            auto file = staged.create();
            writer.write(file.get());
            file.syncAndClose();
        },
        verify);
}

}  // namespace

// After a rename the path is gone and the unlink finds nothing; after a hard link whose unlink
// failed, this is the second try.
StagedFile::~StagedFile() {
    if (created_) ::unlink(path_.c_str());
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::exchange(other.path_, {})), created_(std::exchange(other.created_, false)) {}

posix::FileDescriptor StagedFile::create() {
    auto file = posix::createExclusively(path_, stagedFileMode);
    created_ = true;
    return file;
}

void StagedFile::write(std::span<const std::uint8_t> bytes) {
    auto file = create();
    posix::writeAll(file.get(), bytes);
    file.syncAndClose();
}

void StagedFile::publish(const std::filesystem::path& destination) { FileExportSafety::publish(path_, destination); }

namespace FileExportSafety {

std::string randomUUIDString() {
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t filled = 0; filled < bytes.size();) {
        const auto got =
            posix::retryInterrupted([&] { return ::getrandom(bytes.data() + filled, bytes.size() - filled, 0); });
        if (got < 0) throw std::system_error(errno, std::generic_category());
        filled += static_cast<std::size_t>(got);
    }
    bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
    bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) text.push_back('-');
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 0xF]);
    }
    return text;
}

std::filesystem::path stagingURL(const std::filesystem::path& destination) {
    const std::string name = destination.filename().string();
    const auto dot = name.rfind('.');
    const bool split = dot != std::string::npos && dot != 0;
    const std::string base = split ? name.substr(0, dot) : name;
    const std::string extension = split ? name.substr(dot + 1) : std::string();
    const std::string suffix = "-velquor-" + randomUUIDString() + (extension.empty() ? "" : "." + extension);
    const std::size_t room = maximumNameBytes > suffix.size() + 1 ? maximumNameBytes - suffix.size() - 1 : 0;
    return destination.parent_path() / ("." + shortenedUtf8(base, room) + suffix);
}

void prepareDestination(const std::filesystem::path& destination) {
    struct stat status {};
    // lstat sees the link itself, so a dangling one counts as taken.
    if (::lstat(destination.c_str(), &status) == 0 || ::stat(destination.c_str(), &status) == 0) {
        throw FileSanitizerError(FileSanitizerError::Case::destinationExists);
    }
}

void publish(const std::filesystem::path& staged, const std::filesystem::path& destination) {
    detail::publish(staged, destination, detail::systemPublishCalls());
}

CopyVerdict verdictOn(const FileInspector& inspector, const FileMetadataReport& copyReport, bool contentKept) {
    if (inspector.failsPrivacyVerification(copyReport)) return CopyVerdict::personalDataLeft;
    return contentKept ? CopyVerdict::passed : CopyVerdict::contentLost;
}

void exportPrivacyCopy(const std::filesystem::path& destination, const CopyWriter& writer,
                       const CopyVerification& verify) {
    prepareDestination(destination);
    std::visit([&](const auto& chosen) { exportWith(destination, chosen, verify); }, writer);
}

}  // namespace FileExportSafety

namespace detail {

const PublishCalls& systemPublishCalls() {
    static constexpr PublishCalls calls{systemRenameNoReplace, systemLink, systemRename};
    return calls;
}

void publish(const std::filesystem::path& staged, const std::filesystem::path& destination, const PublishCalls& calls) {
    FileExportSafety::prepareDestination(destination);
    if (calls.renameNoReplace(staged.c_str(), destination.c_str()) == 0) return;
    if (!refusesFlag(errno)) throwFailedMove(errno);

    if (calls.hardLink(staged.c_str(), destination.c_str()) == 0) {
        ::unlink(staged.c_str());
        return;
    }
    if (!refusesHardLinks(errno)) throwFailedMove(errno);

    // Nothing atomic is left on such a file system: a last check narrows the window.
    FileExportSafety::prepareDestination(destination);
    if (calls.rename(staged.c_str(), destination.c_str()) != 0) throwFailedMove(errno);
}

}  // namespace detail

}  // namespace velquor::files
