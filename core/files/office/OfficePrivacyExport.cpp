#include "core/files/office/OfficePrivacyExport.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/OfficeArchiveInspector.h"
#include "core/files/office/OfficeXmlEdits.h"
#include "core/files/office/PackageCleaning.h"
#include "core/files/office/XmlDocument.h"
#include "core/files/office/ZipArchive.h"

#include "core/text/base/TextConversions.h"

namespace velquor::files {

namespace fs = std::filesystem;

namespace {

bool isWordXmlPart(const std::string& name) {
    const auto lower = text::asciiLowercased(name);
    return lower.starts_with("word/") && lower.ends_with(".xml");
}

// Revision markup this program does not know would still name its author: every Word part of
// the written copy is read whole and must carry no author attribute at all.
bool wordPartsNameAnAuthor(const ZipArchive& copy) {
    for (const auto& entry : copy.listEntries()) {
        if (!isWordXmlPart(entry.name)) continue;
        const auto bytes = copy.readPart(entry);
        if (!bytes.empty() && containsAuthorAttribute(XmlDocument::parse(bytes))) return true;
    }
    return false;
}

FileExportSafety::CopyVerdict verdictOnWrittenCopy(const OfficeArchiveInspector& inspector, const fs::path& copy) {
    if (inspector.failsPrivacyVerification(inspector.inspect(copy)) || wordPartsNameAnAuthor(ZipArchive::open(copy))) {
        return FileExportSafety::CopyVerdict::personalDataLeft;
    }
    return FileExportSafety::CopyVerdict::passed;
}

std::vector<std::uint8_t> cleanedCopy(const fs::path& source) {
    const auto package = openValidatedArchive(source);
    return cleanedPackage(package.archive, package.entries);
}

}  // namespace

void exportOfficePrivacyCopy(const OfficeArchiveInspector& inspector, const fs::path& source,
                             const fs::path& destination) {
    FileExportSafety::exportPrivacyCopy(destination,
                                        FileExportSafety::BytesWriter{.bytes = [&] { return cleanedCopy(source); }},
                                        [&](const fs::path& copy) { return verdictOnWrittenCopy(inspector, copy); });
}

}  // namespace velquor::files
