#pragma once

#include "core/files/FileBytes.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace velquor::files {

// Where a value lies in a file: its offset and its length in bytes.
struct ByteRange {
    std::int64_t offset = 0;
    std::int64_t length = 0;

    friend bool operator==(const ByteRange&, const ByteRange&) = default;
};

// The values of the muxing-application and writing-application names in the segment information
// of a Matroska or WebM file, found in `head` (the first bytes of the file). Both elements must
// be there, so a copy keeps them and overwrites their values with zero bytes, which Matroska
// reads as an empty name. Nothing when the head does not hold a complete segment information.
std::optional<std::vector<ByteRange>> matroskaApplicationNames(ByteView head);

}  // namespace velquor::files
