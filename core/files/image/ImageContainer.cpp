#include "core/files/image/ImageContainer.h"

#include "core/files/image/GifBlocks.h"
#include "core/files/image/PngChunks.h"
#include "core/files/image/WebpChunks.h"

namespace velquor::files {

bool ContainerProperties::mayAddFrame() {
    frameWalkStopped = frameCount >= walkedFrameLimit;
    return !frameWalkStopped;
}

ImageProperty* ContainerProperties::addFrame(double delaySeconds) {
    ++frameCount;
    if (frames.size() < listedFrameLimit) return &frames.emplace_back();
    unlistedSeconds += delaySeconds;
    return nullptr;
}

ContainerProperties readContainerProperties(ImageFormat format, ByteView data) {
    return imageFormatRow(format).readContainer(data);
}

std::size_t fullFrameCount(ImageFormat format, ByteView data) {
    switch (format) {
        case ImageFormat::gif:
            return gifImageCount(data);
        case ImageFormat::png:
            return apngFrameCount(data);
        case ImageFormat::webp:
            return webpFrameCount(data);
        default:
            return 1;
    }
}

}  // namespace velquor::files
