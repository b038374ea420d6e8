#include "core/files/image/ImagePrivacyCopy.h"

#include "core/files/image/WebpChunks.h"

#include <algorithm>
#include <array>
#include <limits>

namespace velquor::files {

namespace {

constexpr std::uint8_t exifFlag = 0x08;
constexpr std::uint8_t xmpFlag = 0x04;

// Image data, alpha, colour profile and animation. EXIF, XMP, provenance and unknown chunks go.
constexpr std::array<std::string_view, 7> keptChunks{"VP8X", "VP8 ", "VP8L", "ALPH", "ICCP", "ANIM", "ANMF"};
constexpr std::array<std::string_view, 3> keptFrameChunks{"VP8 ", "VP8L", "ALPH"};

template <std::size_t N>
bool listed(const std::array<std::string_view, N>& list, std::string_view fourcc) {
    return std::find(list.begin(), list.end(), fourcc) != list.end();
}

void appendChunk(std::vector<std::uint8_t>& out, std::string_view fourcc, ByteView payload) {
    appendBytes(out, fourcc);
    appendLittleEndian32(out, static_cast<std::uint32_t>(payload.size()));
    appendBytes(out, payload);
    if (payload.size() & 1) out.push_back(0);
}

// An animation frame keeps its position, size, duration and flags, and of its own chunks only
// the image data and alpha.
std::vector<std::uint8_t> cleanedFrame(ByteView payload) {
    if (payload.size() < animationFrameHeaderSize) throwExportFailed();
    std::vector<std::uint8_t> frame(payload.begin(), payload.begin() + animationFrameHeaderSize);
    const auto inner = readRiffChunks(payload, animationFrameHeaderSize, payload.size());
    if (!inner.complete) throwExportFailed();
    for (const auto& chunk : inner.chunks) {
        if (listed(keptFrameChunks, chunk.fourcc)) appendChunk(frame, chunk.fourcc, chunk.payload);
    }
    return frame;
}

}  // namespace

std::vector<std::uint8_t> webpPrivacyCopy(ByteView source, std::optional<std::uint16_t> orientation) {
    const auto list = readRiffChunks(source, 12, webpBodyEnd(source));
    if (!list.complete || list.chunks.empty()) throwExportFailed();
    const bool extended = list.chunks.front().fourcc == "VP8X";
    // Without the extended header a WebP cannot carry EXIF, so it had no orientation to keep.
    const auto exif = extended ? orientationExif(orientation) : std::nullopt;

    std::vector<std::uint8_t> out;
    appendBytes(out, "RIFF");
    appendLittleEndian32(out, 0);
    appendBytes(out, "WEBP");
    for (const auto& chunk : list.chunks) {
        if (!listed(keptChunks, chunk.fourcc)) continue;
        if (chunk.fourcc == "VP8X") {
            if (chunk.payload.size() < 10) throwExportFailed();
            std::vector<std::uint8_t> header(chunk.payload.begin(), chunk.payload.end());
            header[0] = static_cast<std::uint8_t>((header[0] & ~(exifFlag | xmpFlag)) | (exif ? exifFlag : 0));
            appendChunk(out, chunk.fourcc, header);
        } else if (chunk.fourcc == "ANMF") {
            appendChunk(out, chunk.fourcc, cleanedFrame(chunk.payload));
        } else {
            appendChunk(out, chunk.fourcc, chunk.payload);
        }
    }
    const bool hasImage = std::any_of(list.chunks.begin(), list.chunks.end(), [](const RiffChunk& chunk) {
        return chunk.fourcc == "VP8 " || chunk.fourcc == "VP8L" || chunk.fourcc == "ANMF";
    });
    if (!hasImage) throwExportFailed();
    if (exif) appendChunk(out, "EXIF", *exif);
    if (out.size() - 8 > std::numeric_limits<std::uint32_t>::max()) throwExportFailed();
    const auto riffSize = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<std::uint8_t>(riffSize >> (8 * i));
    return out;
}

}  // namespace velquor::files
