#include "core/files/image/ImagePrivacyCopy.h"

#include "core/files/image/TiffStructure.h"

#include <algorithm>
#include <array>
#include <limits>

namespace velquor::files {

namespace {

// What a page needs to be drawn as before: layout, compression, colour, resolution and the
// orientation. Names, dates, makers, software, descriptions, Exif, GPS, XMP, IPTC, Photoshop
// resources and sub-images (previews) are not among them.
constexpr std::array<std::uint16_t, 51> keptTags{254, 255, 256, 257, 258, 259, 262, 263, 264, 265, 266, 273,  274,
                                                 277, 278, 279, 280, 281, 282, 283, 284, 290, 291, 292, 293,  296,
                                                 297, 301, 317, 318, 319, 320, 321, 322, 323, 324, 325, 332,  334,
                                                 336, 338, 339, 340, 341, 342, 347, 529, 530, 531, 532, 34675};

constexpr std::uint16_t compressionTag = 259;
constexpr std::uint16_t oldStyleJpeg = 6;
constexpr std::uint16_t longType = 4;

bool isKept(std::uint16_t tag) { return std::find(keptTags.begin(), keptTags.end(), tag) != keptTags.end(); }

class TiffWriter {
public:
    TiffWriter(const TiffLayout& layout, std::size_t limit) : layout_(layout), limit_(limit) {}

    std::vector<std::uint8_t>& bytes() { return out_; }

    void put16(std::uint16_t value) {
        layout_.littleEndian ? appendLittleEndian16(out_, value) : appendBigEndian16(out_, value);
    }
    void put32(std::uint32_t value) {
        layout_.littleEndian ? appendLittleEndian32(out_, value) : appendBigEndian32(out_, value);
    }
    void patch32(std::size_t at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            const int shift = layout_.littleEndian ? 8 * i : 8 * (3 - i);
            out_[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> shift);
        }
    }
    // TIFF offsets are 32-bit and point at word boundaries.
    std::uint32_t alignedOffset() {
        if (out_.size() & 1) out_.push_back(0);
        if (out_.size() > limit_ || out_.size() > std::numeric_limits<std::uint32_t>::max()) throwExportFailed();
        return static_cast<std::uint32_t>(out_.size());
    }
    std::uint32_t appendBlock(ByteView block) {
        const auto offset = alignedOffset();
        if (block.size() > limit_ - out_.size()) throwExportFailed();
        appendBytes(out_, block);
        return offset;
    }

private:
    const TiffLayout& layout_;
    std::size_t limit_;
    std::vector<std::uint8_t> out_;
};

struct OutputEntry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::vector<std::uint8_t> value;  // in the file's byte order
};

// Copies the strips or tiles of a page and returns the entry that points at their new places.
OutputEntry copyImageData(const TiffLayout& layout, const TiffDirectory& page, ByteView source, TiffWriter& writer) {
    const bool tiled = page.find(324) != nullptr;
    const auto* offsetsEntry = page.find(tiled ? 324 : 273);
    const auto* countsEntry = page.find(tiled ? 325 : 279);
    if (offsetsEntry == nullptr || countsEntry == nullptr) throwExportFailed();
    const auto offsets = layout.unsignedValues(*offsetsEntry);
    const auto counts = layout.unsignedValues(*countsEntry);
    if (!offsets || !counts || offsets->size() != counts->size() || offsets->empty()) throwExportFailed();

    TiffWriter values(layout, std::numeric_limits<std::size_t>::max());
    for (std::size_t i = 0; i < offsets->size(); ++i) {
        if (!fitsIn(source, (*offsets)[i], (*counts)[i])) throwExportFailed();
        values.put32(writer.appendBlock(source.subspan((*offsets)[i], (*counts)[i])));
    }
    return {offsetsEntry->tag, longType, static_cast<std::uint32_t>(offsets->size()), std::move(values.bytes())};
}

std::vector<OutputEntry> keptEntries(const TiffDirectory& page, OutputEntry imageData) {
    std::vector<OutputEntry> entries;
    for (const auto& entry : page.entries) {
        if (!isKept(entry.tag) || entry.tag == imageData.tag) continue;
        if (!entry.value) throwExportFailed();
        if (std::any_of(entries.begin(), entries.end(), [&](const auto& e) { return e.tag == entry.tag; })) continue;
        entries.push_back({entry.tag, entry.type, entry.count, {entry.value->begin(), entry.value->end()}});
    }
    entries.push_back(std::move(imageData));
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.tag < b.tag; });
    return entries;
}

// Writes the directory after its out-of-line values; returns where its next-page pointer sits.
std::size_t writeDirectory(TiffWriter& writer, std::vector<OutputEntry>& entries, std::size_t previousPointer) {
    std::vector<std::uint32_t> valueOffsets;
    for (auto& entry : entries) valueOffsets.push_back(entry.value.size() > 4 ? writer.appendBlock(entry.value) : 0);
    const auto directoryOffset = writer.alignedOffset();
    writer.patch32(previousPointer, directoryOffset);
    writer.put16(static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& entry = entries[i];
        writer.put16(entry.tag);
        writer.put16(entry.type);
        writer.put32(entry.count);
        if (entry.value.size() > 4) {
            writer.put32(valueOffsets[i]);
        } else {
            auto inlineValue = entry.value;
            inlineValue.resize(4, 0);
            appendBytes(writer.bytes(), inlineValue);
        }
    }
    const std::size_t nextPointer = writer.bytes().size();
    writer.put32(0);
    return nextPointer;
}

}  // namespace

std::vector<std::uint8_t> tiffPrivacyCopy(ByteView source) {
    const auto layout = readTiffLayout(source);
    if (!layout || !layout->complete || layout->pages.empty()) throwExportFailed();
    // The copy only ever drops bytes; a file whose pages share data cannot double it much.
    TiffWriter writer(*layout, 2 * source.size() + 65536);
    appendBytes(writer.bytes(), source.first(4));
    writer.put32(0);
    std::size_t previousPointer = 4;
    for (const auto& page : layout->pages) {
        const auto* compression = page.find(compressionTag);
        const auto scheme = compression ? layout->unsignedValues(*compression) : std::nullopt;
        if (scheme && !scheme->empty() && scheme->front() == oldStyleJpeg) throwExportFailed();
        auto entries = keptEntries(page, copyImageData(*layout, page, source, writer));
        previousPointer = writeDirectory(writer, entries, previousPointer);
    }
    return std::move(writer.bytes());
}

}  // namespace velquor::files
