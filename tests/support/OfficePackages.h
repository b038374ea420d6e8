#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace velquor::testing {

// Package parts by name; the map keeps them in name order.
using Parts = std::map<std::string, std::string>;

// Writes the parts as files under a fresh folder of `workspace` and packs them with the real
// /usr/bin/zip into `archive`, without extra fields unless asked to keep them (then each entry
// carries its file times and owner ids, as zip writes them by default).
void zipWithSystemZip(const std::filesystem::path& workspace, const Parts& parts, const std::filesystem::path& archive,
                      bool keepExtraFields = false);

// One entry of an archive written byte by byte, for what no zip tool would write: hostile names,
// symbolic links, sizes that lie, headers that disagree.
struct RawZipEntry {
    std::string name;
    std::string data;                  // what the entry unpacks to
    std::uint32_t unixMode = 0100644;  // 0120777 makes a symbolic link
    bool deflated = false;
    // The uncompressed size the headers claim; past 32 bits it is written in a zip64 field.
    std::optional<std::uint64_t> declaredSize{};
    bool encrypted = false;                  // the flag of traditional zip encryption
    std::optional<std::string> localName{};  // a local header that names another entry
};

std::string rawZip(const std::vector<RawZipEntry>& entries);

// A deflated entry that unpacks to `size` zero bytes while its headers claim `declaredSize`.
RawZipEntry zeroFilledEntry(std::string name, std::size_t size, std::uint32_t declaredSize);

// Small but complete documents: a Word paragraph with the given body markup, a presentation
// with one slide showing the text, a workbook whose one cell holds it.
Parts minimalWordDocument(const std::string& bodyMarkup);
Parts minimalPresentation(const std::string& slideText);
Parts minimalWorkbook(const std::string& cellText);

// Documents shaped like what Word, Excel and PowerPoint save: core and app properties, styles,
// settings, a theme, a font table, a picture, a comment with its author and tracked changes,
// around `count` paragraphs (rows, slides) of ordinary text. `jpegPicture` is the picture's bytes.
Parts typicalWordDocument(std::size_t count, const std::string& jpegPicture);
Parts typicalWorkbook(std::size_t count, const std::string& jpegPicture);
Parts typicalPresentation(std::size_t count, const std::string& jpegPicture);

// docProps/core.xml naming `creator` as the author and the last editor, with a title.
std::string corePropertiesPart(const std::string& creator, const std::string& title);

extern const char* const wordNamespaces;

std::string xmlPart(const std::string& body);

}  // namespace velquor::testing
