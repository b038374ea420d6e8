#include "core/files/opendocument/OpenDocumentInspection.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/MetadataText.h"
#include "core/files/office/EmbeddedFiles.h"
#include "core/files/office/OfficeInspection.h"
#include "core/files/office/XmlDocument.h"
#include "core/files/office/ZipArchive.h"
#include "core/files/opendocument/OpenDocumentParts.h"

#include "core/text/base/TextConversions.h"

#include <libxml/tree.h>

#include <algorithm>
#include <set>
#include <string>

namespace velquor::files {

namespace {

constexpr std::u16string_view section = u"OpenDocument";

struct MetaRow {
    std::string_view element;
    std::u16string_view name;
};

constexpr MetaRow metaRows[] = {
    {"initial-creator", u"Initial creator"},
    {"creator", u"Creator"},
    {"creation-date", u"Created"},
    {"date", u"Modified"},
    {"editing-cycles", u"Editing cycles"},
    {"editing-duration", u"Editing duration"},
    {"generator", u"Generator"},
    {"title", u"Title"},
    {"subject", u"Subject"},
    {"keyword", u"Keywords"},
    {"description", u"Description"},
    {"language", u"Language"},
    {"printed-by", u"Printed by"},
    {"print-date", u"Printed"},
};

constexpr std::u16string_view nonResidueNames[] = {u"Type", u"Statistics", u"Language", u"Name fields"};

// The longest mimetype shown; the format's own are under 80 bytes.
constexpr std::uint64_t mimetypeBytes = 256;

// Lists show their first three values, as the Office external links do.
constexpr std::size_t shownValues = 3;

std::u16string joined(const std::vector<std::string>& values, std::size_t limit = SIZE_MAX) {
    std::u16string text;
    for (std::size_t i = 0; i < std::min(values.size(), limit); ++i) {
        if (i > 0) text += u", ";
        text += metadataText(values[i]);
    }
    if (values.size() > limit) text += u", and " + text::decimalText(values.size() - limit) + u" more";
    return text;
}

std::string lowercased(std::string_view name) { return text::asciiLowercased(name); }

bool isNamed(std::string_view name, std::string_view file) {
    return name == file ||
           (name.size() > file.size() && name.ends_with(file) && name[name.size() - file.size() - 1] == '/');
}

void appendCount(std::vector<FileMetadataEntry>& rows, std::u16string_view name, std::size_t count) {
    if (count > 0) appendArchiveRow(rows, section, name, text::decimalText(count));
}

void appendList(std::vector<FileMetadataEntry>& rows, std::u16string_view name, const std::vector<std::string>& values,
                std::size_t limit = SIZE_MAX) {
    if (!values.empty()) appendArchiveRow(rows, section, name, joined(values, limit));
}

void merge(std::vector<std::string>& into, const std::vector<std::string>& values) {
    for (const auto& value : values) {
        if (std::find(into.begin(), into.end(), value) == into.end()) into.push_back(value);
    }
}

std::string statistics(XmlDocument::Node element) {
    std::string text;
    for (auto* attribute = element->properties; attribute != nullptr; attribute = attribute->next) {
        const auto name = std::string(reinterpret_cast<const char*>(attribute->name));
        const auto value = XmlDocument::attribute(element, name).value_or("");
        text += (text.empty() ? "" : ", ") + name + " " + value;
    }
    return text;
}

void appendMetaValues(std::vector<FileMetadataEntry>& rows, const XmlDocument& meta) {
    for (const auto& row : metaRows) {
        std::vector<std::string> values;
        const std::string_view names[] = {row.element};
        for (auto* element : meta.elementsNamed(names)) {
            // dc:date inside a user-defined field or elsewhere is not the modification date.
            if (!XmlDocument::isInside(element, "meta")) continue;
            auto value = XmlDocument::text(element);
            if (value.find_first_not_of(" \t\r\n") != std::string::npos) values.push_back(std::move(value));
        }
        appendList(rows, row.name, values);
    }
    constexpr std::string_view linked[] = {"template", "user-defined", "document-statistic"};
    for (auto* element : meta.elementsNamed(linked)) {
        const auto name = XmlDocument::localName(element);
        if (name == "template") {
            const auto target = XmlDocument::attribute(element, "href").value_or("");
            appendArchiveRow(rows, section, u"Template", metadataText(target));
        } else if (name == "user-defined") {
            appendArchiveRow(
                rows, section, u"User-defined field",
                metadataText(XmlDocument::attribute(element, "name").value_or("") + ": " + XmlDocument::text(element)));
        } else if (element->properties != nullptr) {
            appendArchiveRow(rows, section, u"Statistics", metadataText(statistics(element)));
        }
    }
}

// A meta.xml that cannot be read still shows that it is there; its values are not known.
void appendDocumentProperties(std::vector<FileMetadataEntry>& rows, const ZipArchive& archive,
                              const ArchiveEntry& entry) {
    appendArchiveRow(rows, section, u"Document properties", metadataText(entry.name));
    try {
        const auto bytes = archive.readPart(entry);
        if (!bytes.empty()) appendMetaValues(rows, XmlDocument::parse(bytes));
    } catch (const FileSanitizerError& error) {
        if (error.errorCase() != FileSanitizerError::Case::unreadableFile) throw;
    }
}

struct BodyTotals {
    DocumentPartFindings findings;
    std::vector<std::pair<std::string, std::size_t>> commentsByPart;
};

void add(BodyTotals& totals, const std::string& part, const DocumentPartFindings& found) {
    auto& all = totals.findings;
    all.insertions += found.insertions;
    all.deletions += found.deletions;
    all.formatChanges += found.formatChanges;
    all.cellChanges += found.cellChanges;
    all.changeRecording |= found.changeRecording;
    all.macroBindings += found.macroBindings;
    merge(all.changeAuthors, found.changeAuthors);
    merge(all.commentAuthors, found.commentAuthors);
    merge(all.commentDates, found.commentDates);
    merge(all.otherAuthors, found.otherAuthors);
    merge(all.nameFields, found.nameFields);
    merge(all.externalLinks, found.externalLinks);
    if (found.comments > 0) totals.commentsByPart.emplace_back(part, found.comments);
}

void appendBodyFindings(std::vector<FileMetadataEntry>& rows, const BodyTotals& totals) {
    const auto& found = totals.findings;
    appendCount(rows, u"Tracked insertions", found.insertions);
    appendCount(rows, u"Tracked deletions", found.deletions);
    appendCount(rows, u"Tracked format changes", found.formatChanges);
    appendCount(rows, u"Tracked cell changes", found.cellChanges);
    if (found.changeRecording) appendArchiveRow(rows, section, u"Change recording", u"On");
    appendList(rows, u"Change authors", found.changeAuthors);
    for (const auto& [part, count] : totals.commentsByPart) {
        appendArchiveRow(rows, section, u"Comments", text::decimalText(count) + u" in " + metadataText(part));
    }
    appendList(rows, u"Comment authors", found.commentAuthors);
    appendList(rows, u"Comment dates", found.commentDates, shownValues);
    appendList(rows, u"Other authors", found.otherAuthors);
    appendList(rows, u"Name fields", found.nameFields);
    appendList(rows, u"External links", found.externalLinks, shownValues);
    appendCount(rows, u"Macro bindings", found.macroBindings);
}

void appendSettings(std::vector<FileMetadataEntry>& rows, const SettingsFindings& found) {
    appendList(rows, u"Printer", found.printers);
    if (found.printerSetup) appendArchiveRow(rows, section, u"Printer set-up", u"Stored");
    appendList(rows, u"Data sources", found.dataSources);
    appendList(rows, u"Paths in settings", found.paths, shownValues);
}

bool isUnder(std::string_view name, std::string_view folder) { return lowercased(name).starts_with(folder); }

bool isPictureEntry(std::string_view name) {
    return !name.ends_with('/') && (name.starts_with("Pictures/") || name.find("/Pictures/") != std::string_view::npos);
}

// "Object 1/" holds an embedded document, "Object 2" a foreign object's bytes.
std::size_t embeddedObjectCount(const std::vector<ArchiveEntry>& listing) {
    std::set<std::string> objects;
    for (const auto& entry : listing) {
        const auto top = entry.name.substr(0, entry.name.find('/'));
        if (top.starts_with("Object ")) objects.insert(top);
    }
    return objects.size();
}

void appendPackageRows(std::vector<FileMetadataEntry>& rows, const std::vector<ArchiveEntry>& listing) {
    std::size_t macroParts = 0;
    std::size_t pictures = 0;
    for (const auto& entry : listing) {
        if (entry.isFolder()) continue;
        const auto lower = lowercased(entry.name);
        if (lower.starts_with("thumbnails/")) {
            appendArchiveRow(rows, u"Preview", u"Embedded thumbnail", metadataText(entry.name));
        }
        if (lower.starts_with("basic/") || lower.starts_with("scripts/")) ++macroParts;
        if (lower == "meta-inf/macrosignatures.xml") {
            appendArchiveRow(rows, section, u"Macro signature", metadataText(entry.name));
        }
        if (entry.name == documentSignaturesPart) {
            appendArchiveRow(rows, section, u"Digital signature", metadataText(entry.name));
        }
        if (isPictureEntry(entry.name)) ++pictures;
    }
    if (macroParts > 0) {
        appendArchiveRow(rows, section, u"Macros",
                         text::decimalText(macroParts) + (macroParts == 1 ? u" part" : u" parts"));
    }
    if (pictures > 0) appendArchiveRow(rows, u"Embedded", u"Images", text::decimalText(pictures));
    if (const auto objects = embeddedObjectCount(listing); objects > 0) {
        appendArchiveRow(rows, u"Embedded", u"Objects", text::decimalText(objects));
    }
}

void appendType(std::vector<FileMetadataEntry>& rows, const ZipArchive& archive, const ArchiveEntry& entry) {
    auto type = archive.readPart(entry, mimetypeBytes);
    if (!type.empty()) appendArchiveRow(rows, section, u"Type", metadataText(type));
}

}  // namespace

bool isPrivateOpenDocumentPart(std::string_view name) {
    const auto lower = lowercased(name);
    return isNamed(lower, "meta.xml") || isUnder(name, "thumbnails/") || isUnder(name, "basic/") ||
           isUnder(name, "scripts/") || lower == "meta-inf/macrosignatures.xml";
}

bool isDocumentBodyPart(std::string_view name) {
    const auto lower = lowercased(name);
    return isNamed(lower, "content.xml") || isNamed(lower, "styles.xml");
}

bool isSettingsPart(std::string_view name) { return isNamed(lowercased(name), "settings.xml"); }

bool isEncryptedPackage(const XmlDocument& manifest) {
    constexpr std::string_view encryption[] = {"encryption-data"};
    return !manifest.elementsNamed(encryption).empty();
}

bool isOpenDocumentResidue(const FileMetadataEntry& entry) {
    if (entry.section == u"Embedded") return entry.name.starts_with(u"Metadata in ");
    return std::find(std::begin(nonResidueNames), std::end(nonResidueNames), entry.name) == std::end(nonResidueNames);
}

std::vector<FileMetadataEntry> openDocumentEntries(const ZipArchive& archive,
                                                   const std::vector<ArchiveEntry>& listing) {
    std::vector<FileMetadataEntry> rows;
    BodyTotals bodies;
    SettingsFindings settings;
    std::vector<ArchiveEntry> kept;
    for (const auto& entry : listing) {
        if (entry.isFolder()) continue;
        if (entry.name == mimetypePart) appendType(rows, archive, entry);
        if (isNamed(lowercased(entry.name), "meta.xml")) appendDocumentProperties(rows, archive, entry);
        const bool body = isDocumentBodyPart(entry.name);
        const bool settingsPart = isSettingsPart(entry.name);
        if (body || settingsPart || entry.name == manifestPart) {
            const auto bytes = archive.readPart(entry);
            if (bytes.empty()) continue;
            const auto part = XmlDocument::parse(bytes);
            // A password-protected document's parts are ciphertext: nothing in them can be read.
            if (entry.name == manifestPart && isEncryptedPackage(part)) throwUnreadableFile();
            if (body) add(bodies, entry.name, documentPartFindings(part));
            if (settingsPart) {
                const auto found = settingsFindings(part);
                merge(settings.printers, found.printers);
                settings.printerSetup |= found.printerSetup;
                merge(settings.dataSources, found.dataSources);
                merge(settings.paths, found.paths);
            }
        }
        if (!isPrivateOpenDocumentPart(entry.name)) kept.push_back(entry);
    }
    appendBodyFindings(rows, bodies);
    appendSettings(rows, settings);
    appendPackageRows(rows, listing);
    // Pictures keep metadata of their own; those the copy drops anyway are not looked at.
    appendEmbeddedFileSignals(rows, archive, kept, 0);
    return withoutRepeatedRows(std::move(rows));
}

}  // namespace velquor::files
