#include "core/files/image/TiffStructure.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/MetadataText.h"
#include "core/files/image/ImageContainer.h"

#include <exiv2/exiv2.hpp>

#include <algorithm>
#include <set>

namespace velquor::files {

namespace {

constexpr std::uint16_t imageWidthTag = 256;
constexpr std::uint16_t imageLengthTag = 257;
constexpr std::uint16_t asciiType = 2;

std::optional<TiffDirectory> readDirectory(ByteView data, const TiffLayout& layout, std::size_t offset) {
    if (!fitsIn(data, offset, 2)) return std::nullopt;
    const std::size_t count = layout.read16(data, offset);
    if (!fitsIn(data, offset + 2, count * 12 + 4)) return std::nullopt;
    TiffDirectory directory;
    directory.entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = offset + 2 + i * 12;
        TiffEntry entry{layout.read16(data, at), layout.read16(data, at + 2), layout.read32(data, at + 4),
                        std::nullopt};
        const std::uint64_t size = std::uint64_t{entry.count} * tiffTypeSize(entry.type);
        if (tiffTypeSize(entry.type) != 0 && size <= data.size()) {
            const std::size_t valueOffset = size <= 4 ? at + 8 : layout.read32(data, at + 8);
            if (fitsIn(data, valueOffset, static_cast<std::size_t>(size))) {
                entry.value = data.subspan(valueOffset, static_cast<std::size_t>(size));
            }
        }
        directory.entries.push_back(entry);
    }
    return directory;
}

// Text fields of later pages, which Exiv2 does not read: they may say as much as the first's.
void addLaterPageText(ImageProperty& frame, const TiffDirectory& page) {
    for (const auto& entry : page.entries) {
        if (entry.type != asciiType || !entry.value) continue;
        const std::string name = Exiv2::ExifKey(entry.tag, "Image").tagName();
        const std::string_view text(reinterpret_cast<const char*>(entry.value->data()), entry.value->size());
        frame.group(u"{TIFF}").set(metadataText(name), ImageProperty::ofText(metadataText(text)));
    }
}

}  // namespace

const TiffEntry* TiffDirectory::find(std::uint16_t tag) const {
    const auto entry = std::find_if(entries.begin(), entries.end(), [tag](const auto& e) { return e.tag == tag; });
    return entry == entries.end() ? nullptr : &*entry;
}

std::uint16_t TiffLayout::read16(ByteView bytes, std::size_t offset) const {
    return littleEndian ? *littleEndian16(bytes, offset) : *bigEndian16(bytes, offset);
}

std::uint32_t TiffLayout::read32(ByteView bytes, std::size_t offset) const {
    return littleEndian ? *littleEndian32(bytes, offset) : *bigEndian32(bytes, offset);
}

std::optional<std::vector<std::uint32_t>> TiffLayout::unsignedValues(const TiffEntry& entry) const {
    if (!entry.value || (entry.type != 3 && entry.type != 4)) return std::nullopt;
    std::vector<std::uint32_t> values;
    values.reserve(entry.count);
    for (std::uint32_t i = 0; i < entry.count; ++i) {
        values.push_back(entry.type == 3 ? read16(*entry.value, i * 2) : read32(*entry.value, i * 4));
    }
    return values;
}

std::size_t tiffTypeSize(std::uint16_t type) {
    switch (type) {
        case 1:
        case 2:
        case 6:
        case 7:
            return 1;
        case 3:
        case 8:
            return 2;
        case 4:
        case 9:
        case 11:
        case 13:
            return 4;
        case 5:
        case 10:
        case 12:
            return 8;
        default:
            return 0;
    }
}

std::optional<TiffLayout> readTiffLayout(ByteView data) {
    TiffLayout layout;
    if (startsWith(data, 0, std::string_view("II*\0", 4))) {
        layout.littleEndian = true;
    } else if (startsWith(data, 0, std::string_view("MM\0*", 4))) {
        layout.littleEndian = false;
    } else {
        return std::nullopt;
    }
    std::set<std::size_t> visited;
    for (std::size_t offset = layout.read32(data, 4); offset != 0;) {
        if (layout.pages.size() >= maximumTiffPages || !visited.insert(offset).second) break;
        auto directory = readDirectory(data, layout, offset);
        if (!directory) {
            layout.complete = false;
            break;
        }
        const std::size_t nextAt = offset + 2 + directory->entries.size() * 12;
        layout.pages.push_back(std::move(*directory));
        offset = layout.read32(data, nextAt);
    }
    return layout;
}

ContainerProperties tiffContainerProperties(ByteView data) {
    const auto layout = readTiffLayout(data);
    if (!layout || layout->pages.empty()) throw FileSanitizerError(FileSanitizerError::Case::unreadableFile);
    ContainerProperties properties;
    // Every page is listed, however many (their number is capped): each may carry its own texts.
    properties.frames.resize(layout->pages.size());
    properties.frameCount = layout->pages.size();
    const auto dimension = [&](std::size_t page, std::uint16_t tag) -> std::uint32_t {
        const auto* entry = layout->pages[page].find(tag);
        const auto values = entry ? layout->unsignedValues(*entry) : std::nullopt;
        return values && !values->empty() ? values->front() : 0;
    };
    properties.pixelWidth = dimension(0, imageWidthTag);
    properties.pixelHeight = dimension(0, imageLengthTag);
    for (std::size_t page = 1; page < layout->pages.size(); ++page) {
        auto& frame = properties.frames[page];
        frame.set(u"PixelWidth", ImageProperty::ofInteger(dimension(page, imageWidthTag)));
        frame.set(u"PixelHeight", ImageProperty::ofInteger(dimension(page, imageLengthTag)));
        addLaterPageText(frame, layout->pages[page]);
    }
    return properties;
}

}  // namespace velquor::files
