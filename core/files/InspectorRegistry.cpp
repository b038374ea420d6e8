#include "core/files/InspectorRegistry.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/epub/EpubInspector.h"
#include "core/files/image/ImagePrivacySanitizer.h"
#include "core/files/media/MediaFileTypes.h"
#include "core/files/media/MediaModule.h"
#include "core/files/office/OfficeArchiveInspector.h"
#include "core/files/opendocument/OpenDocumentInspector.h"
#include "core/files/pdf/PDFPrivacySanitizer.h"
#include "core/files/svg/SVGPrivacySanitizer.h"

#include <algorithm>
#include <array>

namespace velquor::files {

namespace {

const SVGPrivacySanitizer svgInspector;
const PDFPrivacySanitizer pdfInspector;
const ImagePrivacySanitizer imageInspector;
const MediaModuleInspector mediaInspector;
const OfficeArchiveInspector officeInspector;
const OpenDocumentInspector openDocumentInspector;
const EpubInspector epubInspector;

const std::array<InspectorRegistration, 7> registry{{
    {"svg", SVGPrivacySanitizer::isSupported, SVGPrivacySanitizer::isSupported, svgInspector},
    {"pdf", PDFPrivacySanitizer::isSupported, PDFPrivacySanitizer::isSupported, pdfInspector},
    {"image", ImagePrivacySanitizer::isSupported, ImagePrivacySanitizer::isSupported, imageInspector},
    {"media", isSupportedMediaFile, canExportMediaPrivacyCopy, mediaInspector},
    {"office", OfficeArchiveInspector::isSupported, OfficeArchiveInspector::canExportPrivacyCopy, officeInspector},
    {"opendocument", OpenDocumentInspector::isSupported, OpenDocumentInspector::isSupported, openDocumentInspector},
    {"epub", EpubInspector::isSupported, EpubInspector::isSupported, epubInspector},
}};

using Test = bool (*InspectorRegistration::*)(const std::filesystem::path&);

// The first row whose test holds for the file; null when none does.
const InspectorRegistration* firstRow(Test test, const std::filesystem::path& file) {
    const auto row = std::find_if(registry.begin(), registry.end(), [&](const auto& r) { return (r.*test)(file); });
    return row == registry.end() ? nullptr : &*row;
}

const FileInspector& inspectorOf(const InspectorRegistration* row) {
    if (row == nullptr) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    return row->inspector;
}

// A file some family inspects is only inspect-only, not unsupported, when no family exports it.
const FileInspector& exporterOf(const std::filesystem::path& file) {
    const auto* row = firstRow(&InspectorRegistration::exports, file);
    if (row == nullptr && firstRow(&InspectorRegistration::inspects, file) != nullptr) {
        throw FileSanitizerError(FileSanitizerError::Case::inspectOnlyType);
    }
    return inspectorOf(row);
}

}  // namespace

std::span<const InspectorRegistration> inspectorRegistry() { return registry; }

FileMetadataReport inspectReport(const std::filesystem::path& file) {
    return inspectorOf(firstRow(&InspectorRegistration::inspects, file)).inspect(file);
}

void createPrivacyCopy(const std::filesystem::path& source, const std::filesystem::path& destination) {
    exporterOf(source).exportPrivacyCopy(source, destination);
}

bool isInspectable(const std::filesystem::path& file) {
    return firstRow(&InspectorRegistration::inspects, file) != nullptr;
}

bool isExportable(const std::filesystem::path& file) {
    return firstRow(&InspectorRegistration::exports, file) != nullptr;
}

bool failsPrivacyVerification(const std::filesystem::path& file, const FileMetadataReport& report) {
    const auto* row = firstRow(&InspectorRegistration::inspects, file);
    return row != nullptr && row->inspector.failsPrivacyVerification(report);
}

}  // namespace velquor::files
