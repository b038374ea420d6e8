#include "core/files/image/PngChunks.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/MetadataText.h"
#include "core/files/image/ImageContainer.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <limits>
#include <string>

namespace velquor::files {

namespace {

constexpr std::string_view pngSignature{"\x89PNG\r\n\x1A\n", 8};

// A text chunk may be a few bytes that inflate to gigabytes; each keeps at most this much.
constexpr std::size_t inflatedTextLimit = 4 << 20;

std::string_view asChars(ByteView bytes) { return {reinterpret_cast<const char*>(bytes.data()), bytes.size()}; }

// The text up to the first NUL, and what follows the NUL; nothing when there is no NUL.
std::optional<std::pair<std::string_view, std::string_view>> splitAtNul(std::string_view text) {
    const auto nul = text.find('\0');
    if (nul == std::string_view::npos) return std::nullopt;
    return std::pair{text.substr(0, nul), text.substr(nul + 1)};
}

ByteView asBytes(std::string_view text) { return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}; }

struct TextChunk {
    std::u16string keyword;
    std::u16string text;
};

// A chunk whose layout is damaged is listed under its own type ("tEXt", "zTXt", "iTXt"), so
// that its presence is never hidden.
TextChunk damagedTextChunk(const PngChunk& chunk) {
    return {latin1Text(chunk.type), latin1Text(asChars(chunk.payload))};
}

TextChunk readTextChunk(const PngChunk& chunk) {
    const auto parts = splitAtNul(asChars(chunk.payload));
    if (!parts) return damagedTextChunk(chunk);
    auto [keyword, rest] = *parts;
    if (chunk.type == "tEXt") return {latin1Text(keyword), latin1Text(rest)};
    if (chunk.type == "zTXt") {
        if (rest.empty()) return damagedTextChunk(chunk);
        return {latin1Text(keyword), latin1Text(inflateBounded(asBytes(rest.substr(1)), inflatedTextLimit))};
    }
    // iTXt: compression flag, method, language tag, translated keyword, then UTF-8 text.
    if (rest.size() < 2) return damagedTextChunk(chunk);
    const bool compressed = rest[0] != 0;
    const auto language = splitAtNul(rest.substr(2));
    const auto translated = language ? splitAtNul(language->second) : std::nullopt;
    if (!translated) return damagedTextChunk(chunk);
    const auto body = translated->second;
    return {latin1Text(keyword), metadataText(compressed ? inflateBounded(asBytes(body), inflatedTextLimit) : body)};
}

double delaySeconds(std::uint16_t numerator, std::uint16_t denominator) {
    return static_cast<double>(numerator) / (denominator == 0 ? 100.0 : static_cast<double>(denominator));
}

void addHeaderProperties(ImageProperty& png, const PngChunk& chunk) {
    const auto payload = chunk.payload;
    if (chunk.type == "IHDR" && payload.size() >= 13) {
        png.set(u"InterlaceType", ImageProperty::ofInteger(payload[12]));
    } else if (chunk.type == "gAMA" && payload.size() >= 4) {
        png.set(u"Gamma", ImageProperty::ofReal(*bigEndian32(payload, 0) / 100000.0));
    } else if (chunk.type == "pHYs" && payload.size() >= 9 && payload[8] == 1) {
        png.set(u"XPixelsPerMeter", ImageProperty::ofInteger(*bigEndian32(payload, 0)));
        png.set(u"YPixelsPerMeter", ImageProperty::ofInteger(*bigEndian32(payload, 4)));
    } else if (chunk.type == "sRGB" && payload.size() >= 1) {
        png.set(u"sRGBIntent", ImageProperty::ofInteger(payload[0]));
    } else if (chunk.type == "acTL" && payload.size() >= 8) {
        png.set(u"LoopCount", ImageProperty::ofInteger(*bigEndian32(payload, 4)));
    }
}

}  // namespace

