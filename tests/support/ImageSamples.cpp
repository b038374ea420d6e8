#include "tests/support/ImageSamples.h"

#include "tests/support/ImageFixtures.h"

namespace velquor::testing {

namespace fs = std::filesystem;

namespace {

std::vector<std::string> with(std::vector<std::string> tags, std::initializer_list<std::string> more) {
    tags.insert(tags.end(), more);
    return tags;
}

const Bytes c2paUUID{0x63, 0x32, 0x70, 0x61, 0x00, 0x11, 0x00, 0x10, 0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

}  // namespace

const std::vector<std::string>& personalExifTags() {
    static const std::vector<std::string> tags{
        "-Artist=Ann Example",         "-Make=Canon",          "-Model=EOS 5",
        "-Software=Editor 1.0",        "-GPSLatitude=51.5",    "-GPSLatitudeRef=N",
        "-GPSLongitude=0.125",         "-GPSLongitudeRef=W",   "-ImageDescription=Our garden",
        "-XMP-dc:Creator=Ann Example", "-XMP-dc:Title=Garden", "-Orientation#=6"};
    return tags;
}

fs::path jpegWithThumbnail(const fs::path& folder) {
    const auto thumbnail = makeTestImage(folder / "thumbnail.jpg", "32x24", 1);
    const auto photo = makeTestImage(folder / "photo.jpg", "96x64", 1, {"-q:v", "3"});
    writeTags(photo, with(personalExifTags(), {"-ThumbnailImage<=" + thumbnail.string(), "-Comment=taken at home",
                                               "-IPTC:Keywords=garden", "-IPTC:By-line=Ann"}));
    fs::remove(thumbnail);
    return photo;
}

fs::path pngWithTextChunks(const fs::path& folder) {
    const auto file = makeTestImage(folder / "render.png", "64x48", 1);
    writeBytes(file, withPngChunksAfterHeader(
                         readBytes(file),
                         {
                             pngChunk("tEXt", bytesOf(std::string_view("parameters\0steps: 30, sampler: Euler", 36))),
                             pngChunk("iTXt", bytesOf(std::string_view("prompt\0\0\0\0\0a fox in the snow", 28))),
                             pngChunk("tIME", {7, 0xE8, 1, 2, 3, 4, 5}),
                         }));
    writeTags(file, personalExifTags());
    return file;
}

fs::path animatedPng(const fs::path& folder) {
    const auto file = makeTestImage(folder / "anim.png", "48x32", 3, {"-plays", "0", "-f", "apng"});
    writeBytes(file, withPngChunksAfterHeader(readBytes(file),
                                              {pngChunk("tEXt", bytesOf(std::string_view("Author\0Ann", 10)))}));
    return file;
}

fs::path animatedGif(const fs::path& folder) {
    const auto file = makeTestImage(folder / "anim.gif", "48x32", 3, {"-loop", "2"});
    writeTags(file, {"-Comment=made by Ann", "-XMP-dc:Creator=Ann Example"});
    return file;
}

fs::path taggedWebp(const fs::path& folder) {
    const auto file = makeTestImage(folder / "photo.webp", "64x48", 1, {"-c:v", "libwebp", "-lossless", "1"});
    writeTags(file, personalExifTags());
    return file;
}

fs::path animatedWebp(const fs::path& folder) {
    const auto file =
        makeTestImage(folder / "anim.webp", "48x32", 3, {"-c:v", "libwebp_anim", "-lossless", "1", "-loop", "3"});
    writeTags(file, {"-XMP-dc:Creator=Ann Example", "-Artist=Ann"});
    return file;
}

fs::path taggedTiff(const fs::path& folder) {
    const auto file = makeTestImage(folder / "scan.tif", "64x48", 1);
    writeTags(file, with(personalExifTags(), {"-IPTC:Keywords=garden"}));
    return file;
}

fs::path taggedAvif(const fs::path& folder) {
    const auto file = makeTestImage(folder / "photo.avif", "64x48", 1,
                                    {"-c:v", "libaom-av1", "-still-picture", "1", "-cpu-used", "8"});
    writeTags(file, personalExifTags());
    return file;
}

fs::path phoneHeic(const fs::path& folder, std::string_view size) {
    const auto name = "photo-" + std::string(size);
    const auto jpeg = makeTestImage(folder / (name + ".jpg"), size, 1);
    writeTags(jpeg, personalExifTags());
    const auto heic = folder / (name + ".heic");
    runTool("/usr/bin/heif-enc", {"-q", "50", jpeg.string(), "-o", heic.string()});
    fs::remove(jpeg);
    return heic;
}

fs::path gridHeic(const fs::path& folder) {
    const auto jpeg = makeTestImage(folder / "tagged.jpg", "64x48", 1);
    writeTags(jpeg, personalExifTags());
    // The Exif item: the offset of the TIFF header after it, then "Exif\0\0" and the TIFF data.
    const Bytes exifItem = joined({{0, 0, 0, 6}, jpegExifPayload(readBytes(jpeg))});
    fs::remove(jpeg);
    const auto heic = folder / "grid.heic";
    writeBytes(heic, heicGridWithExifItem(exifItem));
    return heic;
}

fs::path pngWithContentCredentials(const fs::path& folder) {
    const auto file = folder / "generated.png";
    writeBytes(file, tinyPng({pngChunk("caBX", bytesOf("jumb manifest"))}));
    return file;
}

// A JUMBF box in APP11 whose description names the C2PA manifest store.
fs::path jpegWithContentCredentials(const fs::path& folder) {
    const auto file = makeTestImage(folder / "edited.jpg", "32x24", 1);
    const Bytes jumbf = joined({bytesOf("JP"), {0, 1, 0, 0, 0, 1, 0, 0, 0, 0x20}, c2paUUID});
    writeBytes(file, withJpegSegmentAfterStart(readBytes(file), 0xEB, jumbf));
    return file;
}

}  // namespace velquor::testing
