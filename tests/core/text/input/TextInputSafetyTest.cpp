#include "core/text/input/TextInputSafety.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>
#include <vector>

namespace velquor::text {
namespace {

using testing::TemporaryDirectory;

std::span<const std::uint8_t> bytesOf(std::string_view text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

TextInputError refusalOf(std::string_view bytes, std::int64_t limit = TextInputSafety::defaultMaxByteCount) {
    try {
        TextInputSafety::decodeText(bytesOf(bytes), limit);
    } catch (const TextInputError& error) {
        return error;
    }
    ADD_FAILURE() << "the bytes were accepted";
    return TextInputError::invalidUTF8();
}

TEST(TextInputSafetyTest, EachBinarySignatureIsRecognisedInTableOrder) {
    const std::pair<std::string, std::string> cases[] = {
        {std::string("PK\x03\x04rest", 8), "a ZIP or Office archive"},
        {"%PDF-1.7 text", "a PDF"},
        {"\x89PNG\r\n\x1A\nIHDR", "a PNG image"},
        {"\xFF\xD8\xFF\xE0", "a JPEG image"},
        {"GIF87a...", "a GIF image"},
        {"GIF89a...", "a GIF image"},
        {"RIFF....WAVE", "a RIFF media container"},
        {"OggS stream", "an Ogg media container"},
        {"\x1F\x8B\x08", "a gzip archive"},
        {"\x7F"
         "ELF\x02",
         "an executable binary"},
        {"\xCF\xFA\xED\xFE", "a Mach-O executable"},
        {"\xCA\xFE\xBA\xBE", "a binary executable or class file"},
    };
    for (const auto& [bytes, description] : cases) {
        const auto error = refusalOf(bytes);
        EXPECT_EQ(error.errorCase(), TextInputError::Case::binaryData) << description;
        EXPECT_EQ(error.binaryDescription(), description);
    }
}

TEST(TextInputSafetyTest, MessagesAreTheOnesUsersSee) {
    EXPECT_STREQ(refusalOf("%PDF-1.4\n").what(), "The input appears to be a PDF, not plain text.");
    EXPECT_STREQ(refusalOf("caf\xE9").what(), "The input is not valid UTF-8 text.");
    EXPECT_STREQ(TextInputError::tooLarge(16'777'216).what(), "Text input exceeds the 16.8 MB safety limit.");
    EXPECT_STREQ(TextInputError::tooLarge(67'108'864).what(), "Text input exceeds the 67.1 MB safety limit.");
}

TEST(TextInputSafetyTest, DataShorterThanASignatureDoesNotMatchIt) {
    EXPECT_EQ(TextInputSafety::decodeText(bytesOf("PK")), u"PK");
    EXPECT_EQ(TextInputSafety::decodeText(bytesOf("%PDF")), u"%PDF");
    EXPECT_EQ(TextInputSafety::decodeText(bytesOf("GIF8")), u"GIF8");
}

TEST(TextInputSafetyTest, NulBytesCountOnlyInTheFirst8192Bytes) {
    std::string early(100, 'a');
    early[50] = '\0';
    EXPECT_EQ(refusalOf(early).binaryDescription(), "binary data containing NUL bytes");

    std::string late(9000, 'a');
    late[8192] = '\0';
    const auto text = TextInputSafety::decodeText(bytesOf(late));
    EXPECT_EQ(text.size(), 9000u);
    EXPECT_EQ(text[8192], u'\0');

    std::string lastSampleByte(9000, 'a');
    lastSampleByte[8191] = '\0';
    EXPECT_EQ(refusalOf(lastSampleByte).binaryDescription(), "binary data containing NUL bytes");
}

TEST(TextInputSafetyTest, DenseControlBytesAreRefusedAboveFivePercent) {
    std::string five(100, 'a');
    for (int i = 0; i < 5; ++i) five[i * 10] = '\x01';
    EXPECT_NO_THROW(TextInputSafety::decodeText(bytesOf(five)));

    std::string six = five;
    six[99] = '\x02';
    EXPECT_EQ(refusalOf(six).binaryDescription(), "binary data with dense control bytes");

    // Escape sequences, form feeds, tabs and line breaks are text, and DEL is never counted.
    std::string allowed;
    for (int i = 0; i < 20; ++i) allowed += "\x1B[1m\f\t\v\r\n\x7F";
    EXPECT_NO_THROW(TextInputSafety::decodeText(bytesOf(allowed)));
}

TEST(TextInputSafetyTest, EmptyInputIsTheEmptyText) { EXPECT_EQ(TextInputSafety::decodeText({}), u""); }

TEST(TextInputSafetyTest, DecodeRefusesMoreThanTheLimitBeforeLookingAtTheBytes) {
    const auto error = refusalOf("%PDF-12345", 9);
    EXPECT_EQ(error.errorCase(), TextInputError::Case::tooLarge);
    EXPECT_EQ(error.byteLimit(), 9);
    EXPECT_NO_THROW(TextInputSafety::decodeText(bytesOf("123456789"), 9));
}

TEST(TextInputSafetyTest, ValidateCountsUtf8BytesAndIgnoresContent) {
    const std::u16string accents(4'000'000, u'\u00E9');
    EXPECT_NO_THROW(TextInputSafety::validateText(accents, 8'000'000));
    EXPECT_THROW(TextInputSafety::validateText(accents, 7'999'999), TextInputError);
    EXPECT_NO_THROW(TextInputSafety::validateText(std::u16string(u"a\0b", 3), 3));
    EXPECT_NO_THROW(TextInputSafety::validateText(u"%PDF-1.7", 100));
}

TEST(TextInputSafetyTest, FileOfExactlyTheLimitIsReadAndOneByteMoreIsRefused) {
    TemporaryDirectory directory;
    const auto exact = directory.write("exact.txt", std::string(1000, 'x'));
    EXPECT_EQ(TextInputSafety::readText(exact, 1000), std::u16string(1000, u'x'));

    const auto over = directory.write("over.txt", std::string(1001, 'x'));
    try {
        TextInputSafety::readText(over, 1000);
        FAIL() << "an oversized file was read";
    } catch (const TextInputError& error) {
        EXPECT_EQ(error.errorCase(), TextInputError::Case::tooLarge);
        EXPECT_EQ(error.byteLimit(), 1000);  // the limit, never the file's size
        EXPECT_STREQ(error.what(), "Text input exceeds the 1 KB safety limit.");
    }
}

TEST(TextInputSafetyTest, OversizedFileIsRefusedBeforeItIsOpened) {
    TemporaryDirectory directory;
    const auto big = directory.write("big.txt", std::string(200, 'x'));
    const auto small = directory.write("small.txt", std::string(50, 'x'));
    const int watcher = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watcher, 0);
    ASSERT_GE(::inotify_add_watch(watcher, directory.path().c_str(), IN_OPEN), 0);

    EXPECT_THROW(TextInputSafety::readText(big, 100), TextInputError);
    EXPECT_NO_THROW(TextInputSafety::readText(small, 100));

    std::vector<std::string> opened;
    alignas(inotify_event) char buffer[4096];
    for (ssize_t length; (length = ::read(watcher, buffer, sizeof buffer)) > 0;) {
        for (ssize_t offset = 0; offset < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + offset);
            if (event->len > 0) opened.emplace_back(event->name);
            offset += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
    ::close(watcher);
    EXPECT_EQ(opened, std::vector<std::string>{"small.txt"});
}

TEST(TextInputSafetyTest, FileSystemFailuresPassThroughUnchanged) {
    TemporaryDirectory directory;
    try {
        TextInputSafety::readText(directory.path() / "missing.txt");
        FAIL() << "a missing file was read";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
    }
    try {
        TextInputSafety::readText(directory.path());
        FAIL() << "a directory was read";
    } catch (const std::system_error& error) {
        EXPECT_EQ(error.code(), std::errc::is_a_directory);
    }
}

TEST(TextInputSafetyTest, EndlessStreamStopsOneChunkPastTheLimit) {
    ::signal(SIGPIPE, SIG_IGN);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    // The writer would go on for 64 MiB; the reader must give up soon after 100 KB.
    std::thread writer([fd = fds[1]] {
        const std::string chunk(4096, 'y');
        for (int i = 0; i < 16384; ++i) {
            if (::write(fd, chunk.data(), chunk.size()) < 0) break;
        }
        ::close(fd);
    });
    EXPECT_THROW(TextInputSafety::readText(fds[0], 100'000), TextInputError);
    ::close(fds[0]);
    writer.join();
}

TEST(TextInputSafetyTest, StreamWithinTheLimitIsDecoded) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const std::string text = "caf\xC3\xA9 \xF0\x9F\x98\x80\n";
    ASSERT_EQ(::write(fds[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    ::close(fds[1]);
    EXPECT_EQ(TextInputSafety::readText(fds[0]), u"caf\u00E9 \U0001F600\n");
    ::close(fds[0]);
}

}  // namespace
}  // namespace velquor::text
