#include "core/files/media/MediaMetadataInspector.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/media/MediaCopyWriting.h"
#include "core/files/media/MediaFileTypes.h"
#include "core/files/media/MediaInspection.h"
#include "core/files/media/MediaPrivacyRemux.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace velquor::files {

namespace {

MediaInspection inspectFile(const std::filesystem::path& file) {
    return inspectMediaSource(openMediaFile(file), file.filename().string());
}

FileMetadataReport mediaReport(const std::filesystem::path& file, MediaInspection inspection) {
    return buildFileReport(reportFileName(file), {.typeDescription = mediaTypeDescription(file),
                                                  .byteCount = inspection.byteCount,
                                                  .entries = std::move(inspection.entries)});
}

// What the copy must show again when it is inspected: the streams written and the source's
// duration.
struct WrittenCopy {
    MediaStreamCounts streams;
    std::optional<double> durationSeconds;
};

WrittenCopy writeCopy(const std::filesystem::path& source, const MediaCopyFormat& format, int fd) {
    auto file = openMediaFile(source);
    const MediaDeadline deadline(exportBudget(file->size()));
    AvFormatInput input(std::move(file), source.filename().string(), deadline);
    const auto streams = writeMediaPrivacyCopy(format, input, fd, deadline);
    return {streams, containerDurationSeconds(input.context())};
}

// Containers round a duration to their own time base, and some count the last packet's length
// where others do not: a tenth of a second, or a hundredth of a long recording, is the same.
bool sameDuration(std::optional<double> source, std::optional<double> copy) {
    if (!source || !copy) return source.has_value() == copy.has_value();
    return std::abs(*source - *copy) <= std::max(0.1, *source / 100);
}

}  // namespace

FileMetadataReport MediaMetadataInspector::inspect(const std::filesystem::path& file) const {
    if (!isSupportedMediaFile(file)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    return mediaReport(file, inspectFile(file));
}

bool MediaMetadataInspector::failsPrivacyVerification(const FileMetadataReport& report) const {
    return report.containsPersonalMetadata();
}

// A type without a copy format is refused before the destination is even looked at. The
// metadata rule decides what is personal; the stream counts and the duration catch a copy that
// lost media or kept something it should have dropped, whatever its metadata says.
void MediaMetadataInspector::exportPrivacyCopy(const std::filesystem::path& source,
                                               const std::filesystem::path& destination) const {
    const auto format = mediaCopyFormat(source);
    if (!format) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    WrittenCopy written;
    FileExportSafety::exportPrivacyCopy(
        destination, FileExportSafety::DescriptorWriter{[&](int fd) { written = writeCopy(source, *format, fd); }},
        [&](const std::filesystem::path& copy) {
            auto inspection = inspectFile(copy);
            const bool sameMedia = inspection.streams == written.streams &&
                                   sameDuration(written.durationSeconds, inspection.durationSeconds);
            return FileExportSafety::verdictOn(*this, mediaReport(copy, std::move(inspection)), sameMedia);
        });
}

}  // namespace velquor::files
