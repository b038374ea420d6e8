#include "core/files/epub/EpubInspector.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileReportBuilder.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/FileTypes.h"
#include "core/files/MetadataText.h"
#include "core/files/epub/EpubCleaning.h"
#include "core/files/epub/EpubMetadata.h"
#include "core/files/office/ArchiveValidation.h"

#include "core/text/base/TextConversions.h"

#include <algorithm>

namespace velquor::files {

namespace {

// The copy's identifier: a random UUID as a URN, in lower case as URNs are usually written.
std::string freshBookIdentifier() { return "urn:uuid:" + text::asciiLowercased(FileExportSafety::randomUUIDString()); }

}  // namespace

bool EpubInspector::isSupported(const std::filesystem::path& file) { return lowercasedExtension(file) == "epub"; }

FileMetadataReport EpubInspector::inspect(const std::filesystem::path& file) const {
    if (!isSupported(file)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    const auto package = openValidatedArchive(file);
    return buildFileReport(reportFileName(file),
                           {.typeDescription = std::u16string(typeFromExtension(file)->description),
                            .byteCount = static_cast<std::int64_t>(package.archive.byteCount()),
                            .entries = epubEntries(package.archive, package.entries)});
}

void EpubInspector::exportPrivacyCopy(const std::filesystem::path& source,
                                      const std::filesystem::path& destination) const {
    if (!isSupported(source)) throw FileSanitizerError(FileSanitizerError::Case::unsupportedFile);
    const auto identifier = freshBookIdentifier();
    const auto copy = [&] {
        const auto package = openValidatedArchive(source);
        return cleanedEpub(package.archive, package.entries, identifier);
    };
    // The book identifier a copy shows must be the fresh one, or the copy links to its source.
    const auto verify = [&](const std::filesystem::path& written) {
        const auto report = inspect(written);
        const bool fresh =
            std::all_of(report.entries.begin(), report.entries.end(), [&](const FileMetadataEntry& entry) {
                return entry.name != u"Book identifier" || entry.value == metadataText(identifier);
            });
        return fresh ? FileExportSafety::verdictOn(*this, report) : FileExportSafety::CopyVerdict::personalDataLeft;
    };
    FileExportSafety::exportPrivacyCopy(destination, FileExportSafety::BytesWriter{.bytes = copy}, verify);
}

bool EpubInspector::failsPrivacyVerification(const FileMetadataReport& report) const {
    return std::any_of(report.entries.begin(), report.entries.end(), isEpubResidue);
}

}  // namespace velquor::files
