#include "core/files/image/ImagePrivacySanitizer.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/MetadataText.h"
#include "core/files/image/ImageInspection.h"
#include "core/files/image/ImagePrivacyCopy.h"
#include "core/files/image/ProvenanceScan.h"

namespace velquor::files {

namespace {

struct InspectedFile {
    std::vector<std::uint8_t> bytes;
    ImageInspection inspection;
};

InspectedFile inspectFile(const std::filesystem::path& file) {
    auto bytes = readWholeFile(file, ImagePrivacySanitizer::maximumByteCount);
    if (!bytes) throw FileSanitizerError(FileSanitizerError::Case::unreadableFile);
    auto inspection = inspectImageData(*bytes);
    inspection.report.fileName = metadataText(file.filename().string());
    inspection.report.byteCount = static_cast<std::int64_t>(bytes->size());
    return {std::move(*bytes), std::move(inspection)};
}

// The copy must be the same picture: same format, same frames, same size. Anything else means
// the writer lost part of the image, whatever the metadata rule says.
void verifyCopy(const ImagePrivacySanitizer& sanitizer, const ImageInspection& source, const ImageInspection& copy) {
    if (sanitizer.failsPrivacyVerification(copy.report)) {
        throw FileSanitizerError(FileSanitizerError::Case::verificationFailed);
    }
    if (copy.format != source.format || copy.frameCount != source.frameCount ||
        copy.report.pixelSize != source.report.pixelSize) {
        throw FileSanitizerError(FileSanitizerError::Case::exportFailed);
    }
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

void ImagePrivacySanitizer::exportPrivacyCopy(const std::filesystem::path& source,
                                              const std::filesystem::path& destination) const {
    const auto original = inspectFile(source);
    if (original.inspection.report.hasContentCredentialsSignal) {
        throw FileSanitizerError(FileSanitizerError::Case::contentCredentialsInspectOnly);
    }
    FileExportSafety::prepareDestination(destination);
    const auto copy = privacyCopyBytes(original.inspection.format, original.bytes, original.inspection.orientation);

    StagedFile staged(FileExportSafety::stagingURL(destination));
    staged.write(copy);
    verifyCopy(*this, original.inspection, inspectFile(staged.path()).inspection);
    staged.publish(destination);
}

std::vector<ProvenanceEvidence> ImagePrivacySanitizer::provenanceEvidence(ByteView data) {
    return scanProvenance(data);
}

}  // namespace velquor::files
