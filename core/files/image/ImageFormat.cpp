#include "core/files/image/ImageFormat.h"

#include "core/files/image/ImageContainer.h"
#include "core/files/image/ImagePrivacyCopy.h"

#include <algorithm>
#include <array>

namespace velquor::files {

namespace {

constexpr std::string_view pngSignature{"\x89PNG\r\n\x1A\n", 8};

constexpr std::array<std::string_view, 2> avifBrands{"avif", "avis"};
constexpr std::array<std::string_view, 4> heicBrands{"heic", "heix", "heim", "heis"};
constexpr std::array<std::string_view, 4> heifBrands{"mif1", "msf1", "hevc", "hevx"};

bool isJpeg(ByteView data) { return startsWith(data, 0, "\xFF\xD8\xFF"); }

bool isPng(ByteView data) { return startsWith(data, 0, pngSignature); }

bool isGif(ByteView data) { return startsWith(data, 0, "GIF87a") || startsWith(data, 0, "GIF89a"); }

bool isWebp(ByteView data) { return startsWith(data, 0, "RIFF") && startsWith(data, 8, "WEBP"); }

bool isTiff(ByteView data) {
    return startsWith(data, 0, std::string_view("II*\0", 4)) || startsWith(data, 0, std::string_view("MM\0*", 4));
}

// An 'ftyp' box first, with one of the brands: the major brand at 8, the minor version at 12,
// compatible brands from 16 to the end of the box, which may claim more than the data holds.
template <const auto& brands>
bool hasIsoMediaBrand(ByteView data) {
    if (!startsWith(data, 4, "ftyp")) return false;
    const auto boxSize = bigEndian32(data, 0);
    if (!boxSize || *boxSize < 16) return false;
    const std::size_t boxEnd = std::min<std::size_t>(*boxSize, data.size());
    for (std::size_t at = 8; at + 4 <= boxEnd; at += at == 8 ? 8 : 4) {
        for (const auto brand : brands) {
            if (startsWith(data, at, brand)) return true;
        }
    }
    return false;
}

template <std::vector<std::uint8_t> (*copy)(ByteView)>
std::vector<std::uint8_t> orientationKeptInPlace(ByteView source, std::optional<std::uint16_t>) {
    return copy(source);
}

// In the order signatures are tested. Exiv2 reads no GIF metadata (the walker reads its XMP)
// and refuses some valid tiny GIFs; it misses the Exif of ISO media images whose primary item is
// a grid, whose item walker reads their Exif and XMP instead. Only the JPEG, PNG and WebP writers put an orientation
// back: a GIF has none, a TIFF keeps its tag and an ISO media image its rotation property, which their writers leave
// alone.
constexpr std::array<ImageFormatRow, 8> formatTable{{
    {ImageFormat::jpeg, isJpeg, "public.jpeg", jpegContainerProperties, jpegPrivacyCopy, true},
    {ImageFormat::png, isPng, "public.png", pngContainerProperties, pngPrivacyCopy, true},
    {ImageFormat::gif, isGif, "com.compuserve.gif", gifContainerProperties, orientationKeptInPlace<gifPrivacyCopy>,
     false},
    {ImageFormat::webp, isWebp, "org.webmproject.webp", webpContainerProperties, webpPrivacyCopy, true},
    {ImageFormat::tiff, isTiff, "public.tiff", tiffContainerProperties, orientationKeptInPlace<tiffPrivacyCopy>, true},
    {ImageFormat::avif, hasIsoMediaBrand<avifBrands>, "public.avif", isoMediaContainerProperties,
     orientationKeptInPlace<isoMediaPrivacyCopy>, false},
    {ImageFormat::heic, hasIsoMediaBrand<heicBrands>, "public.heic", isoMediaContainerProperties,
     orientationKeptInPlace<isoMediaPrivacyCopy>, false},
    {ImageFormat::heif, hasIsoMediaBrand<heifBrands>, "public.heif", isoMediaContainerProperties,
     orientationKeptInPlace<isoMediaPrivacyCopy>, false},
}};

}  // namespace

// Every format has its row, so the search always ends on one.
const ImageFormatRow& imageFormatRow(ImageFormat format) {
    return *std::find_if(formatTable.begin(), formatTable.end(),
                         [format](const ImageFormatRow& row) { return row.format == format; });
}

std::optional<ImageFormat> sniffImageFormat(ByteView data) {
    const auto row = std::find_if(formatTable.begin(), formatTable.end(),
                                  [data](const ImageFormatRow& row) { return row.hasSignature(data); });
    if (row == formatTable.end()) return std::nullopt;
    return row->format;
}

UniformType uniformType(ImageFormat format) { return *typeWithIdentifier(imageFormatRow(format).typeIdentifier); }

}  // namespace velquor::files
