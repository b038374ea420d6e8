#include "core/files/image/ImagePrivacyCopy.h"

#include "core/files/FileSanitizerError.h"

namespace velquor::files {

void throwExportFailed() { throw FileSanitizerError(FileSanitizerError::Case::exportFailed); }

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

namespace {

bool isIsoMedia(std::optional<ImageFormat> format) {
    return format == ImageFormat::heic || format == ImageFormat::heif || format == ImageFormat::avif;
}

}  // namespace

std::vector<std::uint8_t> privacyCopyBytes(ImageFormat format, ByteView source,
                                           std::optional<std::uint16_t> orientation) {
    // A writer only ever sees the format it was made for.
    const auto sniffed = sniffImageFormat(source);
    if (sniffed != format && !(isIsoMedia(sniffed) && isIsoMedia(format))) throwExportFailed();
    switch (format) {
        case ImageFormat::jpeg:
            return jpegPrivacyCopy(source, orientation);
        case ImageFormat::png:
            return pngPrivacyCopy(source, orientation);
        case ImageFormat::gif:
            return gifPrivacyCopy(source);
        case ImageFormat::webp:
            return webpPrivacyCopy(source, orientation);
        case ImageFormat::tiff:
            return tiffPrivacyCopy(source);
        case ImageFormat::heic:
        case ImageFormat::heif:
        case ImageFormat::avif:
            return isoMediaPrivacyCopy(source);
    }
    throwExportFailed();
}

}  // namespace velquor::files
