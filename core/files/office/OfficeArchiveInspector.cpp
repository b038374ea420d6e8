#include "core/files/office/OfficeArchiveInspector.h"

#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/OfficeInspection.h"
#include "core/files/office/OfficePrivacyExport.h"
#include "core/files/office/ZipArchive.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace velquor::files {

namespace {

struct ArchiveType {
    std::string_view extension;
    std::u16string_view description;
    bool exportable;
};

constexpr std::array<ArchiveType, 6> archiveTypes{{
    {"docx", u"Word document archive", true},
    {"pptx", u"PowerPoint document archive", true},
    {"xlsx", u"Excel workbook archive", true},
    {"pages", u"Pages document archive", false},
    {"key", u"Keynote document archive", false},
    {"numbers", u"Numbers document archive", false},
}};

const ArchiveType* archiveType(const std::filesystem::path& file) {
    const auto extension = lowercasedExtension(file);
    const auto* type = std::find_if(archiveTypes.begin(), archiveTypes.end(),
                                    [&](const ArchiveType& row) { return row.extension == extension; });
    return type == archiveTypes.end() ? nullptr : type;
}

constexpr std::array<std::u16string_view, 21> residueNames = {
    u"Core properties",
    u"App properties",
    u"Custom properties",
    u"Embedded thumbnail",
    u"Comments part",
    u"People metadata",
    u"Author",
    u"Last modified by",
    u"Revision count",
    u"Created",
    u"Modified",
    u"Title",
    u"Subject",
    u"Keywords",
    u"Description",
    u"Application",
    u"App version",
    u"Company",
    u"Manager",
    u"Template",
    u"Total edit time",
};

}  // namespace

bool isExportPrivacyResidue(const FileMetadataEntry& entry) {
    if (entry.name == u"External links" || entry.name.starts_with(u"Tracked") || entry.name == u"Comments") return true;
    if (entry.name.starts_with(u"Metadata in ")) return true;
    if (entry.section == u"Embedded" || entry.section == u"iWork") return false;
    return std::find(residueNames.begin(), residueNames.end(), entry.name) != residueNames.end();
}

bool OfficeArchiveInspector::isSupported(const std::filesystem::path& file) { return archiveType(file) != nullptr; }

bool OfficeArchiveInspector::canExportPrivacyCopy(const std::filesystem::path& file) {
    const auto* type = archiveType(file);
    return type != nullptr && type->exportable;
}

std::u16string OfficeArchiveInspector::typeDescription(const std::filesystem::path& file) {
    const auto* type = archiveType(file);
    return std::u16string(type != nullptr ? type->description : u"Office/iWork archive");
}

FileMetadataReport OfficeArchiveInspector::inspect(const std::filesystem::path& file) const {
    if (!isSupported(file)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    const auto package = openValidatedArchive(file);
    return buildFileReport(reportFileName(file), {.typeDescription = typeDescription(file),
                                                  .byteCount = static_cast<std::int64_t>(package.archive.byteCount()),
                                                  .entries = officeArchiveEntries(package.archive, package.entries)});
}

void OfficeArchiveInspector::exportPrivacyCopy(const std::filesystem::path& source,
                                               const std::filesystem::path& destination) const {
    if (!canExportPrivacyCopy(source)) {
        throw FileSanitizerError(isSupported(source) ? FileSanitizerError::Case::inspectOnlyType
                                                     : FileSanitizerError::Case::unsupportedFile);
    }
    exportOfficePrivacyCopy(*this, source, destination);
}

bool OfficeArchiveInspector::failsPrivacyVerification(const FileMetadataReport& report) const {
    return containsExportPrivacyResidue(report);
}

bool containsExportPrivacyResidue(const FileMetadataReport& report) {
    return std::any_of(report.entries.begin(), report.entries.end(), isExportPrivacyResidue);
}

}  // namespace velquor::files
