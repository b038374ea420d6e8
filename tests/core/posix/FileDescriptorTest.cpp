#include "core/posix/FileDescriptor.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <fstream>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

namespace velquor::posix {
namespace {

using testing::TemporaryDirectory;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string textOf(std::span<const std::uint8_t> bytes) { return {bytes.begin(), bytes.end()}; }

std::string contentsOf(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

FileDescriptor openForReading(const std::filesystem::path& file) {
    FileDescriptor opened(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    EXPECT_TRUE(opened.valid()) << file;
    return opened;
}

bool isOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

int errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::system_error& error) {
        return error.code().value();
    }
    ADD_FAILURE() << "no system error";
    return 0;
}

// A pattern that no shifted or truncated read reproduces.
std::string numberedBytes(std::size_t count) {
    std::string bytes(count, '\0');
    for (std::size_t i = 0; i < count; ++i) bytes[i] = static_cast<char>((i * 131) ^ (i >> 8));
    return bytes;
}

TEST(FileDescriptorTest, ReadsAFileFullyAndStopsShortOnlyAtItsEnd) {
    TemporaryDirectory directory;
    const auto content = numberedBytes(300'000);
    const auto file = directory.write("data", content);
    const struct {
        std::size_t bufferSize;
        std::size_t expected;
    } cases[] = {{300'000, 300'000}, {300'001, 300'000}, {1'000'000, 300'000}, {7, 7}, {0, 0}};
    for (const auto& c : cases) {
        const auto fd = openForReading(file);
        std::vector<std::uint8_t> buffer(c.bufferSize);
        const auto count = readFully(fd.get(), buffer);
        ASSERT_EQ(count, c.expected) << c.bufferSize;
        EXPECT_EQ(textOf(std::span(buffer).first(count)), content.substr(0, count));
    }
    // After the end, there is nothing left to read.
    const auto fd = openForReading(file);
    std::vector<std::uint8_t> buffer(400'000);
    EXPECT_EQ(readFully(fd.get(), buffer), 300'000u);
    EXPECT_EQ(readFully(fd.get(), buffer), 0u);
}

TEST(FileDescriptorTest, ReadingAtAnOffsetLeavesThePositionAlone) {
    TemporaryDirectory directory;
    const auto fd = openForReading(directory.write("data", "0123456789"));
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(readFullyAt(fd.get(), buffer, 3), 4u);
    EXPECT_EQ(textOf(buffer), "3456");
    EXPECT_EQ(readFullyAt(fd.get(), buffer, 8), 2u);
    EXPECT_EQ(textOf(std::span(buffer).first(2)), "89");
    EXPECT_EQ(readFullyAt(fd.get(), buffer, 10), 0u);
    EXPECT_EQ(readFully(fd.get(), buffer), 4u);
    EXPECT_EQ(textOf(buffer), "0123");
}

// A pipe hands over what has been written so far: one read would return the first piece only.
TEST(FileDescriptorTest, ReadsOnAcrossTheShortReadsOfAPipe) {
    std::array<int, 2> ends{};
    ASSERT_EQ(::pipe2(ends.data(), O_CLOEXEC), 0);
    FileDescriptor readEnd(ends[0]);
    FileDescriptor writeEnd(ends[1]);
    std::thread writer([&] {
        for (const auto* piece : {"abc", "def", "gh"}) {
            writeAll(writeEnd.get(), bytesOf(piece));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        writeEnd.reset();
    });
    std::array<std::uint8_t, 16> buffer{};
    const auto count = readFully(readEnd.get(), buffer);
    writer.join();
    EXPECT_EQ(textOf(std::span(buffer).first(count)), "abcdefgh");
}

TEST(FileDescriptorTest, WritesEveryByteAndAtOffsets) {
    TemporaryDirectory directory;
    const auto path = directory.path() / "out";
    const auto content = numberedBytes(1 << 20);
    {
        auto file = createExclusively(path, 0600);
        writeAll(file.get(), bytesOf(content));
        writeAllAt(file.get(), bytesOf("HEAD"), 0);
        writeAll(file.get(), bytesOf("tail"));  // the position is still past the first write
        file.syncAndClose();
        EXPECT_FALSE(file.valid());
    }
    EXPECT_EQ(contentsOf(path), "HEAD" + content.substr(4) + "tail");
}

TEST(FileDescriptorTest, FailedReadsAndWritesThrowTheSystemError) {
    TemporaryDirectory directory;
    const auto path = directory.write("data", "content");
    const auto readOnly = openForReading(path);
    EXPECT_EQ(errorOf([&] { writeAll(readOnly.get(), bytesOf("x")); }), EBADF);
    EXPECT_EQ(errorOf([&] { writeAllAt(readOnly.get(), bytesOf("x"), 0); }), EBADF);
    const FileDescriptor writeOnly(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
    std::array<std::uint8_t, 4> buffer{};
    EXPECT_EQ(errorOf([&] { readFully(writeOnly.get(), buffer); }), EBADF);
    const auto folder = FileDescriptor(::open(directory.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    EXPECT_EQ(errorOf([&] { readFully(folder.get(), buffer); }), EISDIR);
    EXPECT_EQ(contentsOf(path), "content");
}

TEST(FileDescriptorTest, ExclusiveCreateRefusesWhateverIsAlreadyThere) {
    TemporaryDirectory directory;
    const auto& dir = directory.path();
    directory.write("taken", "keep");
    std::filesystem::create_symlink(dir / "taken", dir / "link");
    std::filesystem::create_symlink(dir / "nowhere", dir / "dangling");
    std::filesystem::create_directory(dir / "folder");
    for (const auto* name : {"taken", "link", "dangling", "folder"}) {
        EXPECT_EQ(errorOf([&] { createExclusively(dir / name, 0600); }), EEXIST) << name;
    }
    EXPECT_EQ(contentsOf(dir / "taken"), "keep");
    EXPECT_FALSE(std::filesystem::exists(dir / "nowhere")) << "a dangling link was followed";
    EXPECT_EQ(errorOf([&] { createExclusively(dir / "missing" / "file", 0600); }), ENOENT);

    auto created = createExclusively(dir / "new", 0600);
    EXPECT_TRUE(created.valid());
    struct stat status {};
    ASSERT_EQ(::stat((dir / "new").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(::fcntl(created.get(), F_GETFD) & FD_CLOEXEC, FD_CLOEXEC) << "a child process would inherit it";
}

TEST(FileDescriptorTest, OwnershipClosesExactlyOnce) {
    TemporaryDirectory directory;
    const auto path = directory.write("data", "x");
    int first = -1;
    {
        auto owner = openForReading(path);
        first = owner.get();
        FileDescriptor moved(std::move(owner));
        EXPECT_FALSE(owner.valid());
        EXPECT_EQ(moved.get(), first);
        EXPECT_TRUE(isOpen(first));
    }
    EXPECT_FALSE(isOpen(first)) << "going out of scope closes";

    auto a = openForReading(path);
    auto b = openForReading(path);
    const int replaced = a.get();
    const int kept = b.get();
    a = std::move(b);
    EXPECT_FALSE(isOpen(replaced)) << "the replaced descriptor is closed";
    EXPECT_EQ(a.get(), kept);

    const int released = a.release();
    EXPECT_FALSE(a.valid());
    EXPECT_TRUE(isOpen(released)) << "a released descriptor belongs to the caller";
    ::close(released);
}

// EINTR cannot be provoked reliably, so the retry rule is checked on a call that reports it.
TEST(FileDescriptorTest, InterruptedCallsAreRetriedAndOtherFailuresAreNot) {
    int calls = 0;
    EXPECT_EQ(retryInterrupted([&] {
                  errno = ++calls < 3 ? EINTR : 0;
                  return calls < 3 ? -1 : 42;
              }),
              42);
    EXPECT_EQ(calls, 3);
    calls = 0;
    EXPECT_EQ(retryInterrupted([&] {
                  ++calls;
                  errno = ENOSPC;
                  return -1;
              }),
              -1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(errno, ENOSPC);
}

}  // namespace
}  // namespace velquor::posix
