#include "core/files/image/GifBlocks.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/MetadataText.h"
#include "core/files/image/ImageContainer.h"

#include <optional>
#include <string>

namespace velquor::files {

namespace {

constexpr std::size_t screenDescriptorEnd = 13;

std::size_t colourTableSize(std::uint8_t packed) { return (packed & 0x80) != 0 ? 3u * (2u << (packed & 0x07)) : 0; }

// The offset after the terminator of the sub-blocks starting at `pos`; nothing when they do not fit.
std::optional<std::size_t> skipSubBlocks(ByteView data, std::size_t pos) {
    while (pos < data.size()) {
        const std::size_t size = data[pos];
        if (size == 0) return pos + 1;
        if (!fitsIn(data, pos + 1, size)) return std::nullopt;
        pos += 1 + size;
    }
    return std::nullopt;
}

std::optional<std::size_t> imageBlockEnd(ByteView data, std::size_t pos) {
    if (!fitsIn(data, pos, 10)) return std::nullopt;
    const std::size_t tableEnd = pos + 10 + colourTableSize(data[pos + 9]);
    if (!fitsIn(data, tableEnd, 1)) return std::nullopt;  // the LZW minimum code size
    return skipSubBlocks(data, tableEnd + 1);
}

GifBlock::Kind extensionKind(ByteView data, std::size_t pos) {
    const std::uint8_t label = data[pos + 1];
    if (label == 0xF9) return GifBlock::Kind::graphicControl;
    if (label == 0xFE) return GifBlock::Kind::comment;
    if (label != 0xFF || !fitsIn(data, pos + 2, 12) || data[pos + 2] != 11) return GifBlock::Kind::otherExtension;
    const std::string_view identifier(reinterpret_cast<const char*>(data.data() + pos + 3), 11);
    if (identifier == "NETSCAPE2.0" || identifier == "ANIMEXTS1.0") return GifBlock::Kind::loop;
    if (identifier == "ICCRGBG1012") return GifBlock::Kind::colourProfile;
    if (identifier == "XMP DataXMP") return GifBlock::Kind::xmp;
    return GifBlock::Kind::otherExtension;
}

std::string_view asChars(const std::vector<std::uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// XMP sits in a GIF as raw bytes followed by a 258-byte "magic trailer" that makes the packet
// look like sub-blocks to readers that skip it; the packet is what comes before that trailer.
std::string xmpPacket(ByteView data, const GifBlock& block) {
    const std::size_t start = gifExtensionDataStart(block, data);
    std::string_view raw(reinterpret_cast<const char*>(data.data() + start), block.end - start);
    const auto packetEnd = raw.rfind("<?xpacket end=");
    const auto close = packetEnd == std::string_view::npos ? packetEnd : raw.find("?>", packetEnd);
    if (close != std::string_view::npos) return std::string(raw.substr(0, close + 2));
    return std::string(raw.substr(0, raw.size() >= 258 ? raw.size() - 258 : 0));
}

double clampedDelay(double seconds) { return seconds <= 0.01 ? 0.1 : seconds; }

}  // namespace

std::size_t gifExtensionDataStart(const GifBlock& block, ByteView data) {
    return block.begin + 2 + (data[block.begin + 1] == 0xFF ? 12 : 0);
}

std::vector<std::uint8_t> gifSubBlockData(ByteView data, std::size_t begin) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t pos = begin; pos < data.size() && data[pos] != 0;) {
        const std::size_t size = data[pos];
        if (!fitsIn(data, pos + 1, size)) break;
        appendBytes(bytes, data.subspan(pos + 1, size));
        pos += 1 + size;
    }
    return bytes;
}

std::size_t gifHeaderEnd(ByteView data) {
    if (!fitsIn(data, 0, screenDescriptorEnd)) return 0;
    const std::size_t headerEnd = screenDescriptorEnd + colourTableSize(data[10]);
    return fitsIn(data, 0, headerEnd) ? headerEnd : 0;
}

GifWalk walkGifBlocks(ByteView data, const std::function<bool(const GifBlock&)>& visit) {
    GifWalk walk;
    walk.headerEnd = gifHeaderEnd(data);
    if (walk.headerEnd == 0) return walk;
    for (std::size_t pos = walk.headerEnd; pos < data.size();) {
        const std::uint8_t introducer = data[pos];
        if (introducer == 0x3B) {
            walk.complete = true;
            return walk;
        }
        std::optional<std::size_t> end;
        GifBlock::Kind kind = GifBlock::Kind::image;
        if (introducer == 0x2C) {
            end = imageBlockEnd(data, pos);
        } else if (introducer == 0x21) {
            if (fitsIn(data, pos, 2)) {
                kind = extensionKind(data, pos);
                end = skipSubBlocks(data, pos + 2);
            }
        } else {
            return walk;
        }
        if (!end) {
            walk.damaged = true;
            return walk;
        }
        if (!visit({kind, pos, *end})) return walk;
        pos = *end;
    }
    return walk;
}

std::size_t gifImageCount(ByteView data) {
    std::size_t images = 0;
    walkGifBlocks(data, [&](const GifBlock& block) {
        images += block.kind == GifBlock::Kind::image ? 1 : 0;
        return true;
    });
    return images;
}

ContainerProperties gifContainerProperties(ByteView data) {
    ContainerProperties properties;
    properties.frames.emplace_back();
    double pendingDelay = -1;  // seconds; negative while no graphic control block waits for its image
    std::size_t images = 0;
    const auto walk = walkGifBlocks(data, [&](const GifBlock& block) {
        switch (block.kind) {
            case GifBlock::Kind::graphicControl:
                if (block.end - block.begin >= 8 && data[block.begin + 2] >= 4) {
                    pendingDelay = *littleEndian16(data, block.begin + 4) / 100.0;
                }
                break;
            case GifBlock::Kind::loop: {
                const auto loop = gifSubBlockData(data, gifExtensionDataStart(block, data));
                if (loop.size() >= 3 && loop[0] == 1) {
                    properties.frames.front().group(u"{GIF}").set(u"LoopCount",
                                                                  ImageProperty::ofInteger(loop[1] | (loop[2] << 8)));
                }
                break;
            }
            case GifBlock::Kind::comment:
                properties.frames.front().group(u"{GIF}").appendText(
                    u"Comment", metadataText(asChars(gifSubBlockData(data, block.begin + 2))));
                break;
            case GifBlock::Kind::xmp:
                properties.xmpPackets.push_back(xmpPacket(data, block));
                break;
            case GifBlock::Kind::image: {
                if (images > 0 && !properties.mayAddFrame()) return false;
                const double shown = pendingDelay >= 0 ? clampedDelay(pendingDelay) : 0;
                auto* frame = images++ == 0 ? &properties.frames.front() : properties.addFrame(shown);
                if (frame != nullptr && pendingDelay >= 0) {
                    auto& gif = frame->group(u"{GIF}");
                    gif.set(u"DelayTime", ImageProperty::ofReal(shown));
                    gif.set(u"UnclampedDelayTime", ImageProperty::ofReal(pendingDelay));
                }
                pendingDelay = -1;
                break;
            }
            case GifBlock::Kind::colourProfile:
            case GifBlock::Kind::otherExtension:
                break;
        }
        return true;
    });
    if (walk.headerEnd == 0 || images == 0) throw FileSanitizerError(FileSanitizerError::Case::unreadableFile);
    properties.pixelWidth = *littleEndian16(data, 6);
    properties.pixelHeight = *littleEndian16(data, 8);
    return properties;
}

}  // namespace velquor::files
