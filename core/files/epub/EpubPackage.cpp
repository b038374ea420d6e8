#include "core/files/epub/EpubPackage.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/ZipArchive.h"

#include "core/text/base/TextConversions.h"

#include <libxml/tree.h>

#include <algorithm>
#include <set>

namespace velquor::files {

namespace {

using Node = XmlDocument::Node;

constexpr std::string_view packageMediaType = "application/oebps-package+xml";
constexpr std::string_view ncxMediaType = "application/x-dtbncx+xml";
constexpr std::string_view dublinCoreNamespace = "http://purl.org/dc/elements/1.1/";

std::vector<Node> elements(const XmlDocument& document, std::string_view localName) {
    const std::string_view names[] = {localName};
    return document.elementsNamed(names);
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::optional<std::string> percentDecoded(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            decoded.push_back(text[i]);
            continue;
        }
        if (i + 2 >= text.size()) return std::nullopt;
        const int high = hexValue(text[i + 1]);
        const int low = hexValue(text[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        decoded.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return decoded;
}

Node manifestItem(const XmlDocument& package, std::string_view attribute, std::string_view value) {
    for (auto* item : elements(package, "item")) {
        if (XmlDocument::attribute(item, attribute) == value) return item;
    }
    return nullptr;
}

bool hasProperty(Node item, std::string_view property) {
    const auto properties = XmlDocument::attribute(item, "properties").value_or("");
    std::size_t start = 0;
    while (start < properties.size()) {
        const auto end = std::min(properties.find(' ', start), properties.size());
        if (std::string_view(properties).substr(start, end - start) == property) return true;
        start = end + 1;
    }
    return false;
}

std::optional<std::string> itemPath(Node item, std::string_view folder) {
    if (item == nullptr) return std::nullopt;
    const auto href = XmlDocument::attribute(item, "href");
    return href ? resolvedReference(folder, *href) : std::nullopt;
}

bool isCheckedIsbn10(std::string_view digits) {
    int sum = 0;
    for (std::size_t i = 0; i < 10; ++i) {
        const char c = digits[i];
        const int value = (i == 9 && (c == 'X' || c == 'x')) ? 10 : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (value < 0) return false;
        sum += value * static_cast<int>(10 - i);
    }
    return sum % 11 == 0;
}

bool isCheckedIsbn13(std::string_view digits) {
    if (!digits.starts_with("978") && !digits.starts_with("979")) return false;
    int sum = 0;
    for (std::size_t i = 0; i < 13; ++i) {
        if (digits[i] < '0' || digits[i] > '9') return false;
        sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
    }
    return sum % 10 == 0;
}

}  // namespace

XmlDocument::Node packageMetadata(const XmlDocument& package) {
    for (auto* child : XmlDocument::childElements(package.root())) {
        if (XmlDocument::localName(child) == "metadata") return child;
    }
    return nullptr;
}

bool isDublinCore(XmlDocument::Node element) {
    return element->ns != nullptr && element->ns->href != nullptr &&
           std::string_view(reinterpret_cast<const char*>(element->ns->href)) == dublinCoreNamespace;
}

std::vector<XmlDocument::Node> metadataEntries(const XmlDocument& package) {
    std::vector<Node> entries;
    // The containers are never entries themselves: dropping one would drop what it holds.
    std::set<Node> listed{package.root()};
    if (auto* metadata = packageMetadata(package)) {
        listed.insert(metadata);
        std::vector<Node> pending = XmlDocument::childElements(metadata);
        std::reverse(pending.begin(), pending.end());
        while (!pending.empty()) {
            auto* element = pending.back();
            pending.pop_back();
            const auto name = XmlDocument::localName(element);
            if (name == "dc-metadata" || name == "x-metadata") {
                listed.insert(element);
                const auto children = XmlDocument::childElements(element);
                pending.insert(pending.end(), children.rbegin(), children.rend());
                continue;
            }
            entries.push_back(element);
            listed.insert(element);
        }
    }
    std::vector<Node> pending{package.root()};
    while (!pending.empty()) {
        auto* node = pending.back();
        pending.pop_back();
        if (isDublinCore(node) && !listed.contains(node)) entries.push_back(node);
        const auto children = XmlDocument::childElements(node);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return entries;
}

std::string trimmedText(std::string_view text) {
    constexpr std::string_view space = " \t\r\n";
    const auto first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(space) - first + 1));
}

std::string packageDocumentPath(const ZipArchive& archive, const std::vector<ArchiveEntry>& entries) {
    const auto* container = findEntry(entries, epubContainerPart);
    if (container == nullptr) throwUnreadableFile();
    const auto document = XmlDocument::parse(archive.readPart(*container));
    const auto rootfiles = elements(document, "rootfile");
    const auto chosen = std::find_if(rootfiles.begin(), rootfiles.end(), [](Node rootfile) {
        return XmlDocument::attribute(rootfile, "media-type") == packageMediaType;
    });
    if (rootfiles.empty()) throwUnreadableFile();
    const auto path = XmlDocument::attribute(chosen != rootfiles.end() ? *chosen : rootfiles.front(), "full-path");
    const auto resolved = path ? resolvedReference("", *path) : std::nullopt;
    if (!resolved || findEntry(entries, *resolved) == nullptr) throwUnreadableFile();
    return *resolved;
}

std::string folderOf(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::optional<std::string> resolvedReference(std::string_view folder, std::string_view href) {
    auto reference = trimmedText(href.substr(0, std::min(href.find('#'), href.size())));
    if (reference.empty() || reference.front() == '/') return std::nullopt;
    const auto colon = reference.find(':');
    if (colon != std::string::npos && colon < reference.find('/')) return std::nullopt;
    const auto decoded = percentDecoded(reference);
    if (!decoded) return std::nullopt;
    const std::string joined = std::string(folder) + *decoded;
    std::vector<std::string> segments;
    std::size_t start = 0;
    while (start <= joined.size()) {
        const auto end = std::min(joined.find('/', start), joined.size());
        const auto segment = joined.substr(start, end - start);
        if (segment == "..") {
            if (segments.empty()) return std::nullopt;
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string path;
    for (const auto& segment : segments) path += (path.empty() ? "" : "/") + segment;
    if (path.empty()) return std::nullopt;
    return path;
}

XmlDocument::Node uniqueIdentifierElement(const XmlDocument& package) {
    const auto identifiers = elements(package, "identifier");
    if (identifiers.empty()) return nullptr;
    const auto wanted = XmlDocument::attribute(package.root(), "unique-identifier");
    for (auto* identifier : identifiers) {
        if (wanted && XmlDocument::attribute(identifier, "id") == *wanted) return identifier;
    }
    return identifiers.front();
}

std::optional<std::string> ncxPath(const XmlDocument& package, std::string_view folder) {
    if (auto* item = manifestItem(package, "media-type", ncxMediaType)) return itemPath(item, folder);
    for (auto* spine : elements(package, "spine")) {
        if (const auto id = XmlDocument::attribute(spine, "toc"))
            return itemPath(manifestItem(package, "id", *id), folder);
    }
    return std::nullopt;
}

std::optional<std::string> coverImagePath(const XmlDocument& package, std::string_view folder) {
    for (auto* item : elements(package, "item")) {
        if (hasProperty(item, "cover-image")) return itemPath(item, folder);
    }
    for (auto* meta : elements(package, "meta")) {
        if (XmlDocument::attribute(meta, "name") != "cover") continue;
        if (const auto id = XmlDocument::attribute(meta, "content"))
            return itemPath(manifestItem(package, "id", *id), folder);
    }
    return std::nullopt;
}

bool isEpub3(const XmlDocument& package) {
    return trimmedText(XmlDocument::attribute(package.root(), "version").value_or("")).starts_with("3");
}

bool isIsbn(std::string_view identifier) {
    auto text = text::asciiLowercased(trimmedText(identifier));
    for (const std::string_view prefix : {"urn:isbn:", "isbn:"}) {
        if (text.starts_with(prefix)) {
            text.erase(0, prefix.size());
            break;
        }
    }
    std::erase_if(text, [](char c) { return c == '-' || c == ' '; });
    if (text.size() == 10) return isCheckedIsbn10(text);
    return text.size() == 13 && isCheckedIsbn13(text);
}

}  // namespace velquor::files
