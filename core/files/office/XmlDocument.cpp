#include "core/files/office/XmlDocument.h"

#include "core/files/FileSanitizerError.h"

#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <climits>
#include <memory>
#include <stdexcept>
#include <utility>

namespace velquor::files {

namespace {

void initializeLibxml2Once() {
    static const bool initialized = [] {
        xmlInitParser();
        return true;
    }();
    (void)initialized;
}

// NONET: no network, ever. Not NOENT (entities stay references, never expanded), not DTDLOAD
// (no external subset), not HUGE (the parser's depth and size limits stay on), not NOBLANKS and
// not NOCDATA (the part keeps its whitespace and CDATA sections).
constexpr int parseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct ContextDeleter {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

bool declaresDocumentType(std::string_view bytes) { return bytes.find("<!DOCTYPE") != std::string_view::npos; }

}  // namespace

XmlDocument XmlDocument::parse(std::string_view bytes) {
    initializeLibxml2Once();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX) || declaresDocumentType(bytes)) throwUnreadableFile();
    std::unique_ptr<xmlParserCtxt, ContextDeleter> context(xmlNewParserCtxt());
    if (!context) throw std::bad_alloc();
    auto* document = xmlCtxtReadMemory(context.get(), bytes.data(), static_cast<int>(bytes.size()), "part.xml", nullptr,
                                       parseOptions);
    if (document == nullptr) throwUnreadableFile();
    XmlDocument parsed(document);
    if (document->intSubset != nullptr || document->extSubset != nullptr || xmlDocGetRootElement(document) == nullptr) {
        throwUnreadableFile();
    }
    return parsed;
}

XmlDocument::~XmlDocument() {
    if (document_ != nullptr) xmlFreeDoc(document_);
}

XmlDocument::XmlDocument(XmlDocument&& other) noexcept : document_(std::exchange(other.document_, nullptr)) {}

XmlDocument::Node XmlDocument::root() const { return xmlDocGetRootElement(document_); }

void XmlDocument::forEachElement(const std::function<void(Node)>& visit) const {
    xmlNode* node = xmlDocGetRootElement(document_);
    while (node != nullptr) {
        if (node->type == XML_ELEMENT_NODE) visit(node);
        if (node->type == XML_ELEMENT_NODE && node->children != nullptr) {
            node = node->children;
            continue;
        }
        while (node != nullptr && node->next == nullptr) {
            node = node->parent;
            if (node == nullptr || node->type != XML_ELEMENT_NODE) return;
        }
        if (node != nullptr) node = node->next;
    }
}

std::vector<XmlDocument::Node> XmlDocument::elementsNamed(std::span<const std::string_view> localNames) const {
    std::vector<Node> nodes;
    forEachElement([&](Node element) {
        const std::string_view name = reinterpret_cast<const char*>(element->name);
        if (std::find(localNames.begin(), localNames.end(), name) != localNames.end()) nodes.push_back(element);
    });
    return nodes;
}

std::vector<XmlDocument::Node> XmlDocument::elementsWithAttributes() const {
    std::vector<Node> nodes;
    forEachElement([&](Node element) {
        if (element->properties != nullptr) nodes.push_back(element);
    });
    return nodes;
}

bool XmlDocument::hasAttributeNamed(std::string_view localName) const {
    bool found = false;
    forEachElement([&](Node element) {
        for (auto* attribute = element->properties; attribute != nullptr && !found; attribute = attribute->next) {
            found = std::string_view(reinterpret_cast<const char*>(attribute->name)) == localName;
        }
    });
    return found;
}

void XmlDocument::removeAttributesStartingWith(std::string_view prefix) {
    forEachElement([&](Node element) {
        for (auto* attribute = element->properties; attribute != nullptr;) {
            auto* next = attribute->next;
            if (std::string_view(reinterpret_cast<const char*>(attribute->name)).starts_with(prefix)) {
                xmlRemoveProp(attribute);
            }
            attribute = next;
        }
    });
}

void XmlDocument::detach(const std::vector<Node>& nodes) {
    // Unlink everything first: a node nested in another one of the list is still valid memory
    // then, and each unlinked node is a tree of its own that is freed exactly once.
    for (auto* node : nodes) xmlUnlinkNode(node);
    for (auto* node : nodes) xmlFreeNode(node);
}

