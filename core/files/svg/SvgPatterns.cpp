#include "core/files/svg/SvgPatterns.h"

namespace velquor::files {

namespace {

// Block constructs: a lazy run up to the closing delimiter. An attempt fails only when no
// closing delimiter follows it, and then every later attempt fails too, so a failure ends the scan.
constexpr SvgPattern comments{uR"re(<!--[\s\S]*?-->)re", u"", u"<!--", uR"re([\s\S]*)re"};

// The rule backtracks exponentially on bracket pairs. A match ends at the first ">" outside the
// brackets; with brackets, that is the first ">" whose preceding run after some "]" holds no
// bracket and no ">". A failed attempt with brackets rules out every start up to the last "["
// before the next ">"; one with neither ">" nor "[" after it rules out the rest of the text.
constexpr SvgPattern documentTypes{
    uR"re(<!DOCTYPE(?:[^>\[]|\[[\s\S]*?\])*?>)re",
    uR"re(<!DOCTYPE[^>\[]*+(?:>|\[[\s\S]*?\][^\[\]>]*+>))re",
    u"<!DOCTYPE",
    uR"re(<!DOCTYPE(?:[^>]*(?=\[)|[^>\[]*+\z))re",
};

constexpr SvgPattern customEntities{uR"re(&(?!(?:amp|lt|gt|quot|apos);)[A-Za-z_][A-Za-z0-9_.:-]*;)re"};

constexpr SvgPattern stylesheets{uR"re(<\?xml-stylesheet\b[\s\S]*?\?>)re", u"", uR"re(<\?xml-stylesheet\b)re",
                                 uR"re([\s\S]*)re"};
constexpr SvgPattern metadataBlocks{uR"re(<metadata\b[\s\S]*?</metadata>)re", u"", uR"re(<metadata\b)re",
                                    uR"re([\s\S]*)re"};
constexpr SvgPattern scriptBlocks{uR"re(<script\b[\s\S]*?</script>)re", u"", uR"re(<script\b)re", uR"re([\s\S]*)re"};
constexpr SvgPattern embeddedHtml{uR"re(<foreignObject\b[\s\S]*?</foreignObject>)re", u"", uR"re(<foreignObject\b)re",
                                  uR"re([\s\S]*)re"};
constexpr SvgPattern generatorFields{
    uR"re(<(?:dc:creator|dc:title|dc:description|cc:license|rdf:RDF)\b[\s\S]*?)re"
    uR"re(</(?:dc:creator|dc:title|dc:description|cc:license|rdf:RDF)>)re",
    u"",
    uR"re(<(?:dc:creator|dc:title|dc:description|cc:license|rdf:RDF)\b)re",
    uR"re([\s\S]*)re",
};

constexpr SvgPattern eventHandlers{uR"re(\son[a-z]+\s*=\s*("[^"]*"|'[^']*'))re"};

// A url() whose value, after blanks and an optional quote, starts with "#" is a fragment and is
// spared, quoted or not. The scanned form reads the blanks once: the rule, with its look-ahead
// re-tried after every blank it gives back, is quadratic in a long run of them.
constexpr SvgPattern cssReferences{
    uR"re(@import\b|url\((?!\s*+["']\s*+#)\s*["']?(?!\s*#)[^)])re",
    uR"re(@import\b|url\((?!\s*+["']?+\s*+#)(?:\s*+(?:["'][^)]|["']|[^)])|\s++))re",
};

// A failed attempt is either a fragment, which rules out only itself, or a url( that no ")"
// follows, which rules out the rest of the text.
constexpr SvgPattern cssUrlValues{
    uR"re(url\((?!\s*+["']\s*+#)\s*["']?(?!\s*#)[^)]*\))re",
    uR"re(url\((?!\s*+["']?+\s*+#)[^)]*+\))re",
    uR"re(url\()re",
    uR"re(url\((?:\s*+["']?+\s*+#|[^)]*+\z))re",
};

constexpr std::array<SvgDetectionRow, 16> detectionRows{{
    {u"SVG", u"XML comments", comments},
    {u"SVG", u"Document type declarations", documentTypes},
    {u"SVG", u"Custom entity references", customEntities},
    {u"SVG", u"XML stylesheets", stylesheets},
    {u"SVG", u"Metadata blocks", metadataBlocks},
    {u"SVG", u"Script blocks", scriptBlocks},
    {u"SVG", u"Embedded HTML", embeddedHtml},
    {u"SVG", u"Event handlers", eventHandlers},
    {u"SVG", u"External hrefs", {uR"re(\b(?:href|xlink:href)\s*=\s*["'](?!\s*#)[^"']+["'])re"}},
    {u"SVG", u"CSS resource references", cssReferences},
    {u"SVG",
     u"Editor namespaces",
     {uR"re(\b(?:inkscape|sodipodi|illustrator|sketch|figma|adobe):[A-Za-z0-9_.:-]+\s*=\s*("[^"]*"|'[^']*'))re"}},
    {u"SVG", u"Local file paths", {uR"re((/Users/[^"'<>\s]+|/Volumes/[^"'<>\s]+))re"}},
    {u"SVG", u"Generator fields", generatorFields},
    {u"Embedded", u"Embedded images", {u"data:image/"}},
    {u"Embedded", u"Embedded fonts", {uR"re(@font-face|data:font/|<font\b)re"}},
    {u"Embedded", u"Embedded blobs", {u"data:application/|data:octet-stream"}},
}};

// Attribute rules start with a blank so that removing an attribute takes the blank before it.
constexpr std::array<SvgCleaningRow, 13> cleaningRows{{
    {comments, u""},
    {documentTypes, u""},
    {customEntities, u""},
    {stylesheets, u""},
    {metadataBlocks, u""},
    {scriptBlocks, u""},
    {embeddedHtml, u""},
    {eventHandlers, u""},
    {{uR"re(\s(?:href|xlink:href)\s*=\s*["'](?!\s*#)[^"']+["'])re"}, u""},
    {{uR"re(@import\s+(?:url\([^;]+?\)|["'][^"']+["'])[^;]*;?)re"}, u""},
    {cssUrlValues, u"none"},
    {{uR"re(\s(?:inkscape|sodipodi|illustrator|sketch|figma|adobe):[A-Za-z0-9_.:-]+\s*=\s*("[^"]*"|'[^']*'))re"}, u""},
    {generatorFields, u""},
}};

}  // namespace

const std::array<SvgDetectionRow, 16>& svgDetectionRows() { return detectionRows; }

const std::array<SvgCleaningRow, 13>& svgCleaningRows() { return cleaningRows; }

}  // namespace velquor::files
