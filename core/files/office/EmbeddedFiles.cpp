#include "core/files/office/EmbeddedFiles.h"

#include "core/files/FileSanitizerError.h"
#include "core/files/MetadataText.h"
#include "core/files/StableHash.h"
#include "core/files/image/ImageInspection.h"
#include "core/files/image/ImagePrivacyCopy.h"
#include "core/files/office/ArchiveValidation.h"
#include "core/files/office/OfficeArchiveInspector.h"
#include "core/files/office/OfficeInspection.h"
#include "core/files/office/OfficeXmlEdits.h"
#include "core/files/office/PackageCleaning.h"
#include "core/files/office/ZipArchive.h"

#include "core/text/base/TextConversions.h"

#include <algorithm>
#include <array>

namespace velquor::files {

namespace {

enum class EmbeddedKind { image, officeDocument };

std::optional<EmbeddedKind> embeddedKind(const ArchiveEntry& entry) {
    // A private part goes from the copy whatever it holds, and has a row of its own.
    if (entry.isFolder() || isPrivateArchivePart(entry.name)) return std::nullopt;
    const auto lower = text::asciiLowercased(entry.name);
    const auto dot = lower.rfind('.');
    if (dot == std::string::npos || lower.find('/', dot) != std::string::npos) return std::nullopt;
    const auto extension = std::string_view(lower).substr(dot + 1);
    constexpr std::array<std::string_view, 8> images{"png", "jpg", "jpeg", "gif", "tif", "tiff", "bmp", "webp"};
    constexpr std::array<std::string_view, 3> documents{"docx", "xlsx", "pptx"};
    if (std::find(images.begin(), images.end(), extension) != images.end()) return EmbeddedKind::image;
    if (std::find(documents.begin(), documents.end(), extension) != documents.end()) {
        return EmbeddedKind::officeDocument;
    }
    return std::nullopt;
}

ByteView bytesOf(const std::string& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()};
}

bool isPersonalImageRow(const FileMetadataEntry& entry) {
    return isPersonalSection(entry.section) || isPersonalEntryName(normalizedEntryName(entry.name));
}

// The embedded package, opened and validated like a file of its own, one level deeper.
struct EmbeddedPackage {
    ZipArchive archive;
    std::vector<ArchiveEntry> listing;
};

EmbeddedPackage openedPackage(std::string bytes, std::size_t depth) {
    if (depth >= deepestEmbedding) throw FileSanitizerError(FileSanitizerError::Case::archiveResourceLimitExceeded);
    auto archive = ZipArchive::fromBytes(std::move(bytes));
    auto listing = archive.listEntries();
    if (listing.empty()) throwUnreadableFile();
    validateArchive(archive, listing);
    return {std::move(archive), std::move(listing)};
}

// The names of what one embedded file carries that its privacy copy would remove; nothing when
// it is clean or is no file of a family this build reads.
std::vector<std::u16string> carriedMetadata(EmbeddedKind kind, std::string bytes, std::size_t depth) {
    std::vector<std::u16string> names;
    if (kind == EmbeddedKind::image) {
        if (!sniffImageFormat(bytesOf(bytes))) return names;
        const auto report = inspectImageData(bytesOf(bytes)).report;
        if (report.hasContentCredentialsSignal) names.emplace_back(u"Content credentials");
        for (const auto& entry : report.entries) {
            if (isPersonalImageRow(entry)) names.push_back(entry.name);
        }
    } else {
        const auto package = openedPackage(std::move(bytes), depth + 1);
        for (const auto& entry : officeArchiveEntries(package.archive, package.listing, depth + 1)) {
            if (isExportPrivacyResidue(entry)) names.push_back(entry.name);
        }
    }
    return names;
}

// A file that claims to be an image or a document but cannot be read as one hides whatever it
// carries; the row says so, and the export, which cannot clean it either, fails.
std::vector<std::u16string> carriedMetadataOrUnreadable(EmbeddedKind kind, std::string bytes, std::size_t depth) {
    try {
        return carriedMetadata(kind, std::move(bytes), depth);
    } catch (const FileSanitizerError& error) {
        if (error.errorCase() != FileSanitizerError::Case::unreadableFile) throw;
        return {u"Unreadable file"};
    }
}

std::u16string joinedUnique(const std::vector<std::u16string>& names) {
    std::vector<std::u16string> seen;
    std::u16string joined;
    for (const auto& name : names) {
        if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
        seen.push_back(name);
        joined += (joined.empty() ? u"" : u", ") + name;
    }
    return joined;
}

}  // namespace

void appendEmbeddedFileSignals(std::vector<FileMetadataEntry>& entries, const ZipArchive& archive,
                               const std::vector<ArchiveEntry>& listing, std::size_t depth) {
    for (const auto& entry : listing) {
        const auto kind = embeddedKind(entry);
        if (!kind) continue;
        const auto names = carriedMetadataOrUnreadable(*kind, archive.readPart(entry), depth);
        if (names.empty()) continue;
        const auto name = u"Metadata in " + metadataText(entry.name);
        auto value = joinedUnique(names);
        auto id = u"Embedded-" + name + u"-" + text::decimalText(stableHash(value));
        entries.push_back({std::move(id), u"Embedded", name, std::move(value)});
    }
}

std::optional<std::string> cleanedEmbeddedFile(const ZipArchive& archive, const ArchiveEntry& entry,
                                               std::size_t depth) {
    const auto kind = embeddedKind(entry);
    if (!kind) return std::nullopt;
    auto bytes = archive.readPart(entry);
    if (*kind == EmbeddedKind::image) {
        const auto format = sniffImageFormat(bytesOf(bytes));
        if (!format) return std::nullopt;
        const auto inspection = inspectImageData(bytesOf(bytes));
        if (inspection.report.hasContentCredentialsSignal) {
            throw FileSanitizerError(FileSanitizerError::Case::contentCredentialsInspectOnly);
        }
        auto copy = privacyCopyBytes(inspection.format, bytesOf(bytes), inspection.orientation);
        const auto written = inspectImageData(copy);
        // Like a photo's own copy, it must stay the same picture.
        if (written.format != inspection.format || written.frameCount != inspection.frameCount ||
            written.report.pixelSize != inspection.report.pixelSize) {
            throwExportFailed();
        }
        return std::string(copy.begin(), copy.end());
    }
    const auto package = openedPackage(std::move(bytes), depth + 1);
    const auto copy = cleanedPackage(package.archive, package.listing, depth + 1);
    return std::string(copy.begin(), copy.end());
}

}  // namespace velquor::files
