#pragma once

#include <string>
#include <string_view>
#include <vector>

struct _xmlDoc;
struct _xmlNode;

namespace velquor::files {

// One XML part held by libxml2, kept as written apart from what is edited: whitespace, comments,
// processing instructions, CDATA sections, namespace declarations and prefixes, and attribute
// order all survive a parse and a serialize. Quote style, character references and the form of
// empty elements may change, which XML readers do not tell apart.
//
// Parts are hostile input: no network access, no external entities, no entity expansion, the
// parser's size limits stay on, and a part with a document type declaration is refused (Office
// packages never carry one, and it is where entity attacks live).
class XmlDocument {
public:
    using Node = _xmlNode*;

    // Throws unreadableFile when the bytes are not well-formed XML or declare a document type.
    static XmlDocument parse(std::string_view bytes);

    ~XmlDocument();
    XmlDocument(XmlDocument&& other) noexcept;
    XmlDocument& operator=(XmlDocument&&) = delete;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // The elements an XPath 1.0 expression selects, in document order.
    std::vector<Node> elements(std::string_view xpath) const;

    Node root() const;

    // Whether the expression selects any node at all (elements, attributes or others).
    bool selectsAnything(std::string_view xpath) const;

    // Removes the attributes the expression selects.
    void removeAttributes(std::string_view xpath);

    // Removes the nodes with everything inside them. Nested nodes in the list are fine.
    static void detach(const std::vector<Node>& nodes);

    // Puts the element's children where the element was, in order, then removes the element.
    // Does nothing unless the element sits among the children of an element.
    static void unwrap(Node element);

    std::string serialize() const;

private:
    // Element nodes for XML_ELEMENT_NODE, attributes for XML_ATTRIBUTE_NODE, anything for 0.
    std::vector<Node> selectedNodes(std::string_view xpath, int type) const;

    explicit XmlDocument(_xmlDoc* document) : document_(document) {}
    _xmlDoc* document_;
};

}  // namespace velquor::files
