#pragma once

#include "core/files/FileInspector.h"
#include "core/files/FileMetadataReport.h"

#include <filesystem>
#include <span>
#include <string_view>

namespace velquor::files {

// One file family: which files it inspects, which it can export, and who does the work.
struct InspectorRegistration {
    std::string_view family;
    bool (*inspects)(const std::filesystem::path& file);
    bool (*exports)(const std::filesystem::path& file);
    const FileInspector& inspector;
};

// Every family in dispatch order: SVG, PDF, image, media, Office and iWork, OpenDocument, EPUB.
// SVG is an image type too, so it must come before the image row; the document families test
// extensions no other family claims. Export dispatch reads the same table; the Office
// and media export tests never hold for the same file, so their relative order does not matter.
std::span<const InspectorRegistration> inspectorRegistry();

// The first family whose inspection test holds inspects the file; none is unsupportedFile.
FileMetadataReport inspectReport(const std::filesystem::path& file);

// The first family whose export test holds writes the privacy copy; otherwise inspectOnlyType
// for a file some family inspects (iWork, audio without an export format), else unsupportedFile.
void createPrivacyCopy(const std::filesystem::path& source, const std::filesystem::path& destination);

bool isInspectable(const std::filesystem::path& file);
bool isExportable(const std::filesystem::path& file);

// Whether the family that inspects the file would refuse a privacy copy whose report looked like
// this one: personal metadata for images, PDF and media, any entry at all for SVG, residue for
// Office and iWork. False for a file no family inspects.
bool failsPrivacyVerification(const std::filesystem::path& file, const FileMetadataReport& report);

}  // namespace velquor::files
