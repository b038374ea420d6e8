#include "core/files/image/JpegSegments.h"

#include "core/files/MetadataText.h"
#include "core/files/image/ImageContainer.h"

#include <string_view>

namespace velquor::files {

void walkJpegHeaderSegments(ByteView data, const std::function<bool(const JpegSegment&)>& visit) {
    const std::size_t length = data.size();
    if (length < 2 || data[0] != 0xFF || data[1] != 0xD8) return;
    std::size_t pos = 2;
    for (;;) {
        if (length < pos + 4 || data[pos] != 0xFF) return;
        while (pos < length && data[pos] == 0xFF) ++pos;
        if (pos >= length) return;
        const std::uint8_t marker = data[pos];
        const std::size_t next = pos + 1;
        if (marker == 0x01 || (marker & 0xF8) == 0xD0) {  // no length: TEM and the restart markers
            pos = next;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return;
        if (length < pos + 3) return;
        const std::size_t segmentLength = *bigEndian16(data, next);
        if (segmentLength < 2 || segmentLength > length - next) return;
        if (!visit({marker, next + 2, segmentLength - 2})) return;
        pos = next + segmentLength;
    }
}

namespace {

// The JFIF header: version, density unit and densities; a thumbnail it may carry is not listed
// here (the embedded-preview scan finds previews).
void addJfifProperties(ImageProperty& frame, ByteView payload) {
    if (payload.size() < 12 || !startsWith(payload, 0, std::string_view("JFIF\0", 5))) return;
    auto& jfif = frame.group(u"{JFIF}");
    jfif.set(u"JFIFVersion",
             ImageProperty::ofArray({ImageProperty::ofInteger(payload[5]), ImageProperty::ofInteger(payload[6])}));
    jfif.set(u"DensityUnit", ImageProperty::ofInteger(payload[7]));
    jfif.set(u"XDensity", ImageProperty::ofInteger(*bigEndian16(payload, 8)));
    jfif.set(u"YDensity", ImageProperty::ofInteger(*bigEndian16(payload, 10)));
}

// Start-of-frame markers: every 0xCn but DHT (C4), JPG (C8) and DAC (CC).
bool isFrameHeader(std::uint8_t marker) {
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

}  // namespace

ContainerProperties jpegContainerProperties(ByteView data) {
    ContainerProperties properties;
    properties.frames.emplace_back();
    auto& frame = properties.frames.front();
    walkJpegHeaderSegments(data, [&](const JpegSegment& segment) {
        const auto payload = data.subspan(segment.payloadOffset, segment.payloadLength);
        if (segment.marker == 0xE0) addJfifProperties(frame, payload);
        if (isFrameHeader(segment.marker) && payload.size() >= 5) {
            properties.pixelHeight = *bigEndian16(payload, 1);
            properties.pixelWidth = *bigEndian16(payload, 3);
        }
        if (segment.marker == 0xFE) {
            const std::string_view text(reinterpret_cast<const char*>(payload.data()), payload.size());
            frame.group(u"{JPEG}").appendText(u"Comment", metadataText(text));
        }
        return true;
    });
    return properties;
}

}  // namespace velquor::files
