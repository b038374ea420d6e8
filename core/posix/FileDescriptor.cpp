#include "core/posix/FileDescriptor.h"

#include <fcntl.h>
#include <unistd.h>

#include <system_error>
#include <utility>

namespace velquor::posix {

namespace {

[[noreturn]] void throwLastError() { throw std::system_error(errno, std::generic_category()); }

// Repeats a transfer until it has moved every byte or, for reads, met the end of the file.
// `transfer` moves bytes at an offset from the start of the span and returns what the system
// call returned.
template <class Byte, class Transfer>
std::size_t transferFully(std::span<Byte> bytes, Transfer transfer) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto moved = retryInterrupted([&] { return transfer(bytes.subspan(done), done); });
        if (moved < 0) throwLastError();
        if (moved == 0) break;
        done += static_cast<std::size_t>(moved);
    }
    return done;
}

}  // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        reset();
        fd_ = other.release();
    }
    return *this;
}

int FileDescriptor::release() noexcept { return std::exchange(fd_, -1); }

void FileDescriptor::reset() noexcept {
    if (fd_ >= 0) ::close(release());
}

// Linux releases the descriptor even when close fails, so a failed close is never retried.
void FileDescriptor::close() {
    if (::close(release()) != 0) throwLastError();
}

void FileDescriptor::syncAndClose() {
    if (::fsync(fd_) != 0) throwLastError();
    close();
}

FileDescriptor createExclusively(const std::filesystem::path& path, mode_t mode) {
    FileDescriptor file(retryInterrupted(
        [&] { return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode); }));
    if (!file.valid()) throwLastError();
    return file;
}

std::size_t readFully(int fd, std::span<std::uint8_t> buffer) {
    return transferFully(
        buffer, [fd](std::span<std::uint8_t> rest, std::size_t) { return ::read(fd, rest.data(), rest.size()); });
}

std::size_t readFullyAt(int fd, std::span<std::uint8_t> buffer, std::int64_t offset) {
    return transferFully(buffer, [fd, offset](std::span<std::uint8_t> rest, std::size_t done) {
        return ::pread(fd, rest.data(), rest.size(), static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    });
}

// A write of zero bytes for a non-empty request does not happen for files and pipes; should a
// device do it, the loop would spin, so it counts as a failed write.
void writeAll(int fd, std::span<const std::uint8_t> bytes) {
    const auto written = transferFully(
        bytes, [fd](std::span<const std::uint8_t> rest, std::size_t) { return ::write(fd, rest.data(), rest.size()); });
    if (written < bytes.size()) throw std::system_error(EIO, std::generic_category());
}

void writeAllAt(int fd, std::span<const std::uint8_t> bytes, std::int64_t offset) {
    const auto written = transferFully(bytes, [fd, offset](std::span<const std::uint8_t> rest, std::size_t done) {
        return ::pwrite(fd, rest.data(), rest.size(), static_cast<off_t>(offset + static_cast<std::int64_t>(done)));
    });
    if (written < bytes.size()) throw std::system_error(EIO, std::generic_category());
}

}  // namespace velquor::posix
