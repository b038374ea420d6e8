#include "core/files/office/PackageCleaning.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/office/EmbeddedFiles.h"
#include "core/files/office/OfficeXmlEdits.h"
#include "core/files/office/XmlDocument.h"
#include "core/files/office/ZipArchive.h"
#include "core/files/office/ZipWriter.h"

#include "core/text/base/TextConversions.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>

namespace velquor::files {

namespace {

constexpr std::string_view contentTypesPart = "[Content_Types].xml";

// The text after the last dot of the name, so that the root ".rels" has the extension "rels".
std::string lowercasedExtension(std::string_view name) {
    const auto slash = name.rfind('/');
    const auto last = slash == std::string_view::npos ? name : name.substr(slash + 1);
    const auto dot = last.rfind('.');
    return dot == std::string_view::npos ? std::string() : text::asciiLowercased(last.substr(dot + 1));
}

// What a relationship file describes: "word/_rels/document.xml.rels" is about the part
// "word/document.xml" in the folder "word/"; "_rels/.rels" is about the package itself.
struct RelationshipSource {
    std::string folder;
    std::string part;
};

RelationshipSource relationshipSource(const std::string& name) {
    const std::filesystem::path path(name);
    const auto parent = path.parent_path();
    if (parent.filename() != "_rels") return {parent.empty() ? "" : parent.generic_string() + "/", ""};
    const auto folder = parent.parent_path().empty() ? std::string() : parent.parent_path().generic_string() + "/";
    const auto file = path.filename().string();
    return {folder, file.size() > 5 ? folder + file.substr(0, file.size() - 5) : ""};
}

bool linksOtherWorkbooks(const std::set<std::string>& removedParts) {
    return std::any_of(removedParts.begin(), removedParts.end(), [](const std::string& part) {
        return text::asciiLowercased(part).starts_with("/xl/externallinks/");
    });
}

// A compressed copy carries the entry's declared size into the new archive unchecked. Deflate
// grows data by a few bytes per block at most, so compressed data far larger than the size it
// claims to inflate to can only inflate to more: a bomb that lies about itself.
bool compressedSizeIsPlausible(const ArchiveEntry& entry) {
    if (entry.compressionMethod == ArchiveEntry::stored) return entry.compressedSize == entry.declaredSize;
    return entry.compressedSize <= entry.declaredSize + entry.declaredSize / 8 + 64;
}

void copyUnchanged(ZipWriter& writer, const ZipArchive& source, const ArchiveEntry& entry) {
    const bool copyable =
        entry.compressionMethod == ArchiveEntry::stored || entry.compressionMethod == ArchiveEntry::deflated;
    if (!copyable) {
        // Other methods are inflated here, counted like every read, and deflated again.
        writer.add(entry.name, source.readPart(entry));
        return;
    }
    if (!compressedSizeIsPlausible(entry)) {
        throw FileSanitizerError(FileSanitizerError::Case::archiveResourceLimitExceeded);
    }
    writer.addCompressedCopy(source, entry);
}

struct Selection {
    std::vector<const ArchiveEntry*> kept;
    std::set<std::string> removed;  // names with a leading "/", as the relationship edits take them
};

Selection selectedParts(const std::vector<ArchiveEntry>& entries) {
    // Formulas that read a linked workbook become values, so the calculation chain that lists
    // them would be stale; Excel rebuilds it when it is missing.
    const bool dropsWorkbookLinks = std::any_of(entries.begin(), entries.end(), [](const ArchiveEntry& entry) {
        return text::asciiLowercased(entry.name).starts_with("xl/externallinks/");
    });
    Selection selection;
    for (const auto& entry : entries) {
        if (entry.isFolder()) continue;
        const bool staleChain = dropsWorkbookLinks && text::asciiLowercased(entry.name) == "xl/calcchain.xml";
        if (isPrivateArchivePart(entry.name) || staleChain) {
            selection.removed.insert("/" + entry.name);
        } else {
            selection.kept.push_back(&entry);
        }
    }
    return selection;
}

// The parts as edited, by name. An empty part carries nothing and stays as it is.
class PartEdits {
public:
    PartEdits(const ZipArchive& source, const Selection& selection) : source_(source), selection_(selection) {}

