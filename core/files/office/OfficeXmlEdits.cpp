#include "core/files/office/OfficeXmlEdits.h"

#include "core/text/base/TextConversions.h"

#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <string_view>
#include <vector>

namespace velquor::files {

namespace {

// Tracked deletions and moved-away text.
constexpr std::string_view deletions[] = {"del", "moveFrom"};

// Everything else that records a revision, its author or its session, and the comment anchors.
constexpr std::string_view revisionMarks[] = {
    "commentRangeStart",
    "commentRangeEnd",
    "commentReference",
    "rPrChange",
    "pPrChange",
    "tblPrChange",
    "trPrChange",
    "tcPrChange",
    "sectPrChange",
    "numberingChange",
    "rsids",
    "docVars",
    "trackRevisions",
    "moveFromRangeStart",
    "moveFromRangeEnd",
    "moveToRangeStart",
    "moveToRangeEnd",
    "cellIns",
    "cellDel",
    "cellMerge",
    "customXmlInsRangeStart",
    "customXmlInsRangeEnd",
    "customXmlDelRangeStart",
    "customXmlDelRangeEnd",
    "customXmlMoveFromRangeStart",
    "customXmlMoveFromRangeEnd",
    "customXmlMoveToRangeStart",
    "customXmlMoveToRangeEnd",
};

// Tracked insertions and moved-to text.
constexpr std::string_view insertions[] = {"ins", "moveTo"};

// rsidR, rsidRPr, rsidRDefault, rsidP, rsidDel, rsidSect, rsidTr: ids of editing sessions,
// which point into the revision-session table removed above.
constexpr std::string_view revisionSessionAttributePrefix = "rsid";

constexpr std::array<std::string_view, 10> privateTargetFragments = {
    "docprops/",        "comments",  "commentauthors", "people",     "persons/",
    "threadedcomments", "thumbnail", "changesinfos/",  "revisions/", "externallinks/",
};

constexpr std::array<std::string_view, 2> relationshipNamespaces = {
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships",
    "http://purl.oclc.org/ooxml/officeDocument/relationships",
};

std::string attribute(xmlNode* element, const char* name) {
    xmlChar* value = xmlGetNoNsProp(element, reinterpret_cast<const xmlChar*>(name));
    if (value == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(value));
    xmlFree(value);
    return text;
}

std::string_view localName(const xmlNode* node) { return reinterpret_cast<const char*>(node->name); }

std::string_view namespaceOf(const xmlNode* node) {
    return node->ns && node->ns->href ? reinterpret_cast<const char*>(node->ns->href) : "";
}

// A relationship target as a package path: relative to the part's folder unless it starts with
// "/", with "." and ".." segments resolved; lower-cased.
std::string resolvedTarget(const std::string& partFolder, std::string_view target) {
    const std::string joined =
        target.starts_with('/') ? std::string(target.substr(1)) : partFolder + std::string(target);
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const auto slash = std::min(joined.find('/', start), joined.size());
        const auto segment = joined.substr(start, slash - start);
        if (segment == "..") {
            if (!segments.empty()) segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = slash + 1;
    }
    std::string path;
    for (const auto& segment : segments) path += (path.empty() ? "" : "/") + segment;
    return text::asciiLowercased(path);
}

bool hasPrivateTarget(std::string_view lowerTarget) {
    return std::any_of(privateTargetFragments.begin(), privateTargetFragments.end(),
                       [&](auto fragment) { return lowerTarget.find(fragment) != std::string_view::npos; });
}

std::set<std::string> lowercasedWithoutLeadingSlashes(const std::set<std::string>& paths) {
    std::set<std::string> lower;
    for (const auto& path : paths) {
        const auto start = path.find_first_not_of('/');
        lower.insert(text::asciiLowercased(start == std::string::npos ? "" : std::string_view(path).substr(start)));
    }
    return lower;
}

bool refersToRemovedRelationship(xmlNode* element, const std::set<std::string>& removedIds) {
    for (auto* property = element->properties; property != nullptr; property = property->next) {
        if (property->ns == nullptr || property->ns->href == nullptr) continue;
        const std::string_view href = reinterpret_cast<const char*>(property->ns->href);
        if (std::find(relationshipNamespaces.begin(), relationshipNamespaces.end(), href) ==
            relationshipNamespaces.end()) {
            continue;
        }
        xmlChar* value = xmlNodeListGetString(element->doc, property->children, 1);
        const bool removed = value != nullptr && removedIds.contains(reinterpret_cast<const char*>(value));
        xmlFree(value);
        if (removed) return true;
    }
    return false;
}

bool hasElementChildren(const xmlNode* element) {
    for (auto* child = element->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) return true;
    }
    return false;
}

std::string textOf(xmlNode* element) {
    xmlChar* content = xmlNodeGetContent(element);
    if (content == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

// "[1]Sheet1!A1" and "'[2]Budget 2024'!B3" read the first and second linked workbooks.
bool readsAnotherWorkbook(std::string_view formula) {
    for (auto open = formula.find('['); open != std::string_view::npos; open = formula.find('[', open + 1)) {
        const auto close = formula.find_first_not_of("0123456789", open + 1);
        if (close != std::string_view::npos && close > open + 1 && formula[close] == ']') return true;
    }
    return false;
}

bool isWordHyperlink(const xmlNode* element) {
    return localName(element) == "hyperlink" && namespaceOf(element).find("wordprocessingml") != std::string_view::npos;
}

// A list that the schema requires to hold at least one item.
bool isListThatMustNotBeEmpty(const xmlNode* element) {
    return element != nullptr && element->type == XML_ELEMENT_NODE &&
           (localName(element) == "hyperlinks" || localName(element) == "externalReferences");
}

}  // namespace

void sanitizeWordPart(XmlDocument& part) {
    XmlDocument::detach(part.elementsNamed(deletions));
    XmlDocument::detach(part.elementsNamed(revisionMarks));
    auto inserted = part.elementsNamed(insertions);
    // From last to first, so that an insertion nested in another is unwrapped into it first.
    for (auto node = inserted.rbegin(); node != inserted.rend(); ++node) XmlDocument::unwrap(*node);
    part.removeAttributesStartingWith(revisionSessionAttributePrefix);
}

std::set<std::string> sanitizeRelationships(XmlDocument& relationships, const std::string& partFolder,
                                            const std::set<std::string>& removedParts) {
    const auto removed = lowercasedWithoutLeadingSlashes(removedParts);
    std::set<std::string> removedIds;
    std::vector<XmlDocument::Node> detached;
    for (auto* element : relationships.elementsNamed(std::array<std::string_view, 1>{"Relationship"})) {
        const auto mode = text::asciiLowercased(attribute(element, "TargetMode"));
        const auto target = text::asciiLowercased(attribute(element, "Target"));
        const bool remove =
            mode == "external" || hasPrivateTarget(target) || removed.contains(resolvedTarget(partFolder, target));
        if (!remove) continue;
        detached.push_back(element);
        removedIds.insert(attribute(element, "Id"));
    }
    XmlDocument::detach(detached);
    return removedIds;
}

void removeContentTypeOverrides(XmlDocument& contentTypes, const std::set<std::string>& removedParts) {
    std::set<std::string> removed;
    for (const auto& part : removedParts) removed.insert(text::asciiLowercased(part));
    std::vector<XmlDocument::Node> detached;
    for (auto* element : contentTypes.elementsNamed(std::array<std::string_view, 1>{"Override"})) {
        if (xmlHasProp(element, reinterpret_cast<const xmlChar*>("PartName")) == nullptr) continue;
        const auto name = text::asciiLowercased(attribute(element, "PartName"));
        const auto start = name.find_first_not_of('/');
        const auto relative = start == std::string::npos ? std::string() : name.substr(start);
        if (removed.contains(name) || isPrivateArchivePart(relative)) detached.push_back(element);
    }
    XmlDocument::detach(detached);
}

void removeReferencesToRelationships(XmlDocument& part, const std::set<std::string>& removedIds) {
    if (removedIds.empty()) return;
    auto referring = part.elementsWithAttributes();
    std::erase_if(referring, [&](auto* element) { return !refersToRemovedRelationship(element, removedIds); });
    // Last to first: an element inside another referring element is handled before it.
    for (auto element = referring.rbegin(); element != referring.rend(); ++element) {
        auto* parent = (*element)->parent;
        if (isWordHyperlink(*element)) {
            XmlDocument::unwrap(*element);
            continue;
        }
        XmlDocument::detach({*element});
        if (isListThatMustNotBeEmpty(parent) && !hasElementChildren(parent)) XmlDocument::detach({parent});
    }
}

void removeExternalWorkbookFormulas(XmlDocument& part) {
    auto formulas = part.elementsNamed(std::array<std::string_view, 1>{"f"});
    std::set<std::string> brokenSharedFormulas;
    for (auto* formula : formulas) {
        if (readsAnotherWorkbook(textOf(formula)) && attribute(formula, "t") == "shared") {
            brokenSharedFormulas.insert(attribute(formula, "si"));
        }
    }
    std::erase_if(formulas, [&](xmlNode* formula) {
        const bool shared =
            attribute(formula, "t") == "shared" && brokenSharedFormulas.contains(attribute(formula, "si"));
        return !shared && !readsAnotherWorkbook(textOf(formula));
    });
    XmlDocument::detach(formulas);

    for (auto* name : part.elementsNamed(std::array<std::string_view, 1>{"definedName"})) {
        if (!readsAnotherWorkbook(textOf(name))) continue;
        auto* list = name->parent;
        XmlDocument::detach({name});
        if (list != nullptr && list->type == XML_ELEMENT_NODE && localName(list) == "definedNames" &&
            !hasElementChildren(list)) {
            XmlDocument::detach({list});
        }
    }
}

bool containsAuthorAttribute(const XmlDocument& part) { return part.hasAttributeNamed("author"); }

bool isPrivateArchivePart(std::string_view relativePath) {
    const auto path = text::asciiLowercased(relativePath);
    constexpr std::string_view prefixes[] = {
        "docprops/",   "word/comments",        "word/people",       "ppt/comments/", "xl/comments",
        "xl/persons/", "xl/threadedcomments/", "ppt/changesinfos/", "xl/revisions/", "xl/externallinks/",
    };
    return path == "ppt/commentauthors.xml" ||
           std::any_of(std::begin(prefixes), std::end(prefixes), [&](auto prefix) { return path.starts_with(prefix); });
}

}  // namespace velquor::files
