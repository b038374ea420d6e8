#include "tests/support/SvgFixtures.h"

namespace velquor::testing {

std::string editorDrawingSvg(std::size_t minimumBytes) {
    std::string svg =
        "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
        "xmlns:inkscape=\"http://www.inkscape.org/namespaces/inkscape\">\n"
        "<metadata><rdf:RDF><dc:creator>Jane</dc:creator></rdf:RDF></metadata>\n";
    for (int i = 0; svg.size() < minimumBytes; ++i) {
        const auto layer = std::to_string(i);
        svg += "  <!-- layer " + layer + " -->\n  <g inkscape:label=\"Layer " + layer +
               "\" style=\"fill:url(#grad);stroke:#333\">\n    <path d=\"M 10," + std::to_string(i % 500) +
               " C 20,30 40,50 60,70 S 80,90 100,110 Z\" onclick=\"select(" + layer +
               ")\"/>\n    <a href=\"https://example.com/item/" + layer +
               "\"><text>Item &amp; more</text></a>\n  </g>\n";
    }
    return svg + "</svg>\n";
}

}  // namespace velquor::testing
