#include "core/files/epub/EpubMetadata.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/MetadataText.h"
#include "core/files/epub/EpubFontObfuscation.h"
#include "core/files/epub/EpubPackage.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/EmbeddedFiles.h"
#include "core/files/office/OfficeInspection.h"
#include "core/files/office/XmlDocument.h"
#include "core/files/office/ZipArchive.h"

#include "core/text/base/TextConversions.h"

#include <libxml/tree.h>

#include <algorithm>

namespace velquor::files {

namespace {

using Node = XmlDocument::Node;

constexpr std::u16string_view section = u"EPUB";

struct DublinCoreRow {
    std::string_view element;
    std::u16string_view name;
};

constexpr DublinCoreRow dublinCoreRows[] = {
    {"title", u"Book title"},    {"language", u"Language"}, {"creator", u"Creator"},   {"contributor", u"Contributor"},
    {"publisher", u"Publisher"}, {"date", u"Date"},         {"rights", u"Rights"},     {"description", u"Description"},
    {"subject", u"Subject"},     {"source", u"Source"},     {"relation", u"Relation"}, {"coverage", u"Coverage"},
    {"type", u"Kind"},           {"format", u"Format"},
};

// The book identifier stays as a row: every copy replaces its value with a fresh random one.
constexpr std::u16string_view keptNames[] = {u"Book title", u"Book identifier", u"Language", u"ISBN", u"Cover image"};

// NCX head entries a reading system needs; everything else there is the tool's.
constexpr std::string_view structuralNcxMetas[] = {"dtb:uid", "dtb:depth", "dtb:totalPageCount", "dtb:maxPageNumber"};

constexpr std::string_view privateParts[] = {"itunesmetadata.plist", "meta-inf/calibre_bookmarks.txt"};

std::vector<Node> elements(const XmlDocument& document, std::string_view localName) {
    const std::string_view names[] = {localName};
    return document.elementsNamed(names);
}

void appendRow(std::vector<FileMetadataEntry>& rows, std::u16string_view name, std::string_view value) {
    if (!value.empty()) appendArchiveRow(rows, section, name, metadataText(value));
}

std::u16string_view dublinCoreName(std::string_view element) {
    for (const auto& row : dublinCoreRows) {
        if (row.element == element) return row.name;
    }
    return {};
}

std::u16string_view identifierName(std::string_view value, std::string_view bookIdentifier) {
    if (value == bookIdentifier) return u"Book identifier";
    return isIsbn(value) ? u"ISBN" : u"Identifier";
}

void appendMeta(std::vector<FileMetadataEntry>& rows, Node meta) {
    const auto name = XmlDocument::attribute(meta, "name");
    if (name == "cover") return;
    const auto property = XmlDocument::attribute(meta, "property");
    if (property == "dcterms:modified") {
        appendRow(rows, u"Modified", trimmedText(XmlDocument::text(meta)));
        return;
    }
    const auto label = name ? *name : property.value_or("meta");
    const auto value = name ? XmlDocument::attribute(meta, "content").value_or("") : XmlDocument::text(meta);
    appendRow(rows, u"Metadata", label + " = " + trimmedText(value));
}

void appendMetadata(std::vector<FileMetadataEntry>& rows, const XmlDocument& package, std::string_view bookIdentifier) {
    for (auto* element : metadataEntries(package)) {
        const auto value = trimmedText(XmlDocument::text(element));
        const auto localName = XmlDocument::localName(element);
        if (localName == "identifier") {
            appendRow(rows, identifierName(value, bookIdentifier), value);
        } else if (localName == "meta") {
            appendMeta(rows, element);
        } else if (localName == "link") {
            appendRow(rows, u"Metadata link", XmlDocument::attribute(element, "href").value_or(""));
        } else if (const auto name = dublinCoreName(localName); !name.empty()) {
            appendRow(rows, name, value);
        } else if (!value.empty()) {
            appendRow(rows, u"Metadata", std::string(localName) + " = " + value);
        }
    }
}

void appendNcx(std::vector<FileMetadataEntry>& rows, const XmlDocument& ncx, std::string_view bookIdentifier) {
    for (auto* author : elements(ncx, "docAuthor"))
        appendRow(rows, u"NCX author", trimmedText(XmlDocument::text(author)));
    for (auto* meta : elements(ncx, "meta")) {
        const auto name = XmlDocument::attribute(meta, "name").value_or("");
        const auto content = trimmedText(XmlDocument::attribute(meta, "content").value_or(""));
        if (name == "dtb:uid") {
            appendRow(rows, identifierName(content, bookIdentifier), content);
        } else if (std::find(std::begin(structuralNcxMetas), std::end(structuralNcxMetas), name) ==
                   std::end(structuralNcxMetas)) {
            appendRow(rows, u"Metadata", name + " = " + content);
        }
    }
}

std::optional<XmlDocument> parsedPart(const ZipArchive& archive, const std::vector<ArchiveEntry>& listing,
                                      const std::optional<std::string>& path) {
    const auto* entry = path ? findEntry(listing, *path) : nullptr;
    if (entry == nullptr) return std::nullopt;
    return XmlDocument::parse(archive.readPart(*entry));
}

}  // namespace

bool isPrivateEpubPart(std::string_view name) {
    const auto lower = text::asciiLowercased(name);
    return std::find(std::begin(privateParts), std::end(privateParts), lower) != std::end(privateParts);
}

bool isEpubResidue(const FileMetadataEntry& entry) {
    if (entry.section == u"Embedded") return entry.name.starts_with(u"Metadata in ");
    if (entry.section == u"Preview") return entry.name != u"Cover image";
    if (entry.name == u"Modified") return entry.value != metadataText(fixedModificationDate);
    return std::find(std::begin(keptNames), std::end(keptNames), entry.name) == std::end(keptNames);
}

std::vector<FileMetadataEntry> epubEntries(const ZipArchive& archive, const std::vector<ArchiveEntry>& listing) {
    std::vector<FileMetadataEntry> rows;
    const auto packagePath = packageDocumentPath(archive, listing);
    const auto package = XmlDocument::parse(archive.readPart(*findEntry(listing, packagePath)));
    const auto folder = folderOf(packagePath);
    auto* unique = uniqueIdentifierElement(package);
    const auto bookIdentifier = unique != nullptr ? trimmedText(XmlDocument::text(unique)) : std::string();
    appendMetadata(rows, package, bookIdentifier);
    if (const auto ncx = parsedPart(archive, listing, ncxPath(package, folder))) appendNcx(rows, *ncx, bookIdentifier);
    if (const auto cover = coverImagePath(package, folder); cover && findEntry(listing, *cover) != nullptr) {
        appendArchiveRow(rows, u"Preview", u"Cover image", metadataText(*cover));
    }
    if (const auto encryption = parsedPart(archive, listing, std::string(epubEncryptionPart))) {
        if (const auto count = protectedContentCount(*encryption); count > 0) {
            appendArchiveRow(rows, section, u"Protected parts", text::decimalText(count));
        }
    }
    std::vector<ArchiveEntry> kept;
    for (const auto& entry : listing) {
        if (isPrivateEpubPart(entry.name)) {
            appendArchiveRow(rows, section, u"Reading app data", metadataText(entry.name));
        } else {
            kept.push_back(entry);
        }
    }
    appendEmbeddedFileSignals(rows, archive, kept, 0);
    return withoutRepeatedRows(std::move(rows));
}

}  // namespace velquor::files
