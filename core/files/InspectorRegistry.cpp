#include "InspectorRegistry.h"

#include "FileSanitizerError.h"
#include "FileTypes.h"
#include "image/ImagePrivacySanitizer.h"
#include "media/MediaMetadataInspector.h"
#include "pdf/PDFPrivacySanitizer.h"
#include "svg/SVGPrivacySanitizer.h"

#include <algorithm>
#include <array>

namespace velquor::files {

namespace {

bool hasExtension(const std::filesystem::path& file, std::initializer_list<std::string_view> extensions) {
    const auto extension = lowercasedExtension(file);
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

bool isOfficeOrIWork(const std::filesystem::path& file) {
    return hasExtension(file, {"docx", "pptx", "xlsx", "pages", "key", "numbers"});
}

bool isExportableOffice(const std::filesystem::path& file) { return hasExtension(file, {"docx", "pptx", "xlsx"}); }

const SVGPrivacySanitizer svgInspector;
const PDFPrivacySanitizer pdfInspector;
const ImagePrivacySanitizer imageInspector;
const MediaMetadataInspector mediaInspector;

const std::array<InspectorRegistration, 5> registry{{
    {"svg", SVGPrivacySanitizer::isSupported, SVGPrivacySanitizer::isSupported, &svgInspector},
    {"pdf", PDFPrivacySanitizer::isSupported, PDFPrivacySanitizer::isSupported, &pdfInspector},
    {"image", ImagePrivacySanitizer::isSupported, ImagePrivacySanitizer::isSupported, &imageInspector},
    {"media", MediaMetadataInspector::isSupported, MediaMetadataInspector::canExportPrivacyCopy, &mediaInspector},
    {"office", isOfficeOrIWork, isExportableOffice, nullptr},
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

}  // namespace velquor::files