    std::map<std::string, std::string> run() {
        // Relationship files first: the parts they describe must drop what referred to the removed ones.
        for (const auto* entry : selection_.kept) {
            if (lowercasedExtension(entry->name) == "rels") editRelationships(*entry);
        }
        const bool brokenWorkbookLinks = linksOtherWorkbooks(selection_.removed);
        for (const auto* entry : selection_.kept) {
            if (lowercasedExtension(entry->name) == "xml") editXmlPart(*entry, brokenWorkbookLinks);
        }
        return std::move(edited_);
    }

private:
    void editRelationships(const ArchiveEntry& entry) {
        const auto bytes = source_.readPart(entry);
        if (bytes.empty()) return;
        auto document = XmlDocument::parse(bytes);
        const auto origin = relationshipSource(entry.name);
        auto ids = sanitizeRelationships(document, origin.folder, selection_.removed);
        if (!origin.part.empty() && !ids.empty()) removedIdsByPart_[origin.part].merge(ids);
        edited_[entry.name] = document.serialize();
    }

    void editXmlPart(const ArchiveEntry& entry, bool brokenWorkbookLinks) {
        const auto lower = text::asciiLowercased(entry.name);
        const bool wordPart = lower.starts_with("word/");
        const bool workbookPart =
            brokenWorkbookLinks && (lower.starts_with("xl/worksheets/") || lower == "xl/workbook.xml");
        const bool contentTypes = entry.name == contentTypesPart;
        const auto ids = removedIdsByPart_.find(entry.name);
        const bool refersToRemoved = ids != removedIdsByPart_.end();
        if (!wordPart && !workbookPart && !contentTypes && !refersToRemoved) return;

        const auto bytes = source_.readPart(entry);
        if (bytes.empty()) return;
        auto document = XmlDocument::parse(bytes);
        if (wordPart) sanitizeWordPart(document);
        if (workbookPart) removeExternalWorkbookFormulas(document);
        if (contentTypes) removeContentTypeOverrides(document, selection_.removed);
        if (refersToRemoved) removeReferencesToRelationships(document, ids->second);
        edited_[entry.name] = document.serialize();
    }

    const ZipArchive& source_;
    const Selection& selection_;
    std::map<std::string, std::set<std::string>> removedIdsByPart_;
    std::map<std::string, std::string> edited_;
};

// [Content_Types].xml first, where readers look for it; the rest in the source's order.
std::vector<const ArchiveEntry*> writingOrder(std::vector<const ArchiveEntry*> kept) {
    std::stable_partition(kept.begin(), kept.end(),
                          [](const ArchiveEntry* entry) { return entry->name == contentTypesPart; });
    return kept;
}

}  // namespace

std::vector<std::uint8_t> cleanedPackage(const ZipArchive& source, const std::vector<ArchiveEntry>& entries,
                                         std::size_t depth) {
    const auto selection = selectedParts(entries);
    if (selection.kept.empty()) throwUnreadableFile();
    auto edited = PartEdits(source, selection).run();
    ZipWriter writer;
    writeKeptEntries(writer, source, writingOrder(selection.kept), edited, depth);
    return writer.finish();
}

void writeKeptEntries(ZipWriter& writer, const ZipArchive& source, const std::vector<const ArchiveEntry*>& entries,
                      std::map<std::string, std::string>& edited, std::size_t depth) {
    for (const auto* entry : entries) {
        if (auto part = edited.find(entry->name); part != edited.end()) {
            writer.add(entry->name, std::move(part->second));
        } else if (auto embedded = cleanedEmbeddedFile(source, *entry, depth)) {
            // Pictures and packages are compressed already.
            writer.add(entry->name, std::move(*embedded), ZipWriter::Compression::stored);
        } else {
            copyUnchanged(writer, source, *entry);
        }
    }
}

}  // namespace velquor::files
