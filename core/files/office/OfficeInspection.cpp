#include "core/files/office/OfficeInspection.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/MetadataText.h"
#include "core/files/StableHash.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/EmbeddedFiles.h"
#include "core/files/office/OfficeText.h"
#include "core/files/office/StartTagScan.h"
#include "core/files/office/ZipArchive.h"

#include "core/text/base/TextConversions.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <set>
#include <string_view>

namespace velquor::files {

namespace {

struct ElementRow {
    std::u16string_view element;
    std::u16string_view name;
};

struct PartRow {
    std::string_view part;
    std::u16string_view section;
    std::u16string_view name;
};

constexpr PartRow partPresenceRows[] = {
    {"docProps/core.xml", u"Office", u"Core properties"},
    {"docProps/app.xml", u"Office", u"App properties"},
    {"docProps/custom.xml", u"Office", u"Custom properties"},
    {"docProps/thumbnail.jpeg", u"Office", u"Embedded thumbnail"},
    {"docProps/thumbnail.png", u"Office", u"Embedded thumbnail"},
    {"word/comments.xml", u"Word", u"Comments part"},
    {"word/people.xml", u"Word", u"People metadata"},
    {"xl/persons/person.xml", u"Excel", u"People metadata"},
};

constexpr ElementRow corePropertyRows[] = {
    {u"dc:creator", u"Author"},          {u"cp:lastModifiedBy", u"Last modified by"},
    {u"cp:revision", u"Revision count"}, {u"dcterms:created", u"Created"},
    {u"dcterms:modified", u"Modified"},  {u"dc:title", u"Title"},
    {u"dc:subject", u"Subject"},         {u"cp:keywords", u"Keywords"},
    {u"dc:description", u"Description"},
};

constexpr ElementRow appPropertyRows[] = {
    {u"Application", u"Application"},
    {u"AppVersion", u"App version"},
    {u"Company", u"Company"},
    {u"Manager", u"Manager"},
    {u"Template", u"Template"},
    {u"TotalTime", u"Total edit time"},
    {u"Pages", u"Pages"},
    {u"Words", u"Words"},
};

void append(std::vector<FileMetadataEntry>& entries, std::u16string_view section, std::u16string_view name,
            std::u16string value, std::u16string_view hashKey) {
    auto id = std::u16string(section) + u"-" + std::u16string(name) + u"-" + text::decimalText(stableHash(hashKey));
    entries.push_back({std::move(id), std::u16string(section), std::u16string(name), std::move(value)});
}

void appendSignal(std::vector<FileMetadataEntry>& entries, std::u16string_view section, std::u16string_view name,
                  std::u16string value) {
    const auto key = value;
    append(entries, section, name, std::move(value), key);
}

// Folder entries are no parts: "ppt/comments/" holds no comments and "word/embeddings/" is no object.
bool isFolder(std::string_view name) { return name.ends_with('/'); }

bool contains(const std::vector<std::string>& names, std::string_view name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

// The entries and their names together, and the archive they are read from.
struct Package {
    const ZipArchive& archive;
    const std::vector<ArchiveEntry>& entries;
    std::vector<std::string> names;

    const ArchiveEntry* find(std::string_view name) const {
        const auto found =
            std::find_if(entries.begin(), entries.end(), [&](const ArchiveEntry& entry) { return entry.name == name; });
        return found == entries.end() ? nullptr : &*found;
    }
};

// A part shown as values: its first bytes only. One that cannot be inflated is skipped; one
// that inflates past its declared size still refuses the whole archive.
std::optional<std::u16string> readPartText(const Package& package, const ArchiveEntry& entry) {
    try {
        return partText(package.archive.readPart(entry, ArchiveLimits::inspectedPartBytes));
    } catch (const FileSanitizerError& error) {
        if (error.errorCase() != FileSanitizerError::Case::unreadableFile) throw;
        return std::nullopt;
    }
}

// Every byte of a part through the tag scan, however long the part is.
StartTagCounts scannedInFull(const Package& package, const ArchiveEntry& entry) {
    StartTagCounts counts;
    auto scan = countingScan(counts);
    package.archive.read(entry, UINT64_MAX, [&](std::string_view chunk) { scan.feed(chunk); });
    return counts;
}

void appendProperties(std::vector<FileMetadataEntry>& entries, const Package& package, std::string_view part,
                      std::span<const ElementRow> rows) {
    const auto* entry = package.find(part);
    if (entry == nullptr) return;
    const auto xml = readPartText(package, *entry);
    if (!xml) return;
    for (const auto& row : rows) {
        auto value = xmlValue(row.element, *xml);
        if (value && !value->empty()) appendSignal(entries, u"Office", row.name, std::move(*value));
    }
}

bool isRevisionCarryingPart(std::string_view name) {
    if (!name.starts_with("word/") || !name.ends_with(".xml")) return false;
    auto stem = name.substr(5, name.size() - 9);
    if (stem == "footnotes" || stem == "endnotes") return true;
    if (!stem.starts_with("header") && !stem.starts_with("footer")) return false;
    stem.remove_prefix(6);
    return std::all_of(stem.begin(), stem.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The parts whose body text can carry revisions: the main document first, then the headers,
// footers, footnotes and endnotes in listing order.
std::vector<const ArchiveEntry*> revisionCarryingParts(const Package& package) {
    std::vector<const ArchiveEntry*> parts;
    if (const auto* document = package.find("word/document.xml")) parts.push_back(document);
    for (const auto& entry : package.entries) {
        if (isRevisionCarryingPart(entry.name)) parts.push_back(&entry);
    }
    return parts;
}

void appendTrackedChangeSignals(std::vector<FileMetadataEntry>& entries, const Package& package) {
    StartTagCounts total;
    for (const auto* part : revisionCarryingParts(package)) {
        const auto counts = scannedInFull(package, *part);
        total.insertions += counts.insertions;
        total.deletions += counts.deletions;
        total.moves += counts.moves;
    }
    if (total.insertions > 0)
        appendSignal(entries, u"Word", u"Tracked insertions", text::decimalText(total.insertions));
    if (total.deletions > 0) appendSignal(entries, u"Word", u"Tracked deletions", text::decimalText(total.deletions));
    if (total.moves > 0) appendSignal(entries, u"Word", u"Tracked moves", text::decimalText(total.moves));
}

// The comments of a part that cannot be inflated are not known, so it counts as one.
std::size_t commentsIn(const Package& package, const ArchiveEntry& part) {
    try {
        return scannedInFull(package, part).comments;
    } catch (const FileSanitizerError& error) {
        if (error.errorCase() != FileSanitizerError::Case::unreadableFile) throw;
        return 1;
    }
}

void appendCommentSignals(std::vector<FileMetadataEntry>& entries, const Package& package) {
    std::vector<const ArchiveEntry*> parts;
    for (const auto& entry : package.entries) {
        const auto& name = entry.name;
        if (entry.isFolder()) continue;
        if (name == "word/comments.xml" || name.starts_with("ppt/comments/") || name.starts_with("xl/comments")) {
            parts.push_back(&entry);
        }
    }
    std::sort(parts.begin(), parts.end(), [](const auto* a, const auto* b) { return a->name < b->name; });
    for (const auto* part : parts) {
        appendSignal(entries, u"Office", u"Comments",
                     text::decimalText(commentsIn(package, *part)) + u" in " + metadataText(part->name));
    }
}

std::u16string attributeValue(std::u16string_view match) {
    const auto quote = match.find_first_of(u"\"'");
    auto value = match.substr(quote + 1);
    value.remove_suffix(1);
    return std::u16string(value);
}

void appendExternalLinkSignals(std::vector<FileMetadataEntry>& entries, const Package& package) {
    std::vector<std::u16string> targets;
    for (const auto& entry : package.entries) {
        if (!entry.name.ends_with(".rels")) continue;
        const auto xml = readPartText(package, entry);
        if (!xml || regexMatches(*xml, u"\\bTargetMode\\s*=\\s*[\"']External[\"']").empty()) continue;
        for (const auto& match : regexMatches(*xml, u"\\bTarget\\s*=\\s*(?:\"[^\"]+\"|'[^']+')")) {
            targets.push_back(decodedPredefinedEntities(attributeValue(match)));
        }
    }
    if (targets.empty()) return;
    std::u16string shown;
    for (std::size_t i = 0; i < std::min<std::size_t>(targets.size(), 3); ++i) {
        if (i > 0) shown += u", ";
        shown += targets[i];
    }
    appendSignal(entries, u"Office", u"External links", std::move(shown));
}

bool endsWithAny(std::string_view name, std::initializer_list<std::string_view> suffixes) {
    return std::any_of(suffixes.begin(), suffixes.end(), [&](auto suffix) { return name.ends_with(suffix); });
}

}  // namespace

void appendArchiveRow(std::vector<FileMetadataEntry>& entries, std::u16string_view section, std::u16string_view name,
                      std::u16string value) {
    appendSignal(entries, section, name, std::move(value));
}

std::vector<FileMetadataEntry> withoutRepeatedRows(std::vector<FileMetadataEntry> entries) {
    std::set<std::u16string> seen;
    std::erase_if(entries, [&](const FileMetadataEntry& entry) { return !seen.insert(entry.id).second; });
    return entries;
}

void appendPartPresence(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names) {
    const std::set<std::string_view> present(names.begin(), names.end());
    for (const auto& row : partPresenceRows) {
        if (present.contains(row.part))
            append(entries, row.section, row.name, text::widenedAscii(row.part), text::widenedAscii(row.part));
    }
}

void appendEmbeddedObjectSignals(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names) {
    std::size_t images = 0;
    std::size_t fonts = 0;
    std::size_t objects = 0;
    for (const auto& name : names) {
        if (isFolder(name)) continue;
        const auto lower = text::asciiLowercased(name);
        if (lower.find("/media/") != std::string::npos &&
            endsWithAny(lower, {".png", ".jpg", ".jpeg", ".gif", ".tif", ".tiff", ".bmp", ".webp"})) {
            ++images;
        }
        if (endsWithAny(lower, {".ttf", ".otf", ".woff", ".woff2"})) ++fonts;
        if (lower.find("/embeddings/") != std::string::npos || endsWithAny(lower, {".bin", ".ole"})) ++objects;
    }
    if (images > 0) appendSignal(entries, u"Embedded", u"Images", text::decimalText(images));
    if (fonts > 0) appendSignal(entries, u"Embedded", u"Fonts", text::decimalText(fonts));
    if (objects > 0) appendSignal(entries, u"Embedded", u"Objects/blobs", text::decimalText(objects));
}

void appendIWorkSignals(std::vector<FileMetadataEntry>& entries, const std::vector<std::string>& names) {
    const auto parts = std::count_if(names.begin(), names.end(), [](const std::string& name) {
        return name.starts_with("Index/") && name.ends_with(".iwa");
    });
    if (parts > 0)
        appendSignal(entries, u"iWork", u"IWA document parts",
                     text::decimalText(static_cast<std::uint64_t>(parts)) + u" binary parts");
    if (contains(names, "Metadata/Properties.plist")) {
        appendSignal(entries, u"iWork", u"Metadata plist", u"Metadata/Properties.plist");
    }
}

std::vector<FileMetadataEntry> officeArchiveEntries(const ZipArchive& archive, const std::vector<ArchiveEntry>& listing,
                                                    std::size_t depth) {
    const Package package{archive, listing, entryNames(listing)};
    std::vector<FileMetadataEntry> entries;
    appendPartPresence(entries, package.names);
    appendProperties(entries, package, "docProps/core.xml", corePropertyRows);
    appendProperties(entries, package, "docProps/app.xml", appPropertyRows);
    appendTrackedChangeSignals(entries, package);
    appendCommentSignals(entries, package);
    appendExternalLinkSignals(entries, package);
    appendEmbeddedObjectSignals(entries, package.names);
    appendEmbeddedFileSignals(entries, archive, listing, depth);
    appendIWorkSignals(entries, package.names);
    return entries;
}

}  // namespace velquor::files
