#include "core/files/image/ImageContainer.h"

namespace velquor::files {

ContainerProperties readContainerProperties(ImageFormat format, ByteView data) {
    switch (format) {
        case ImageFormat::jpeg:
            return jpegContainerProperties(data);
        case ImageFormat::png:
            return pngContainerProperties(data);
        case ImageFormat::gif:
            return gifContainerProperties(data);
        case ImageFormat::webp:
            return webpContainerProperties(data);
        case ImageFormat::tiff:
            return tiffContainerProperties(data);
        case ImageFormat::heic:
        case ImageFormat::heif:
        case ImageFormat::avif:
            break;  // Exiv2 reads all an ISO media image holds for us
    }
    ContainerProperties single;
    single.frames.emplace_back();
    return single;
}

}  // namespace velquor::files
