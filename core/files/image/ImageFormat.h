#pragma once

#include "core/files/FileBytes.h"
#include "core/files/FileTypes.h"

#include <optional>

namespace velquor::files {

// The raster formats this build inspects and copies, told apart by their content, never by the
// file name: a PNG named photo.jpg is a PNG.
enum class ImageFormat { jpeg, png, gif, webp, tiff, heic, heif, avif };

std::optional<ImageFormat> sniffImageFormat(ByteView data);

// The uniform type of the format, for the report's type description.
UniformType uniformType(ImageFormat format);

}  // namespace velquor::files
