#include "core/files/image/ImageFormat.h"

#include <algorithm>
#include <array>

namespace velquor::files {

namespace {

constexpr std::string_view pngSignature{"\x89PNG\r\n\x1A\n", 8};

constexpr std::array<std::string_view, 4> heicBrands{"heic", "heix", "heim", "heis"};
constexpr std::array<std::string_view, 2> avifBrands{"avif", "avis"};
constexpr std::array<std::string_view, 4> heifBrands{"mif1", "msf1", "hevc", "hevx"};

template <std::size_t N>
bool hasBrand(ByteView data, std::size_t boxEnd, const std::array<std::string_view, N>& brands) {
    // Major brand at 8, minor version at 12, compatible brands from 16 to the end of the box.
    for (std::size_t at = 8; at + 4 <= boxEnd; at += at == 8 ? 8 : 4) {
        for (const auto brand : brands) {
            if (startsWith(data, at, brand)) return true;
        }
    }
    return false;
}

std::optional<ImageFormat> sniffIsoMediaImage(ByteView data) {
    if (!startsWith(data, 4, "ftyp")) return std::nullopt;
    const auto boxSize = bigEndian32(data, 0);
    if (!boxSize || *boxSize < 16) return std::nullopt;
    const std::size_t boxEnd = std::min<std::size_t>(*boxSize, data.size());
    if (hasBrand(data, boxEnd, avifBrands)) return ImageFormat::avif;
    if (hasBrand(data, boxEnd, heicBrands)) return ImageFormat::heic;
    if (hasBrand(data, boxEnd, heifBrands)) return ImageFormat::heif;
    return std::nullopt;
}

}  // namespace

std::optional<ImageFormat> sniffImageFormat(ByteView data) {
    if (startsWith(data, 0, "\xFF\xD8\xFF")) return ImageFormat::jpeg;
    if (startsWith(data, 0, pngSignature)) return ImageFormat::png;
    if (startsWith(data, 0, "GIF87a") || startsWith(data, 0, "GIF89a")) return ImageFormat::gif;
    if (startsWith(data, 0, "RIFF") && startsWith(data, 8, "WEBP")) return ImageFormat::webp;
    if (startsWith(data, 0, std::string_view("II*\0", 4)) || startsWith(data, 0, std::string_view("MM\0*", 4))) {
        return ImageFormat::tiff;
    }
    return sniffIsoMediaImage(data);
}

UniformType uniformType(ImageFormat format) {
    switch (format) {
        case ImageFormat::jpeg:
            return *typeWithIdentifier("public.jpeg");
        case ImageFormat::png:
            return *typeWithIdentifier("public.png");
        case ImageFormat::gif:
            return *typeWithIdentifier("com.compuserve.gif");
        case ImageFormat::webp:
            return *typeWithIdentifier("org.webmproject.webp");
        case ImageFormat::tiff:
            return *typeWithIdentifier("public.tiff");
        case ImageFormat::heic:
            return *typeWithIdentifier("public.heic");
        case ImageFormat::heif:
            return *typeWithIdentifier("public.heif");
        case ImageFormat::avif:
            return *typeWithIdentifier("public.avif");
    }
    return *typeWithIdentifier("public.jpeg");
}

}  // namespace velquor::files
