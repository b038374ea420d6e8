#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace velquor::testing {

// Independent readers of a document archive: the unzip tool, and libxml2's canonical form.
std::vector<std::string> archiveEntryNames(const std::filesystem::path& archive);        // unzip -Z1, sorted
std::string archivePart(const std::filesystem::path& archive, const std::string& name);  // unzip -p
bool archiveTestPasses(const std::filesystem::path& archive);                            // unzip -tqq

// What the headers of one entry say, read byte by byte from the central directory and the
// local header it points to.
struct ZipEntryHeaders {
    std::string name;
    std::uint16_t centralTime = 0;  // DOS time and date, as stored
    std::uint16_t centralDate = 0;
    std::uint16_t localTime = 0;
    std::uint16_t localDate = 0;
    std::size_t centralExtraBytes = 0;
    std::size_t localExtraBytes = 0;
};

// Every entry in central-directory order; throws when the archive is not laid out as expected.
std::vector<ZipEntryHeaders> zipEntryHeaders(const std::filesystem::path& archive);

// The canonical form (C14N) of a document: equal for documents that differ only in quote
// style, character references, empty-element form and the declaration.
std::string canonicalXml(const std::string& xml);

}  // namespace velquor::testing
