#include "core/files/image/ImagePrivacySanitizer.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/image/ImageContainer.h"
#include "core/files/image/ImageInspection.h"
#include "core/files/image/ImagePrivacyCopy.h"
#include "core/files/image/ProvenanceScan.h"

#include <algorithm>

namespace velquor::files {

namespace {

struct InspectedFile {
    std::vector<std::uint8_t> bytes;
    ImageInspection inspection;
};

InspectedFile inspectFile(const std::filesystem::path& file) {
    auto bytes = readWholeFile(file, ImagePrivacySanitizer::maximumByteCount);
    if (!bytes) throwUnreadableFile();
    auto inspection = inspectImageData(*bytes, reportFileName(file));
    return {std::move(*bytes), std::move(inspection)};
}

// The copy must be the same picture: same format, same frames, same size. Anything else means
// the writer lost part of the image, whatever the metadata rule says. Frames past the walk's cap
// are counted for this on both sides.
bool isSamePicture(const InspectedFile& source, const InspectedFile& copy) {
    const auto& original = source.inspection;
    const auto& written = copy.inspection;
    if (written.format != original.format || written.frameCount != original.frameCount ||
        written.frameWalkStopped != original.frameWalkStopped ||
        written.report.pixelSize != original.report.pixelSize) {
        return false;
    }
    return !original.frameWalkStopped ||
           fullFrameCount(original.format, copy.bytes) == fullFrameCount(original.format, source.bytes);
}

bool hasUnreadableMetadata(const ImageInspection& inspection) {
    const auto& entries = inspection.report.entries;
    return std::any_of(entries.begin(), entries.end(),
                       [](const FileMetadataEntry& entry) { return entry.id == unreadableMetadataEntryId; });
}

// Metadata the copy's inspection cannot read is no proof of personal data left: it is the
// source's own damage carried over (unreadableFile), or damage the writer caused (exportFailed).
void refuseUnreadableCopy(const ImageInspection& source, const ImageInspection& copy) {
    if (!hasUnreadableMetadata(copy)) return;
    if (hasUnreadableMetadata(source)) throwUnreadableFile();
    throwExportFailed();
}

}  // namespace

bool ImagePrivacySanitizer::isSupported(const std::filesystem::path& file) {
    return extensionConformsTo(file, TypeConformance::image);
}

FileMetadataReport ImagePrivacySanitizer::inspect(const std::filesystem::path& file) const {
    return inspectFile(file).inspection.report;
}

bool ImagePrivacySanitizer::failsPrivacyVerification(const FileMetadataReport& report) const {
    return report.containsPersonalMetadata() || report.hasContentCredentialsSignal;
}

// Content credentials make the file inspect-only before anything is written.
void ImagePrivacySanitizer::exportPrivacyCopy(const std::filesystem::path& source,
                                              const std::filesystem::path& destination) const {
    const auto original = inspectFile(source);
    if (original.inspection.report.hasContentCredentialsSignal) {
        throw FileSanitizerError(FileSanitizerError::Case::contentCredentialsInspectOnly);
    }
    const auto& inspection = original.inspection;
    FileExportSafety::exportPrivacyCopy(
        destination, FileExportSafety::BytesWriter{[&] {
            return privacyCopyBytes(inspection.format, original.bytes, inspection.orientation);
        }},
        [&](const std::filesystem::path& copy) {
            const auto written = inspectFile(copy);
            refuseUnreadableCopy(inspection, written.inspection);
            return FileExportSafety::verdictOn(*this, written.inspection.report, isSamePicture(original, written));
        });
}

std::vector<ProvenanceEvidence> ImagePrivacySanitizer::provenanceEvidence(ByteView data) {
    return scanProvenance(data);
}

}  // namespace velquor::files
