#include "core/files/office/UnpackedPackage.h"

#include "core/files/FileBytes.h"
#include "core/files/FileExportSafety.h"
#include "core/files/FileSanitizerError.h"
#include "core/files/office/ArchiveTools.h"
#include "core/files/office/OfficeXmlEdits.h"
#include "core/files/office/XmlDocument.h"
#include "core/posix/FileDescriptor.h"

#include "core/text/base/TextConversions.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <system_error>
#include <vector>

namespace velquor::files {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void throwSystemError(const fs::path& path) {
    throw std::system_error(errno, std::generic_category(), path.string());
}

std::string relativePath(const fs::path& contents, const fs::path& item) {
    return item.lexically_relative(contents).generic_string();
}

// The text after the last dot of the name, so that the root ".rels" has the extension "rels".
std::string lowercasedExtension(const fs::path& file) {
    const auto name = file.filename().string();
    const auto dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : text::asciiLowercased(name.substr(dot + 1));
}

void checkInside(const std::string& root, const fs::path& item) {
    std::error_code error;
    const auto resolved = fs::canonical(item, error);
    if (error || !resolved.string().starts_with(root)) throwUnreadableFile();
}

void walkAndLockDown(const std::string& root, const fs::path& folder) {
    ::chmod(folder.c_str(), 0700);
    std::error_code error;
    fs::directory_iterator entries(folder, error);
    if (error) throwUnreadableFile();
    for (fs::directory_iterator end; entries != end; entries.increment(error)) {
        if (error) throwUnreadableFile();
        const auto& item = entries->path();
        struct stat status {};
        if (::lstat(item.c_str(), &status) != 0) throwSystemError(item);
        if (S_ISLNK(status.st_mode) || (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode))) throwUnreadableFile();
        checkInside(root, item);
        if (S_ISDIR(status.st_mode)) {
            walkAndLockDown(root, item);
        } else {
            ::chmod(item.c_str(), 0600);
        }
    }
    if (error) throwUnreadableFile();
}

std::vector<fs::path> everythingUnder(const fs::path& contents) {
    std::vector<fs::path> items;
    for (const auto& entry : fs::recursive_directory_iterator(contents)) items.push_back(entry.path());
    return items;
}

std::span<const std::uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

// Removes the half-written new file and fails with the error, naming the file it concerns.
[[noreturn]] void abandon(const fs::path& temporary, std::error_code error, const fs::path& named) {
    ::unlink(temporary.c_str());
    throw std::system_error(error, named.string());
}

// Through a new file and a rename. A failure names the new file while it is written, and the
// edited file once it is closed and put in place.
void writeFileAtomically(const fs::path& file, const std::string& bytes) {
    const auto temporary = file.parent_path() / (".velquor-" + FileExportSafety::randomUUIDString());
    posix::FileDescriptor written;
    try {
        written = posix::createExclusively(temporary, 0600);
    } catch (const std::system_error& failure) {
        throw std::system_error(failure.code(), temporary.string());
    }
    try {
        posix::writeAll(written.get(), bytesOf(bytes));
    } catch (const std::system_error& failure) {
        written.reset();
        abandon(temporary, failure.code(), temporary);
    }
    try {
        written.close();
    } catch (const std::system_error& failure) {
        abandon(temporary, failure.code(), file);
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) abandon(temporary, {errno, std::generic_category()}, file);
}

XmlDocument parsedFile(const fs::path& file) {
    const auto bytes = readWholeFile(file, static_cast<std::uint64_t>(ArchiveLimits::uncompressedBytes));
    if (!bytes) throwUnreadableFile();
    return XmlDocument::parse(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
}

// What a relationship file describes: "word/_rels/document.xml.rels" is about the part
// "word/document.xml" in the folder "word/"; "_rels/.rels" is about the package itself.
struct RelationshipSource {
    std::string folder;
    std::string part;
};

RelationshipSource relationshipSource(const std::string& relative) {
    const fs::path path(relative);
    const auto parent = path.parent_path();
    if (parent.filename() != "_rels") return {parent.empty() ? "" : parent.generic_string() + "/", ""};
    const auto folder = parent.parent_path().empty() ? std::string() : parent.parent_path().generic_string() + "/";
    const auto name = path.filename().string();
    return {folder, name.size() > 5 ? folder + name.substr(0, name.size() - 5) : ""};
}

bool linksOtherWorkbooks(const std::set<std::string>& removedParts) {
    return std::any_of(removedParts.begin(), removedParts.end(), [](const std::string& part) {
        return text::asciiLowercased(part).starts_with("/xl/externallinks/");
    });
}

}  // namespace

