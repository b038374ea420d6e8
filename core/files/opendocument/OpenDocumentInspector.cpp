#include "core/files/opendocument/OpenDocumentInspector.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/opendocument/OpenDocumentCleaning.h"
#include "core/files/opendocument/OpenDocumentInspection.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace velquor::files {

namespace {

constexpr std::array<std::string_view, 8> extensions{"odt", "ods", "odp", "odg", "ott", "ots", "otp", "otg"};

}  // namespace

bool OpenDocumentInspector::isSupported(const std::filesystem::path& file) {
    const auto extension = lowercasedExtension(file);
    return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

std::u16string OpenDocumentInspector::typeDescription(const std::filesystem::path& file) {
    const auto type = isSupported(file) ? typeFromExtension(file) : std::nullopt;
    return std::u16string(type ? type->description : u"OpenDocument file");
}

FileMetadataReport OpenDocumentInspector::inspect(const std::filesystem::path& file) const {
    if (!isSupported(file)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    const auto package = openValidatedArchive(file);
    return buildFileReport(reportFileName(file), {.typeDescription = typeDescription(file),
                                                  .byteCount = static_cast<std::int64_t>(package.archive.byteCount()),
                                                  .entries = openDocumentEntries(package.archive, package.entries)});
}

void OpenDocumentInspector::exportPrivacyCopy(const std::filesystem::path& source,
                                              const std::filesystem::path& destination) const {
    if (!isSupported(source)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    const auto copy = [&] {
        const auto package = openValidatedArchive(source);
        return cleanedOpenDocument(package.archive, package.entries);
    };
    FileExportSafety::exportPrivacyCopy(
        destination, FileExportSafety::BytesWriter{.bytes = copy},
        [&](const std::filesystem::path& written) { return FileExportSafety::verdictOn(*this, inspect(written)); });
}

bool OpenDocumentInspector::failsPrivacyVerification(const FileMetadataReport& report) const {
    return std::any_of(report.entries.begin(), report.entries.end(), isOpenDocumentResidue);
}

}  // namespace velquor::files
