#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace velquor::testing {

// Independent readers of a document archive: the unzip tool, and libxml2's canonical form.
std::vector<std::string> archiveEntryNames(const std::filesystem::path& archive);        // unzip -Z1, sorted
std::string archivePart(const std::filesystem::path& archive, const std::string& name);  // unzip -p
bool archiveTestPasses(const std::filesystem::path& archive);                            // unzip -tqq

// The canonical form (C14N) of a document: equal for documents that differ only in quote
// style, character references, empty-element form and the declaration.
std::string canonicalXml(const std::string& xml);

}  // namespace velquor::testing
