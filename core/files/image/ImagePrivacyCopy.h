#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImageFormat.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace velquor::files {

// The privacy copy of an image, built losslessly at the container level: the compressed image
// data stays byte for byte, and only what a keep-list names survives of the segments, chunks,
// blocks or tags around it; everything after the end of the image goes. The orientation, when
// the source had a valid one, is put back as a one-entry Exif block. Animations keep their
// frames, loop count and delays. Throws FileSanitizerError(exportFailed) when the container is
// too damaged to copy faithfully.
std::vector<std::uint8_t> privacyCopyBytes(ImageFormat format, ByteView source,
                                           std::optional<std::uint16_t> orientation);

std::vector<std::uint8_t> jpegPrivacyCopy(ByteView source, std::optional<std::uint16_t> orientation);
std::vector<std::uint8_t> pngPrivacyCopy(ByteView source, std::optional<std::uint16_t> orientation);
std::vector<std::uint8_t> gifPrivacyCopy(ByteView source);
std::vector<std::uint8_t> webpPrivacyCopy(ByteView source, std::optional<std::uint16_t> orientation);
std::vector<std::uint8_t> tiffPrivacyCopy(ByteView source);

// HEIF and AVIF cannot be rewritten here: their Exif and XMP items are blanked in place instead,
// sizes unchanged, so every offset in the file stays valid. Throws unreadableFile when the boxes
// that locate those items are damaged (IsoMediaItems.h).
std::vector<std::uint8_t> isoMediaPrivacyCopy(ByteView source);

// A big-endian TIFF block whose only entry is the orientation; nothing for values outside 1 to 8.
std::optional<std::vector<std::uint8_t>> orientationExif(std::optional<std::uint16_t> orientation);

}  // namespace velquor::files
