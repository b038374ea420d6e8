#pragma once

#include "core/files/svg/SvgXmlDocument.h"

#include <string_view>
#include <vector>

struct _xmlAttr;

namespace velquor::files {

// What the namespace-aware reading of an SVG finds, by what a prefix is bound to rather than by
// how it is spelled: <s:script> with s bound to SVG is a script, x:label with x bound to
// Inkscape is an editor attribute.
enum class SvgStructureKind {
    metadataBlock,
    scriptBlock,
    embeddedHtml,
    eventHandler,
    externalHref,  // links, and animations that set a link or a URL-valued attribute
    editorData,
    generatorField,  // RDF, Dublin Core and Creative Commons elements and attributes
    unknownNamespace,
};

// One finding: an element with everything inside it, or one attribute of an element.
struct SvgStructureFinding {
    SvgStructureKind kind;
    SvgXmlDocument::Node element;
    _xmlAttr* attribute = nullptr;  // null for an element finding
    // The detection pattern already counts it under any prefix (an href attribute): only its
    // removal needs this reading, as the cleaning pattern wants a blank where the prefix stands.
    bool countedByPatterns = false;
};

// The report row a kind of finding counts under (section and name); every kind but
// unknownNamespace shares its row with the matching text pattern.
std::u16string_view svgStructureSection(SvgStructureKind kind);
std::u16string_view svgStructureName(SvgStructureKind kind);

// Every finding of the document, each construct once by its outermost element (nothing inside a
// construct that goes is listed). Elements and attributes in a namespace this reading does not
// know are listed too, and their elements are searched further, as they stay in a copy.
std::vector<SvgStructureFinding> svgStructureFindings(const SvgXmlDocument& document);

// Removes every finding but those in unknown namespaces: what cannot be classified stays, so
// that a copy holding it fails its verification instead of passing. Returns whether anything
// was removed.
bool removeClassifiedFindings(const std::vector<SvgStructureFinding>& findings);

}  // namespace velquor::files
