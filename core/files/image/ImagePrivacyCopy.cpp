#include "core/files/image/ImagePrivacyCopy.h"

namespace velquor::files {

std::optional<std::vector<std::uint8_t>> orientationExif(std::optional<std::uint16_t> orientation) {
    if (!orientation || *orientation < 1 || *orientation > 8) return std::nullopt;
    std::vector<std::uint8_t> block;
    appendBytes(block, std::string_view("MM\0*", 4));
    appendBigEndian32(block, 8);       // IFD0 follows the header
    appendBigEndian16(block, 1);       // one entry
    appendBigEndian16(block, 0x0112);  // Orientation
    appendBigEndian16(block, 3);       // SHORT
    appendBigEndian32(block, 1);
    appendBigEndian16(block, *orientation);
    appendBigEndian16(block, 0);
    appendBigEndian32(block, 0);  // no further IFD
    return block;
}

std::vector<std::uint8_t> privacyCopyBytes(ImageFormat format, ByteView source,
                                           std::optional<std::uint16_t> orientation) {
    const auto& row = imageFormatRow(format);
    // A writer only ever sees data it was made for.
    const auto sniffed = sniffImageFormat(source);
    if (!sniffed || imageFormatRow(*sniffed).writePrivacyCopy != row.writePrivacyCopy) throwExportFailed();
    return row.writePrivacyCopy(source, orientation);
}

}  // namespace velquor::files
