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

void zipWithSystemZip(const std::filesystem::path& workspace, const Parts& parts, const std::filesystem::path& archive,
                      bool keepExtraFields) {
    const auto folder = workspace / ("parts-" + archive.filename().string());
    for (const auto& [name, content] : parts) {
        const auto file = folder / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    runTool("/usr/bin/zip", {keepExtraFields ? "-qr" : "-qrX", std::filesystem::absolute(archive).string(), "."},
            folder);
    std::filesystem::remove_all(folder);
}

std::string rawZip(const std::vector<RawZipEntry>& entries) {
    std::string out;
    std::string central;
    for (const auto& entry : entries) {
        const auto crc = static_cast<std::uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(entry.data.data()), static_cast<uInt>(entry.data.size())));
        const auto stored = entry.deflated ? deflatedRaw(entry.data) : entry.data;
        const auto size = entry.declaredSize.value_or(entry.data.size());
        const bool zip64 = size >= 0xFFFFFFFFu;
        std::string extra;
        if (zip64) {
            put16(extra, 0x0001);
            put16(extra, 8);
            put32(extra, static_cast<std::uint32_t>(size & 0xFFFFFFFFu));
            put32(extra, static_cast<std::uint32_t>(size >> 32));
        }
        const Written written{static_cast<std::uint32_t>(out.size()), crc, static_cast<std::uint32_t>(stored.size())};
        const std::uint32_t method = entry.deflated ? 8 : 0;
        const std::uint32_t flags = 0x0800 | (entry.encrypted ? 0x0001 : 0);  // names are UTF-8
        const std::uint32_t declared = zip64 ? 0xFFFFFFFFu : static_cast<std::uint32_t>(size);
        const auto localName = entry.localName.value_or(entry.name);

        put32(out, 0x04034b50);
        put16(out, zip64 ? 45 : 20);
        put16(out, flags);
        put16(out, method);
        put16(out, 0);
        put16(out, 0x21);  // 1980-01-01
        put32(out, written.crc);
        put32(out, written.compressedSize);
        put32(out, declared);
        put16(out, static_cast<std::uint32_t>(localName.size()));
        put16(out, static_cast<std::uint32_t>(extra.size()));
        out += localName;
        out += extra;
        out += stored;

        put32(central, 0x02014b50);
        put16(central, 0x031E);  // made by Unix, version 3.0
        put16(central, zip64 ? 45 : 20);
        put16(central, flags);
        put16(central, method);
        put16(central, 0);
        put16(central, 0x21);
        put32(central, written.crc);
        put32(central, written.compressedSize);
        put32(central, declared);
        put16(central, static_cast<std::uint32_t>(entry.name.size()));
        put16(central, static_cast<std::uint32_t>(extra.size()));
        put16(central, 0);
        put16(central, 0);
        put16(central, 0);
        put32(central, entry.unixMode << 16);
        put32(central, written.offset);
        central += entry.name;
        central += extra;
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

namespace {

const std::string contentTypesNamespace = "http://schemas.openxmlformats.org/package/2006/content-types";
const std::string relationshipsNamespace = "http://schemas.openxmlformats.org/package/2006/relationships";

struct TypicalRelationship {
    std::string id;
    std::string type;
    std::string target;
    bool external = false;
};

std::string relationshipsOf(const std::vector<TypicalRelationship>& items) {
    std::string xml = "<Relationships xmlns=\"" + relationshipsNamespace + "\">";
    for (const auto& item : items) {
        xml += "<Relationship Id=\"" + item.id + "\" Type=\"" + officeRelationships + "/" + item.type + "\" Target=\"" +
               item.target + "\"" + (item.external ? " TargetMode=\"External\"" : "") + "/>";
    }
    return xmlPart(xml + "</Relationships>");
}

std::string contentTypesOf(const std::vector<std::pair<std::string, std::string>>& overrides) {
    std::string xml = "<Types xmlns=\"" + contentTypesNamespace +
                      "\"><Default Extension=\"rels\" "
                      "ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                      "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                      "<Default Extension=\"jpeg\" ContentType=\"image/jpeg\"/>";
    for (const auto& [part, type] : overrides) {
        xml += "<Override PartName=\"/" + part + "\" ContentType=\"application/vnd.openxmlformats-" + type + "\"/>";
    }
    return xmlPart(xml + "</Types>");
}

// What every package carries besides its main part: properties, a thumbnail and a theme.
void addPackageParts(Parts& parts, const std::string& mainPart, const std::string& application) {
    parts["_rels/.rels"] = relationshipsOf({{"rId1", "officeDocument", mainPart},
                                            {"rId2", "metadata/core-properties", "docProps/core.xml"},
                                            {"rId3", "extended-properties", "docProps/app.xml"},
                                            {"rId4", "metadata/thumbnail", "docProps/thumbnail.jpeg"}});
    parts["docProps/core.xml"] = corePropertiesPart("Jane Doe", "Quarterly report");
    parts["docProps/app.xml"] = xmlPart(
        "<Properties xmlns=\"http://schemas.openxmlformats.org/officeDocument/2006/extended-properties\">"
        "<Template>Normal.dotm</Template><TotalTime>42</TotalTime><Pages>3</Pages><Words>900</Words>"
        "<Application>" +
        application + "</Application><Company>Acme Corp</Company><AppVersion>16.0000</AppVersion></Properties>");
    parts["docProps/thumbnail.jpeg"] = "\xFF\xD8\xFF\xE0 thumbnail \xFF\xD9";
}

std::string themePart() {
    std::string colours;
    for (int i = 0; i < 12; ++i)
        colours += "<a:accent" + std::to_string(i) + "><a:srgbClr val=\"4472C4\"/></a:accent" + std::to_string(i) + ">";
    return xmlPart(
        "<a:theme xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" name=\"Office\">"
        "<a:themeElements><a:clrScheme name=\"Office\">" +
        colours + "</a:clrScheme></a:themeElements></a:theme>");
}

std::string sentence(std::size_t i) {
    return "Paragraph " + std::to_string(i) +
           " of the quarterly report explains the figures of the region and what they mean for next year.";
}

}  // namespace

Parts typicalWordDocument(std::size_t count, const std::string& jpegPicture) {
    const std::string w = wordNamespaces;
    std::string body;
    for (std::size_t i = 0; i < count; ++i) {
        body += "<w:p w:rsidR=\"00A1B2C3\"><w:pPr><w:pStyle w:val=\"Normal\"/></w:pPr><w:r><w:t>" + sentence(i) +
                "</w:t></w:r></w:p>";
    }
    body +=
        "<w:p><w:ins w:id=\"1\" w:author=\"Jane Doe\" w:date=\"2024-01-02T03:04:05Z\"><w:r><w:t>Added."
        "</w:t></w:r></w:ins><w:del w:id=\"2\" w:author=\"Jane Doe\"><w:r><w:delText>Gone.</w:delText></w:r>"
        "</w:del><w:commentRangeStart w:id=\"0\"/><w:r><w:t>Commented</w:t></w:r><w:commentRangeEnd w:id=\"0\"/>"
        "<w:r><w:commentReference w:id=\"0\"/></w:r></w:p><w:p><w:r><w:drawing><a:blip "
        "xmlns:a=\"http://schemas.openxmlformats.org/drawingml/2006/main\" r:embed=\"rId9\"/></w:drawing></w:r>"
        "<w:hyperlink r:id=\"rId8\"><w:r><w:t>Intranet</w:t></w:r></w:hyperlink></w:p>";
    Parts parts;
    addPackageParts(parts, "word/document.xml", "Microsoft Office Word");
    parts["[Content_Types].xml"] =
        contentTypesOf({{"word/document.xml", "officedocument.wordprocessingml.document.main+xml"},
                        {"word/styles.xml", "officedocument.wordprocessingml.styles+xml"},
                        {"word/settings.xml", "officedocument.wordprocessingml.settings+xml"},
                        {"word/fontTable.xml", "officedocument.wordprocessingml.fontTable+xml"},
                        {"word/comments.xml", "officedocument.wordprocessingml.comments+xml"},
                        {"word/theme/theme1.xml", "officedocument.theme+xml"},
                        {"docProps/core.xml", "package.core-properties+xml"},
                        {"docProps/app.xml", "officedocument.extended-properties+xml"}});
    parts["word/document.xml"] = xmlPart("<w:document " + w + "><w:body>" + body + "</w:body></w:document>");
    parts["word/_rels/document.xml.rels"] = relationshipsOf({{"rId1", "styles", "styles.xml"},
                                                             {"rId2", "settings", "settings.xml"},
                                                             {"rId3", "fontTable", "fontTable.xml"},
                                                             {"rId4", "theme", "theme/theme1.xml"},
                                                             {"rId5", "comments", "comments.xml"},
                                                             {"rId8", "hyperlink", "https://intranet.example/", true},
                                                             {"rId9", "image", "media/image1.jpeg"}});
    std::string styles;
    for (int i = 0; i < 40; ++i) {
        styles += "<w:style w:type=\"paragraph\" w:styleId=\"S" + std::to_string(i) + "\"><w:name w:val=\"Style " +
                  std::to_string(i) + "\"/><w:rPr><w:sz w:val=\"22\"/></w:rPr></w:style>";
    }
    parts["word/styles.xml"] = xmlPart("<w:styles " + w + ">" + styles + "</w:styles>");
    parts["word/settings.xml"] = xmlPart("<w:settings " + w +
                                         "><w:trackRevisions/><w:zoom w:percent=\"100\"/><w:rsids><w:rsidRoot "
                                         "w:val=\"00A1B2C3\"/></w:rsids></w:settings>");
    parts["word/fontTable.xml"] =
        xmlPart("<w:fonts " + w + "><w:font w:name=\"Calibri\"/><w:font w:name=\"Cambria\"/></w:fonts>");
    parts["word/comments.xml"] = xmlPart("<w:comments " + w +
                                         "><w:comment w:id=\"0\" w:author=\"Jane Doe\" w:initials=\"JD\"><w:p><w:r>"
                                         "<w:t>Check this figure</w:t></w:r></w:p></w:comment></w:comments>");
    parts["word/theme/theme1.xml"] = themePart();
    parts["word/media/image1.jpeg"] = jpegPicture;
    return parts;
}

Parts typicalWorkbook(std::size_t count, const std::string& jpegPicture) {
    std::string rows;
    for (std::size_t i = 1; i <= count; ++i) {
        const auto row = std::to_string(i);
        rows += "<row r=\"" + row + "\"><c r=\"A" + row + "\" t=\"s\"><v>" + std::to_string(i % 50) +
                "</v></c><c r=\"B" + row + "\"><v>" + std::to_string(i * 17) + "</v></c><c r=\"C" + row + "\"><f>B" +
                row + "*2</f><v>" + std::to_string(i * 34) + "</v></c></row>";
    }
    std::string strings;
    for (int i = 0; i < 50; ++i) strings += "<si><t>" + sentence(static_cast<std::size_t>(i)) + "</t></si>";
    Parts parts;
    addPackageParts(parts, "xl/workbook.xml", "Microsoft Excel");
    parts["[Content_Types].xml"] =
        contentTypesOf({{"xl/workbook.xml", "officedocument.spreadsheetml.sheet.main+xml"},
                        {"xl/worksheets/sheet1.xml", "officedocument.spreadsheetml.worksheet+xml"},
                        {"xl/sharedStrings.xml", "officedocument.spreadsheetml.sharedStrings+xml"},
                        {"xl/styles.xml", "officedocument.spreadsheetml.styles+xml"},
                        {"xl/comments1.xml", "officedocument.spreadsheetml.comments+xml"},
                        {"xl/theme/theme1.xml", "officedocument.theme+xml"},
                        {"docProps/core.xml", "package.core-properties+xml"},
                        {"docProps/app.xml", "officedocument.extended-properties+xml"}});
    parts["xl/workbook.xml"] =
        xmlPart(std::string("<workbook ") + workbookNamespaces +
                "><sheets><sheet name=\"Figures\" sheetId=\"1\" r:id=\"rId1\"/></sheets></workbook>");
    parts["xl/_rels/workbook.xml.rels"] = relationshipsOf({{"rId1", "worksheet", "worksheets/sheet1.xml"},
                                                           {"rId2", "sharedStrings", "sharedStrings.xml"},
                                                           {"rId3", "styles", "styles.xml"},
                                                           {"rId4", "theme", "theme/theme1.xml"}});
    parts["xl/worksheets/sheet1.xml"] = xmlPart(std::string("<worksheet ") + workbookNamespaces + "><sheetData>" +
                                                rows + "</sheetData><drawing r:id=\"rId2\"/></worksheet>");
    parts["xl/worksheets/_rels/sheet1.xml.rels"] =
        relationshipsOf({{"rId1", "comments", "../comments1.xml"}, {"rId2", "image", "../media/image1.jpeg"}});
    parts["xl/sharedStrings.xml"] = xmlPart(std::string("<sst ") + workbookNamespaces + ">" + strings + "</sst>");
    parts["xl/styles.xml"] = xmlPart(std::string("<styleSheet ") + workbookNamespaces +
                                     "><fonts count=\"1\"><font><sz val=\"11\"/></font></fonts></styleSheet>");
    parts["xl/comments1.xml"] = xmlPart(std::string("<comments ") + workbookNamespaces +
                                        "><authors><author>Jane Doe</author></authors><commentList><comment ref=\"A1\" "
                                        "authorId=\"0\"><text><t>Check</t></text></comment></commentList></comments>");
    parts["xl/theme/theme1.xml"] = themePart();
    parts["xl/media/image1.jpeg"] = jpegPicture;
    return parts;
}

Parts typicalPresentation(std::size_t count, const std::string& jpegPicture) {
    Parts parts;
    addPackageParts(parts, "ppt/presentation.xml", "Microsoft Office PowerPoint");
    std::vector<std::pair<std::string, std::string>> overrides = {
        {"ppt/presentation.xml", "officedocument.presentationml.presentation.main+xml"},
        {"ppt/commentAuthors.xml", "officedocument.presentationml.commentAuthors+xml"},
        {"ppt/theme/theme1.xml", "officedocument.theme+xml"},
        {"docProps/core.xml", "package.core-properties+xml"},
        {"docProps/app.xml", "officedocument.extended-properties+xml"}};
    std::vector<TypicalRelationship> presentation = {{"rId1", "commentAuthors", "commentAuthors.xml"},
                                                     {"rId2", "theme", "theme/theme1.xml"}};
    std::string slideList;
    for (std::size_t i = 1; i <= count; ++i) {
        const auto n = std::to_string(i);
        const auto slide = "ppt/slides/slide" + n + ".xml";
        overrides.emplace_back(slide, "officedocument.presentationml.slide+xml");
        presentation.push_back({"rId" + std::to_string(i + 10), "slide", "slides/slide" + n + ".xml"});
        slideList += "<p:sldId id=\"" + std::to_string(255 + i) + "\" r:id=\"rId" + std::to_string(i + 10) + "\"/>";
        parts[slide] = xmlPart(std::string("<p:sld ") + presentationNamespaces +
                               "><p:cSld><p:spTree><p:sp><p:txBody><a:p><a:r><a:t>" + sentence(i) +
                               "</a:t></a:r></a:p></p:txBody></p:sp><p:pic><p:blipFill><a:blip r:embed=\"rId1\"/>"
                               "</p:blipFill></p:pic></p:spTree></p:cSld></p:sld>");
        parts["ppt/slides/_rels/slide" + n + ".xml.rels"] =
            relationshipsOf({{"rId1", "image", "../media/image1.jpeg"}});
    }
    parts["[Content_Types].xml"] = contentTypesOf(overrides);
    parts["ppt/presentation.xml"] = xmlPart(std::string("<p:presentation ") + presentationNamespaces + "><p:sldIdLst>" +
                                            slideList + "</p:sldIdLst></p:presentation>");
    parts["ppt/_rels/presentation.xml.rels"] = relationshipsOf(presentation);
    parts["ppt/commentAuthors.xml"] =
        xmlPart(std::string("<p:cmAuthorLst ") + presentationNamespaces +
                "><p:cmAuthor id=\"0\" name=\"Jane Doe\" initials=\"JD\"/></p:cmAuthorLst>");
    parts["ppt/theme/theme1.xml"] = themePart();
    parts["ppt/media/image1.jpeg"] = jpegPicture;
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
