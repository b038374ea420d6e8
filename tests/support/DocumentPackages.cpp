#include "tests/support/DocumentPackages.h"

#include "core/files/epub/Sha1.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace velquor::testing {

namespace {

const std::string declaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

std::string odfPart(const std::string& root, const std::string& body) {
    return declaration + "<office:" + root + " " + openDocumentNamespaces + " office:version=\"1.3\">" + body +
           "</office:" + root + ">";
}

std::string content(const std::string& body) {
    return odfPart("document-content", "<office:body>" + body + "</office:body>");
}

std::string changeInfo(const std::string& author, const std::string& date) {
    return "<office:change-info><dc:creator>" + author + "</dc:creator><dc:date>" + date +
           "</dc:date></office:change-info>";
}

std::string comment(const std::string& author, const std::string& date, const std::string& text,
                    const std::string& name = "") {
    return "<office:annotation" + (name.empty() ? "" : " office:name=\"" + name + "\"") + "><dc:creator>" + author +
           "</dc:creator><dc:date>" + date + "</dc:date><text:p>" + text + "</text:p></office:annotation>";
}

const std::string containerPart =
    declaration +
    "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles>"
    "<rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles></container>";

const std::string chapter =
    declaration +
    "<html xmlns=\"http://www.w3.org/1999/xhtml\"><head><title>One</title></head><body><p>It was a bright cold "
    "day.</p></body></html>";

}  // namespace

const char* const openDocumentNamespaces =
    "xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\" "
    "xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\" "
    "xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\" "
    "xmlns:draw=\"urn:oasis:names:tc:opendocument:xmlns:drawing:1.0\" "
    "xmlns:presentation=\"urn:oasis:names:tc:opendocument:xmlns:presentation:1.0\" "
    "xmlns:style=\"urn:oasis:names:tc:opendocument:xmlns:style:1.0\" "
    "xmlns:script=\"urn:oasis:names:tc:opendocument:xmlns:script:1.0\" "
    "xmlns:config=\"urn:oasis:names:tc:opendocument:xmlns:config:1.0\" "
    "xmlns:meta=\"urn:oasis:names:tc:opendocument:xmlns:meta:1.0\" "
    "xmlns:officeooo=\"http://openoffice.org/2009/office\" "
    "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
    "xmlns:svg=\"urn:oasis:names:tc:opendocument:xmlns:svg-compatible:1.0\"";

const char* const epub3Identifier = "urn:uuid:3f1c2a3b-4d5e-4f60-8a7b-9c0d1e2f3a4b";

std::string openDocumentMeta() {
    return odfPart("document-meta",
                   "<office:meta><meta:initial-creator>Jane Roe</meta:initial-creator><dc:creator>John "
                   "Doe</dc:creator><meta:creation-date>2024-01-01T09:00:00.123</meta:creation-date>"
                   "<dc:date>2024-02-01T17:30:00.456</dc:date><meta:editing-cycles>12</meta:editing-cycles>"
                   "<meta:editing-duration>PT3H20M</meta:editing-duration>"
                   "<meta:generator>LibreOffice/7.4.7.2$Linux_X86_64 "
                   "LibreOffice_project/40$Build-2</meta:generator><dc:title>Budget 2024</dc:title>"
                   "<meta:keyword>budget</meta:keyword><dc:language>en-GB</dc:language>"
                   "<meta:user-defined meta:name=\"Client\">Acme &amp; Co</meta:user-defined>"
                   "<meta:document-statistic meta:page-count=\"1\" meta:word-count=\"6\"/></office:meta>");
}

std::string openDocumentSettings() {
    return odfPart("document-settings",
                   "<office:settings><config:config-item-set config:name=\"ooo:view-settings\">"
                   "<config:config-item config:name=\"ViewAreaTop\" config:type=\"long\">0</config:config-item>"
                   "</config:config-item-set><config:config-item-set config:name=\"ooo:configuration-settings\">"
                   "<config:config-item config:name=\"PrinterName\" config:type=\"string\">Jane's "
                   "LaserJet</config:config-item><config:config-item config:name=\"PrinterSetup\" "
                   "config:type=\"base64Binary\">/wABAA==</config:config-item>"
                   "<config:config-item config:name=\"CurrentDatabaseDataSource\" "
                   "config:type=\"string\">Customers</config:config-item>"
                   "<config:config-item config:name=\"EmbeddedFontsPath\" "
                   "config:type=\"string\">file:///home/jane/fonts</config:config-item>"
                   "<config:config-item config:name=\"AddParaTableSpacing\" "
                   "config:type=\"boolean\">true</config:config-item></config:config-item-set></office:settings>");
}

