#include "core/files/image/ImagePrivacyCopy.h"

#include <algorithm>
#include <map>
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
    if (size > 8 || pos + size > end) throwExportFailed();
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < size; ++i) value = (value << 8) | data[pos + i];
    pos += size;
    return value;
}

enum class MetadataItem { exif, xmp };

// Item ids of the Exif items and the XMP items (MIME type application/rdf+xml) in 'iinf'.
std::map<std::uint32_t, MetadataItem> metadataItems(ByteView data, const Box& iinf) {
    std::map<std::uint32_t, MetadataItem> items;
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
        if (type == "Exif") items[id] = MetadataItem::exif;
        if (type == "mime" && contentType.substr(0, contentType.find('\0')) == "application/rdf+xml") {
            items[id] = MetadataItem::xmp;
        }
    }
    return items;
}

struct ItemRange {
    MetadataItem kind;
    std::uint32_t id;
    std::size_t offset;
    std::size_t length;
};

// The file ranges of the metadata items, from 'iloc': extents in the file or in 'idat'.
std::vector<ItemRange> metadataRanges(ByteView data, const Box& iloc, const Box* idat,
                                      const std::map<std::uint32_t, MetadataItem>& items) {
    std::vector<ItemRange> ranges;
    std::size_t pos = iloc.contentOffset;
    const std::size_t end = iloc.end;
    if (pos + 6 > end) throwExportFailed();
    const std::uint8_t version = data[pos];
    if (version > 2) throwExportFailed();
    const std::size_t offsetSize = data[pos + 4] >> 4, lengthSize = data[pos + 4] & 0x0F;
    const std::size_t baseOffsetSize = data[pos + 5] >> 4, indexSize = version > 0 ? data[pos + 5] & 0x0F : 0;
    for (const std::size_t size : {offsetSize, lengthSize, baseOffsetSize, indexSize}) {
        if (size != 0 && size != 4 && size != 8) throwExportFailed();
    }
    pos += 6;
    const std::uint64_t itemCount = readSized(data, pos, version < 2 ? 2 : 4, end);
    for (std::uint64_t item = 0; item < itemCount; ++item) {
        const auto id = static_cast<std::uint32_t>(readSized(data, pos, version < 2 ? 2 : 4, end));
        const std::uint64_t method = version > 0 ? readSized(data, pos, 2, end) & 0x0F : 0;
        readSized(data, pos, 2, end);  // data reference index
        const std::uint64_t base = readSized(data, pos, baseOffsetSize, end);
        const std::uint64_t extents = readSized(data, pos, 2, end);
        const auto kind = items.find(id);
        for (std::uint64_t e = 0; e < extents; ++e) {
            readSized(data, pos, indexSize, end);
            const std::uint64_t offset = base + readSized(data, pos, offsetSize, end);
            const std::uint64_t length = readSized(data, pos, lengthSize, end);
            if (kind == items.end()) continue;
            // An extent "to the end of the file", or one built from other items, is not blanked blindly.
            if (length == 0 || method > 1 || (method == 1 && idat == nullptr)) throwExportFailed();
            const std::uint64_t origin = method == 1 ? idat->contentOffset : 0;
            const std::uint64_t limit = method == 1 ? idat->end : data.size();
            const std::uint64_t room = limit - origin;
            if (offset > room || length > room - offset) throwExportFailed();
            ranges.push_back(
                {kind->second, id, static_cast<std::size_t>(origin + offset), static_cast<std::size_t>(length)});
        }
    }
    return ranges;
}

// What an emptied item holds: Exif with no entries, or an XMP packet with no properties, both
// padded to the item's size; an item too small for that is all zeros or spaces.
std::vector<std::uint8_t> blankItem(MetadataItem kind, std::size_t size) {
    std::vector<std::uint8_t> blank;
    if (kind == MetadataItem::exif) {
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

}  // namespace

std::vector<std::uint8_t> isoMediaPrivacyCopy(ByteView source) {
    std::vector<std::uint8_t> copy(source.begin(), source.end());
    const auto top = readBoxes(source, 0, source.size());
    const Box* meta = findBox(top, "meta");
    if (meta == nullptr) return copy;
    const auto children = readBoxes(source, meta->contentOffset + 4, meta->end);
    const Box* iinf = findBox(children, "iinf");
    const Box* iloc = findBox(children, "iloc");
    if (iinf == nullptr || iloc == nullptr) return copy;
    const auto items = metadataItems(source, *iinf);
    if (items.empty()) return copy;

    // An item may be split over several extents: the blank item is laid over them in order.
    std::map<std::uint32_t, std::vector<ItemRange>> extentsByItem;
    for (const auto& range : metadataRanges(source, *iloc, findBox(children, "idat"), items)) {
        extentsByItem[range.id].push_back(range);
    }
    for (const auto& [id, extents] : extentsByItem) {
        std::size_t total = 0;
        for (const auto& extent : extents) total += extent.length;
        const auto blank = blankItem(extents.front().kind, total);
        std::size_t at = 0;
        for (const auto& extent : extents) {
            std::copy_n(blank.begin() + static_cast<std::ptrdiff_t>(at), extent.length,
                        copy.begin() + static_cast<std::ptrdiff_t>(extent.offset));
            at += extent.length;
        }
    }
    return copy;
}

}  // namespace velquor::files
