#include "core/files/FileSanitizerError.h"
#include "core/files/media/MatroskaApplicationNames.h"
#include "core/files/media/Mp3PrivacyCopy.h"
#include "core/files/media/OggPage.h"
#include "tests/support/FileTestSupport.h"

#include <gtest/gtest.h>

extern "C" {
#include <libavutil/crc.h>
}

#include <cstring>
#include <string_view>

namespace velquor::files {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes element(std::initializer_list<std::uint8_t> id, const Bytes& body) {
    Bytes bytes(id);
    bytes.push_back(static_cast<std::uint8_t>(0x80 | body.size()));  // sizes below 127 in one byte
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

Bytes text(std::string_view value) { return Bytes(value.begin(), value.end()); }

Bytes joined(std::initializer_list<Bytes> parts) {
    Bytes bytes;
    for (const auto& part : parts) bytes.insert(bytes.end(), part.begin(), part.end());
    return bytes;
}

// An EBML header, then a segment of unknown size, as a muxer writes it before it knows the end.
Bytes matroskaHead(const Bytes& segmentChildren) {
    auto bytes = element({0x1A, 0x45, 0xDF, 0xA3}, element({0x42, 0x82}, text("webm")));
    bytes.insert(bytes.end(), {0x18, 0x53, 0x80, 0x67, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
    bytes.insert(bytes.end(), segmentChildren.begin(), segmentChildren.end());
    return bytes;
}

TEST(MatroskaApplicationNames, FindsBothNamesInTheSegmentInformation) {
    const auto info = element({0x15, 0x49, 0xA9, 0x66},
                              joined({element({0x2A, 0xD7, 0xB1}, {0x0F, 0x42, 0x40}),
                                      element({0x4D, 0x80}, text("Lavf")), element({0x57, 0x41}, text("Lavf60"))}));
    const auto head = matroskaHead(joined({element({0xEC}, Bytes(10, 0)), info}));
    const auto names = matroskaApplicationNames(head);
    ASSERT_TRUE(names);
    ASSERT_EQ(names->size(), 2u);
    for (const auto& range : *names) {
        const std::string value(head.begin() + range.offset, head.begin() + range.offset + range.length);
        EXPECT_TRUE(value.starts_with("Lavf")) << value;
    }
}

TEST(MatroskaApplicationNames, RefusesWhatItCannotFindWhole) {
    const auto muxing = element({0x4D, 0x80}, text("Lavf"));
    const auto writing = element({0x57, 0x41}, text("Lavf"));
    const auto info = element({0x15, 0x49, 0xA9, 0x66}, joined({muxing, writing}));
    auto cut = matroskaHead(info);
    cut.resize(cut.size() - 3);
    const Bytes cases[] = {
        {},
        cut,
        matroskaHead(element({0x15, 0x49, 0xA9, 0x66}, muxing)),                       // no writing application
        matroskaHead(joined({element({0x1F, 0x43, 0xB6, 0x75}, Bytes(4, 0)), info})),  // a cluster comes first
        text("RIFF....WAVE"),
    };
    for (const auto& head : cases) EXPECT_FALSE(matroskaApplicationNames(head)) << head.size();
}

// A 128 kbit/s MPEG-1 layer III frame at 44.1 kHz, stereo: 417 bytes, the Info header at 36 with
// every field, then a LAME tag.
Bytes infoFrame(std::string_view encoder, std::uint32_t delayAndPadding) {
    Bytes frame(417, 0);
    frame[0] = 0xFF;
    frame[1] = 0xFB;
    frame[2] = 0x90;
    frame[3] = 0x00;
    std::memcpy(frame.data() + 36, "Info", 4);
    frame[43] = 0x0F;
    const std::size_t lame = 36 + 8 + 4 + 4 + 100 + 4;
    std::memcpy(frame.data() + lame, encoder.data(), encoder.size());
    frame[lame + 21] = static_cast<std::uint8_t>(delayAndPadding >> 16);
    frame[lame + 22] = static_cast<std::uint8_t>(delayAndPadding >> 8);
    frame[lame + 23] = static_cast<std::uint8_t>(delayAndPadding);
    const auto crc = av_crc(av_crc_get_table(AV_CRC_16_ANSI_LE), 0, frame.data(), lame + 34);
    frame[lame + 34] = static_cast<std::uint8_t>(crc >> 8);
    frame[lame + 35] = static_cast<std::uint8_t>(crc);
    return frame;
}

std::string encoderOf(const Bytes& frame) { return std::string(frame.begin() + 156, frame.begin() + 165); }

bool checksumHolds(const Bytes& frame) {
    const auto crc = av_crc(av_crc_get_table(AV_CRC_16_ANSI_LE), 0, frame.data(), 190);
    return frame[190] == (crc >> 8) && frame[191] == (crc & 0xFF);
}

TEST(Mp3EncoderVersion, TheVersionGoesAndTheFamilyStaysOnlyInFrontOfGaplessInformation) {
    const auto gapless = withoutEncoderVersion(infoFrame("LAME3.100", 0x240C00));
    EXPECT_EQ(encoderOf(gapless), std::string("LAME\0\0\0\0\0", 9));
    EXPECT_TRUE(checksumHolds(gapless));

    const auto plain = withoutEncoderVersion(infoFrame("Lavc59.37", 0));
    EXPECT_EQ(encoderOf(plain), std::string(9, '\0'));
    EXPECT_TRUE(checksumHolds(plain));

    const auto unknown = withoutEncoderVersion(infoFrame("MyEnc 1.0", 0x240C00));
    EXPECT_EQ(encoderOf(unknown), std::string(9, '\0'));
}

TEST(Mp3EncoderVersion, ABrokenChecksumStaysBrokenAndOtherFramesStayAsTheyAre) {
    auto broken = infoFrame("LAME3.100", 0x240C00);
    broken[191] ^= 0xFF;
    const auto result = withoutEncoderVersion(broken);
    EXPECT_EQ(encoderOf(result), std::string("LAME\0\0\0\0\0", 9));
    EXPECT_FALSE(checksumHolds(result));

    Bytes audio = infoFrame("LAME3.100", 0);
    std::memcpy(audio.data() + 36, "Abcd", 4);
    EXPECT_EQ(withoutEncoderVersion(audio), audio);
    const Bytes tooShort(40, 0xFF);
    EXPECT_EQ(withoutEncoderVersion(tooShort), tooShort);
}

OggPage reread(const Bytes& page) { return readOggPage(*mediaBytes(page), 0); }

TEST(OggPages, PacketsAreLacedAndSplitOverPagesThatReadBack) {
    std::uint32_t sequence = 5;
    const Bytes small(600, 'a');
    const Bytes large(255 * 255 + 10, 'b');
    const auto pages = oggPages(77, {small, large}, sequence, true);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_EQ(sequence, 7u);

    const auto first = reread(pages[0]);
    EXPECT_TRUE(first.beginsStream());
    EXPECT_FALSE(first.continuesPacket());
    EXPECT_EQ(first.serial, 77u);
    EXPECT_EQ(first.sequence, 5u);
    const auto firstPackets = first.packets();
    ASSERT_EQ(firstPackets.completed.size(), 1u);
    EXPECT_EQ(firstPackets.completed[0], small);
    EXPECT_EQ(firstPackets.continuing.size(), 252u * 255);
    EXPECT_EQ(std::memcmp(pages[0].data() + 6, "\0\0\0\0\0\0\0\0", 8), 0);  // a packet ends here: granule 0

    const auto second = reread(pages[1]);
    EXPECT_FALSE(second.beginsStream());
    EXPECT_TRUE(second.continuesPacket());
    const auto secondPackets = second.packets();
    ASSERT_EQ(secondPackets.completed.size(), 1u);
    EXPECT_EQ(firstPackets.continuing.size() + secondPackets.completed[0].size(), large.size());
    EXPECT_EQ(second.renumbered(6), pages[1]);
}

TEST(OggPages, DamagedOrCutPagesAreUnreadable) {
    std::uint32_t sequence = 0;
    const auto page = oggPages(1, {Bytes(100, 'x')}, sequence, false).front();
    auto flipped = page;
    flipped[page.size() - 1] ^= 1;
    const Bytes cut(page.begin(), page.end() - 1);
    auto newer = page;
    newer[4] = 1;
    for (const auto& bad : {flipped, cut, newer, Bytes(10, 0)}) {
        EXPECT_EQ(velquor::testing::errorOf([&] { reread(bad); }), FileSanitizerError::Case::unreadableFile);
    }
}

}  // namespace
}  // namespace velquor::files
