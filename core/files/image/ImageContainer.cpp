#include "core/files/image/ImageContainer.h"

namespace velquor::files {

ContainerProperties readContainerProperties(ImageFormat format, ByteView data) {
    return imageFormatRow(format).readContainer(data);
}

// Exiv2 reads all an ISO media image holds.
ContainerProperties isoMediaContainerProperties(ByteView) {
    ContainerProperties single;
    single.frames.emplace_back();
    return single;
}

}  // namespace velquor::files