std::string openDocumentManifest(const std::string& mediaType, const Parts& parts) {
    std::string entries = "<manifest:file-entry manifest:full-path=\"/\" manifest:media-type=\"" + mediaType + "\"/>";
    for (const auto& [name, bytes] : parts) {
        if (name == "mimetype" || name == "META-INF/manifest.xml") continue;
        entries += "<manifest:file-entry manifest:full-path=\"" + name + "\" manifest:media-type=\"\"/>";
    }
    return declaration +
           "<manifest:manifest xmlns:manifest=\"urn:oasis:names:tc:opendocument:xmlns:manifest:1.0\" "
           "manifest:version=\"1.3\">" +
           entries + "</manifest:manifest>";
}

Parts withOpenDocumentFrame(Parts parts, const std::string& mediaType) {
    parts["mimetype"] = mediaType;
    parts.try_emplace("meta.xml", openDocumentMeta());
    parts.try_emplace("settings.xml", openDocumentSettings());
    parts.try_emplace("styles.xml", odfPart("document-styles", "<office:styles/>"));
    parts["META-INF/manifest.xml"] = openDocumentManifest(mediaType, parts);
    return parts;
}

Parts libreOfficeText() {
    const auto body =
        "<office:text><text:tracked-changes text:track-changes=\"true\">"
        "<text:changed-region xml:id=\"ct1\" text:id=\"ct1\"><text:insertion>" +
        changeInfo("Jane Roe", "2024-01-02T10:00:00") +
        "</text:insertion></text:changed-region>"
        "<text:changed-region xml:id=\"ct2\" text:id=\"ct2\"><text:deletion>" +
        changeInfo("John Doe", "2024-01-03T11:00:00") +
        "<text:p>gone words</text:p></text:deletion></text:changed-region>"
        "<text:changed-region xml:id=\"ct3\" text:id=\"ct3\"><text:format-change>" +
        changeInfo("Jane Roe", "2024-01-04T12:00:00") +
        "</text:format-change></text:changed-region></text:tracked-changes>"
        "<text:p text:style-name=\"P1\">Kept <text:change-start text:change-id=\"ct1\"/>inserted"
        "<text:change-end text:change-id=\"ct1\"/> text<text:change text:change-id=\"ct2\"/>.</text:p>"
        "<text:p><text:change-start text:change-id=\"ct3\"/>Styled<text:change-end text:change-id=\"ct3\"/> and " +
        comment("Jane Roe", "2024-01-05T13:00:00", "Check this", "__Annotation__1") +
        "body<office:annotation-end office:name=\"__Annotation__1\"/> text.</text:p>"
        "<text:section text:name=\"Terms\"><text:section-source xlink:href=\"file:///home/jane/terms.odt\" "
        "xlink:type=\"simple\"/><text:p>Linked terms</text:p></text:section></office:text>";
    Parts parts;
    parts["content.xml"] = content(body);
    parts["Thumbnails/thumbnail.png"] = "\x89PNG\r\n\x1a\nthumbnail";
    return withOpenDocumentFrame(std::move(parts), "application/vnd.oasis.opendocument.text");
}

Parts libreOfficeSpreadsheet() {
    const auto body =
        "<office:spreadsheet><table:tracked-changes><table:cell-content-change table:id=\"ct1\">"
        "<table:cell-address table:column=\"1\" table:row=\"0\" table:table=\"0\"/>" +
        changeInfo("Ann Lee", "2024-03-01T08:00:00") +
        "<table:previous><table:change-track-table-cell office:value-type=\"float\" office:value=\"1\"/>"
        "</table:previous></table:cell-content-change></table:tracked-changes>"
        "<table:table table:name=\"Sheet1\"><table:table-row><table:table-cell office:value-type=\"string\">" +
        comment("Ann Lee", "2024-03-02T09:00:00", "Source: my notes") +
        "<text:p>Total</text:p></table:table-cell><table:table-cell office:value-type=\"float\" "
        "office:value=\"42\"><text:p>42</text:p></table:table-cell></table:table-row></table:table>"
        "</office:spreadsheet>";
    Parts parts;
    parts["content.xml"] = content(body);
    return withOpenDocumentFrame(std::move(parts), "application/vnd.oasis.opendocument.spreadsheet");
}

