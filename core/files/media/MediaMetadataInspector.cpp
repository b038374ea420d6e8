#include "core/files/media/MediaMetadataInspector.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/MetadataText.h"
#include "core/files/media/MediaInspection.h"
#include "core/files/media/MediaPrivacyRemux.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <string>
#include <system_error>
#include <utility>

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

// The copy's descriptor: closed on every path, and on success only after its bytes reached the disk.
class CopyDescriptor {
public:
    explicit CopyDescriptor(int fd) : fd_(fd) {}
    ~CopyDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    CopyDescriptor(const CopyDescriptor&) = delete;
    CopyDescriptor& operator=(const CopyDescriptor&) = delete;

    int get() const { return fd_; }

    void syncAndClose() {
        if (::fsync(fd_) != 0) throw std::system_error(errno, std::generic_category());
        if (::close(std::exchange(fd_, -1)) != 0) throw std::system_error(errno, std::generic_category());
    }

private:
    int fd_;
};

MediaInspection inspectFile(const std::filesystem::path& file) {
    return inspectMediaSource(openMediaFile(file), file.filename().string());
}

// The metadata rule decides what is personal; the stream rule catches a copy that lost media or
// kept something it should have dropped, whatever its metadata says.
void verifyCopy(const MediaMetadataInspector& inspector, const MediaInspection& copy,
                const MediaStreamCounts& written) {
    FileMetadataReport report;
    report.entries = copy.entries;
    if (inspector.failsPrivacyVerification(report)) {
        throw FileSanitizerError(FileSanitizerError::Case::verificationFailed);
    }
    if (copy.streams != written) throw FileSanitizerError(FileSanitizerError::Case::exportFailed);
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
    auto inspection = inspectFile(file);
    return {
        .fileName = metadataText(file.filename().string()),
        .typeDescription = typeDescription(file),
        .byteCount = inspection.byteCount,
        .pixelSize = std::nullopt,
        .hasContentCredentialsSignal = false,
        .entries = std::move(inspection.entries),
        .provenanceEvidence = {},
    };
}

bool MediaMetadataInspector::failsPrivacyVerification(const FileMetadataReport& report) const {
    return report.containsPersonalMetadata();
}

void MediaMetadataInspector::exportPrivacyCopy(const std::filesystem::path& source,
                                               const std::filesystem::path& destination) const {
    const auto muxer = exportMuxer(source);
    if (!muxer) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    FileExportSafety::prepareDestination(destination);

    auto file = openMediaFile(source);
    const MediaDeadline deadline(exportBudget(file->size()));
    AvFormatInput input(std::move(file), source.filename().string(), deadline);

    StagedFile staged(FileExportSafety::stagingURL(destination));
    CopyDescriptor copy(staged.create());
    const auto written = writePrivacyRemux(input, std::string(*muxer).c_str(), copy.get(), deadline);
    copy.syncAndClose();

    verifyCopy(*this, inspectFile(staged.path()), written);
    staged.publish(destination);
}

}  // namespace velquor::files
