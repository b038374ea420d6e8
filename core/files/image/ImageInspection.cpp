#include "core/files/image/ImageInspection.h"

#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/image/ExivMetadata.h"
#include "core/files/image/ImageContainer.h"
#include "core/files/image/JpegSegments.h"
#include "core/files/image/PropertyFlattening.h"
#include "core/files/image/ProvenanceScan.h"

#include "core/text/base/TextConversions.h"

#include <array>
#include <charconv>
#include <cmath>
#include <string>

namespace velquor::files {

namespace {

bool isApplicationOrComment(std::uint8_t marker) { return (marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE; }

bool isIccProfile(std::uint8_t marker, ByteView payload) {
    return marker == 0xE2 && startsWith(payload, 0, std::string_view("ICC_PROFILE\0", 12));
}

// Adds the walker's groups to what Exiv2 read: members of a group the map already has join it.
void merge(ImageProperty& into, ImageProperty&& from) {
    for (auto& member : from.members) {
        const auto* existing = into.find(member.key);
        if (member.value.kind == ImageProperty::Kind::map &&
            (!existing || existing->kind == ImageProperty::Kind::map)) {
            auto& group = into.group(member.key);
            for (auto& inner : member.value.members) group.set(inner.key, std::move(inner.value));
        } else {
            into.set(member.key, std::move(member.value));
        }
    }
}

// Shortest form of the seconds rounded to hundredths, the precision GIF delays have.
std::u16string secondsText(double seconds) {
    std::array<char, 64> buffer{};
    const double rounded = std::round(seconds * 100) / 100;
    const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded).ptr;
    return text::widenedAscii({buffer.data(), static_cast<std::size_t>(end - buffer.data())}) + u" seconds";
}

// The listed frames' own properties; then, for a long animation, one entry for the frames past
// them, the frame count, and whether the walk stopped at its cap.
std::vector<FileMetadataEntry> flattenFrames(const ContainerProperties& container) {
    std::vector<FileMetadataEntry> entries;
    std::vector<std::u16string> path;
    const auto& frames = container.frames;
    const bool animated = container.frameCount > 1;
    for (std::size_t i = 0; i < frames.size(); ++i) {
        path.clear();
        if (animated) path.push_back(u"Frame " + text::decimalText(i + 1));
        flattenProperties(frames[i], path, entries);
    }
    if (container.frameCount > frames.size()) {
        const auto later = container.frameCount - frames.size();
        entries.push_back({u"later-frames", u"File", u"Later frames",
                           text::decimalText(later) + (later == 1 ? u" frame, " : u" frames, ") +
                               secondsText(container.unlistedSeconds)});
    }
    if (animated) entries.push_back({u"frame-count", u"File", u"Frames", text::decimalText(container.frameCount)});
    if (container.frameWalkStopped) {
        entries.push_back({u"frame-walk-limit", u"File", u"Frames read",
                           u"Only the first " + text::decimalText(walkedFrameLimit) + u" frames were read"});
    }
    return entries;
}

}  // namespace

bool hasEmbeddedJpegPreview(ByteView data) {
    bool found = false;
    walkJpegHeaderSegments(data, [&](const JpegSegment& segment) {
        const auto payload = data.subspan(segment.payloadOffset, segment.payloadLength);
        if (!isApplicationOrComment(segment.marker) || isIccProfile(segment.marker, payload)) return true;
        for (std::size_t i = 0; i + 1 < payload.size() && !found; ++i)
            found = payload[i] == 0xFF && payload[i + 1] == 0xD8;
        return !found;
    });
    return found;
}

ImageInspection inspectImageData(ByteView data, std::u16string fileName) {
    const auto format = sniffImageFormat(data);
    if (!format) throwUnreadableFile();
    auto container = readContainerProperties(*format, data);
    auto metadata = imageFormatRow(*format).readByExiv2 ? readExivMetadata(data) : ExivMetadata();
    for (const auto& block : container.exifBlocks) addExifBlock(metadata, block);
    if (!container.metadataReadable) metadata.readable = false;
    const std::uint32_t width = container.pixelWidth > 0 ? container.pixelWidth : metadata.pixelWidth;
    const std::uint32_t height = container.pixelHeight > 0 ? container.pixelHeight : metadata.pixelHeight;

    auto& frames = container.frames;
    merge(metadata.properties, std::move(frames.front()));
    frames.front() = std::move(metadata.properties);
    for (const auto& packet : container.xmpPackets) addXmpPacket(frames.front(), packet);
    if (width > 0) frames.front().set(u"PixelWidth", ImageProperty::ofInteger(width));
    if (height > 0) frames.front().set(u"PixelHeight", ImageProperty::ofInteger(height));

    auto entries = flattenFrames(container);
    if (hasEmbeddedJpegPreview(data)) {
        entries.push_back({u"embedded-thumbnail", u"Preview", u"Embedded thumbnail", u"Embedded JPEG preview"});
    }
    // Metadata that could not be read may be anything: the report must not pass for clean.
    if (!metadata.readable) {
        entries.push_back({std::u16string(unreadableMetadataEntryId), u"Description", u"Unreadable metadata",
                           u"Exif, IPTC or XMP data that could not be read"});
    }
    auto pixelSize = width > 0 && height > 0
                         ? std::optional(text::decimalText(width) + u" x " + text::decimalText(height))
                         : std::nullopt;
    auto report =
        buildFileReport(std::move(fileName), {.typeDescription = std::u16string(uniformType(*format).description),
                                              .byteCount = static_cast<std::int64_t>(data.size()),
                                              .entries = std::move(entries),
                                              .pixelSize = std::move(pixelSize),
                                              .provenanceEvidence = scanProvenance(data)});
    return {*format, container.frameCount, container.frameWalkStopped, metadata.orientation, std::move(report)};
}

}  // namespace velquor::files
