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

constexpr std::string_view dublinCoreNamespace = "http://purl.org/dc/elements/1.1/";

constexpr std::string_view structuralNcxMetas[] = {"dtb:uid", "dtb:depth", "dtb:totalPageCount", "dtb:maxPageNumber"};

std::vector<Node> elements(const XmlDocument& document, std::string_view localName) {
    const std::string_view names[] = {localName};
    return document.elementsNamed(names);
}

bool isDublinCore(Node element) {
    return element->ns != nullptr && element->ns->href != nullptr &&
           reinterpret_cast<const char*>(element->ns->href) == dublinCoreNamespace;
}

// Every element of the Dublin Core namespace, wherever it is.
std::vector<Node> dublinCoreElements(const XmlDocument& package) {
    std::vector<Node> found;
    std::vector<Node> pending{package.root()};
    while (!pending.empty()) {
        auto* node = pending.back();
        pending.pop_back();
        if (isDublinCore(node)) found.push_back(node);
        const auto children = XmlDocument::childElements(node);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return found;
}

// What stays of the Dublin Core elements; the unique identifier is told apart by the caller.
bool keepsDublinCore(Node element) {
    const auto name = XmlDocument::localName(element);
    if (name == "title" || name == "language") return true;
    return name == "identifier" && isIsbn(XmlDocument::text(element));
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

void setModificationDate(XmlDocument& package, Node metadata) {
    std::vector<Node> dates;
    for (auto* meta : elements(package, "meta")) {
        if (XmlDocument::attribute(meta, "property") == "dcterms:modified") dates.push_back(meta);
    }
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
    // The metadata of the package itself, never one nested where it could go with what is dropped.
    const auto metadataElements = elements(package, "metadata");
    const auto found = std::find_if(metadataElements.begin(), metadataElements.end(),
                                    [&](Node element) { return element->parent == package.root(); });
    if (found == metadataElements.end()) throwUnreadableFile();
    auto* metadata = *found;
    auto* unique = uniqueIdentifierElement(package);
    if (unique == nullptr) unique = freshIdentifierElement(package, metadata);
    XmlDocument::setText(unique, freshIdentifier);
    // The old scheme ("calibre", "ISBN") would describe an identifier that is gone.
    XmlDocument::removeAttribute(unique, "scheme");

    std::vector<Node> dropped;
    for (auto* element : dublinCoreElements(package)) {
        if (element != unique && !keepsDublinCore(element)) dropped.push_back(element);
    }
    for (auto* meta : elements(package, "meta")) {
        const bool cover = XmlDocument::attribute(meta, "name") == "cover";
        const bool modified = XmlDocument::attribute(meta, "property") == "dcterms:modified";
        if (!cover && !modified) dropped.push_back(meta);
    }
    for (auto* link : elements(package, "link")) {
        if (XmlDocument::isInside(link, "metadata")) dropped.push_back(link);
    }
    XmlDocument::detach(dropped);

    if (isEpub3(package)) {
        setModificationDate(package, metadata);
    } else {
        std::vector<Node> dates;
        for (auto* meta : elements(package, "meta")) {
            if (XmlDocument::attribute(meta, "property") == "dcterms:modified") dates.push_back(meta);
        }
        XmlDocument::detach(dates);
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
