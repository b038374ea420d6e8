#pragma once

#include <functional>
#include <optional>
#include <span>
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

    // The elements whose local name (the name without its prefix, in any namespace) is one of
    // these, in document order: what //*[local-name()='a' or ...] selects, in one walk.
    std::vector<Node> elementsNamed(std::span<const std::string_view> localNames) const;

    // The elements that have at least one attribute, in document order.
    std::vector<Node> elementsWithAttributes() const;

    Node root() const;

    // Whether some element has an attribute with this local name, in any namespace.
    bool hasAttributeNamed(std::string_view localName) const;

    // Removes every attribute whose local name starts with the prefix.
    void removeAttributesStartingWith(std::string_view prefix);

    // Removes the nodes with everything inside them. Nested nodes in the list are fine.
    static void detach(const std::vector<Node>& nodes);

    // Puts the element's children where the element was, in order, then removes the element.
    // Does nothing unless the element sits among the children of an element.
    static void unwrap(Node element);

    std::string serialize() const;

    // Reading and editing single nodes. Attributes and elements are matched by local name, in
    // any namespace, so that a hostile part cannot hide one behind an unexpected prefix.
    static std::string_view localName(Node element);
    static std::optional<std::string> attribute(Node element, std::string_view localName);
    static void removeAttribute(Node element, std::string_view localName);
    // Sets an attribute without a namespace, adding it when it is not there.
    static void setAttribute(Node element, std::string_view name, std::string_view value);
    // The text of the element and everything inside it.
    static std::string text(Node element);
    // Replaces everything inside the element with this text.
    static void setText(Node element, std::string_view text);
    static std::vector<Node> childElements(Node element);
    // Whether some ancestor of the node has this local name.
    static bool isInside(Node node, std::string_view ancestorLocalName);
    // A new element after the last child of `parent`, with the namespace and prefix of `like`.
    static Node appendElementLike(Node parent, Node like, std::string_view localName);

private:
    // Calls `visit` for every element in document order, without recursion (a hostile part may
    // nest as deep as the parser allows).
    void forEachElement(const std::function<void(Node)>& visit) const;

    explicit XmlDocument(_xmlDoc* document) : document_(document) {}
    _xmlDoc* document_;
};

}  // namespace velquor::files
