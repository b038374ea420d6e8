#include "core/files/epub/EpubCleaning.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/epub/EpubFontObfuscation.h"
#include "core/files/epub/EpubMetadata.h"
#include "core/files/epub/EpubMetadataEdits.h"
#include "core/files/epub/EpubPackage.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/PackageCleaning.h"
#include "core/files/office/XmlDocument.h"
#include "core/files/office/ZipArchive.h"
#include "core/files/office/ZipWriter.h"

#include <map>

namespace velquor::files {

namespace {

constexpr std::string_view mimetypePart = "mimetype";
constexpr std::uint64_t longestMimetype = 256;

XmlDocument parsedEntry(const ZipArchive& source, const std::vector<ArchiveEntry>& entries, std::string_view name) {
    return XmlDocument::parse(source.readPart(*findEntry(entries, name)));
}

// The fonts obfuscated with the old identifier's key, by path, with the new key instead.
void reobfuscateFonts(std::map<std::string, std::string>& edited, const ZipArchive& source,
                      const std::vector<ArchiveEntry>& entries, const std::string& oldIdentifier,
                      const std::string& freshIdentifier) {
    if (findEntry(entries, epubEncryptionPart) == nullptr) return;
    const auto encryption = parsedEntry(source, entries, epubEncryptionPart);
    if (protectedContentCount(encryption) > 0) throwUnreadableFile();
    for (const auto& [path, method] : obfuscatedFonts(encryption)) {
        const auto* font = findEntry(entries, path);
        if (font == nullptr) continue;
        edited[path] = reobfuscatedFont(source.readPart(*font), method, oldIdentifier, freshIdentifier);
    }
}

}  // namespace

std::vector<std::uint8_t> cleanedEpub(const ZipArchive& source, const std::vector<ArchiveEntry>& entries,
                                      const std::string& freshIdentifier) {
    const auto packagePath = packageDocumentPath(source, entries);
    auto package = parsedEntry(source, entries, packagePath);
    const auto folder = folderOf(packagePath);
    auto* unique = uniqueIdentifierElement(package);
    const auto oldIdentifier = unique != nullptr ? trimmedText(XmlDocument::text(unique)) : std::string();
    const auto ncx = ncxPath(package, folder);

    std::map<std::string, std::string> edited;
    reobfuscateFonts(edited, source, entries, oldIdentifier, freshIdentifier);
    reducePackageMetadata(package, freshIdentifier);
    edited[packagePath] = package.serialize();
    if (ncx && findEntry(entries, *ncx) != nullptr) {
        auto document = parsedEntry(source, entries, *ncx);
        reduceNcx(document, freshIdentifier);
        edited[*ncx] = document.serialize();
    }

    std::vector<const ArchiveEntry*> kept;
    for (const auto& entry : entries) {
        if (!entry.isFolder() && entry.name != mimetypePart && !isPrivateEpubPart(entry.name)) kept.push_back(&entry);
    }
    ZipWriter writer;
    if (const auto* mimetype = findEntry(entries, mimetypePart)) {
        auto type = source.readPart(*mimetype, longestMimetype + 1);
        if (type.size() > longestMimetype) throwUnreadableFile();
        writer.add(std::string(mimetypePart), std::move(type), ZipWriter::Compression::stored);
    }
    writeKeptEntries(writer, source, kept, edited, 0);
    return writer.finish();
}

}  // namespace velquor::files
