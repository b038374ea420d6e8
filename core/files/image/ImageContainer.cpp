#include "core/files/image/ImageContainer.h"

namespace velquor::files {

ContainerProperties readContainerProperties(ImageFormat format, ByteView data) {
    return imageFormatRow(format).readContainer(data);
}

}  // namespace velquor::files
