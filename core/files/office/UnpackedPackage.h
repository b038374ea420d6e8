#pragma once

#include <filesystem>
#include <set>
#include <string>

namespace velquor::files {

// The steps of a privacy copy that work on the unpacked archive (the contents folder).

// The real size of every regular file under the folder, added up, without following links.
std::uint64_t unpackedByteCount(const std::filesystem::path& contents);

// Refuses (unreadableFile) a symbolic link or anything else that is neither a regular file nor
// a folder, hidden or not, and anything that resolves outside the folder. Folders get mode 0700
// and files 0600 on the way, so that an archive cannot lock us out of what it unpacked.
void rejectSymbolicLinks(const std::filesystem::path& contents);

// Removes the private parts and returns their paths relative to the folder, each with a
// leading "/", as written on disk.
std::set<std::string> removePrivateArchiveParts(const std::filesystem::path& contents);

// Edits every .xml and .rels file: Word parts lose their revisions and comment anchors,
// relationship files their external and private relationships, [Content_Types].xml the
// overrides of removed parts, and every part the markup that referred to a removed relationship.
// Each file is written back whole (through a new file and a rename). A part that is not
// well-formed XML is unreadableFile.
void sanitizeXmlFiles(const std::filesystem::path& contents, const std::set<std::string>& removedParts);

// Removes the folders that are empty, deepest first, so that a folder emptied by the removal of
// its last child goes too.
void removeEmptyDirectories(const std::filesystem::path& contents);

}  // namespace velquor::files