Parts libreOfficePresentation() {
    const std::string body =
        "<office:presentation><draw:page draw:name=\"Slide1\"><draw:frame><draw:text-box><text:p>Quarterly "
        "plan</text:p></draw:text-box></draw:frame><draw:custom-shape><office:event-listeners>"
        "<script:event-listener script:language=\"ooo:script\" script:event-name=\"dom:click\" "
        "xlink:href=\"vnd.sun.star.script:Standard.Module1.Main?language=Basic&amp;location=document\"/>"
        "</office:event-listeners></draw:custom-shape>"
        "<officeooo:annotation svg:x=\"1cm\" svg:y=\"1cm\"><dc:creator>Max Mustermann</dc:creator>"
        "<dc:date>2024-04-01T10:00:00</dc:date><text:p>Too long</text:p></officeooo:annotation></draw:page>"
        "</office:presentation>";
    Parts parts;
    parts["content.xml"] = content(body);
    parts["Thumbnails/thumbnail.png"] = "\x89PNG\r\n\x1a\nslide thumbnail";
    parts["Basic/Standard/Module1.xml"] =
        declaration + "<script:module script:name=\"Module1\">Sub Main</script:module>";
    parts["Basic/script-lc.xml"] = declaration + "<library:libraries/>";
    return withOpenDocumentFrame(std::move(parts), "application/vnd.oasis.opendocument.presentation");
}

Parts libreOfficeDrawing(const std::string& pngPicture) {
    const std::string body =
        "<office:drawing><draw:page draw:name=\"page1\">"
        "<draw:frame draw:name=\"Linked\"><draw:image xlink:href=\"../../home/jane/Pictures/map.png\" "
        "xlink:type=\"simple\"/><svg:title>Map</svg:title></draw:frame>"
        "<draw:frame draw:name=\"Stored\"><draw:image xlink:href=\"Pictures/logo.png\" xlink:type=\"simple\"/>"
        "</draw:frame><draw:rect><text:p>Shape text</text:p></draw:rect></draw:page></office:drawing>";
    Parts parts;
    parts["content.xml"] = content(body);
    parts["Pictures/logo.png"] = pngPicture;
    return withOpenDocumentFrame(std::move(parts), "application/vnd.oasis.opendocument.graphics");
}

Parts calibreEpub2(const std::string& coverJpeg) {
    const std::string identifier = "urn:uuid:9a8b7c6d-5e4f-4a3b-8c2d-1e0f9a8b7c6d";
    Parts parts;
    parts["mimetype"] = "application/epub+zip";
    parts["META-INF/container.xml"] = containerPart;
    parts["OEBPS/content.opf"] =
        declaration +
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"2.0\" unique-identifier=\"uuid_id\">"
        "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:opf=\"http://www.idpf.org/2007/opf\">"
        "<dc:title>The Long Road</dc:title><dc:creator opf:role=\"aut\" opf:file-as=\"Roe, Jane\">Jane "
        "Roe</dc:creator><dc:contributor opf:role=\"bkp\">calibre (6.13.0) [https://calibre-ebook.com]"
        "</dc:contributor><dc:date>2023-04-01T00:00:00+00:00</dc:date><dc:publisher>Roe Press</dc:publisher>"
        "<dc:identifier id=\"uuid_id\" opf:scheme=\"uuid\">" +
        identifier +
        "</dc:identifier><dc:identifier opf:scheme=\"calibre\">0d9c8b7a-6f5e-4d3c-2b1a-0f9e8d7c6b5a"
        "</dc:identifier><dc:identifier opf:scheme=\"ISBN\">978-3-16-148410-0</dc:identifier>"
        "<dc:language>en</dc:language><dc:rights>Copyright Jane Roe</dc:rights>"
        "<dc:description>Draft for my editor</dc:description>"
        "<meta name=\"calibre:timestamp\" content=\"2024-05-05T10:00:00+00:00\"/>"
        "<meta name=\"calibre:title_sort\" content=\"Long Road, The\"/><meta name=\"cover\" content=\"cover\"/>"
        "</metadata><manifest><item id=\"ncx\" href=\"toc.ncx\" media-type=\"application/x-dtbncx+xml\"/>"
        "<item id=\"c1\" href=\"Text/chapter%201.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"cover\" href=\"Images/cover.jpg\" media-type=\"image/jpeg\"/></manifest>"
        "<spine toc=\"ncx\"><itemref idref=\"c1\"/></spine></package>";
    parts["OEBPS/toc.ncx"] =
        declaration +
        "<ncx xmlns=\"http://www.daisy.org/z3986/2005/ncx/\" version=\"2005-1\"><head><meta name=\"dtb:uid\" "
        "content=\"" +
        identifier +
        "\"/><meta name=\"dtb:depth\" content=\"1\"/><meta name=\"dtb:generator\" content=\"calibre (6.13.0)\"/>"
        "</head><docTitle><text>The Long Road</text></docTitle><docAuthor><text>Jane Roe</text></docAuthor>"
        "<navMap><navPoint id=\"n1\" playOrder=\"1\"><navLabel><text>One</text></navLabel>"
        "<content src=\"Text/chapter%201.xhtml\"/></navPoint></navMap></ncx>";
    parts["OEBPS/Text/chapter 1.xhtml"] = chapter;
    parts["OEBPS/Images/cover.jpg"] = coverJpeg;
    parts["iTunesMetadata.plist"] = "<plist><dict><key>apple-id</key><string>jane@example.com</string></dict></plist>";
    return parts;
}

