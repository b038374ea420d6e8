#include "core/files/media/MediaMetadataInspector.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/media/MediaInspection.h"
#include "core/files/media/MediaPrivacyRemux.h"

#include <algorithm>
#include <array>
#include <string>

namespace velquor::files {

namespace {

constexpr std::array<std::string_view, 8> supportedExtensions{"mov", "mp4", "m4v", "m4a", "mp3", "wav", "aiff", "aif"};

struct ExportRow {
    std::string_view extension;
    std::string_view muxer;  // "ipod" is libavformat's M4A audio writer
};

constexpr std::array<ExportRow, 4> exportTable{{
    {"mov", "mov"},
    {"mp4", "mp4"},
    {"m4v", "mp4"},
    {"m4a", "ipod"},
}};

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

MediaInspection inspectFile(const std::filesystem::path& file) {
    return inspectMediaSource(openMediaFile(file), file.filename().string());
}

FileMetadataReport mediaReport(const std::filesystem::path& file, MediaInspection inspection) {
    return buildFileReport(reportFileName(file), {.typeDescription = MediaMetadataInspector::typeDescription(file),
                                                  .byteCount = inspection.byteCount,
                                                  .entries = std::move(inspection.entries)});
}

MediaStreamCounts writeRemux(const std::filesystem::path& source, std::string_view muxer, int fd) {
    auto file = openMediaFile(source);
    const MediaDeadline deadline(exportBudget(file->size()));
    AvFormatInput input(std::move(file), source.filename().string(), deadline);
    return writePrivacyRemux(input, std::string(muxer).c_str(), fd, deadline);
}

}  // namespace

bool MediaMetadataInspector::isSupported(const std::filesystem::path& file) {
    const auto type = typeFromExtension(file);
    if (!type) return false;
    return type->conformsTo(TypeConformance::audio) || type->conformsTo(TypeConformance::movie) ||
           type->conformsTo(TypeConformance::video) ||
           std::find(supportedExtensions.begin(), supportedExtensions.end(), lowercasedExtension(file)) !=
               supportedExtensions.end();
}

bool MediaMetadataInspector::canExportPrivacyCopy(const std::filesystem::path& file) {
    return exportMuxer(file).has_value();
}

std::optional<std::string_view> MediaMetadataInspector::exportMuxer(const std::filesystem::path& file) {
    const auto extension = lowercasedExtension(file);
    for (const auto& row : exportTable) {
        if (row.extension == extension) return row.muxer;
    }
    return std::nullopt;
}

std::u16string MediaMetadataInspector::typeDescription(const std::filesystem::path& file) {
    if (const auto type = typeFromExtension(file)) return std::u16string(type->description);
    const auto extension = lowercasedExtension(file);
    for (const auto& row : fallbackDescriptions) {
        if (row.extension == extension) return std::u16string(row.description);
    }
    return u"Media file";
}

FileMetadataReport MediaMetadataInspector::inspect(const std::filesystem::path& file) const {
    if (!isSupported(file)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    return mediaReport(file, inspectFile(file));
}

bool MediaMetadataInspector::failsPrivacyVerification(const FileMetadataReport& report) const {
    return report.containsPersonalMetadata();
}

// A type without a muxer is refused before the destination is even looked at. The metadata
// rule decides what is personal; the stream counts catch a copy that lost media or kept
// something it should have dropped, whatever its metadata says.
void MediaMetadataInspector::exportPrivacyCopy(const std::filesystem::path& source,
                                               const std::filesystem::path& destination) const {
    const auto muxer = exportMuxer(source);
    if (!muxer) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    MediaStreamCounts written;
    FileExportSafety::exportPrivacyCopy(
        destination, FileExportSafety::DescriptorWriter{[&](int fd) { written = writeRemux(source, *muxer, fd); }},
        [&](const std::filesystem::path& copy) {
            auto inspection = inspectFile(copy);
            const bool sameStreams = inspection.streams == written;
            return FileExportSafety::verdictOn(*this, mediaReport(copy, std::move(inspection)), sameStreams);
        });
}

}  // namespace velquor::files