bool walkPngChunks(ByteView data, const std::function<bool(const PngChunk&)>& visit) {
    if (!startsWith(data, 0, pngSignature)) return false;
    for (std::size_t pos = 8; pos + 12 <= data.size();) {
        const std::size_t length = *bigEndian32(data, pos);
        if (length > data.size() - pos - 12) return false;
        const PngChunk chunk{pos, std::string_view(reinterpret_cast<const char*>(data.data() + pos + 4), 4),
                             data.subspan(pos + 8, length)};
        if (!visit(chunk)) return false;
        if (chunk.type == "IEND") return true;
        pos += 12 + length;
    }
    return false;
}

std::size_t apngFrameCount(ByteView data) {
    bool animated = false;
    std::size_t frames = 0;
    walkPngChunks(data, [&](const PngChunk& chunk) {
        animated = animated || chunk.type == "acTL";
        frames += chunk.type == "fcTL" && chunk.payload.size() >= 26 ? 1 : 0;
        return true;
    });
    return animated && frames > 0 ? frames : 1;
}

std::string inflateBounded(ByteView compressed, std::size_t limit) {
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK) return {};
    std::string output;
    std::array<char, 16384> buffer{};
    std::size_t offset = 0;
    while (output.size() < limit) {
        if (stream.avail_in == 0 && offset < compressed.size()) {
            const auto piece = std::min<std::size_t>(compressed.size() - offset, std::numeric_limits<uInt>::max());
            stream.next_in = const_cast<Bytef*>(compressed.data() + offset);
            stream.avail_in = static_cast<uInt>(piece);
            offset += piece;
        }
        stream.next_out = reinterpret_cast<Bytef*>(buffer.data());
        stream.avail_out = static_cast<uInt>(std::min(buffer.size(), limit - output.size()));
        const int status = inflate(&stream, Z_NO_FLUSH);
        output.append(buffer.data(),
                      static_cast<std::size_t>(stream.next_out - reinterpret_cast<Bytef*>(buffer.data())));
        // Anything but progress ends it: the stream's end, damage, or input that ran out.
        if (status != Z_OK) break;
    }
    inflateEnd(&stream);
    return output;
}

// The text chunks and the header chunks go to the first frame's {PNG} group, the delays of the
// frame control chunks to their frames. A PNG without an animation control chunk is one frame
// whatever frame chunks it holds.
ContainerProperties pngContainerProperties(ByteView data) {
    ContainerProperties properties;
    properties.frames.emplace_back();
    bool animated = false;
    bool startsWithHeader = false;
    std::optional<double> firstDelay;
    walkPngChunks(data, [&](const PngChunk& chunk) {
        auto& png = properties.frames.front().group(u"{PNG}");
        if (chunk.offset == 8) {
            startsWithHeader = chunk.type == "IHDR";
            if (!startsWithHeader) return false;
            if (chunk.payload.size() >= 8) {
                properties.pixelWidth = *bigEndian32(chunk.payload, 0);
                properties.pixelHeight = *bigEndian32(chunk.payload, 4);
            }
        }
        if (chunk.type == "tEXt" || chunk.type == "zTXt" || chunk.type == "iTXt") {
            auto [keyword, text] = readTextChunk(chunk);
            png.appendText(keyword, std::move(text));
        } else if (chunk.type == "fcTL" && chunk.payload.size() >= 26) {
            const double delay = delaySeconds(*bigEndian16(chunk.payload, 20), *bigEndian16(chunk.payload, 22));
            if (!firstDelay) {
                firstDelay = delay;
            } else if (!properties.mayAddFrame()) {
                return false;
            } else if (auto* frame = properties.addFrame(delay)) {
                frame->group(u"{PNG}").set(u"DelayTime", ImageProperty::ofReal(delay));
            }
        } else {
            animated = animated || chunk.type == "acTL";
            addHeaderProperties(png, chunk);
        }
        return true;
    });
    if (!startsWithHeader) throw FileSanitizerError(FileSanitizerError::Case::unreadableFile);
    if (!animated || !firstDelay) {
        properties.frames.resize(1);
        properties.frameCount = 1;
        properties.unlistedSeconds = 0;
        return properties;
    }
    properties.frames.front().group(u"{PNG}").set(u"DelayTime", ImageProperty::ofReal(*firstDelay));
    return properties;
}

}  // namespace velquor::files
