#include "core/files/office/OfficePrivacyExport.h"

#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/WorkingDirectory.h"
#include "core/files/office/ArchiveTools.h"
#include "core/files/office/OfficeArchiveInspector.h"
#include "core/files/office/OfficeXmlEdits.h"
#include "core/files/office/UnpackedPackage.h"
#include "core/files/office/XmlDocument.h"
#include "core/text/base/TextConversions.h"

#include "core/text/base/TextConversions.h"

#include <chrono>

namespace velquor::files {

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Walking the unpacked tree costs time, so the watch looks at most ten times a second.
std::function<bool()> unpackedSizeWatch(const fs::path& contents) {
    return [contents, lastLook = Clock::time_point()]() mutable {
        const auto now = Clock::now();
        if (now - lastLook < std::chrono::milliseconds(100)) return false;
        lastLook = now;
        return unpackedByteCount(contents) > static_cast<std::uint64_t>(ArchiveLimits::uncompressedBytes);
    };
}

// The declared sizes are the archive's own claim: what unzip really writes is bounded too, per
// file by its file-size limit and in total by the watch, either of which ends it.
void unpack(const OpenArchive& archive, const fs::path& contents) {
    runProcess(ArchiveTool::unzip, {.arguments = {"-qq", sharedDescriptorPath, "-d", contents.string()},
                                    .workingDirectory = std::nullopt,
                                    .archive = &archive,
                                    .timeLimit = ArchiveLimits::unpackingTime,
                                    .maximumFileSize = static_cast<std::uint64_t>(ArchiveLimits::uncompressedBytes),
                                    .overLimit = unpackedSizeWatch(contents)});
    if (unpackedByteCount(contents) > static_cast<std::uint64_t>(ArchiveLimits::uncompressedBytes)) {
        throw FileSanitizerError(FileSanitizerError::Case::archiveResourceLimitExceeded);
    }
}

// -X leaves out the owner's user and group ids and -D the folder entries: neither belongs in an
// Office package, and the ids would tell who made the copy.
void pack(const fs::path& contents, const fs::path& output) {
    runProcess(ArchiveTool::zip, {.arguments = {"-qrXD", output.string(), "."},
                                  .workingDirectory = contents,
                                  .archive = nullptr,
                                  .timeLimit = ArchiveLimits::unpackingTime,
                                  .maximumFileSize = 0,
                                  .overLimit = {}});
    const OpenArchive packed(output);
    runProcess(ArchiveTool::unzip, {.arguments = {"-tqq", sharedDescriptorPath},
                                    .workingDirectory = std::nullopt,
                                    .archive = &packed,
                                    .timeLimit = ArchiveLimits::unpackingTime,
                                    .maximumFileSize = 0,
                                    .overLimit = {}});
}

bool isWordXmlPart(const std::string& name) {
    const auto lower = text::asciiLowercased(name);
    return lower.starts_with("word/") && lower.ends_with(".xml");
}

// Revision markup this program does not know would still name its author: every Word part of
// the packed copy is read whole and must carry no author attribute at all.
bool wordPartsNameAnAuthor(const fs::path& output) {
    const OpenArchive packed(output);
    for (const auto& name : listEntries(packed)) {
        if (!isWordXmlPart(name)) continue;
        const auto part =
            XmlDocument::parse(readWholePart(packed, name, static_cast<std::size_t>(ArchiveLimits::uncompressedBytes)));
        if (containsAuthorAttribute(part)) return true;
    }
    return false;
}

FileExportSafety::CopyVerdict verdictOnPackedCopy(const OfficeArchiveInspector& inspector, const fs::path& output) {
    if (inspector.failsPrivacyVerification(inspector.inspect(output)) || wordPartsNameAnAuthor(output)) {
        return FileExportSafety::CopyVerdict::personalDataLeft;
    }
    return FileExportSafety::CopyVerdict::passed;
}

// Validates, unpacks into the private folder, removes the personal parts and markup, and packs
// the rest as a new archive in the folder, whose path it returns.
fs::path writeCleanedPackage(const fs::path& source, const fs::path& folder) {
    const OpenArchive archive(source);
    const auto entries = listEntries(archive);
    if (entries.empty()) throwUnreadableFile();
    validateArchive(archive, entries);

    const auto contents = folder / "contents";
    createPrivateDirectory(contents);
    unpack(archive, contents);
    rejectSymbolicLinks(contents);
    const auto removed = removePrivateArchiveParts(contents);
    sanitizeXmlFiles(contents, removed);
    removeEmptyDirectories(contents);

    const auto output = folder / ("privacy." + source.extension().string().substr(1));
    pack(contents, output);
    return output;
}

}  // namespace

void exportOfficePrivacyCopy(const OfficeArchiveInspector& inspector, const fs::path& source,
                             const fs::path& destination) {
    FileExportSafety::exportPrivacyCopy(
        destination,
        FileExportSafety::PrivateFolderWriter{
            .folderPrefix = "velquor-office-",
            .write = [&](const fs::path& folder) { return writeCleanedPackage(source, folder); }},
        [&](const fs::path& copy) { return verdictOnPackedCopy(inspector, copy); });
}

}  // namespace velquor::files
