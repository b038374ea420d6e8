#include "core/files/svg/SvgStructure.h"

#include "core/text/base/Ascii.h"
#include "core/text/base/TextConversions.h"

#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace velquor::files {

namespace {

using Kind = SvgStructureKind;

// Whose names an element or attribute carries, by the namespace its prefix is bound to.
enum class Vocabulary { svg, xlink, xml, xhtml, editor, metadata, unknown };

struct NamespaceRow {
    std::string_view uri;
    Vocabulary vocabulary;
    bool wholeFamily = false;  // the uri is a prefix shared by a family of namespaces
};

constexpr std::array<NamespaceRow, 14> namespaceTable{{
    {"http://www.w3.org/2000/svg", Vocabulary::svg},
    {"http://www.w3.org/1999/xlink", Vocabulary::xlink},
    {"http://www.w3.org/XML/1998/namespace", Vocabulary::xml},
    {"http://www.w3.org/1999/xhtml", Vocabulary::xhtml},
    {"http://www.inkscape.org/namespaces/inkscape", Vocabulary::editor},
    {"http://sodipodi.sourceforge.net/DTD/sodipodi-0.dtd", Vocabulary::editor},
    {"http://inkscape.sourceforge.net/DTD/sodipodi-0.dtd", Vocabulary::editor},
    {"http://www.bohemiancoding.com/sketch/ns", Vocabulary::editor},
    {"http://ns.adobe.com/", Vocabulary::editor, true},  // Illustrator, its viewer and its XMP
    {"adobe:ns:meta/", Vocabulary::metadata},
    {"http://www.w3.org/1999/02/22-rdf-syntax-ns#", Vocabulary::metadata},
    {"http://purl.org/dc/", Vocabulary::metadata, true},  // Dublin Core elements and terms
    {"http://creativecommons.org/ns#", Vocabulary::metadata},
    {"http://web.resource.org/cc/", Vocabulary::metadata},
}};

// Prefixes that stand for a vocabulary even where the document never binds them, as the text
// patterns read them.
struct PrefixRow {
    std::string_view prefix;
    Vocabulary vocabulary;
};

constexpr std::array<PrefixRow, 9> unboundPrefixTable{{
    {"inkscape", Vocabulary::editor},
    {"sodipodi", Vocabulary::editor},
    {"illustrator", Vocabulary::editor},
    {"sketch", Vocabulary::editor},
    {"figma", Vocabulary::editor},
    {"adobe", Vocabulary::editor},
    {"dc", Vocabulary::metadata},
    {"cc", Vocabulary::metadata},
    {"rdf", Vocabulary::metadata},
}};

// SVG elements that are whole constructs to remove.
struct ElementRow {
    std::string_view localName;
    Kind kind;
};

constexpr std::array<ElementRow, 3> svgConstructTable{{
    {"script", Kind::scriptBlock},
    {"metadata", Kind::metadataBlock},
    {"foreignObject", Kind::embeddedHtml},
}};

constexpr std::array<std::string_view, 5> animationElements{"set", "animate", "animateMotion", "animateTransform",
                                                            "animateColor"};
constexpr std::array<std::string_view, 4> animationValueAttributes{"to", "from", "by", "values"};

// Properties whose values may hold url(...) references to other resources.
constexpr std::array<std::string_view, 10> urlValuedProperties{
    "fill", "stroke", "clip-path", "mask", "filter", "marker-start", "marker-mid", "marker-end", "cursor", "style"};

struct KindRow {
    Kind kind;
    std::u16string_view section;
    std::u16string_view name;
};

constexpr std::array<KindRow, 8> kindTable{{
    {Kind::metadataBlock, u"SVG", u"Metadata blocks"},
    {Kind::scriptBlock, u"SVG", u"Script blocks"},
    {Kind::embeddedHtml, u"SVG", u"Embedded HTML"},
    {Kind::eventHandler, u"SVG", u"Event handlers"},
    {Kind::externalHref, u"SVG", u"External hrefs"},
    {Kind::editorData, u"SVG", u"Editor namespaces"},
    {Kind::generatorField, u"SVG", u"Generator fields"},
    {Kind::unknownNamespace, u"SVG", u"Unknown namespaces"},
}};

const KindRow& rowOf(Kind kind) {
    return *std::find_if(kindTable.begin(), kindTable.end(), [kind](const KindRow& row) { return row.kind == kind; });
}

std::string_view asView(const xmlChar* value) {
    return value == nullptr ? std::string_view() : std::string_view(reinterpret_cast<const char*>(value));
}

template <std::size_t size>
bool isOneOf(std::string_view name, const std::array<std::string_view, size>& names) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

Vocabulary vocabularyOfNamespace(std::string_view uri) {
    for (const auto& row : namespaceTable) {
        if (row.wholeFamily ? uri.starts_with(row.uri) : uri == row.uri) return row.vocabulary;
    }
    return Vocabulary::unknown;
}

// libxml2 keeps a name whose prefix is bound to nothing whole ("x:label") and without a namespace.
std::optional<Vocabulary> vocabularyOfUnboundPrefix(std::string_view name) {
    const auto colon = name.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto prefix = name.substr(0, colon);
    for (const auto& row : unboundPrefixTable) {
        if (row.prefix == prefix) return row.vocabulary;
    }
    return Vocabulary::unknown;
}

// A name without a namespace reads as SVG: hand-written drawings often omit the declaration.
Vocabulary vocabularyOf(const xmlNs* ns, std::string_view name) {
    if (ns != nullptr) return vocabularyOfNamespace(asView(ns->href));
    return vocabularyOfUnboundPrefix(name).value_or(Vocabulary::svg);
}

std::string localPart(std::string_view qualifiedName) {
    const auto colon = qualifiedName.find(':');
    return std::string(colon == std::string_view::npos ? qualifiedName : qualifiedName.substr(colon + 1));
}

std::string attributeValue(xmlAttr* attribute) {
    auto* value = xmlNodeGetContent(reinterpret_cast<xmlNode*>(attribute));
    std::string copy(asView(value));
    xmlFree(value);
    return copy;
}

std::optional<std::string> plainAttribute(xmlNode* element, const char* name) {
    auto* value = xmlGetNoNsProp(element, reinterpret_cast<const xmlChar*>(name));
    if (value == nullptr) return std::nullopt;
    std::string copy(asView(value));
    xmlFree(value);
    return copy;
}

bool isXmlSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

std::string_view withoutLeadingSpace(std::string_view value) {
    while (!value.empty() && isXmlSpace(value.front())) value.remove_prefix(1);
    return value;
}

// A link anywhere but to a fragment of the document itself, as the href pattern reads it.
bool isExternalLink(std::string_view value) { return !value.empty() && !withoutLeadingSpace(value).starts_with('#'); }

// "on" and letters only, as the event-handler pattern reads a name.
bool isEventHandlerName(std::string_view name) {
    if (name.size() < 3 || text::asciiLowercased(name.substr(0, 2)) != "on") return false;
    return std::all_of(name.begin() + 2, name.end(), [](char c) { return text::isAsciiLetter(c); });
}

// Some url(...) in the value that is not a fragment reference.
bool holdsExternalUrl(std::string_view value) {
    const auto lowered = text::asciiLowercased(value);
    for (auto at = lowered.find("url("); at != std::string::npos; at = lowered.find("url(", at + 4)) {
        auto rest = withoutLeadingSpace(std::string_view(lowered).substr(at + 4));
        if (!rest.empty() && (rest.front() == '"' || rest.front() == '\'')) rest = withoutLeadingSpace(rest.substr(1));
        if (!rest.starts_with('#')) return true;
    }
    return false;
}

// An animation reaches outside the document when it sets a link to something other than a
// fragment, or a URL-valued property to an outside url(); setting an event handler is a handler.
std::optional<Kind> animationKind(xmlNode* animation) {
    const auto target = localPart(plainAttribute(animation, "attributeName").value_or(""));
    if (isEventHandlerName(target)) return Kind::eventHandler;
    const bool setsLink = target == "href";
    if (!setsLink && !isOneOf(target, urlValuedProperties)) return std::nullopt;
    for (const auto name : animationValueAttributes) {
        const auto value = plainAttribute(animation, std::string(name).c_str());
        if (!value) continue;
        if (!setsLink) {
            if (holdsExternalUrl(*value)) return Kind::externalHref;
            continue;
        }
        std::string_view rest(*value);
        for (;;) {
            const auto end = rest.find(';');
            if (isExternalLink(withoutLeadingSpace(rest.substr(0, end)))) return Kind::externalHref;
            if (end == std::string_view::npos) break;
            rest.remove_prefix(end + 1);
        }
    }
    return std::nullopt;
}

std::optional<Kind> svgElementKind(xmlNode* element, std::string_view localName) {
    for (const auto& row : svgConstructTable) {
        if (row.localName == localName) return row.kind;
    }
    if (isOneOf(localName, animationElements)) return animationKind(element);
    return std::nullopt;
}

std::optional<Kind> elementKind(xmlNode* element) {
    const auto name = asView(element->name);
    switch (vocabularyOf(element->ns, name)) {
        case Vocabulary::svg:
            return svgElementKind(element, name);
        case Vocabulary::xhtml:
            return name == "script" ? Kind::scriptBlock : Kind::embeddedHtml;
        case Vocabulary::editor:
            return Kind::editorData;
        case Vocabulary::metadata:
            return Kind::generatorField;
        case Vocabulary::xlink:
        case Vocabulary::xml:
        case Vocabulary::unknown:
            return Kind::unknownNamespace;
    }
    return Kind::unknownNamespace;
}

std::optional<Kind> attributeKind(xmlAttr* attribute) {
    const auto name = asView(attribute->name);
    switch (vocabularyOf(attribute->ns, name)) {
        case Vocabulary::svg:
        case Vocabulary::xhtml:
            if (isEventHandlerName(name)) return Kind::eventHandler;
            [[fallthrough]];
        case Vocabulary::xlink:
            if (name == "href" && isExternalLink(attributeValue(attribute))) return Kind::externalHref;
            return std::nullopt;
        case Vocabulary::xml:
            return std::nullopt;
        case Vocabulary::editor:
            return Kind::editorData;
        case Vocabulary::metadata:
            return Kind::generatorField;
        case Vocabulary::unknown:
            return Kind::unknownNamespace;
    }
    return Kind::unknownNamespace;
}

}  // namespace

