#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileTypes.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace velquor::files {

struct ContainerProperties;

// The raster formats this build inspects and copies, told apart by their content, never by the
// file name: a PNG named photo.jpg is a PNG.
enum class ImageFormat { jpeg, png, gif, webp, tiff, heic, heif, avif };

// Everything that differs between the formats, one row each.
struct ImageFormatRow {
    ImageFormat format;
    bool (*hasSignature)(ByteView data);
    std::string_view typeIdentifier;  // the uniform type, for the report's type description
    // What the container holds beyond what Exiv2 reads (ImageContainer.h).
    ContainerProperties (*readContainer)(ByteView data);
    // The lossless privacy copy (ImagePrivacyCopy.h). Formats that share a writer can take each
    // other's data: the ISO media images are rewritten the same way.
    std::vector<std::uint8_t> (*writePrivacyCopy)(ByteView source, std::optional<std::uint16_t> orientation);
    bool readByExiv2;
};

const ImageFormatRow& imageFormatRow(ImageFormat format);

// The first format whose signature the data has. An ISO media file lists several brands: AVIF
// wins over HEIC, which wins over plain HEIF.
std::optional<ImageFormat> sniffImageFormat(ByteView data);

// The uniform type of the format, for the report's type description.
UniformType uniformType(ImageFormat format);

}  // namespace velquor::files
