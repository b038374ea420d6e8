#pragma once

#include <sys/types.h>

#include <cerrno>
#include <concepts>
#include <cstdint>
#include <filesystem>
#include <span>

namespace velquor::posix {

// An open file descriptor that this value owns and closes when it goes out of scope, on every
// path. That close ignores errors; close() and syncAndClose() report them where the caller must
// know that the data reached the file.
class FileDescriptor {
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) noexcept : fd_(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

    // Hands the descriptor over to a new owner, which closes it.
    int release() noexcept;

    // Closes now, ignoring errors.
    void reset() noexcept;

    // Closes now; a failed close throws std::system_error. The descriptor is gone either way.
    void close();

    // Flushes the file's data to the disk, then closes it; either failure throws std::system_error.
    void syncAndClose();

private:
    int fd_ = -1;
};

// Calls `call` again for as long as it fails with EINTR, and returns its last result. System
// calls report failure as -1 with errno set; the one retry rule for all of them lives here.
template <std::invocable Call>
auto retryInterrupted(Call call) {
    for (;;) {
        const auto result = call();
        if (result != -1 || errno != EINTR) return result;
    }
}

// A new file at `path`, open for writing: O_EXCL refuses anything already there, a dangling
// symbolic link included, and O_NOFOLLOW never writes through a link. Throws std::system_error.
FileDescriptor createExclusively(const std::filesystem::path& path, mode_t mode);

// Reads until the buffer is full or the file ends, and returns the count read: less than the
// buffer only at the end of the file. A failed read throws std::system_error.
std::size_t readFully(int fd, std::span<std::uint8_t> buffer);

// The same from an offset, leaving the file position alone.
std::size_t readFullyAt(int fd, std::span<std::uint8_t> buffer, std::int64_t offset);

// Writes every byte, continuing after short writes. A failed write throws std::system_error.
void writeAll(int fd, std::span<const std::uint8_t> bytes);

// The same from an offset, leaving the file position alone.
void writeAllAt(int fd, std::span<const std::uint8_t> bytes, std::int64_t offset);

}  // namespace velquor::posix
