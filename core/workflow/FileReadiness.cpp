#include "core/workflow/FileReadiness.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/InspectorRegistry.h"
#include "core/files/MetadataText.h"
#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/files/media/MediaFileTypes.h"
#include "core/files/office/OfficeArchiveInspector.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/svg/SVGPrivacySanitizer.h"
#include "core/workflow/StatusTexts.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace velquor::workflow {

namespace {

struct ReadyRow {
    bool (*takes)(const std::filesystem::path& file);
    std::u16string_view status;
};

// In dispatch order, SVG before the images it is a kind of; within media and Office the
// exportable types come before the rest of their family.
constexpr std::array<ReadyRow, 7> readyRows{{
    {files::SVGPrivacySanitizer::isSupported, svgReadyStatus},
    {files::PDFPrivacySanitizer::isSupported, pdfReadyStatus},
    {files::ImagePrivacySanitizer::isSupported, imageReadyStatus},
    {files::canExportMediaPrivacyCopy, mediaReadyStatus},
    {files::isSupportedMediaFile, mediaInspectOnlyStatus},
    {files::OfficeArchiveInspector::canExportPrivacyCopy, officeReadyStatus},
    {files::OfficeArchiveInspector::isSupported, archiveInspectOnlyStatus},
}};

}  // namespace

std::u16string readyStatus(const std::filesystem::path& file) {
    const auto row = std::find_if(readyRows.begin(), readyRows.end(), [&](const ReadyRow& r) { return r.takes(file); });
    if (row != readyRows.end()) return std::u16string(row->status);
    return files::metadataText(files::FileSanitizerError::message(files::FileSanitizerError::Case::unsupportedFile));
}

bool canExportFile(const std::filesystem::path& file) { return files::isExportable(file); }

bool canOfferPrivacyCopy(const std::filesystem::path& file, const files::FileMetadataReport& report) {
    return canExportFile(file) && !report.hasContentCredentialsSignal;
}

}  // namespace velquor::workflow
