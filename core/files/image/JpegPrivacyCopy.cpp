#include "core/files/image/ImagePrivacyCopy.h"

#include "core/files/image/JpegSegments.h"

#include <cstring>
#include <string_view>

namespace velquor::files {

namespace {

constexpr std::uint8_t startOfScan = 0xDA;
constexpr std::uint8_t endOfImage = 0xD9;

bool hasNoLength(std::uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

// Segments that carry the image itself: tables, frame headers, restart intervals. JPG (0xC8)
// and the reserved markers are not among them.
bool isImageSegment(std::uint8_t marker) {
    const bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    return frameHeader || marker == 0xC4 || marker == 0xCC || marker == 0xDB || marker == 0xDD || marker == 0xDE ||
           marker == 0xDC || marker == 0xDF;
}

bool payloadStartsWith(ByteView payload, std::string_view prefix) { return startsWith(payload, 0, prefix); }

// Colour information that decoders need: the ICC profile (APP2) and Adobe's colour transform (APP14).
bool isColourSegment(std::uint8_t marker, ByteView payload) {
    return (marker == 0xE2 && payloadStartsWith(payload, std::string_view("ICC_PROFILE\0", 12))) ||
           (marker == 0xEE && payloadStartsWith(payload, "Adobe"));
}

void appendSegment(std::vector<std::uint8_t>& out, std::uint8_t marker, ByteView payload) {
    out.push_back(0xFF);
    out.push_back(marker);
    appendBigEndian16(out, static_cast<std::uint16_t>(payload.size() + 2));
    appendBytes(out, payload);
}

bool isJfif(std::uint8_t marker, ByteView payload) {
    return marker == 0xE0 && payload.size() >= 12 && payloadStartsWith(payload, std::string_view("JFIF\0", 5));
}

// The first JFIF header without the thumbnail it may carry: version, units and densities, then 0 x 0.
void appendJfifWithoutThumbnail(std::vector<std::uint8_t>& out, ByteView source) {
    walkJpegHeaderSegments(source, [&](const JpegSegment& segment) {
        const auto payload = source.subspan(segment.payloadOffset, segment.payloadLength);
        if (!isJfif(segment.marker, payload)) return true;
        std::vector<std::uint8_t> header(payload.begin(), payload.begin() + 12);
        header.push_back(0);
        header.push_back(0);
        appendSegment(out, 0xE0, header);
        return false;
    });
}

void appendOrientation(std::vector<std::uint8_t>& out, std::optional<std::uint16_t> orientation) {
    if (auto exif = orientationExif(orientation)) {
        std::vector<std::uint8_t> payload;
        appendBytes(payload, std::string_view("Exif\0\0", 6));
        appendBytes(payload, *exif);
        appendSegment(out, 0xE1, payload);
    }
}

// The end of the entropy-coded data that starts at `pos`: the 0xFF of the next marker other
// than a restart marker or a stuffed zero, or the end of the data.
std::size_t entropyDataEnd(ByteView data, std::size_t pos) {
    while (pos < data.size()) {
        const void* found = std::memchr(data.data() + pos, 0xFF, data.size() - pos);
        if (found == nullptr) return data.size();
        std::size_t at = static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - data.data());
        std::size_t next = at + 1;
        while (next < data.size() && data[next] == 0xFF) ++next;  // fill bytes before a marker
        if (next >= data.size()) return at;
        const std::uint8_t byte = data[next];
        if (byte != 0x00 && !(byte >= 0xD0 && byte <= 0xD7)) return at;
        pos = next + 1;
    }
    return data.size();
}

}  // namespace

std::vector<std::uint8_t> jpegPrivacyCopy(ByteView source, std::optional<std::uint16_t> orientation) {
    if (!startsWith(source, 0, "\xFF\xD8")) throwExportFailed();
    std::vector<std::uint8_t> out{0xFF, 0xD8};
    appendJfifWithoutThumbnail(out, source);
    appendOrientation(out, orientation);
    bool sawScan = false;
    std::size_t pos = 2;
    while (pos < source.size()) {
        // Like common decoders, skip stray bytes up to the next marker.
        while (pos < source.size() && source[pos] != 0xFF) ++pos;
        while (pos < source.size() && source[pos] == 0xFF) ++pos;
        if (pos >= source.size()) break;
        const std::uint8_t marker = source[pos++];
        if (marker == endOfImage) break;
        if (hasNoLength(marker)) continue;
        const auto length = bigEndian16(source, pos);
        if (!length || *length < 2 || !fitsIn(source, pos, *length)) throwExportFailed();
        const auto payload = source.subspan(pos + 2, *length - 2u);
        pos += *length;

        if (marker == startOfScan) {
            appendSegment(out, marker, payload);
            const std::size_t end = entropyDataEnd(source, pos);
            appendBytes(out, source.subspan(pos, end - pos));
            pos = end;
            sawScan = true;
        } else if (isImageSegment(marker) || isColourSegment(marker, payload)) {
            appendSegment(out, marker, payload);
        }
    }
    if (!sawScan) throwExportFailed();
    out.push_back(0xFF);
    out.push_back(endOfImage);
    return out;
}

}  // namespace velquor::files
