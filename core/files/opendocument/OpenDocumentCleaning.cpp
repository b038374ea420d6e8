#include "core/files/opendocument/OpenDocumentCleaning.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/PackageCleaning.h"
#include "core/files/office/XmlDocument.h"
#include "core/files/office/ZipArchive.h"
#include "core/files/office/ZipWriter.h"
#include "core/files/opendocument/OpenDocumentInspection.h"
#include "core/files/opendocument/OpenDocumentParts.h"

#include <map>

namespace velquor::files {

namespace {

// A mimetype longer than this is no type name.
constexpr std::uint64_t longestMimetype = 256;

std::string mimetypeOf(const ZipArchive& source, const ArchiveEntry& entry) {
    auto type = source.readPart(entry, longestMimetype + 1);
    if (type.size() > longestMimetype) throwUnreadableFile();
    return type;
}

std::string editedPart(const ArchiveEntry& entry, const std::string& bytes, const std::set<std::string>& removed) {
    auto part = XmlDocument::parse(bytes);
    if (entry.name == manifestPart) {
        if (isEncryptedPackage(part)) throwUnreadableFile();
        removeManifestEntries(part, removed);
    } else if (isSettingsPart(entry.name)) {
        removePersonalSettings(part);
    } else {
        cleanDocumentPart(part);
    }
    return part.serialize();
}

bool needsEditing(const ArchiveEntry& entry) {
    return entry.name == manifestPart || isSettingsPart(entry.name) || isDocumentBodyPart(entry.name);
}

}  // namespace

void removeManifestEntries(XmlDocument& manifest, const std::set<std::string>& removedParts) {
    constexpr std::string_view fileEntries[] = {"file-entry"};
    auto entries = manifest.elementsNamed(fileEntries);
    std::erase_if(entries, [&](XmlDocument::Node entry) {
        const auto path = XmlDocument::attribute(entry, "full-path").value_or("");
        return !removedParts.contains(path) && !isPrivateOpenDocumentPart(path);
    });
    XmlDocument::detach(entries);
}

std::vector<std::uint8_t> cleanedOpenDocument(const ZipArchive& source, const std::vector<ArchiveEntry>& entries) {
    if (findEntry(entries, documentSignaturesPart) != nullptr) {
        throw FileSanitizerError(FileSanitizerError::Case::signedDocument);
    }
    std::set<std::string> removed;
    std::vector<const ArchiveEntry*> kept;
    for (const auto& entry : entries) {
        if (entry.isFolder() || entry.name == mimetypePart) continue;
        if (isPrivateOpenDocumentPart(entry.name)) {
            removed.insert(entry.name);
        } else {
            kept.push_back(&entry);
        }
    }
    if (kept.empty()) throwUnreadableFile();
    std::map<std::string, std::string> edited;
    for (const auto* entry : kept) {
        if (!needsEditing(*entry)) continue;
        // An empty part carries nothing and stays as it is.
        const auto bytes = source.readPart(*entry);
        if (!bytes.empty()) edited[entry->name] = editedPart(*entry, bytes, removed);
    }
    ZipWriter writer;
    if (const auto* mimetype = findEntry(entries, mimetypePart)) {
        writer.add(std::string(mimetypePart), mimetypeOf(source, *mimetype), ZipWriter::Compression::stored);
    }
    writeKeptEntries(writer, source, kept, edited, 0);
    return writer.finish();
}

}  // namespace velquor::files
