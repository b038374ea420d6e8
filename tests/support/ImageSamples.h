#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace velquor::testing {

// Images drawn by ffmpeg and tagged by exiftool the way cameras, editors and generators tag
// them, each written into `folder` under a fixed name.

// A person's camera, place, name and description as exiftool assignments, with orientation 6.
const std::vector<std::string>& personalExifTags();

std::filesystem::path jpegWithThumbnail(const std::filesystem::path& folder);  // EXIF thumbnail, comment, IPTC
std::filesystem::path pngWithTextChunks(const std::filesystem::path& folder);  // generator text, tIME, EXIF
std::filesystem::path animatedPng(const std::filesystem::path& folder);        // three frames and an author
std::filesystem::path animatedGif(const std::filesystem::path& folder);        // three frames, comment, XMP
std::filesystem::path taggedWebp(const std::filesystem::path& folder);
std::filesystem::path animatedWebp(const std::filesystem::path& folder);  // three frames, XMP, artist
std::filesystem::path taggedTiff(const std::filesystem::path& folder);
std::filesystem::path taggedAvif(const std::filesystem::path& folder);
// A phone photo of the given size ("64x48"): a JPEG with the person's tags encoded by heif-enc,
// which keeps its Exif and XMP as items of the file.
std::filesystem::path phoneHeic(const std::filesystem::path& folder, std::string_view size);
// A HEIC whose primary item is a grid of tiles, as phone cameras store their photos, with the
// person's tags as its Exif item. Built by hand: heif-enc here never writes grids.
std::filesystem::path gridHeic(const std::filesystem::path& folder);

// Images that carry a Content Credentials manifest container, which makes them inspect-only.
std::filesystem::path pngWithContentCredentials(const std::filesystem::path& folder);
std::filesystem::path jpegWithContentCredentials(const std::filesystem::path& folder);

}  // namespace velquor::testing
