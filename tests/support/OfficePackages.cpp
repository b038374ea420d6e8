#include "tests/support/OfficePackages.h"

#include "tests/support/ExternalTools.h"

#include <zlib.h>

#include <fstream>
#include <stdexcept>

namespace velquor::testing {

namespace {

void put16(std::string& out, std::uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void put32(std::string& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

std::string deflatedRaw(const std::string& data) {
    z_stream stream{};
    if (deflateInit2(&stream, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK) throw std::runtime_error("deflate");
    std::string out(deflateBound(&stream, data.size()), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    stream.next_out = reinterpret_cast<Bytef*>(out.data());
    stream.avail_out = static_cast<uInt>(out.size());
    deflate(&stream, Z_FINISH);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

const std::string officeRelationships = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";
const char* const presentationNamespaces =
    "xmlns:p=\"http://schemas.openxmlformats.org/presentationml/2006/main\" "
    "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";
const char* const workbookNamespaces =
    "xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

std::string relationshipsPart(const std::string& id, const std::string& type, const std::string& target) {
    return xmlPart(
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
        "<Relationship Id=\"" +
        id + "\" Type=\"" + officeRelationships + "/" + type + "\" Target=\"" + target + "\"/></Relationships>");
}

// The content types, the package relationship to the main part, and the main part itself.
Parts packageWithMainPart(const std::string& mainPart, const std::string& contentType, const std::string& mainXml) {
    return {
        {"[Content_Types].xml",
         xmlPart(
             "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
             "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
             "<Default Extension=\"xml\" ContentType=\"application/xml\"/><Override PartName=\"/" +
             mainPart + "\" ContentType=\"application/vnd.openxmlformats-officedocument." + contentType +
             "\"/></Types>")},
        {"_rels/.rels", relationshipsPart("rId1", "officeDocument", mainPart)},
        {mainPart, xmlPart(mainXml)},
    };
}

struct Written {
    std::uint32_t offset;
    std::uint32_t crc;
    std::uint32_t compressedSize;
};

}  // namespace

const char* const wordNamespaces =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\" "
    "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"";

std::string xmlPart(const std::string& body) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\r\n" + body;
}

void zipWithSystemZip(const std::filesystem::path& workspace, const Parts& parts,
                      const std::filesystem::path& archive) {
    const auto folder = workspace / ("parts-" + archive.filename().string());
    for (const auto& [name, content] : parts) {
        const auto file = folder / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    runTool("/usr/bin/zip", {"-qrX", std::filesystem::absolute(archive).string(), "."}, folder);
    std::filesystem::remove_all(folder);
}

std::string rawZip(const std::vector<RawZipEntry>& entries) {
    std::string out;
    std::string central;
    for (const auto& entry : entries) {
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size())));
        const auto stored = entry.deflated ? deflatedRaw(entry.data) : entry.data;
        const auto size = entry.declaredSize.value_or(static_cast<std::uint32_t>(entry.data.size()));
        const Written written{static_cast<std::uint32_t>(out.size()), crc, static_cast<std::uint32_t>(stored.size())};
        const std::uint32_t method = entry.deflated ? 8 : 0;

        put32(out, 0x04034b50);
        put16(out, 20);
        put16(out, 0x0800);  // names are UTF-8
        put16(out, method);
        put16(out, 0);
        put16(out, 0x21);  // 1980-01-01
        put32(out, written.crc);
        put32(out, written.compressedSize);
        put32(out, size);
        put16(out, static_cast<std::uint32_t>(entry.name.size()));
        put16(out, 0);
        out += entry.name;
        out += stored;

        put32(central, 0x02014b50);
        put16(central, 0x031E);  // made by Unix, version 3.0
        put16(central, 20);
        put16(central, 0x0800);
        put16(central, method);
        put16(central, 0);
        put16(central, 0x21);
        put32(central, written.crc);
        put32(central, written.compressedSize);
        put32(central, size);
        put16(central, static_cast<std::uint32_t>(entry.name.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, entry.unixMode << 16);
        put32(central, written.offset);
        central += entry.name;
    }
    const auto centralOffset = static_cast<std::uint32_t>(out.size());
    out += central;
    put32(out, 0x06054b50);
    put16(out, 0);
    put16(out, 0);
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put16(out, static_cast<std::uint32_t>(entries.size()));
    put32(out, static_cast<std::uint32_t>(central.size()));
    put32(out, centralOffset);
    put16(out, 0);
    return out;
}

RawZipEntry zeroFilledEntry(std::string name, std::size_t size, std::uint32_t declaredSize) {
    return {std::move(name), std::string(size, '\0'), 0100644, true, declaredSize};
}

Parts minimalWordDocument(const std::string& bodyMarkup) {
    return packageWithMainPart(
        "word/document.xml", "wordprocessingml.document.main+xml",
        std::string("<w:document ") + wordNamespaces + "><w:body><w:p>" + bodyMarkup + "</w:p></w:body></w:document>");
}

Parts minimalPresentation(const std::string& slideText) {
    auto parts =
        packageWithMainPart("ppt/presentation.xml", "presentationml.presentation.main+xml",
                            std::string("<p:presentation ") + presentationNamespaces +
                                "><p:sldIdLst><p:sldId id=\"256\" r:id=\"rId1\"/></p:sldIdLst></p:presentation>");
    parts["ppt/_rels/presentation.xml.rels"] = relationshipsPart("rId1", "slide", "slides/slide1.xml");
    parts["ppt/slides/slide1.xml"] =
        xmlPart(std::string("<p:sld ") + presentationNamespaces + "><p:cSld><p:spTree><p:sp><p:txBody><a:p><a:r><a:t>" +
                slideText + "</a:t></a:r></a:p></p:txBody></p:sp></p:spTree></p:cSld></p:sld>");
    return parts;
}

Parts minimalWorkbook(const std::string& cellText) {
    auto parts =
        packageWithMainPart("xl/workbook.xml", "spreadsheetml.sheet.main+xml",
                            std::string("<workbook ") + workbookNamespaces +
                                "><sheets><sheet name=\"One\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    parts["xl/_rels/workbook.xml.rels"] = relationshipsPart("rId1", "worksheet", "worksheets/sheet1.xml");
    parts["xl/worksheets/sheet1.xml"] = xmlPart(std::string("<worksheet ") + workbookNamespaces +
                                                "><sheetData><row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>" +
                                                cellText + "</t></is></c></row></sheetData></worksheet>");
    return parts;
}

std::string corePropertiesPart(const std::string& creator, const std::string& title) {
    return xmlPart(
        "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:creator>" +
        creator + "</dc:creator><cp:lastModifiedBy>" + creator + "</cp:lastModifiedBy><dc:title>" + title +
        "</dc:title></cp:coreProperties>");
}

}  // namespace velquor::testing
