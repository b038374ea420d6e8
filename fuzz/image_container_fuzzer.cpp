// Arbitrary bytes through the provenance scan, the preview scan, every container walker and
// every privacy-copy writer, whatever format the bytes claim to be: nothing may crash or read
// out of bounds, a copy may never grow without bound, and copying a copy changes nothing.
#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImageContainer.h"
#include "core/files/image/ImageInspection.h"
#include "core/files/image/ImagePrivacyCopy.h"
#include "core/files/image/ProvenanceScan.h"

#include <cstdint>
#include <cstdlib>
#include <optional>

namespace {

using namespace velquor::files;

void require(bool condition) {
    if (!condition) std::abort();
}

constexpr ImageFormat formats[] = {ImageFormat::jpeg, ImageFormat::png,  ImageFormat::gif,
                                   ImageFormat::webp, ImageFormat::tiff, ImageFormat::avif};

void walk(ImageFormat format, ByteView data) {
    try {
        const auto properties = readContainerProperties(format, data);
        require(!properties.frames.empty());
    } catch (const FileSanitizerError&) {
    }
}

void copyTwice(ImageFormat format, ByteView data, std::optional<std::uint16_t> orientation) {
    std::vector<std::uint8_t> copy;
    try {
        copy = privacyCopyBytes(format, data, orientation);
    } catch (const FileSanitizerError&) {
        return;
    }
    require(copy.size() <= 2 * data.size() + 65536 + 64);
    require(privacyCopyBytes(format, copy, orientation) == copy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ByteView bytes(data, size);
    require(scanProvenance(bytes).size() <= 1);
    hasEmbeddedJpegPreview(bytes);
    const std::optional<std::uint16_t> orientation =
        size > 0 ? std::optional<std::uint16_t>(static_cast<std::uint16_t>(data[size - 1] % 10)) : std::nullopt;
    for (const auto format : formats) {
        walk(format, bytes);
        copyTwice(format, bytes, orientation);
    }
    return 0;
}
