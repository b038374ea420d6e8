#include "core/files/media/MediaFileTypes.h"

#include "core/files/FileTypes.h"
#include "core/files/media/MediaCopyFormat.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace velquor::files {

namespace {

constexpr std::array<std::string_view, 8> supportedExtensions{"mov", "mp4", "m4v", "m4a", "mp3", "wav", "aiff", "aif"};

struct DescriptionRow {
    std::string_view extension;
    std::u16string_view description;
};

// For extensions the type table does not describe.
constexpr std::array<DescriptionRow, 6> fallbackDescriptions{{
    {"mov", u"QuickTime movie"},
    {"mp4", u"MPEG-4 video"},
    {"m4v", u"MPEG-4 video"},
    {"m4a", u"MPEG-4 audio"},
    {"mp3", u"MP3 audio"},
    {"wav", u"WAV audio"},
}};

}  // namespace

bool isSupportedMediaFile(const std::filesystem::path& file) {
    const auto type = typeFromExtension(file);
    if (!type) return false;
    return type->conformsTo(TypeConformance::audio) || type->conformsTo(TypeConformance::movie) ||
           type->conformsTo(TypeConformance::video) ||
           std::find(supportedExtensions.begin(), supportedExtensions.end(), lowercasedExtension(file)) !=
               supportedExtensions.end();
}

bool canExportMediaPrivacyCopy(const std::filesystem::path& file) { return mediaCopyFormat(file).has_value(); }

std::u16string mediaTypeDescription(const std::filesystem::path& file) {
    if (const auto type = typeFromExtension(file)) return std::u16string(type->description);
    const auto extension = lowercasedExtension(file);
    for (const auto& row : fallbackDescriptions) {
        if (row.extension == extension) return std::u16string(row.description);
    }
    return u"Media file";
}

}  // namespace velquor::files
