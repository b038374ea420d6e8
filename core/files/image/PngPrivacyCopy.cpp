#include "core/files/image/ImagePrivacyCopy.h"

#include "core/files/image/PngChunks.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <string_view>

namespace velquor::files {

namespace {

// Critical chunks, colour and display chunks, and the animation chunks of APNG. Text, time,
// Exif, provenance and every private or unknown chunk are left out.
constexpr std::array<std::string_view, 18> keptChunks{"IHDR", "PLTE", "IDAT", "IEND", "tRNS", "gAMA",
                                                      "cHRM", "sRGB", "iCCP", "sBIT", "cICP", "mDCv",
                                                      "cLLi", "bKGD", "pHYs", "acTL", "fcTL", "fdAT"};

bool isKept(std::string_view type) { return std::find(keptChunks.begin(), keptChunks.end(), type) != keptChunks.end(); }

void appendChunk(std::vector<std::uint8_t>& out, std::string_view type, ByteView payload) {
    appendBigEndian32(out, static_cast<std::uint32_t>(payload.size()));
    const std::size_t crcStart = out.size();
    appendBytes(out, type);
    appendBytes(out, payload);
    const auto crc = crc32(0L, out.data() + crcStart, static_cast<uInt>(out.size() - crcStart));
    appendBigEndian32(out, static_cast<std::uint32_t>(crc));
}

}  // namespace

// Written chunk by chunk as the walk meets them, so that a long animation is never held twice.
std::vector<std::uint8_t> pngPrivacyCopy(ByteView source, std::optional<std::uint16_t> orientation) {
    std::vector<std::uint8_t> out(
        source.begin(), source.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(8, source.size())));
    const bool complete = walkPngChunks(source, [&](const PngChunk& chunk) {
        if (chunk.offset == 8 && chunk.type != "IHDR") return false;
        if (!isKept(chunk.type)) return true;
        appendBytes(out, chunk.wholeChunk(source));
        if (chunk.type == "IHDR") {
            if (auto exif = orientationExif(orientation)) appendChunk(out, "eXIf", *exif);
        }
        return true;
    });
    if (!complete) throwExportFailed();
    return out;
}

}  // namespace velquor::files
