#include "core/files/InspectorRegistry.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/files/media/MediaMetadataInspector.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/svg/SVGPrivacySanitizer.h"
#include "core/files/office/OfficeArchiveInspector.h"

#include <algorithm>
#include <array>

namespace velquor::files {

namespace {

const SVGPrivacySanitizer svgInspector;
const PDFPrivacySanitizer pdfInspector;
const ImagePrivacySanitizer imageInspector;
const MediaMetadataInspector mediaInspector;
const OfficeArchiveInspector officeInspector;

const std::array<InspectorRegistration, 5> registry{{
    {"svg", SVGPrivacySanitizer::isSupported, SVGPrivacySanitizer::isSupported, &svgInspector},
    {"pdf", PDFPrivacySanitizer::isSupported, PDFPrivacySanitizer::isSupported, &pdfInspector},
    {"image", ImagePrivacySanitizer::isSupported, ImagePrivacySanitizer::isSupported, &imageInspector},
    {"media", MediaMetadataInspector::isSupported, MediaMetadataInspector::canExportPrivacyCopy, &mediaInspector},
    {"office", OfficeArchiveInspector::isSupported, OfficeArchiveInspector::canExportPrivacyCopy, &officeInspector},
}};

const FileInspector& builtInspector(const InspectorRegistration* row) {
    if (row == nullptr || row->inspector == nullptr)
        throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    return *row->inspector;
}

const InspectorRegistration* inspectingRow(const std::filesystem::path& file) {
    const auto row = std::find_if(registry.begin(), registry.end(), [&](const auto& r) { return r.inspects(file); });
    return row == registry.end() ? nullptr : &*row;
}

const InspectorRegistration* exportingRow(const std::filesystem::path& file) {
    const auto row = std::find_if(registry.begin(), registry.end(),
                                  [&](const auto& r) { return r.exports != nullptr && r.exports(file); });
    return row == registry.end() ? nullptr : &*row;
}

}  // namespace

std::span<const InspectorRegistration> inspectorRegistry() { return registry; }

FileMetadataReport inspectReport(const std::filesystem::path& file) {
    return builtInspector(inspectingRow(file)).inspect(file);
}

void createPrivacyCopy(const std::filesystem::path& source, const std::filesystem::path& destination) {
    builtInspector(exportingRow(source)).exportPrivacyCopy(source, destination);
}

bool isInspectable(const std::filesystem::path& file) {
    const auto* row = inspectingRow(file);
    return row != nullptr && row->inspector != nullptr;
}

bool isExportable(const std::filesystem::path& file) {
    const auto* row = exportingRow(file);
    return row != nullptr && row->inspector != nullptr;
}

bool failsPrivacyVerification(const std::filesystem::path& file, const FileMetadataReport& report) {
    const auto* row = inspectingRow(file);
    return row != nullptr && row->inspector != nullptr && row->inspector->failsPrivacyVerification(report);
}

}  // namespace velquor::files