void XmlDocument::unwrap(Node element) {
    auto* parent = element->parent;
    // libxml2 keeps parent links exact, so an element whose parent is an element is among its
    // children; walking the siblings to make sure would be quadratic on a hostile part.
    if (parent == nullptr || parent->type != XML_ELEMENT_NODE || element->type != XML_ELEMENT_NODE) return;
    std::vector<xmlNode*> moved;
    while (auto* child = element->children) {
        xmlUnlinkNode(child);
        // Adjacent text nodes would be merged (and the child freed) by xmlAddPrevSibling.
        child->prev = child->next = nullptr;
        moved.push_back(child);
    }
    for (auto* child : moved) {
        child->parent = parent;
        child->doc = element->doc;
        child->prev = element->prev;
        child->next = element;
        if (element->prev != nullptr) {
            element->prev->next = child;
        } else {
            parent->children = child;
        }
        element->prev = child;
    }
    // Namespaces declared on the element itself must be declared again where its children went.
    if (element->nsDef != nullptr) {
        for (auto* child : moved) {
            if (child->type == XML_ELEMENT_NODE) xmlReconciliateNs(element->doc, child);
        }
    }
    xmlUnlinkNode(element);
    xmlFreeNode(element);
}

std::string XmlDocument::serialize() const {
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), xmlBufferFree);
    if (!buffer) throw std::bad_alloc();
    const char* encoding =
        document_->encoding != nullptr ? reinterpret_cast<const char*>(document_->encoding) : nullptr;
    auto* save = xmlSaveToBuffer(buffer.get(), encoding, 0);
    if (save == nullptr) throw FileSanitizerError(FileSanitizerError::Case::exportFailed);
    const long saved = xmlSaveDoc(save, document_);
    if (xmlSaveClose(save) < 0 || saved < 0) throw FileSanitizerError(FileSanitizerError::Case::exportFailed);
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer.get())),
                       static_cast<std::size_t>(xmlBufferLength(buffer.get())));
}

namespace {

const xmlChar* xmlText(std::string_view text) { return reinterpret_cast<const xmlChar*>(text.data()); }

xmlAttr* attributeNode(xmlNode* element, std::string_view localName) {
    for (auto* attribute = element->properties; attribute != nullptr; attribute = attribute->next) {
        if (std::string_view(reinterpret_cast<const char*>(attribute->name)) == localName) return attribute;
    }
    return nullptr;
}

}  // namespace

std::string_view XmlDocument::localName(Node element) { return reinterpret_cast<const char*>(element->name); }

std::optional<std::string> XmlDocument::attribute(Node element, std::string_view localName) {
    auto* found = attributeNode(element, localName);
    if (found == nullptr) return std::nullopt;
    xmlChar* value = xmlNodeListGetString(element->doc, found->children, 1);
    std::string text = value != nullptr ? reinterpret_cast<const char*>(value) : "";
    xmlFree(value);
    return text;
}

void XmlDocument::removeAttribute(Node element, std::string_view localName) {
    while (auto* found = attributeNode(element, localName)) xmlRemoveProp(found);
}

void XmlDocument::setAttribute(Node element, std::string_view name, std::string_view value) {
    const std::string terminatedName(name);
    const std::string terminatedValue(value);
    if (xmlSetProp(element, xmlText(terminatedName), xmlText(terminatedValue)) == nullptr) throw std::bad_alloc();
}

std::string XmlDocument::text(Node element) {
    xmlChar* content = xmlNodeGetContent(element);
    if (content == nullptr) return {};
    std::string text(reinterpret_cast<const char*>(content));
    xmlFree(content);
    return text;
}

void XmlDocument::setText(Node element, std::string_view text) {
    const std::string terminated(text);
    // xmlNodeSetContent reads entity references in its argument; this escapes them first.
    xmlChar* escaped = xmlEncodeSpecialChars(element->doc, xmlText(terminated));
    if (escaped == nullptr) throw std::bad_alloc();
    xmlNodeSetContent(element, escaped);
    xmlFree(escaped);
}

std::vector<XmlDocument::Node> XmlDocument::childElements(Node element) {
    std::vector<Node> children;
    for (auto* child = element->children; child != nullptr; child = child->next) {
        if (child->type == XML_ELEMENT_NODE) children.push_back(child);
    }
    return children;
}

bool XmlDocument::isInside(Node node, std::string_view ancestorLocalName) {
    for (auto* parent = node->parent; parent != nullptr && parent->type == XML_ELEMENT_NODE; parent = parent->parent) {
        if (localName(parent) == ancestorLocalName) return true;
    }
    return false;
}

XmlDocument::Node XmlDocument::appendElementLike(Node parent, Node like, std::string_view localName) {
    const std::string name(localName);
    auto* element = xmlNewDocNode(parent->doc, like->ns, xmlText(name), nullptr);
    if (element == nullptr) throw std::bad_alloc();
    xmlAddChild(parent, element);
    return element;
}

}  // namespace velquor::files
