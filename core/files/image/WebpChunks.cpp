#include "core/files/image/WebpChunks.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImageContainer.h"

#include <algorithm>

namespace velquor::files {

RiffChunkList readRiffChunks(ByteView data, std::size_t begin, std::size_t end) {
    RiffChunkList list;
    end = std::min(end, data.size());
    for (std::size_t pos = begin; pos + 8 <= end;) {
        const std::size_t size = *littleEndian32(data, pos + 4);
        if (size > end - pos - 8) {
            list.complete = false;
            return list;
        }
        list.chunks.push_back(
            {std::string_view(reinterpret_cast<const char*>(data.data() + pos), 4), pos, data.subspan(pos + 8, size)});
        pos += 8 + size + (size & 1);
    }
    return list;
}

std::size_t webpBodyEnd(ByteView data) {
    const auto riffSize = littleEndian32(data, 4);
    if (!riffSize) return data.size();
    return static_cast<std::size_t>(std::min<std::uint64_t>(std::uint64_t{*riffSize} + 8, data.size()));
}

std::size_t webpFrameCount(ByteView data) {
    const auto list = readRiffChunks(data, 12, webpBodyEnd(data));
    const auto frames = std::count_if(list.chunks.begin(), list.chunks.end(), [](const RiffChunk& chunk) {
        return chunk.fourcc == "ANMF" && chunk.payload.size() >= animationFrameHeaderSize;
    });
    return std::max<std::size_t>(1, static_cast<std::size_t>(frames));
}

namespace {

// The picture size from a bitstream header, for files without the extended header: VP8 keeps it
// after its start code, VP8L packs width and height minus one in 14 bits each.
void readBitstreamSize(const RiffChunk& chunk, ContainerProperties& properties) {
    const auto payload = chunk.payload;
    if (chunk.fourcc == "VP8 " && startsWith(payload, 3, "\x9D\x01\x2A") && payload.size() >= 10) {
        properties.pixelWidth = *littleEndian16(payload, 6) & 0x3FFF;
        properties.pixelHeight = *littleEndian16(payload, 8) & 0x3FFF;
    } else if (chunk.fourcc == "VP8L" && payload.size() >= 5 && payload[0] == 0x2F) {
        const std::uint32_t bits = *littleEndian32(payload, 1);
        properties.pixelWidth = (bits & 0x3FFF) + 1;
        properties.pixelHeight = ((bits >> 14) & 0x3FFF) + 1;
    }
}

}  // namespace

ContainerProperties webpContainerProperties(ByteView data) {
    const auto list = readRiffChunks(data, 12, webpBodyEnd(data));
    ContainerProperties properties;
    properties.frames.emplace_back();
    std::size_t animationFrames = 0;
    bool hasImage = false;
    for (const auto& chunk : list.chunks) {
        const auto payload = chunk.payload;
        if (chunk.fourcc == "VP8X" && payload.size() >= 10) {
            properties.pixelWidth = *littleEndian24(payload, 4) + 1;
            properties.pixelHeight = *littleEndian24(payload, 7) + 1;
            auto& webp = properties.frames.front().group(u"{WebP}");
            webp.set(u"CanvasPixelWidth", ImageProperty::ofInteger(properties.pixelWidth));
            webp.set(u"CanvasPixelHeight", ImageProperty::ofInteger(properties.pixelHeight));
        } else if (properties.pixelWidth == 0 && (chunk.fourcc == "VP8 " || chunk.fourcc == "VP8L")) {
            readBitstreamSize(chunk, properties);
        } else if (chunk.fourcc == "ANIM" && payload.size() >= 6) {
            properties.frames.front().group(u"{WebP}").set(u"LoopCount",
                                                           ImageProperty::ofInteger(*littleEndian16(payload, 4)));
        } else if (chunk.fourcc == "ANMF" && payload.size() >= animationFrameHeaderSize) {
            const double duration = *littleEndian24(payload, 12) / 1000.0;
            if (animationFrames > 0 && !properties.mayAddFrame()) break;
            auto* frame = animationFrames++ == 0 ? &properties.frames.front() : properties.addFrame(duration);
            if (frame != nullptr) frame->group(u"{WebP}").set(u"DelayTime", ImageProperty::ofReal(duration));
        }
        hasImage = hasImage || chunk.fourcc == "VP8 " || chunk.fourcc == "VP8L" || chunk.fourcc == "ANMF";
    }
    if (!hasImage) throw FileSanitizerError(FileSanitizerError::Case::unreadableFile);
    return properties;
}

}  // namespace velquor::files
