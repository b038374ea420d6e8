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

[[noreturn]] void throwSystemError(int error) { throw std::system_error(error, std::generic_category()); }

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    int release() { return std::exchange(fd_, -1); }

private:
    int fd_;
};

void writeAll(int fd, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const auto written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            throwSystemError(errno);
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
}

// A new file only: O_EXCL refuses anything already there and O_NOFOLLOW any symbolic link.
FileDescriptor createExclusively(const std::filesystem::path& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) throwSystemError(errno);
    return FileDescriptor(fd);
}

void closeChecked(FileDescriptor& file) {
    if (::fsync(file.get()) != 0) throwSystemError(errno);
    if (::close(file.release()) != 0) throwSystemError(errno);
}

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

}  // namespace

// After a rename the path is gone and the unlink finds nothing; after a hard link whose unlink
// failed, this is the second try.
StagedFile::~StagedFile() {
    if (created_) ::unlink(path_.c_str());
}

StagedFile::StagedFile(StagedFile&& other) noexcept
    : path_(std::exchange(other.path_, {})), created_(std::exchange(other.created_, false)) {}

int StagedFile::create() {
    auto file = createExclusively(path_);
    created_ = true;
    return file.release();
}

void StagedFile::write(std::span<const std::uint8_t> bytes) {
    FileDescriptor file(create());
    writeAll(file.get(), bytes);
    closeChecked(file);
}

void StagedFile::publish(const std::filesystem::path& destination) { FileExportSafety::publish(path_, destination); }

namespace FileExportSafety {

std::string randomUUIDString() {
    std::array<std::uint8_t, 16> bytes{};
    for (std::size_t filled = 0; filled < bytes.size();) {
        const auto got = ::getrandom(bytes.data() + filled, bytes.size() - filled, 0);
        if (got < 0) {
            if (errno == EINTR) continue;
            throwSystemError(errno);
        }
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

StagedFile stageCopy(const std::filesystem::path& outsideFile, const std::filesystem::path& destination) {
    const FileDescriptor source(::open(outsideFile.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (source.get() < 0) throwSystemError(errno);
    StagedFile staged(stagingURL(destination));
    FileDescriptor target(staged.create());
    std::array<std::uint8_t, 1 << 16> buffer{};
    for (;;) {
        const auto got = ::read(source.get(), buffer.data(), buffer.size());
        if (got < 0) {
            if (errno == EINTR) continue;
            throwSystemError(errno);
        }
        if (got == 0) break;
        writeAll(target.get(), std::span(buffer.data(), static_cast<std::size_t>(got)));
    }
    closeChecked(target);
    return staged;
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
