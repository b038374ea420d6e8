#include "core/files/opendocument/OpenDocumentParts.h"

#include "core/text/base/TextConversions.h"

#include <libxml/tree.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <string_view>

namespace velquor::files {

namespace {

using Node = XmlDocument::Node;

// Every mark of a tracked change, in the body and in the change regions.
constexpr std::string_view changeMarks[] = {"tracked-changes", "change", "change-start", "change-end", "change-info"};

constexpr std::string_view commentElements[] = {"annotation", "annotation-end"};

// Elements that show content from elsewhere. A linked section or sheet keeps the copy it
// holds; a linked picture, object or frame has nothing of its own and goes.
constexpr std::string_view linksKeepingContent[] = {"section-source", "table-source", "cell-range-source"};
constexpr std::string_view linksWithoutContent[] = {"image",  "object", "object-ole",
                                                    "plugin", "applet", "floating-frame"};
// Style images are referred to by name elsewhere, so they stay and lose only their target.
constexpr std::string_view styleImages[] = {"fill-image", "background-image", "list-level-style-image"};

// What may stay in a frame whose content went: its title, description and outline.
constexpr std::string_view frameDecorations[] = {"title", "desc", "contour-polygon", "contour-path", "image-map"};

template <std::size_t N>
bool isOneOf(std::string_view name, const std::string_view (&names)[N]) {
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

void addUnique(std::vector<std::string>& values, std::string value) {
    if (value.empty() || std::find(values.begin(), values.end(), value) != values.end()) return;
    values.push_back(std::move(value));
}

std::string trimmed(std::string_view text) {
    constexpr std::string_view space = " \t\r\n";
    const auto first = text.find_first_not_of(space);
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(space) - first + 1));
}

bool runsMacro(Node listener) {
    const auto language = text::asciiLowercased(XmlDocument::attribute(listener, "language").value_or(""));
    const auto target = text::asciiLowercased(trimmed(XmlDocument::attribute(listener, "href").value_or("")));
    return language == "ooo:script" || language == "ooo:starbasic" || language == "starbasic" ||
           XmlDocument::attribute(listener, "macro-name").has_value() || target.starts_with("vnd.sun.star.script:") ||
           target.starts_with("macro:");
}

std::optional<std::string> externalTarget(Node element) {
    auto target = XmlDocument::attribute(element, "href");
    if (!target || !isExternalLinkTarget(*target)) return std::nullopt;
    return trimmed(*target);
}

bool isLinkElement(std::string_view name) {
    return isOneOf(name, linksKeepingContent) || isOneOf(name, linksWithoutContent) || isOneOf(name, styleImages);
}

// Events: a macro binding, or a program or address an event opens.
enum class EventKind { none, macro, externalLink };

EventKind eventKind(Node element) {
    if (XmlDocument::localName(element) != "event-listener") return EventKind::none;
    if (runsMacro(element)) return EventKind::macro;
    return externalTarget(element) ? EventKind::externalLink : EventKind::none;
}

void countTrackedChange(DocumentPartFindings& findings, std::string_view name) {
    if (name == "insertion") ++findings.insertions;
    if (name == "deletion") ++findings.deletions;
    if (name == "format-change") ++findings.formatChanges;
    if (name == "cell-content-change" || name == "movement") ++findings.cellChanges;
}

constexpr std::string_view textNamespace = "urn:oasis:names:tc:opendocument:xmlns:text:1.0";

bool isTextField(Node element) {
    return element->ns != nullptr && element->ns->href != nullptr &&
           std::string_view(reinterpret_cast<const char*>(element->ns->href)) == textNamespace;
}

void noteCreator(DocumentPartFindings& findings, Node creator) {
    auto name = trimmed(XmlDocument::text(creator));
    if (isTextField(creator)) {
        addUnique(findings.nameFields, std::move(name));
    } else if (XmlDocument::isInside(creator, "change-info")) {
        addUnique(findings.changeAuthors, std::move(name));
    } else if (XmlDocument::isInside(creator, "annotation")) {
        addUnique(findings.commentAuthors, std::move(name));
    } else {
        addUnique(findings.otherAuthors, std::move(name));
    }
}

bool hasAncestorIn(Node node, const std::set<Node>& nodes) {
    for (auto* parent = node->parent; parent != nullptr; parent = parent->parent) {
        if (nodes.contains(parent)) return true;
    }
    return false;
}

bool onlyDecorationsLeft(Node frame) {
    const auto children = XmlDocument::childElements(frame);
    return std::all_of(children.begin(), children.end(),
                       [](Node child) { return isOneOf(XmlDocument::localName(child), frameDecorations); });
}

constexpr std::string_view trackedChangeKinds[] = {"insertion", "deletion", "format-change", "cell-content-change",
                                                   "movement"};
constexpr std::string_view nameFieldElements[] = {"author-name", "author-initials", "initial-creator", "printed-by"};

constexpr std::string_view inspectedElements[] = {"author-name",
                                                  "author-initials",
                                                  "initial-creator",
                                                  "printed-by",
                                                  "tracked-changes",
                                                  "insertion",
                                                  "deletion",
                                                  "format-change",
                                                  "cell-content-change",
                                                  "movement",
                                                  "creator",
                                                  "annotation",
                                                  "date",
                                                  "event-listener",
                                                  "section-source",
                                                  "table-source",
                                                  "cell-range-source",
                                                  "image",
                                                  "object",
                                                  "object-ole",
                                                  "plugin",
                                                  "applet",
                                                  "floating-frame",
                                                  "fill-image",
                                                  "background-image",
                                                  "list-level-style-image"};

}  // namespace

