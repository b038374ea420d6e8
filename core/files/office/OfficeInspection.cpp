#include "core/files/office/OfficeInspection.h"

#include "core/files/MetadataText.h"
#include "core/files/StableHash.h"
#include "core/files/office/ArchiveTools.h"
#include "core/files/office/OfficeText.h"

#include "core/text/base/TextConversions.h"
#include "core/text/regex/Regex.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
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

std::optional<std::u16string> readPartText(const OpenArchive& archive, const std::string& name) {
    const auto bytes = readPart(archive, name);
    if (!bytes) return std::nullopt;
    return partText(*bytes);
}

std::size_t matchCount(std::u16string_view text, std::u16string_view pattern) {
    return regexMatches(text, pattern).size();
}

void appendProperties(std::vector<FileMetadataEntry>& entries, const OpenArchive& archive,
                      const std::vector<std::string>& names, const std::string& part,
                      std::span<const ElementRow> rows) {
    if (!contains(names, part)) return;
    const auto xml = readPartText(archive, part);
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
std::vector<std::string> revisionCarryingParts(const std::vector<std::string>& names) {
    std::vector<std::string> parts;
    if (contains(names, "word/document.xml")) parts.emplace_back("word/document.xml");
    std::copy_if(names.begin(), names.end(), std::back_inserter(parts), isRevisionCarryingPart);
    return parts;
}

void appendTrackedChangeSignals(std::vector<FileMetadataEntry>& entries, const OpenArchive& archive,
                                const std::vector<std::string>& names) {
    std::size_t insertions = 0;
    std::size_t deletions = 0;
    std::size_t moves = 0;
    for (const auto& part : revisionCarryingParts(names)) {
        const auto xml = readPartText(archive, part);
        if (!xml) continue;
        insertions += matchCount(*xml, u"<w:ins(?:\\s|>)");
        deletions += matchCount(*xml, u"<w:del(?:\\s|>)");
        moves += matchCount(*xml, u"<w:moveFrom(?:\\s|>)") + matchCount(*xml, u"<w:moveTo(?:\\s|>)");
    }
    if (insertions > 0) appendSignal(entries, u"Word", u"Tracked insertions", text::decimalText(insertions));
    if (deletions > 0) appendSignal(entries, u"Word", u"Tracked deletions", text::decimalText(deletions));
    if (moves > 0) appendSignal(entries, u"Word", u"Tracked moves", text::decimalText(moves));
}

void appendCommentSignals(std::vector<FileMetadataEntry>& entries, const OpenArchive& archive,
                          const std::vector<std::string>& names) {
    std::vector<std::string> parts;
    for (const auto& name : names) {
        if (isFolder(name)) continue;
        if (name == "word/comments.xml" || name.starts_with("ppt/comments/") || name.starts_with("xl/comments")) {
            parts.push_back(name);
        }
    }
    std::sort(parts.begin(), parts.end());
    for (const auto& part : parts) {
        const auto xml = readPartText(archive, part);
        const std::size_t count = xml ? commentCount(*xml) : 1;
        appendSignal(entries, u"Office", u"Comments", text::decimalText(count) + u" in " + metadataText(part));
    }
}

std::u16string attributeValue(std::u16string_view match) {
    const auto quote = match.find_first_of(u"\"'");
    auto value = match.substr(quote + 1);
    value.remove_suffix(1);
    return std::u16string(value);
}

void appendExternalLinkSignals(std::vector<FileMetadataEntry>& entries, const OpenArchive& archive,
                               const std::vector<std::string>& names) {
    std::vector<std::u16string> targets;
    for (const auto& name : names) {
        if (!name.ends_with(".rels")) continue;
        const auto xml = readPartText(archive, name);
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

std::size_t commentCount(std::u16string_view part) {
    static const auto comment = text::Regex::compile(u"<(?:[A-Za-z0-9_.-]+:)?(?:comment|cm)(?=[\\s>/])");
    const auto scan = comment->allMatches(part);
    if (!scan.complete) throwIncompleteScan();
    return scan.matches.size();
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

std::vector<FileMetadataEntry> officeArchiveEntries(const OpenArchive& archive, const std::vector<std::string>& names) {
    std::vector<FileMetadataEntry> entries;
    appendPartPresence(entries, names);
    appendProperties(entries, archive, names, "docProps/core.xml", corePropertyRows);
    appendProperties(entries, archive, names, "docProps/app.xml", appPropertyRows);
    appendTrackedChangeSignals(entries, archive, names);
    appendCommentSignals(entries, archive, names);
    appendExternalLinkSignals(entries, archive, names);
    appendEmbeddedObjectSignals(entries, names);
    appendIWorkSignals(entries, names);
    return entries;
}

}  // namespace velquor::files
