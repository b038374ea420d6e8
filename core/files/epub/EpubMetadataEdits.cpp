#include "core/files/epub/EpubMetadataEdits.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/epub/EpubMetadata.h"
#include "core/files/epub/EpubPackage.h"

#include <libxml/tree.h>

#include <algorithm>
#include <vector>

namespace velquor::files {

namespace {

using Node = XmlDocument::Node;

constexpr std::string_view structuralNcxMetas[] = {"dtb:uid", "dtb:depth", "dtb:totalPageCount", "dtb:maxPageNumber"};

std::vector<Node> elements(const XmlDocument& document, std::string_view localName) {
    const std::string_view names[] = {localName};
    return document.elementsNamed(names);
}

// What stays of the metadata: titles, languages, the unique identifier and ISBNs, the EPUB 2
// cover and the modification date (given its fixed value later).
bool isKept(Node entry, Node unique) {
    const auto name = XmlDocument::localName(entry);
    if (name == "title" || name == "language") return true;
    if (name == "identifier") return entry == unique || isIsbn(XmlDocument::text(entry));
    if (name != "meta") return false;
    return XmlDocument::attribute(entry, "name") == "cover" ||
           XmlDocument::attribute(entry, "property") == "dcterms:modified";
}

Node freshIdentifierElement(XmlDocument& package, Node metadata) {
    const auto titles = elements(package, "title");
    const auto title = std::find_if(titles.begin(), titles.end(), isDublinCore);
    if (title == titles.end()) throwUnreadableFile();
    auto* identifier = XmlDocument::appendElementLike(metadata, *title, "identifier");
    const auto id = XmlDocument::attribute(package.root(), "unique-identifier").value_or("uid");
    XmlDocument::setAttribute(identifier, "id", id);
    XmlDocument::setAttribute(package.root(), "unique-identifier", id);
    return identifier;
}

std::vector<Node> modificationDates(const XmlDocument& package) {
    auto dates = metadataEntries(package);
    std::erase_if(dates, [](Node entry) {
        return XmlDocument::localName(entry) != "meta" ||
               XmlDocument::attribute(entry, "property") != "dcterms:modified";
    });
    return dates;
}

void setModificationDate(XmlDocument& package, Node metadata) {
    auto dates = modificationDates(package);
    if (dates.empty()) {
        auto* date = XmlDocument::appendElementLike(metadata, metadata, "meta");
        XmlDocument::setAttribute(date, "property", "dcterms:modified");
        dates.push_back(date);
    }
    XmlDocument::setText(dates.front(), fixedModificationDate);
    XmlDocument::detach(std::vector<Node>(dates.begin() + 1, dates.end()));
}

}  // namespace

void reducePackageMetadata(XmlDocument& package, std::string_view freshIdentifier) {
    auto* metadata = packageMetadata(package);
    if (metadata == nullptr) throwUnreadableFile();
    auto* unique = uniqueIdentifierElement(package);
    if (unique == nullptr) unique = freshIdentifierElement(package, metadata);
    XmlDocument::setText(unique, freshIdentifier);
    // The old scheme ("calibre", "ISBN") would describe an identifier that is gone.
    XmlDocument::removeAttribute(unique, "scheme");

    auto dropped = metadataEntries(package);
    std::erase_if(dropped, [&](Node entry) { return isKept(entry, unique); });
    XmlDocument::detach(dropped);

    if (isEpub3(package)) {
        setModificationDate(package, metadata);
    } else {
        XmlDocument::detach(modificationDates(package));
    }
}

void reduceNcx(XmlDocument& ncx, std::string_view freshIdentifier) {
    auto dropped = elements(ncx, "docAuthor");
    for (auto* meta : elements(ncx, "meta")) {
        const auto name = XmlDocument::attribute(meta, "name").value_or("");
        if (name == "dtb:uid") {
            XmlDocument::setAttribute(meta, "content", freshIdentifier);
        } else if (std::find(std::begin(structuralNcxMetas), std::end(structuralNcxMetas), name) ==
                   std::end(structuralNcxMetas)) {
            dropped.push_back(meta);
        }
    }
    XmlDocument::detach(dropped);
}

}  // namespace velquor::files