bool isExternalLinkTarget(std::string_view target) {
    const auto link = trimmed(target);
    if (link.empty() || link.front() == '#') return false;
    if (link.front() == '/' || link.front() == '\\') return true;
    const auto colon = link.find(':');
    const auto separator = link.find_first_of("/\\");
    if (colon != std::string::npos && (separator == std::string::npos || colon < separator)) return true;
    std::size_t start = 0;
    while (start <= link.size()) {
        const auto end = std::min(link.find_first_of("/\\", start), link.size());
        if (link.compare(start, end - start, "..") == 0) return true;
        start = end + 1;
    }
    return false;
}

DocumentPartFindings documentPartFindings(const XmlDocument& part) {
    DocumentPartFindings findings;
    for (auto* element : part.elementsNamed(inspectedElements)) {
        const auto name = XmlDocument::localName(element);
        if (name == "tracked-changes") {
            findings.changeRecording |= XmlDocument::attribute(element, "track-changes").value_or("true") != "false";
        } else if (isOneOf(name, trackedChangeKinds)) {
            if (XmlDocument::isInside(element, "tracked-changes")) countTrackedChange(findings, name);
        } else if (name == "creator") {
            noteCreator(findings, element);
        } else if (isOneOf(name, nameFieldElements)) {
            if (isTextField(element)) addUnique(findings.nameFields, trimmed(XmlDocument::text(element)));
        } else if (name == "annotation") {
            ++findings.comments;
        } else if (name == "date") {
            if (XmlDocument::isInside(element, "annotation") && !XmlDocument::isInside(element, "change-info")) {
                addUnique(findings.commentDates, trimmed(XmlDocument::text(element)));
            }
        } else if (const auto kind = eventKind(element); kind == EventKind::macro) {
            ++findings.macroBindings;
        } else if (kind == EventKind::externalLink || isLinkElement(name)) {
            if (auto target = externalTarget(element)) addUnique(findings.externalLinks, std::move(*target));
        }
    }
    return findings;
}