Parts epub3Book(bool withModified, const std::string& font) {
    Parts parts;
    parts["mimetype"] = "application/epub+zip";
    parts["META-INF/container.xml"] = containerPart;
    parts["META-INF/encryption.xml"] =
        declaration +
        "<encryption xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\" "
        "xmlns:enc=\"http://www.w3.org/2001/04/xmlenc#\"><enc:EncryptedData><enc:EncryptionMethod "
        "Algorithm=\"http://www.idpf.org/2008/embedding\"/><enc:CipherData><enc:CipherReference "
        "URI=\"OEBPS/Fonts/serif.otf\"/></enc:CipherData></enc:EncryptedData></encryption>";
    parts["OEBPS/content.opf"] =
        declaration +
        "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"pub-id\" "
        "prefix=\"calibre: https://calibre-ebook.com\"><metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">"
        "<dc:identifier id=\"pub-id\">" +
        std::string(epub3Identifier) +
        "</dc:identifier><dc:title id=\"t1\">Night Train</dc:title><meta refines=\"#t1\" "
        "property=\"title-type\">main</meta><dc:creator id=\"c1\">Ann Lee</dc:creator><meta refines=\"#c1\" "
        "property=\"role\" scheme=\"marc:relators\">aut</meta><dc:language>de</dc:language>" +
        (withModified ? "<meta property=\"dcterms:modified\">2024-06-01T12:34:56Z</meta>" : "") +
        "<meta property=\"calibre:user_metadata\">{\"#reader\": \"Ann\"}</meta>"
        "<link rel=\"record\" href=\"https://example.com/record/ann\" media-type=\"application/marc\"/>"
        "</metadata><manifest><item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" "
        "properties=\"nav\"/><item id=\"c1x\" href=\"chapter.xhtml\" media-type=\"application/xhtml+xml\"/>"
        "<item id=\"font\" href=\"Fonts/serif.otf\" media-type=\"font/otf\"/></manifest>"
        "<spine><itemref idref=\"c1x\"/></spine></package>";
    parts["OEBPS/nav.xhtml"] =
        declaration +
        "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\"><head><title>"
        "Contents</title></head><body><nav epub:type=\"toc\"><ol><li><a href=\"chapter.xhtml\">One</a></li></ol>"
        "</nav></body></html>";
    parts["OEBPS/chapter.xhtml"] = chapter;
    parts["OEBPS/Fonts/serif.otf"] = idpfObfuscated(font, epub3Identifier);
    return parts;
}

std::string idpfObfuscated(std::string font, const std::string& identifier) {
    const auto key = files::sha1(identifier);
    for (std::size_t i = 0; i < std::min<std::size_t>(font.size(), 1040); ++i) {
        font[i] = static_cast<char>(static_cast<std::uint8_t>(font[i]) ^ key[i % key.size()]);
    }
    return font;
}

}  // namespace velquor::testing
