#pragma once

#include "core/files/FileBytes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace velquor::files {

struct TiffEntry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    std::optional<ByteView> value;  // in the file's byte order; nothing when it does not fit or the type is unknown
};

struct TiffDirectory {
    std::vector<TiffEntry> entries;

    const TiffEntry* find(std::uint16_t tag) const;
};

// The pages of a classic TIFF (the main chain of image file directories), never following a
// directory twice and never more than a fixed number of pages. `complete` is false when a
// directory does not fit in the data.
struct TiffLayout {
    bool littleEndian = true;
    std::vector<TiffDirectory> pages;
    bool complete = true;

    std::uint16_t read16(ByteView bytes, std::size_t offset) const;
    std::uint32_t read32(ByteView bytes, std::size_t offset) const;

    // The unsigned values of a SHORT or LONG entry; nothing for other types or a missing value.
    std::optional<std::vector<std::uint32_t>> unsignedValues(const TiffEntry& entry) const;
};

// Nothing when the data does not start with a classic TIFF header (BigTIFF included).
std::optional<TiffLayout> readTiffLayout(ByteView data);

// Bytes per value of a TIFF field type; 0 for types this reader does not know.
std::size_t tiffTypeSize(std::uint16_t type);

inline constexpr std::size_t maximumTiffPages = 4096;

}  // namespace velquor::files