std::u16string_view svgStructureSection(SvgStructureKind kind) { return rowOf(kind).section; }

std::u16string_view svgStructureName(SvgStructureKind kind) { return rowOf(kind).name; }

// Depth first and in document order, with a stack of its own: the parser bounds the depth, but
// nothing here relies on that.
std::vector<SvgStructureFinding> svgStructureFindings(const SvgXmlDocument& document) {
    std::vector<SvgStructureFinding> findings;
    std::vector<xmlNode*> pending;
    if (auto* root = document.root()) pending.push_back(root);
    while (!pending.empty()) {
        auto* element = pending.back();
        pending.pop_back();
        const auto kind = elementKind(element);
        if (kind) findings.push_back({*kind, element});
        if (kind && kind != Kind::unknownNamespace) continue;
        for (auto* attribute = element->properties; attribute != nullptr; attribute = attribute->next) {
            if (const auto attributeFinding = attributeKind(attribute)) {
                findings.push_back({*attributeFinding, element, attribute, *attributeFinding == Kind::externalHref});
            }
        }
        for (auto* child = xmlGetLastChild(element); child != nullptr; child = child->prev) {
            if (child->type == XML_ELEMENT_NODE) pending.push_back(child);
        }
    }
    return findings;
}

bool removeClassifiedFindings(const std::vector<SvgStructureFinding>& findings) {
    bool removed = false;
    for (const auto& finding : findings) {
        if (finding.kind == Kind::unknownNamespace) continue;
        removed = true;
        if (finding.attribute != nullptr) {
            xmlRemoveProp(finding.attribute);
        } else {
            xmlUnlinkNode(finding.element);
            xmlFreeNode(finding.element);
        }
    }
    return removed;
}

}  // namespace velquor::files
