#include "core/files/image/ProvenanceScan.h"

#include "core/files/image/JpegSegments.h"
#include "core/text/base/Ascii.h"

#include <algorithm>
#include <array>
#include <optional>

namespace velquor::files {

namespace {

constexpr std::string_view pngSignature{"\x89PNG\r\n\x1A\n", 8};

// The JUMBF content type of a C2PA manifest store; its first four bytes spell c2pa.
constexpr std::array<std::uint8_t, 16> c2paManifestStoreUUID{0x63, 0x32, 0x70, 0x61, 0x00, 0x11, 0x00, 0x10,
                                                             0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

constexpr std::array<std::string_view, 4> markerTexts{"Content Credentials", "contentcredentials", "c2pa", "jumbf"};

ProvenanceEvidence confirmedManifest(std::u16string detail) {
    return {ProvenanceConfidence::confirmed, u"Content Credentials", std::move(detail), true};
}

std::optional<ProvenanceEvidence> pngManifest(ByteView data) {
    if (!startsWith(data, 0, pngSignature)) return std::nullopt;
    const std::size_t length = data.size();
    for (std::size_t pos = 8; pos + 12 <= length;) {
        const std::size_t chunkLength = *bigEndian32(data, pos);
        if (chunkLength > length - pos - 12) return std::nullopt;
        if (startsWith(data, pos + 4, "caBX")) return confirmedManifest(u"PNG caBX manifest chunk");
        pos += 12 + chunkLength;
    }
    return std::nullopt;
}

std::optional<ProvenanceEvidence> jpegManifest(ByteView data) {
    std::optional<ProvenanceEvidence> found;
    walkJpegHeaderSegments(data, [&](const JpegSegment& segment) {
        if (segment.marker != 0xEB) return true;
        const auto payload = data.subspan(segment.payloadOffset, segment.payloadLength);
        const bool hasStoreUUID = std::search(payload.begin(), payload.end(), c2paManifestStoreUUID.begin(),
                                              c2paManifestStoreUUID.end()) != payload.end();
        if (hasStoreUUID || (containsASCII(payload, "c2pa") && containsASCII(payload, "jumb"))) {
            found = confirmedManifest(u"JPEG C2PA JUMBF data in APP11");
            return false;
        }
        return true;
    });
    return found;
}

std::optional<ProvenanceEvidence> webpManifest(ByteView data) {
    if (data.size() < 12 || !startsWith(data, 0, "RIFF") || !startsWith(data, 8, "WEBP")) return std::nullopt;
    const std::size_t length = data.size();
    for (std::size_t pos = 12; pos + 8 <= length;) {
        const std::size_t size = *littleEndian32(data, pos + 4);
        if (size > length - pos - 8) return std::nullopt;
        if (startsWith(data, pos, "C2PA")) return confirmedManifest(u"WebP C2PA manifest chunk");
        pos += 8 + size + (size & 1);
    }
    return std::nullopt;
}

}  // namespace

// Horspool's search over case-folded bytes: the same matches as sliding the pattern one byte at
// a time, but a window whose last byte cannot be in the pattern is skipped whole, which matters
// when four patterns run over a file of a hundred megabytes.
bool containsASCII(ByteView data, std::string_view pattern) {
    const std::size_t length = pattern.size();
    if (length == 0 || data.size() < length) return false;
    const auto folded = [](std::uint8_t byte) { return text::asciiLowered(byte); };
    std::array<std::size_t, 256> shift{};
    shift.fill(length);
    for (std::size_t i = 0; i + 1 < length; ++i) shift[folded(static_cast<std::uint8_t>(pattern[i]))] = length - 1 - i;
    for (std::size_t start = 0; start + length <= data.size();) {
        std::size_t matched = 0;
        while (matched < length &&
               folded(data[start + matched]) == folded(static_cast<std::uint8_t>(pattern[matched]))) {
            ++matched;
        }
        if (matched == length) return true;
        start += shift[folded(data[start + length - 1])];
    }
    return false;
}

std::vector<ProvenanceEvidence> scanProvenance(ByteView data) {
    for (const auto stage : {pngManifest, jpegManifest, webpManifest}) {
        if (auto evidence = stage(data)) return {std::move(*evidence)};
    }
    for (const auto marker : markerTexts) {
        if (containsASCII(data, marker)) {
            return {{ProvenanceConfidence::possible, u"Possible provenance reference",
                     u"Raw marker text without a recognized manifest container", false}};
        }
    }
    return {};
}

}  // namespace velquor::files