void cleanDocumentPart(XmlDocument& part) {
    XmlDocument::detach(part.elementsNamed(changeMarks));
    XmlDocument::detach(part.elementsNamed(commentElements));
    std::vector<Node> detached;
    std::vector<Node> frames;
    for (auto* element : part.elementsWithAttributes()) {
        const auto name = XmlDocument::localName(element);
        if (eventKind(element) != EventKind::none) {
            detached.push_back(element);
        } else if (isLinkElement(name) && externalTarget(element)) {
            if (isOneOf(name, styleImages)) {
                XmlDocument::removeAttribute(element, "href");
                continue;
            }
            detached.push_back(element);
            auto* parent = element->parent;
            if (isOneOf(name, linksWithoutContent) && parent != nullptr && XmlDocument::localName(parent) == "frame") {
                frames.push_back(parent);
            }
        }
    }
    // A frame inside something that goes is freed with it; only the others are looked at again.
    const std::set<Node> going(detached.begin(), detached.end());
    std::erase_if(frames, [&](Node frame) { return hasAncestorIn(frame, going); });
    std::sort(frames.begin(), frames.end());
    frames.erase(std::unique(frames.begin(), frames.end()), frames.end());
    // Nested links are fine: detach unlinks all of them before it frees any.
    XmlDocument::detach(detached);
    std::erase_if(frames, [](Node frame) { return !onlyDecorationsLeft(frame); });
    XmlDocument::detach(frames);
}

namespace {

constexpr std::string_view printerNames[] = {"PrinterName"};
constexpr std::string_view printerSetups[] = {"PrinterSetup"};
constexpr std::string_view dataSourceNames[] = {"CurrentDatabaseDataSource", "CurrentDatabaseCommand",
                                                "CurrentDatabaseCommandType", "EmbeddedDatabaseName"};

enum class SettingKind { other, printer, printerSetup, dataSource, path };

SettingKind settingKind(Node item) {
    const auto name = XmlDocument::attribute(item, "name").value_or("");
    if (isOneOf(name, printerNames)) return SettingKind::printer;
    if (isOneOf(name, printerSetups)) return SettingKind::printerSetup;
    if (isOneOf(name, dataSourceNames)) return SettingKind::dataSource;
    // Binary settings are base64, which may well start with "/".
    if (XmlDocument::attribute(item, "type").value_or("string") != "string") return SettingKind::other;
    return isPathOrUrl(XmlDocument::text(item)) ? SettingKind::path : SettingKind::other;
}

constexpr std::string_view configItems[] = {"config-item"};

}  // namespace

bool isPathOrUrl(std::string_view value) {
    const auto text = trimmed(value);
    if (text.empty()) return false;
    if (text.front() == '/' || text.starts_with("~/") || text.starts_with("\\\\")) return true;
    if (text.size() >= 3 && std::isalpha(static_cast<unsigned char>(text[0])) != 0 && text[1] == ':' &&
        (text[2] == '\\' || text[2] == '/')) {
        return true;
    }
    const auto lower = text::asciiLowercased(text);
    return lower.starts_with("file:") || lower.find("://") != std::string::npos;
}

SettingsFindings settingsFindings(const XmlDocument& settings) {
    SettingsFindings findings;
    for (auto* item : settings.elementsNamed(configItems)) {
        auto value = trimmed(XmlDocument::text(item));
        switch (settingKind(item)) {
            case SettingKind::printer:
                addUnique(findings.printers, std::move(value));
                break;
            case SettingKind::printerSetup:
                findings.printerSetup |= !value.empty();
                break;
            case SettingKind::dataSource:
                if (value != "0") addUnique(findings.dataSources, std::move(value));
                break;
            case SettingKind::path:
                addUnique(findings.paths, XmlDocument::attribute(item, "name").value_or("") + ": " + value);
                break;
            case SettingKind::other:
                break;
        }
    }
    return findings;
}

void removePersonalSettings(XmlDocument& settings) {
    auto items = settings.elementsNamed(configItems);
    std::erase_if(items, [](Node item) { return settingKind(item) == SettingKind::other; });
    XmlDocument::detach(items);
}

}  // namespace velquor::files