std::uint64_t unpackedByteCount(const fs::path& contents) {
    std::uint64_t total = 0;
    std::error_code error;
    for (fs::recursive_directory_iterator it(contents, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error)) {
        struct stat status {};
        if (::lstat(it->path().c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
            total += static_cast<std::uint64_t>(std::max<off_t>(status.st_size, 0));
        }
    }
    return total;
}

void rejectSymbolicLinks(const fs::path& contents) {
    std::error_code error;
    auto root = fs::canonical(contents, error).string();
    if (error) throwUnreadableFile();
    if (!root.ends_with('/')) root.push_back('/');
    walkAndLockDown(root, contents);
}

std::set<std::string> removePrivateArchiveParts(const fs::path& contents) {
    const auto items = everythingUnder(contents);
    // Formulas that read a linked workbook become values, so the calculation chain that lists
    // them would be stale; Excel rebuilds it when it is missing.
    const bool dropsWorkbookLinks = std::any_of(items.begin(), items.end(), [&](const fs::path& item) {
        return text::asciiLowercased(relativePath(contents, item)).starts_with("xl/externallinks/");
    });
    std::set<std::string> removed;
    for (const auto& item : items) {
        const auto relative = relativePath(contents, item);
        const bool staleChain = dropsWorkbookLinks && text::asciiLowercased(relative) == "xl/calcchain.xml";
        if (!isPrivateArchivePart(relative) && !staleChain) continue;
        fs::remove_all(item);
        removed.insert("/" + relative);
    }
    return removed;
}

void sanitizeXmlFiles(const fs::path& contents, const std::set<std::string>& removedParts) {
    std::vector<fs::path> relationshipFiles;
    std::vector<fs::path> xmlFiles;
    for (const auto& item : everythingUnder(contents)) {
        if (!fs::is_regular_file(fs::symlink_status(item))) continue;
        const auto extension = lowercasedExtension(item);
        if (extension == "rels") relationshipFiles.push_back(item);
        if (extension == "xml") xmlFiles.push_back(item);
    }

    // Relationship files first: the parts they describe must drop what referred to the removed ones.
    std::map<std::string, std::set<std::string>> removedIdsByPart;
    for (const auto& file : relationshipFiles) {
        const auto source = relationshipSource(relativePath(contents, file));
        auto document = parsedFile(file);
        auto ids = sanitizeRelationships(document, source.folder, removedParts);
        if (!source.part.empty() && !ids.empty()) removedIdsByPart[source.part].merge(ids);
        writeFileAtomically(file, document.serialize());
    }
    const bool brokenWorkbookLinks = linksOtherWorkbooks(removedParts);
    for (const auto& file : xmlFiles) {
        const auto relative = relativePath(contents, file);
        const auto lower = text::asciiLowercased(relative);
        auto document = parsedFile(file);
        if (lower.starts_with("word/")) sanitizeWordPart(document);
        if (brokenWorkbookLinks && (lower.starts_with("xl/worksheets/") || lower == "xl/workbook.xml")) {
            removeExternalWorkbookFormulas(document);
        }
        if (relative == "[Content_Types].xml") removeContentTypeOverrides(document, removedParts);
        if (const auto ids = removedIdsByPart.find(relative); ids != removedIdsByPart.end()) {
            removeReferencesToRelationships(document, ids->second);
        }
        writeFileAtomically(file, document.serialize());
    }
}

void removeEmptyDirectories(const fs::path& contents) {
    std::vector<fs::path> folders;
    std::error_code error;
    for (fs::recursive_directory_iterator it(contents, error), end; !error && it != end; it.increment(error)) {
        std::error_code statusError;
        if (it->is_directory(statusError) && !it->is_symlink(statusError)) folders.push_back(it->path());
    }
    std::stable_sort(folders.begin(), folders.end(),
                     [](const fs::path& a, const fs::path& b) { return a.native().size() > b.native().size(); });
    for (const auto& folder : folders) {
        if (fs::is_empty(folder)) fs::remove(folder);
    }
}

}  // namespace velquor::files
