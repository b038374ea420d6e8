#include "InspectorRegistry.h"

#include "FileSanitizerError.h"
#include "FileTypes.h"
#include "image/ImagePrivacySanitizer.h"
#include "office/OfficeArchiveInspector.h"

#include <algorithm>
#include <array>

namespace velquor::files {

namespace {

bool hasExtension(const std::filesystem::path& file, std::initializer_list<std::string_view> extensions) {
    const auto extension = lowercasedExtension(file);
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

bool isSVG(const std::filesystem::path& file) { return lowercasedExtension(file) == "svg"; }

bool isPDF(const std::filesystem::path& file) {
    return extensionConformsTo(file, TypeConformance::pdf) || lowercasedExtension(file) == "pdf";
}

bool isMedia(const std::filesystem::path& file) {
    const auto type = typeFromExtension(file);
    const bool conforms = type && (type->conformsTo(TypeConformance::audio) ||
                                   type->conformsTo(TypeConformance::movie) || type->conformsTo(TypeConformance::video));
    return conforms || hasExtension(file, {"mov", "mp4", "m4v", "m4a", "mp3", "wav", "aiff", "aif"});
}

const ImagePrivacySanitizer imageInspector;
const OfficeArchiveInspector officeInspector;

const std::array<InspectorRegistration, 5> registry{{
    {"svg", isSVG, isSVG, nullptr},
    {"pdf", isPDF, isPDF, nullptr},
    {"image", ImagePrivacySanitizer::isSupported, ImagePrivacySanitizer::isSupported, &imageInspector},
    {"media", isMedia, nullptr, nullptr},
    {"office", OfficeArchiveInspector::isSupported, OfficeArchiveInspector::canExportPrivacyCopy, &officeInspector},
}};

const FileInspector& builtInspector(const InspectorRegistration* row) {
    if (row == nullptr || row->inspector == nullptr) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
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
