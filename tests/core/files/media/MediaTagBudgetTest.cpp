#include "core/files/media/MediaTagBudget.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaMetadataInspector.h"
#include "core/files/media/OggPage.h"
#include "tests/support/FileTestSupport.h"
#include "tests/support/MediaFixtures.h"
#include "tests/support/TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

namespace velquor::files {
namespace {

using velquor::testing::id3UserTextFrames;
using velquor::testing::id3v2Tag;
using velquor::testing::MediaFixtures;
using velquor::testing::TemporaryDirectory;

std::string bigEndian(std::uint32_t value, int bytes = 4) {
    std::string out;
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
    return out;
}

std::string littleEndian(std::uint32_t value) {
    std::string out;
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
    return out;
}

std::string syncsafe(std::uint32_t value) {
    std::string out;
    for (int shift = 21; shift >= 0; shift -= 7) out += static_cast<char>((value >> shift) & 0x7F);
    return out;
}

// A chapter whose own frames follow its identifier and times.
std::string chapterFrame(int version, int subframes) {
    std::string body = std::string("ch0") + '\0' + std::string(16, '\0');
    for (int i = 0; i < subframes; ++i) body += "TIT2" + bigEndian(2) + std::string(2, '\0') + std::string("\3t");
    const auto size = static_cast<std::uint32_t>(body.size());
    return "CHAP" + (version == 4 ? syncsafe(size) : bigEndian(size)) + std::string(2, '\0') + body;
}

std::string riffChunk(const std::string& id, const std::string& body) {
    return id + littleEndian(static_cast<std::uint32_t>(body.size())) + body + (body.size() % 2 ? "\0" : "");
}

std::string wave(const std::string& chunks) {
    const std::string form = "WAVE" + riffChunk("fmt ", std::string(16, '\1')) + chunks;
    return "RIFF" + littleEndian(static_cast<std::uint32_t>(form.size())) + form;
}

std::string infoList(int entries) {
    std::string info = "INFO";
    for (int i = 0; i < entries; ++i) {
        info += riffChunk(std::string{'I', static_cast<char>('A' + i / 676 % 26), static_cast<char>('A' + i / 26 % 26),
                                      static_cast<char>('A' + i % 26)},
                          std::string("v\0", 2));
    }
    return riffChunk("LIST", info);
}

std::string aiff(const std::string& tag) {
    const std::string form = "AIFF" + std::string("ID3 ") + bigEndian(static_cast<std::uint32_t>(tag.size())) + tag;
    return "FORM" + bigEndian(static_cast<std::uint32_t>(form.size())) + form;
}

// A FLAC header whose comment block claims `claimed` comments and holds `held` of them.
std::string flacWithComments(std::uint32_t claimed, int held) {
    std::string comments = littleEndian(1) + "x" + littleEndian(claimed);
    for (int i = 0; i < held; ++i) {
        const std::string comment = "K" + std::to_string(i) + "=v";
        comments += littleEndian(static_cast<std::uint32_t>(comment.size())) + comment;
    }
    return "fLaC" + std::string{'\0'} + bigEndian(34, 3) + std::string(34, '\0') + std::string{'\x84'} +
           bigEndian(static_cast<std::uint32_t>(comments.size()), 3) + comments;
}

std::string apeFooter(std::uint32_t size, std::uint32_t items) {
    return "APETAGEX" + littleEndian(2000) + littleEndian(size) + littleEndian(items) + littleEndian(0) +
           std::string(8, '\0');
}

std::string vorbisComments(int count) {
    std::string list = littleEndian(1) + "x" + littleEndian(static_cast<std::uint32_t>(count));
    for (int i = 0; i < count; ++i) {
        const std::string comment = "K" + std::to_string(i) + "=v";
        list += littleEndian(static_cast<std::uint32_t>(comment.size())) + comment;
    }
    return list;
}

// An Ogg stream of these packets, then an audio packet.
std::string ogg(const std::vector<std::string>& headers) {
    std::vector<std::vector<std::uint8_t>> packets;
    for (const auto& header : headers) packets.emplace_back(header.begin(), header.end());
    packets.emplace_back(100, 0x55);
    std::uint32_t sequence = 0;
    std::string bytes;
    for (const auto& page : oggPages(7, packets, sequence, true)) bytes.append(page.begin(), page.end());
    return bytes;
}

std::string vorbisInOgg(int comments) {
    return ogg({std::string("\x01vorbis") + std::string(23, '\0'), "\x03vorbis" + vorbisComments(comments),
                "\x05vorbis" + std::string(20, '\0')});
}

std::string flacInOgg(int comments) {
    const std::string block = vorbisComments(comments);
    return ogg(
        {"\x7F"
         "FLAC" +
             std::string(46, '\0'),
         std::string{'\x84'} + bigEndian(static_cast<std::uint32_t>(block.size()), 3) + block});
}

// An EBML element with an eight-byte size.
std::string ebml(const std::string& id, const std::string& body) {
    return id + "\x01" + bigEndian(0, 3) + bigEndian(static_cast<std::uint32_t>(body.size())) + body;
}

std::string matroskaWithTags(int simpleTags, bool nested = false) {
    std::string tag = ebml("\x63\xC0", "");
    for (int i = 0; i < simpleTags; ++i) {
        const std::string name = ebml("\x45\xA3", "K" + std::to_string(i));
        tag += ebml("\x67\xC8", nested ? ebml("\x67\xC8", name) : name);
    }
    const std::string segment = ebml("\x15\x49\xA9\x66", "info") + ebml("\x12\x54\xC3\x67", ebml("\x73\x73", tag));
    // The segment's size left open, as a live recording writes it.
    return ebml("\x1A\x45\xDF\xA3", ebml("\x42\x82", "webm")) + "\x18\x53\x80\x67\x01" + std::string(7, '\xFF') +
           segment;
}

std::string asfObject(const std::string& guidHex, const std::string& body) {
    std::string guid;
    for (std::size_t i = 0; i < guidHex.size(); i += 2)
        guid += static_cast<char>(std::stoi(guidHex.substr(i, 2), nullptr, 16));
    return guid + littleEndian(static_cast<std::uint32_t>(body.size() + 24)) + littleEndian(0) + body;
}

// A Windows Media header whose extended content lists `descriptors` empty records.
std::string windowsMedia(int descriptors, bool inExtension = false) {
    const std::string records =
        std::string{static_cast<char>(descriptors & 0xFF), static_cast<char>(descriptors >> 8)} +
        std::string(static_cast<std::size_t>(descriptors) * 6, '\0');
    const std::string list =
        inExtension ? asfObject("B503BF5F2EA9CF118EE300C00C205365",
                                std::string(22, '\0') + asfObject("EACBF8C5AF5B77488467AA8C44FA4CCA", records))
                    : asfObject("40A4D0D207E3D21197F000A0C95EA850", records);
    const std::string header = asfObject("3026B2758E66CF11A6D900AA0062CE6C", littleEndian(1) + "\x01\x02" + list);
    return header + std::string(100, '\0');
}

std::optional<std::int64_t> countedEntries(const std::string& bytes) {
    const MediaDeadline deadline(std::chrono::seconds(30));
    const auto source = mediaBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    try {
        return checkTagEntryBudget(*source, deadline);
    } catch (const FileSanitizerError& error) {
        EXPECT_EQ(error.errorCase(), FileSanitizerError::Case::unreadableFile);
        return std::nullopt;
    }
}

constexpr int budget = static_cast<int>(maximumTagEntries);

struct TagCase {
    const char* name;
    std::string bytes;
    std::optional<std::int64_t> entries;  // none: refused
};

TEST(MediaTagBudget, CountsTheEntriesOfEveryTagKindAndRefusesTooMany) {
    const std::string audio(64, '\xFF');
    const TagCase cases[] = {
        {"no tags", audio, 0},
        {"ID3v2.3 at the budget", id3v2Tag(3, id3UserTextFrames(3, budget)) + audio, budget},
        {"ID3v2.3 past it", id3v2Tag(3, id3UserTextFrames(3, budget + 1)) + audio, std::nullopt},
        {"ID3v2.4 past it", id3v2Tag(4, id3UserTextFrames(4, budget + 1)) + audio, std::nullopt},
        {"ID3v2.2 past it", id3v2Tag(2, id3UserTextFrames(2, budget + 1)) + audio, std::nullopt},
        {"two tags in a row add up",
         id3v2Tag(3, id3UserTextFrames(3, budget / 2 + 1)) + id3v2Tag(4, id3UserTextFrames(4, budget / 2)),
         std::nullopt},
        {"padding is no frame", id3v2Tag(3, id3UserTextFrames(3, 3) + std::string(5000, '\0')) + audio, 3},
        {"a chapter's own frames count", id3v2Tag(4, chapterFrame(4, budget)) + audio, std::nullopt},
        {"a small chapter", id3v2Tag(4, chapterFrame(4, 5)) + audio, 6},
        // Through unsynchronisation the frames inside cannot be walked: the stored size bounds them.
        {"an unsynchronised chapter", id3v2Tag(3, chapterFrame(3, 5000), 0x80) + audio, std::nullopt},
        {"a frame that claims more than its tag stops the walk",
         id3v2Tag(3, id3UserTextFrames(3, 2) + "TXXX" + bigEndian(1'000'000) + std::string(2, '\0') +
                         id3UserTextFrames(3, 9000)),
         2},
        {"a tag that claims more than the file", id3v2Tag(3, id3UserTextFrames(3, 10)).substr(0, 60), 3},
        {"WAV id3 chunk", wave(riffChunk("id3 ", id3v2Tag(3, id3UserTextFrames(3, budget + 1)))), std::nullopt},
        {"WAV INFO list", wave(infoList(budget + 1)), std::nullopt},
        {"WAV INFO list inside another list", wave(riffChunk("LIST", "adtl" + infoList(budget + 1))), std::nullopt},
        {"WAV with a few entries", wave(infoList(3) + riffChunk("data", audio)), 3},
        {"AIFF ID3 chunk", aiff(id3v2Tag(4, id3UserTextFrames(4, budget + 1))), std::nullopt},
        {"FLAC comments", flacWithComments(budget + 1, budget + 1), std::nullopt},
        {"FLAC claiming more comments than fit", flacWithComments(4'000'000'000u, 10), 20},
        {"FLAC behind an ID3 tag", id3v2Tag(3, id3UserTextFrames(3, 2)) + flacWithComments(budget, budget),
         std::nullopt},
        {"Ogg Vorbis comments", vorbisInOgg(budget + 1), std::nullopt},
        {"a few Ogg Vorbis comments", vorbisInOgg(3), 3},
        {"Opus comments", ogg({"OpusHead" + std::string(11, '\1'), "OpusTags" + vorbisComments(budget + 1)}),
         std::nullopt},
        {"FLAC in Ogg comments", flacInOgg(budget + 1), std::nullopt},
        {"Matroska SimpleTags", matroskaWithTags(budget + 1), std::nullopt},
        {"nested Matroska SimpleTags count too", matroskaWithTags(budget / 2 + 1, true), std::nullopt},
        {"a few Matroska SimpleTags", matroskaWithTags(5), 5},
        {"Windows Media descriptors", windowsMedia(budget + 1), std::nullopt},
        {"Windows Media metadata records", windowsMedia(budget + 1, true), std::nullopt},
        {"a few Windows Media descriptors", windowsMedia(4), 4},
        {"APE items", audio + std::string(50'000, 'a') + apeFooter(50'032, budget + 1), std::nullopt},
        {"APE items claiming more than fit", audio + apeFooter(100, 1'000'000), 10},
        {"APE in front of ID3v1",
         audio + std::string(50'000, 'a') + apeFooter(50'032, budget + 1) + "TAG" + std::string(125, ' '),
         std::nullopt},
    };
    for (const auto& [name, bytes, entries] : cases) EXPECT_EQ(countedEntries(bytes), entries) << name;
}

TEST(MediaTagBudget, StopsAtItsDeadline) {
    const std::string bytes = id3v2Tag(3, id3UserTextFrames(3, 10));
    const auto source = mediaBytes({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
    const MediaDeadline passed(std::chrono::seconds(0));
    EXPECT_EQ(velquor::testing::errorOf([&] { checkTagEntryBudget(*source, passed); }),
              FileSanitizerError::Case::unreadableFile);
}

// A recording with a tag of two hundred thousand tiny frames: refused before the demuxer spends
// minutes on it, and its copy fails without leaving anything behind.
TEST(MediaTagBudget, AnMp3WithAHugeTagIsRefusedForInspectionAndCopy) {
    const TemporaryDirectory directory;
    const MediaFixtures fixtures(directory.path());
    const auto recording = velquor::testing::readFile(fixtures.audio("plain.mp3", {}));
    const auto file = directory.write("flood.mp3", id3v2Tag(4, id3UserTextFrames(4, 200'000)) + recording);
    EXPECT_EQ(velquor::testing::errorOf([&] { MediaMetadataInspector().inspect(file); }),
              FileSanitizerError::Case::unreadableFile);
    const auto copy = directory.path() / "flood-privacy.mp3";
    EXPECT_NE(velquor::testing::errorOf([&] { MediaMetadataInspector().exportPrivacyCopy(file, copy); }), std::nullopt);
    EXPECT_EQ(velquor::testing::namesIn(directory.path()), (std::vector<std::string>{"flood.mp3", "plain.mp3"}));

    const auto tagged = directory.write("tagged.mp3", id3v2Tag(4, id3UserTextFrames(4, 100)) + recording);
    EXPECT_NO_THROW(MediaMetadataInspector().inspect(tagged));
}

}  // namespace
}  // namespace velquor::files
