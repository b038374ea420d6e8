#include "core/files/svg/SvgXmlDocument.h"

#include "core/files/FileSanitizerError.h"

#include "core/text/base/Utf.h"

#include <libxml/SAX2.h>
#include <libxml/entities.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>

#include <climits>
#include <new>

namespace velquor::files {

namespace {

// RECOVER: damaged markup is read as far as it goes. NONET: no network, ever. Not NOENT (no
// entity is expanded), not DTDLOAD or DTDATTR (no external subset, no defaulted attributes), not
// HUGE (libxml2's own depth and size limits stay on), not NOBLANKS or NOCDATA (a rewritten copy
// keeps its text as it was).
constexpr int parseOptions = XML_PARSE_RECOVER | XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

struct ContextDeleter {
    void operator()(xmlParserCtxt* context) const { xmlFreeParserCtxt(context); }
};

struct NodeBudget {
    std::size_t used = 0;
    bool exceeded = false;
};

// Only the five predefined entities resolve; a reference to any other is left out.
xmlEntityPtr predefinedEntityOnly(void*, const xmlChar* name) { return xmlGetPredefinedEntity(name); }

// Counts every element with its attributes before the tree builder adds it, and stops the parser
// once the document holds more than a tree of bounded size may.
void countedStartElement(void* context, const xmlChar* localName, const xmlChar* prefix, const xmlChar* uri,
                         int namespaceCount, const xmlChar** namespaces, int attributeCount, int defaultedCount,
                         const xmlChar** attributes) {
    auto* parser = static_cast<xmlParserCtxt*>(context);
    auto* budget = static_cast<NodeBudget*>(parser->_private);
    budget->used += 1 + static_cast<std::size_t>(attributeCount);
    if (budget->used > SvgXmlDocument::maximumNodeCount) {
        budget->exceeded = true;
        xmlStopParser(parser);
        return;
    }
    xmlSAX2StartElementNs(context, localName, prefix, uri, namespaceCount, namespaces, attributeCount, defaultedCount,
                          attributes);
}

void initializeLibxml2Once() {
    static const bool initialized = [] {
        xmlInitParser();
        return true;
    }();
    (void)initialized;
}

}  // namespace

void SvgXmlDocument::Deleter::operator()(_xmlDoc* document) const { xmlFreeDoc(document); }

SvgXmlDocument SvgXmlDocument::parse(std::u16string_view text) {
    initializeLibxml2Once();
    const auto bytes = text::encodeUtf8(text);
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) throwUnreadableFile();
    std::unique_ptr<xmlParserCtxt, ContextDeleter> parser(xmlNewParserCtxt());
    if (!parser) throw std::bad_alloc();
    NodeBudget budget;
    parser->_private = &budget;
    parser->sax->getEntity = predefinedEntityOnly;
    parser->sax->entityDecl = nullptr;
    parser->sax->unparsedEntityDecl = nullptr;
    parser->sax->externalSubset = nullptr;
    parser->sax->resolveEntity = nullptr;
    parser->sax->startElementNs = countedStartElement;
    // The text was decoded as UTF-8 already, whatever its declaration claims.
    SvgXmlDocument document(xmlCtxtReadMemory(parser.get(), bytes.data(), static_cast<int>(bytes.size()), "image.svg",
                                              "UTF-8", parseOptions));
    // In recovery only a halt sets this: a limit was reached, or the budget ran out.
    if (budget.exceeded || parser->disableSAX != 0) throwUnreadableFile();
    return document;
}

SvgXmlDocument::Node SvgXmlDocument::root() const {
    return document_ ? xmlDocGetRootElement(document_.get()) : nullptr;
}

std::u16string SvgXmlDocument::serialized(bool withDeclaration) const {
    if (!document_) return {};
    std::unique_ptr<xmlBuffer, decltype(&xmlBufferFree)> buffer(xmlBufferCreate(), xmlBufferFree);
    if (!buffer) throw std::bad_alloc();
    auto* save = xmlSaveToBuffer(buffer.get(), "UTF-8", withDeclaration ? 0 : XML_SAVE_NO_DECL);
    if (save == nullptr) throw std::bad_alloc();
    const bool written = xmlSaveDoc(save, document_.get()) >= 0;
    if (xmlSaveClose(save) < 0 || !written) throwExportFailed();
    const auto* content = reinterpret_cast<const char*>(xmlBufferContent(buffer.get()));
    auto decoded = text::decodeUtf8(std::string_view(content, static_cast<std::size_t>(xmlBufferLength(buffer.get()))));
    if (!decoded) throwExportFailed();
    return std::move(*decoded);
}

}  // namespace velquor::files
