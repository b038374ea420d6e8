#include "core/files/image/IsoMediaItems.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImageContainer.h"

#include <algorithm>
#include <map>
#include <optional>
#include <string_view>

namespace velquor::files {

namespace {

struct Box {
    std::string_view type;
    std::size_t contentOffset;  // after the size, the type and a 64-bit size when there is one
    std::size_t end;
};

// The boxes between `begin` and `end`; the walk stops at a box whose size does not fit.
std::vector<Box> readBoxes(ByteView data, std::size_t begin, std::size_t end) {
    std::vector<Box> boxes;
    for (std::size_t pos = begin; pos + 8 <= end;) {
        std::uint64_t size = *bigEndian32(data, pos);
        std::size_t header = 8;
        if (size == 1) {
            const auto high = bigEndian32(data, pos + 8);
            const auto low = bigEndian32(data, pos + 12);
            if (!high || !low) break;
            size = (std::uint64_t{*high} << 32) | *low;
            header = 16;
        } else if (size == 0) {
            size = end - pos;
        }
        if (size < header || size > end - pos) break;
        boxes.push_back({std::string_view(reinterpret_cast<const char*>(data.data() + pos + 4), 4), pos + header,
                         pos + static_cast<std::size_t>(size)});
        pos += static_cast<std::size_t>(size);
    }
    return boxes;
}

const Box* findBox(const std::vector<Box>& boxes, std::string_view type) {
    const auto box = std::find_if(boxes.begin(), boxes.end(), [&](const Box& b) { return b.type == type; });
    return box == boxes.end() ? nullptr : &*box;
}

// A big-endian unsigned integer of `size` bytes (at most 8) read at `pos`, which moves past it.
std::uint64_t readSized(ByteView data, std::size_t& pos, std::size_t size, std::size_t end) {
    if (size > 8 || pos > end || size > end - pos) throwUnreadableFile();
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value = (value << 8) | data[pos + i];
    pos += size;
    return value;
}

// The same where a damaged field only means the value is unknown.
std::optional<std::uint64_t> readSizedIfThere(ByteView data, std::size_t& pos, std::size_t size, std::size_t end) {
    if (size > 8 || pos > end || size > end - pos) return std::nullopt;
    return readSized(data, pos, size, end);
}

// Item ids of the Exif items and the XMP items in 'iinf' (item info entries of version 2 or 3).
std::map<std::uint32_t, IsoMetadataKind> metadataItemKinds(ByteView data, const Box& iinf) {
    std::map<std::uint32_t, IsoMetadataKind> items;
    if (iinf.contentOffset + 4 > iinf.end) return items;
    const std::size_t first = iinf.contentOffset + 4 + (data[iinf.contentOffset] == 0 ? 2 : 4);
    for (const auto& infe : readBoxes(data, first, iinf.end)) {
        if (infe.type != "infe" || infe.contentOffset + 4 > infe.end) continue;
        const std::uint8_t version = data[infe.contentOffset];
        if (version < 2) continue;
        std::size_t pos = infe.contentOffset + 4;
        const std::uint32_t id = version == 2 ? bigEndian16(data, pos).value_or(0) : bigEndian32(data, pos).value_or(0);
        pos += (version == 2 ? 2 : 4) + 2;
        if (pos + 4 > infe.end) continue;
        const std::string_view type(reinterpret_cast<const char*>(data.data() + pos), 4);
        const std::string_view rest(reinterpret_cast<const char*>(data.data() + pos + 4), infe.end - pos - 4);
        const auto nameEnd = rest.find('\0');
        const auto contentType = nameEnd == std::string_view::npos ? std::string_view() : rest.substr(nameEnd + 1);
        if (type == "Exif") items[id] = IsoMetadataKind::exif;
        if (type == "mime" && contentType.substr(0, contentType.find('\0')) == "application/rdf+xml") {
            items[id] = IsoMetadataKind::xmp;
        }
    }
    return items;
}

// The extents of the metadata items, from 'iloc': in the file, or in 'idat'.
std::vector<IsoMetadataItem> metadataExtents(ByteView data, const Box& iloc, const Box* idat,
                                             const std::map<std::uint32_t, IsoMetadataKind>& kinds) {
    std::vector<IsoMetadataItem> items;
    std::size_t pos = iloc.contentOffset;
    const std::size_t end = iloc.end;
    if (pos + 6 > end) throwUnreadableFile();
    const std::uint8_t version = data[pos];
    if (version > 2) throwUnreadableFile();
    const std::size_t offsetSize = data[pos + 4] >> 4, lengthSize = data[pos + 4] & 0x0F;
    const std::size_t baseOffsetSize = data[pos + 5] >> 4, indexSize = version > 0 ? data[pos + 5] & 0x0F : 0;
    for (const std::size_t size : {offsetSize, lengthSize, baseOffsetSize, indexSize}) {
        if (size != 0 && size != 4 && size != 8) throwUnreadableFile();
    }
    pos += 6;
    const std::uint64_t itemCount = readSized(data, pos, version < 2 ? 2 : 4, end);
    for (std::uint64_t item = 0; item < itemCount; ++item) {
        const auto id = static_cast<std::uint32_t>(readSized(data, pos, version < 2 ? 2 : 4, end));
        const std::uint64_t method = version > 0 ? readSized(data, pos, 2, end) & 0x0F : 0;
        readSized(data, pos, 2, end);  // data reference index
        const std::uint64_t base = readSized(data, pos, baseOffsetSize, end);
        const std::uint64_t extentCount = readSized(data, pos, 2, end);
        const auto kind = kinds.find(id);
        if (kind != kinds.end()) items.push_back({kind->second, id, {}});
        for (std::uint64_t e = 0; e < extentCount; ++e) {
            readSized(data, pos, indexSize, end);
            const std::uint64_t offset = readSized(data, pos, offsetSize, end);
            const std::uint64_t length = readSized(data, pos, lengthSize, end);
            if (kind == kinds.end()) continue;
            // An extent "to the end of the file", or one built from other items, cannot be located safely.
            if (length == 0 || method > 1 || (method == 1 && idat == nullptr)) throwUnreadableFile();
            const std::uint64_t origin = method == 1 ? idat->contentOffset : 0;
            const std::uint64_t room = (method == 1 ? idat->end : data.size()) - origin;
            if (base > room || offset > room - base || length > room - base - offset) throwUnreadableFile();
            items.back().extents.push_back(
                {static_cast<std::size_t>(origin + base + offset), static_cast<std::size_t>(length)});
        }
    }
    return items;
}

std::optional<std::uint32_t> primaryItem(ByteView data, const std::vector<Box>& metaChildren) {
    const Box* pitm = findBox(metaChildren, "pitm");
    if (pitm == nullptr || pitm->contentOffset + 4 > pitm->end) return std::nullopt;
    std::size_t pos = pitm->contentOffset + 4;
    const auto id = readSizedIfThere(data, pos, data[pitm->contentOffset] == 0 ? 2 : 4, pitm->end);
    if (!id) return std::nullopt;
    return static_cast<std::uint32_t>(*id);
}

// The one-based indices into 'ipco' of the properties 'ipma' associates with the item.
std::vector<std::size_t> associatedProperties(ByteView data, const Box& ipma, std::uint32_t item) {
    std::size_t pos = ipma.contentOffset;
    const auto header = readSizedIfThere(data, pos, 4, ipma.end);
    const auto entryCount = readSizedIfThere(data, pos, 4, ipma.end);
    if (!header || !entryCount) return {};
    const bool wideIds = (*header >> 24) >= 1, wideIndices = (*header & 1) != 0;
    for (std::uint64_t entry = 0; entry < *entryCount; ++entry) {
        const auto id = readSizedIfThere(data, pos, wideIds ? 4 : 2, ipma.end);
        const auto count = readSizedIfThere(data, pos, 1, ipma.end);
        if (!id || !count) return {};
        std::vector<std::size_t> indices;
        for (std::uint64_t i = 0; i < *count; ++i) {
            const auto association = readSizedIfThere(data, pos, wideIndices ? 2 : 1, ipma.end);
            if (!association) return {};
            indices.push_back(static_cast<std::size_t>(*association & (wideIndices ? 0x7FFF : 0x7F)));
        }
        if (*id == item) return indices;
    }
    return {};
}

// The primary item's 'ispe': the size of the picture as shown, also when it is a grid of tiles.
void readPrimarySize(ByteView data, const std::vector<Box>& metaChildren, IsoMediaItems& items) {
    const auto primary = primaryItem(data, metaChildren);
    const Box* iprp = findBox(metaChildren, "iprp");
    if (!primary || iprp == nullptr) return;
    const auto iprpChildren = readBoxes(data, iprp->contentOffset, iprp->end);
    const Box* ipco = findBox(iprpChildren, "ipco");
    const Box* ipma = findBox(iprpChildren, "ipma");
    if (ipco == nullptr || ipma == nullptr) return;
    const auto properties = readBoxes(data, ipco->contentOffset, ipco->end);
    for (const auto index : associatedProperties(data, *ipma, *primary)) {
        if (index == 0 || index > properties.size() || properties[index - 1].type != "ispe") continue;
        const auto& ispe = properties[index - 1];
        std::size_t pos = ispe.contentOffset + 4;
        const auto width = readSizedIfThere(data, pos, 4, ispe.end);
        const auto height = readSizedIfThere(data, pos, 4, ispe.end);
        if (!width || !height) return;
        items.pixelWidth = static_cast<std::uint32_t>(*width);
        items.pixelHeight = static_cast<std::uint32_t>(*height);
        return;
    }
}

// The TIFF block of an Exif item: after a four-byte offset to its header, which may skip an
// "Exif\0\0" prefix.
std::optional<std::vector<std::uint8_t>> exifTiffBlock(ByteView item) {
    const auto offset = bigEndian32(item, 0);
    if (!offset || *offset > item.size() - 4) return std::nullopt;
    const auto tiff = item.subspan(4 + *offset);
    return std::vector<std::uint8_t>(tiff.begin(), tiff.end());
}

}  // namespace

IsoMediaItems readIsoMediaItems(ByteView data) {
    IsoMediaItems items;
    const auto top = readBoxes(data, 0, data.size());
    const Box* meta = findBox(top, "meta");
    if (meta == nullptr || meta->contentOffset + 4 > meta->end) return items;
    const auto children = readBoxes(data, meta->contentOffset + 4, meta->end);
    readPrimarySize(data, children, items);
    const Box* iinf = findBox(children, "iinf");
    const Box* iloc = findBox(children, "iloc");
    if (iinf == nullptr || iloc == nullptr) return items;
    const auto kinds = metadataItemKinds(data, *iinf);
    if (!kinds.empty()) items.metadata = metadataExtents(data, *iloc, findBox(children, "idat"), kinds);
    return items;
}

std::vector<std::uint8_t> isoItemBytes(ByteView data, const IsoMetadataItem& item) {
    std::vector<std::uint8_t> bytes;
    for (const auto& extent : item.extents) appendBytes(bytes, data.subspan(extent.offset, extent.length));
    return bytes;
}

std::vector<std::uint8_t> blankIsoItem(IsoMetadataKind kind, std::size_t size) {
    std::vector<std::uint8_t> blank;
    if (kind == IsoMetadataKind::exif) {
        static constexpr std::string_view emptyExif("\0\0\0\0MM\0*\0\0\0\x08\0\0\0\0\0\0", 18);
        if (size >= emptyExif.size()) appendBytes(blank, emptyExif);
        blank.resize(size, 0);
        return blank;
    }
    static constexpr std::string_view emptyPacket =
        "<?xpacket begin=\"\" id=\"W5M0MpCehiHzreSzNTczkc9d\"?><x:xmpmeta xmlns:x=\"adobe:ns:meta/\"/>";
    static constexpr std::string_view packetEnd = "<?xpacket end=\"w\"?>";
    if (size >= emptyPacket.size() + packetEnd.size()) {
        appendBytes(blank, emptyPacket);
        blank.resize(size - packetEnd.size(), ' ');
        appendBytes(blank, packetEnd);
    }
    blank.resize(size, ' ');
    return blank;
}

// Exiv2 0.27 misses the Exif of a file whose primary item is derived (a grid of tiles, as phone
// cameras store photos), so the walker finds the items and hands Exiv2 only their payloads. An
// item that holds just what a privacy copy leaves there says nothing.
ContainerProperties isoMediaContainerProperties(ByteView data) {
    ContainerProperties container;
    container.frames.emplace_back();
    IsoMediaItems items;
    try {
        items = readIsoMediaItems(data);
    } catch (const FileSanitizerError&) {
        container.metadataReadable = false;
        return container;
    }
    container.pixelWidth = items.pixelWidth;
    container.pixelHeight = items.pixelHeight;
    for (const auto& item : items.metadata) {
        const auto bytes = isoItemBytes(data, item);
        if (bytes == blankIsoItem(item.kind, bytes.size())) continue;
        if (item.kind == IsoMetadataKind::xmp) {
            container.xmpPackets.emplace_back(bytes.begin(), bytes.end());
        } else if (auto tiff = exifTiffBlock(bytes)) {
            container.exifBlocks.push_back(std::move(*tiff));
        } else {
            container.metadataReadable = false;
        }
    }
    return container;
}

}  // namespace velquor::files
