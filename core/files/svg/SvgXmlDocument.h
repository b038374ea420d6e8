#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

struct _xmlDoc;
struct _xmlNode;

namespace velquor::files {

// An SVG text as libxml2 reads it into a tree, so that elements and attributes are known by
// their namespace and local name however they are prefixed.
//
// The text is hostile. No entity is ever declared or expanded (only the five predefined ones
// resolve), no DTD and nothing from the network is loaded, and the parser's own size and depth
// limits stay on. Damaged markup is read as far as libxml2 recovers it, which reaches at least
// as far as a browser renders before it stops at the first error.
class SvgXmlDocument {
public:
    using Node = _xmlNode*;

    // Throws unreadableFile when the parser had to stop early (a document nested more deeply, a
    // text node larger, or more elements and attributes than the bounds allow): what lies beyond
    // that point must never pass unseen. A text without any element gives a document without a root.
    static SvgXmlDocument parse(std::u16string_view text);

    // Null when the text holds no element.
    Node root() const;

    // The document written out again in UTF-8 (returned as UTF-16), with an XML declaration only
    // when asked for one.
    std::u16string serialized(bool withDeclaration) const;

    // Elements and attributes together, the most a document may hold.
    static constexpr std::size_t maximumNodeCount = std::size_t{1} << 21;

private:
    struct Deleter {
        void operator()(_xmlDoc* document) const;
    };

    explicit SvgXmlDocument(_xmlDoc* document) : document_(document) {}

    std::unique_ptr<_xmlDoc, Deleter> document_;
};

}  // namespace velquor::files
